// Builds a model file ("mv1", the game's OBJ-like text format) from a shape
// description: a few primitives with flat, baked shading.
//
//   light x y z                         direction the light comes from
//   ambient a                           share of colour kept on unlit faces (0..1)
//   torus R r segments sides tilt  r g b
//                                       ring around the z axis in the x-y plane, then
//                                       tilted `tilt` degrees about the x axis
//   beams n r0 r1 width depth phase z  r g b
//                                       n radial bars from radius r0 to r1, the first
//                                       at angle `phase` (degrees), centred at height z
//   hub radius depth sides  r g b       capped cylinder along the z axis
//
// Usage: make_model <shape file> <output .mv1>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
  double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec cross(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec normalised(Vec a) {
  double l = std::sqrt(dot(a, a));
  return l > 0 ? a * (1.0 / l) : a;
}

struct Colour {
  int r, g, b;
};

class Builder {
 public:
  Vec light = normalised({-0.4, 0.6, -0.7});
  double ambient = 0.5;

  // One flat face; `inside` is any point behind it, so that the face is lit
  // on its outer side and wound consistently.
  void face(std::vector<Vec> corners, Vec inside, Colour c) {
    Vec n = normalised(cross(corners[1] - corners[0], corners[2] - corners[0]));
    Vec centre{0, 0, 0};
    for (Vec p : corners) centre = centre + p;
    centre = centre * (1.0 / corners.size());
    if (dot(n, centre - inside) < 0) {
      n = n * -1.0;
      std::vector<Vec> reversed(corners.rbegin(), corners.rend());
      corners = reversed;
    }
    double lit = ambient + (1.0 - ambient) * std::max(0.0, dot(n, light));
    auto shade = [lit](int v) { return std::min(255, static_cast<int>(std::lround(v * lit))); };
    std::ostringstream f;
    f << "f";
    for (Vec p : corners) {
      char line[128];
      std::snprintf(line, sizeof line, "v %.2f %.2f %.2f %d %d %d\n", p.x, p.y, p.z, shade(c.r),
                    shade(c.g), shade(c.b));
      out_ << line;
      f << ' ' << ++vertices_;
    }
    out_ << f.str() << '\n';
    ++faces_;
  }

  void torus(double R, double r, int segments, int sides, double tiltDeg, Colour c) {
    const double t = tiltDeg * kPi / 180;
    auto tilt = [t](Vec p) {
      return Vec{p.x, p.y * std::cos(t) - p.z * std::sin(t), p.y * std::sin(t) + p.z * std::cos(t)};
    };
    for (int i = 0; i < segments; ++i) {
      double u0 = 2 * kPi * i / segments, u1 = 2 * kPi * (i + 1) / segments;
      Vec inside = tilt({R * std::cos((u0 + u1) / 2), R * std::sin((u0 + u1) / 2), 0});
      for (int j = 0; j < sides; ++j) {
        double v0 = 2 * kPi * j / sides, v1 = 2 * kPi * (j + 1) / sides;
        face({tilt(ring(R, r, u0, v0)), tilt(ring(R, r, u1, v0)), tilt(ring(R, r, u1, v1)),
              tilt(ring(R, r, u0, v1))},
             inside, c);
      }
    }
  }

  void beams(int count, double r0, double r1, double width, double depth, double phaseDeg, double z,
             Colour c) {
    for (int k = 0; k < count; ++k) {
      double a = phaseDeg * kPi / 180 + 2 * kPi * k / count;
      Vec along{std::cos(a), std::sin(a), 0};
      Vec across{-std::sin(a), std::cos(a), 0};
      Vec up{0, 0, 1};
      box(along * ((r0 + r1) / 2) + up * z, along * ((r1 - r0) / 2), across * (width / 2),
          up * (depth / 2), c);
    }
  }

  void hub(double radius, double depth, int sides, Colour c) {
    Vec origin{0, 0, 0};
    std::vector<Vec> front, back;
    for (int i = 0; i < sides; ++i) {
      double a0 = 2 * kPi * i / sides, a1 = 2 * kPi * (i + 1) / sides;
      Vec p0{radius * std::cos(a0), radius * std::sin(a0), 0};
      Vec p1{radius * std::cos(a1), radius * std::sin(a1), 0};
      Vec h{0, 0, depth / 2};
      face({p0 - h, p1 - h, p1 + h, p0 + h}, origin, c);
      front.push_back(p0 - h);
      back.push_back(p0 + h);
    }
    face(front, origin, c);
    face(back, origin, c);
  }

  std::string text() const { return out_.str(); }
  int faces() const { return faces_; }

 private:
  static Vec ring(double R, double r, double u, double v) {
    return {(R + r * std::cos(v)) * std::cos(u), (R + r * std::cos(v)) * std::sin(u),
            r * std::sin(v)};
  }

  // A box from its centre and three half-extent vectors.
  void box(Vec c, Vec a, Vec b, Vec h, Colour col) {
    auto p = [&](int i, int j, int k) { return c + a * i + b * j + h * k; };
    face({p(1, -1, -1), p(1, 1, -1), p(1, 1, 1), p(1, -1, 1)}, c, col);
    face({p(-1, -1, -1), p(-1, 1, -1), p(-1, 1, 1), p(-1, -1, 1)}, c, col);
    face({p(-1, 1, -1), p(1, 1, -1), p(1, 1, 1), p(-1, 1, 1)}, c, col);
    face({p(-1, -1, -1), p(1, -1, -1), p(1, -1, 1), p(-1, -1, 1)}, c, col);
    face({p(-1, -1, 1), p(1, -1, 1), p(1, 1, 1), p(-1, 1, 1)}, c, col);
    face({p(-1, -1, -1), p(1, -1, -1), p(1, 1, -1), p(-1, 1, -1)}, c, col);
  }

  std::ostringstream out_;
  int vertices_ = 0;
  int faces_ = 0;
};

bool readColour(std::istringstream& in, Colour& c) {
  return static_cast<bool>(in >> c.r >> c.g >> c.b) && c.r >= 0 && c.r <= 255 && c.g >= 0 &&
         c.g <= 255 && c.b >= 0 && c.b <= 255;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_model <shape file> <output .mv1>\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  Builder model;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string op;
    if (!(words >> op)) continue;
    bool ok = false;
    Colour c{};
    if (op == "light") {
      Vec l{};
      ok = static_cast<bool>(words >> l.x >> l.y >> l.z);
      model.light = normalised(l);
    } else if (op == "ambient") {
      ok = static_cast<bool>(words >> model.ambient);
    } else if (op == "torus") {
      double R, r, tilt;
      int segments, sides;
      ok = (words >> R >> r >> segments >> sides >> tilt) && readColour(words, c) &&
           segments >= 3 && sides >= 3;
      if (ok) model.torus(R, r, segments, sides, tilt, c);
    } else if (op == "beams") {
      int n;
      double r0, r1, width, depth, phase, z;
      ok = (words >> n >> r0 >> r1 >> width >> depth >> phase >> z) && readColour(words, c) &&
           n >= 1;
      if (ok) model.beams(n, r0, r1, width, depth, phase, z, c);
    } else if (op == "hub") {
      double radius, depth;
      int sides;
      ok = (words >> radius >> depth >> sides) && readColour(words, c) && sides >= 3 && sides <= 64;
      if (ok) model.hub(radius, depth, sides, c);
    }
    if (!ok) {
      std::cerr << argv[1] << ":" << lineNo << ": cannot read \"" << line << "\"\n";
      return 1;
    }
  }
  std::ofstream out(argv[2], std::ios::binary);
  std::string source = argv[1];
  source = source.substr(source.find_last_of('/') + 1);
  out << "# Generated by make_model from " << source << ": edit that file instead.\n"
      << model.text();
  if (!out) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  std::cout << argv[2] << ": " << model.faces() << " faces\n";
  return 0;
}
