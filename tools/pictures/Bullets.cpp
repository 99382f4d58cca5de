// Bullets are drawn from signed distance functions: the distance to the
// shape's edge decides core, rim, edge and glow, so every kind gets the same
// readable treatment and its size follows its numbers exactly.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "Build.h"
#include "Noise.h"
#include "Svg.h"

namespace pictures {
namespace {

struct Vec {
  float x, y;
};

float Length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// Signed distance to a closed polygon (negative inside).
float PolygonDistance(Vec p, const std::vector<Vec>& v) {
  float d = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
    Vec e{v[i].x - v[j].x, v[i].y - v[j].y};
    Vec w{p.x - v[j].x, p.y - v[j].y};
    float t = std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.0f, 1.0f);
    d = std::min(d, Length({w.x - e.x * t, w.y - e.y * t}));
    if ((v[i].y > p.y) != (v[j].y > p.y) &&
        p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
      inside = !inside;
  }
  return inside ? -d : d;
}

std::vector<Vec> StarPolygon(int points, float outer, float inner) {
  std::vector<Vec> v;
  for (int i = 0; i < points * 2; ++i) {
    float r = (i % 2 == 0) ? outer : inner;
    float a = float(i) * 3.14159265f / float(points);
    v.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return v;
}

struct Kind {
  int number = 0;
  std::string shape, axis;
  float a = 0, b = 0;
  uint32_t colour = 0;
};

std::vector<Kind> ReadKinds(const std::string& path) {
  std::istringstream in(ReadText(path));
  std::vector<Kind> kinds;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    Kind k;
    std::string colour;
    if (!(f >> k.number >> k.shape >> k.axis >> k.a >> k.b >> colour))
      Fail("bad line in bullets.txt: " + line);
    k.colour = uint32_t(std::stoul(colour, nullptr, 16));
    kinds.push_back(k);
  }
  return kinds;
}

float ShapeDistance(const Kind& k, Vec p) {
  float a = k.a, b = k.b;
  if (k.shape == "round" || k.shape == "orb") return Length(p) - a;
  if (k.shape == "rice") {
    float q = Length({p.x / a, p.y / b});
    return (q - 1.0f) * std::min(a, b);
  }
  if (k.shape == "beam") return std::fabs(p.y) - b;  // the ends fade separately
  if (k.shape == "hollow") return std::fabs(Length(p) - a * 0.68f) - a * 0.32f;
  if (k.shape == "capsule") {
    float half = a - b;
    Vec q{p.x - std::clamp(p.x, -half, half), p.y};
    return Length(q) - b;
  }
  if (k.shape == "sparkle") return PolygonDistance(p, StarPolygon(4, a, a * 0.38f));
  if (k.shape == "star") return PolygonDistance(p, StarPolygon(5, a, a * 0.48f));
  if (k.shape == "diamond") return PolygonDistance(p, {{a, 0}, {0, b}, {-a, 0}, {0, -b}});
  if (k.shape == "arrow") return PolygonDistance(p, {{a, 0}, {-a, b}, {-a * 0.35f, 0}, {-a, -b}});
  if (k.shape == "kunai")
    return PolygonDistance(
        p, {{a, 0}, {-a * 0.1f, b}, {-a, b * 0.45f}, {-a, -b * 0.45f}, {-a * 0.1f, -b}});
  if (k.shape == "comet") {
    float head = Length({p.x - (a - b), p.y}) - b;
    float tail = PolygonDistance(p, {{a - b, b * 0.9f}, {-a, 0}, {a - b, -b * 0.9f}});
    return std::min(head, tail);
  }
  Fail("unknown bullet shape " + k.shape);
}

// Colour at a signed distance d from the edge; depth is how far the white
// core reaches in from the edge.
Rgba Ramp(float d, float depth, uint32_t colour, bool additive) {
  Rgba white{1, 1, 1, 1};
  Rgba rim = Colour(colour);
  if (d <= -depth) return white;
  if (d <= 0) {
    // White fades into the colour over the inner half; the outer half of the
    // rim is pure colour, so the kind reads by hue at a glance.
    float t = std::min(1.0f, (d + depth) / (depth * 0.55f));
    return Lerp(white, rim, Smooth(t));
  }
  if (!additive) {
    if (d <= 1.2f) return Lerp(rim, Colour(0x000000, 0.85f), 0.75f);
    if (d <= 3.0f) return Colour(colour, 0.28f * (1.0f - (d - 1.2f) / 1.8f));
    return {};
  }
  if (d <= 4.0f) {
    float t = 1.0f - d / 4.0f;
    return Colour(colour, 0.65f * t * t);
  }
  return {};
}

Canvas DrawKind(const Kind& k) {
  bool additive = k.number > 11;
  if (k.shape == "ring") {
    // The bomb ring: a wide band of light broken into six arcs so its spin shows.
    int size = 256;
    Canvas c(size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        float px = float(x) + 0.5f - size / 2.0f, py = float(y) + 0.5f - size / 2.0f;
        float r = Length({px, py}), ang = std::atan2(py, px);
        float band = 1.0f - std::fabs(r - k.a) / k.b;
        if (band <= 0) continue;
        float arcs = 0.55f + 0.45f * std::cos(ang * 6.0f);
        float edge = std::fabs(r - k.a) < 2.0f ? 1.0f : 0.0f;
        float core = std::pow(band, 3.0f);
        Rgba col = Lerp(Colour(k.colour, 0.7f * band * arcs), Colour(0xffffff, 1.0f), core * arcs);
        if (edge > 0) col = Lerp(col, Colour(0xffffff, 1.0f), 0.8f);
        c.at(x, y) = col;
      }
    return c;
  }
  float glow = additive ? 4.0f : 3.0f;
  float halfLength = k.a + glow, halfWidth = k.b + glow;
  bool up = k.axis == "up";
  int w = 2 * int(std::ceil(up ? halfWidth : halfLength));
  int h = 2 * int(std::ceil(up ? halfLength : halfWidth));
  float depth = (k.shape == "orb") ? k.a * 0.6f : std::max(1.2f, k.b * 0.6f);
  if (k.shape == "hollow") depth = k.a * 0.14f;
  // Thin shapes (stars, arrowheads) are never that deep inside: keep the core
  // white by scaling the ramp to how deep the shape really is.
  float deepest = 0;
  for (float y = -k.b; y <= k.b; y += 0.25f)
    for (float x = -k.a; x <= k.a; x += 0.25f)
      deepest = std::max(deepest, -ShapeDistance(k, {x, y}));
  depth = std::min(depth, deepest * 0.6f);
  const int ss = 4;  // supersampling per axis
  Canvas c(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgba sum;
      for (int sy = 0; sy < ss; ++sy)
        for (int sx = 0; sx < ss; ++sx) {
          float px = float(x) + (float(sx) + 0.5f) / ss - w / 2.0f;
          float py = float(y) + (float(sy) + 0.5f) / ss - h / 2.0f;
          Vec p = up ? Vec{-py, px} : Vec{px, py};  // "up" shapes point to the top
          Rgba s = Ramp(ShapeDistance(k, p), depth, k.colour, additive);
          if (k.shape == "beam") {
            // Beams fade out at both ends so a stretched laser has soft tips.
            float end = std::clamp((k.a - std::fabs(p.x)) / (k.a * 0.35f), 0.0f, 1.0f);
            s = {s.r * end, s.g * end, s.b * end, s.a * end};
          }
          sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
        }
      float inv = 1.0f / (ss * ss);
      c.at(x, y) = {sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
    }
  return c;
}

}  // namespace

void BuildBullets(const Context& ctx) {
  std::vector<Kind> kinds = ReadKinds(ctx.source + "/bullets.txt");
  if (kinds.size() != 20) Fail("bullets.txt must list 20 kinds");
  for (const Kind& k : kinds)
    SavePng(ctx, "bullet" + std::to_string(k.number) + ".png", DrawKind(k));
}

}  // namespace pictures
