// The software rasteriser's shapes: triangles, and the convex polygons the
// game's draws make of them (a quad's two triangles, a filled circle's fan),
// each set up once in fixed point and drawn one span per row.
#include "SoftRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "SoftSpans.h"

namespace engine::soft {

uint32_t FromRgba(uint32_t p) { return (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16; }
uint32_t ToRgba(uint32_t p) { return FromRgba(p); }  // the same swap both ways

Texture::Texture(int width, int height, const uint32_t* rgba)
    : width_(width),
      height_(height),
      texels_(static_cast<size_t>(width + 2) * static_cast<size_t>(height + 2)) {
  update(0, 0, width, height, rgba);
}

void Texture::update(int x, int y, int width, int height, const uint32_t* rgba) {
  for (int row = 0; row < height; ++row) {
    uint32_t* out = texels_.data() + static_cast<size_t>(y + row + 1) * pitch() + x + 1;
    const uint32_t* in = rgba + static_cast<size_t>(row) * width;
    for (int col = 0; col < width; ++col) out[col] = FromRgba(in[col]);
  }
  repeatEdges();
}

void Texture::repeatEdges() {
  const int p = pitch();
  uint32_t* t = texels_.data();
  for (int row = 1; row <= height_; ++row) {
    t[static_cast<size_t>(row) * p] = t[static_cast<size_t>(row) * p + 1];
    t[static_cast<size_t>(row) * p + width_ + 1] = t[static_cast<size_t>(row) * p + width_];
  }
  std::memcpy(t, t + p, sizeof(uint32_t) * p);
  std::memcpy(t + static_cast<size_t>(height_ + 1) * p, t + static_cast<size_t>(height_) * p,
              sizeof(uint32_t) * p);
}

void Fill(const Canvas& canvas, const PixelRect& rect, uint32_t argb) {
  for (int y = canvas.rowFrom(rect.t); y < rect.b; y += canvas.rowStep) {
    uint32_t* row = canvas.pixels + static_cast<size_t>(y) * canvas.pitch;
    std::fill(row + rect.l, row + rect.r, argb);
  }
}

namespace {

constexpr int64_t kSubpixels = 256;
// Beyond this many pixels off screen a vertex would overflow the edge
// arithmetic; such shapes are not drawn.
constexpr double kFarthest = 1 << 20;
// A fan of more triangles than this is drawn triangle by triangle.
constexpr int kMostCorners = 512;

int64_t FloorDiv(int64_t n, int64_t d) {  // d > 0
  return n >= 0 ? n / d : -((-n + d - 1) / d);
}

int64_t Subpixels(float v) {
  const double d = static_cast<double>(v) * kSubpixels;
  return static_cast<int64_t>(d >= 0 ? d + 0.5 : d - 0.5);
}

int32_t Fixed16(double v) {
  if (std::isnan(v)) return 0;
  v = std::clamp(v, -32767.0, 32767.0) * 65536.0;
  return static_cast<int32_t>(v >= 0 ? v + 0.5 : v - 0.5);
}

// The plane of one attribute over a shape: its value at (x, y) in pixels.
struct Plane {
  double at0, dx, dy;
  double at(double x, double y) const { return at0 + dx * x + dy * y; }
};

// E(x, y) = a x + b y + c over pixel indices, evaluated at pixel centres;
// a pixel is inside where E >= bias.
struct Edge {
  int64_t a = 0, b = 0, c = 0;
  int64_t bias = 0;  // 0 when a pixel centre on the edge belongs to this shape
  double inverseA = 0;

  // The first pixel in [lo, hi] inside a left edge (a > 0), or the first
  // outside a right edge (a < 0). The crossing is estimated in floating
  // point, then settled exactly on the pixels next to it.
  int64_t crossing(int y, int64_t lo, int64_t hi) const {
    const int64_t row = b * y + c;
    auto inside = [this, row](int64_t x) { return a * x + row >= bias; };
    const double at = static_cast<double>(bias - row) * inverseA;
    if (a > 0) {
      int64_t x = static_cast<int64_t>(std::clamp(std::ceil(at), double(lo), double(hi)));
      while (x > lo && inside(x - 1)) --x;
      while (x < hi && !inside(x)) ++x;
      return x;
    }
    int64_t x = static_cast<int64_t>(std::clamp(std::floor(at) + 1, double(lo), double(hi)));
    while (x < hi && inside(x)) ++x;
    while (x > lo && !inside(x - 1)) --x;
    return x;
  }
};

// A convex shape, corners in order round it (either way). Its rows are
// bounded by one edge on each side, found by walking down the two chains
// of edges from the top corner to the bottom one.
class ConvexShape {
 public:
  ConvexShape(const Vertex* const* v, int corners) : n_(corners) {
    double twiceArea = 0;
    for (int i = 0; i < n_; ++i) {
      if (!std::isfinite(v[i]->x) || !std::isfinite(v[i]->y) || std::abs(v[i]->x) > kFarthest ||
          std::abs(v[i]->y) > kFarthest) {
        return;
      }
      X[i] = Subpixels(v[i]->x);
      Y[i] = Subpixels(v[i]->y);
    }
    for (int i = 0; i < 3; ++i) {
      snapped_[i][0] = static_cast<double>(X[i]) / kSubpixels;
      snapped_[i][1] = static_cast<double>(Y[i]) / kSubpixels;
    }
    for (int i = 0; i < n_; ++i) {
      const int j = next(i);
      twiceArea += static_cast<double>(X[i]) * static_cast<double>(Y[j]) -
                   static_cast<double>(X[j]) * static_cast<double>(Y[i]);
    }
    if (twiceArea == 0) return;
    // Clockwise on screen from here on.
    if (twiceArea < 0) {
      std::reverse(X, X + n_);
      std::reverse(Y, Y + n_);
    }
    top_ = *std::min_element(Y, Y + n_);
    bottom_ = *std::max_element(Y, Y + n_);
    for (int i = 0; i < n_; ++i) {
      if (Y[i] == top_ && Y[next(i)] > top_) right_ = i;
      if (Y[i] == top_ && Y[prev(i)] > top_) left_ = i;
      if (Y[i] == bottom_ && Y[prev(i)] < bottom_) rightEnd_ = i;
      if (Y[i] == bottom_ && Y[next(i)] < bottom_) leftEnd_ = i;
    }
    flatTop_ = left_ != right_;
    rightEdge_ = edge(right_, next(right_));
    leftEdge_ = edge(prev(left_), left_);
    valid = true;
  }

  // The plane through the attribute's values at the first three corners
  // as given, where they lie once snapped (only asked of triangles and
  // parallelograms).
  Plane plane(double f0, double f1, double f2) const {
    const double x0 = snapped_[0][0], y0 = snapped_[0][1];
    const double ex1 = snapped_[1][0] - x0, ey1 = snapped_[1][1] - y0;
    const double ex2 = snapped_[2][0] - x0, ey2 = snapped_[2][1] - y0;
    const double det = ex1 * ey2 - ex2 * ey1;
    if (det == 0) return Plane{f0, 0, 0};
    const double df1 = f1 - f0, df2 = f2 - f0;
    Plane p;
    p.dx = (df1 * ey2 - df2 * ey1) / det;
    p.dy = (df2 * ex1 - df1 * ex2) / det;
    p.at0 = f0 - p.dx * x0 - p.dy * y0;
    return p;
  }

  // Pixel rows whose centres the shape may cover.
  int firstRow() const { return static_cast<int>(-FloorDiv(kSubpixels / 2 - top_, kSubpixels)); }
  int lastRow() const { return static_cast<int>(FloorDiv(bottom_ - kSubpixels / 2, kSubpixels)); }

  // The pixels [l, r) of row y whose centres lie inside, within [lo, hi).
  // Rows are asked in increasing order.
  void span(int y, int lo, int hi, int& l, int& r) {
    const int64_t centre = int64_t{y} * kSubpixels + kSubpixels / 2;
    // Centres on a flat top edge belong to the shape above it.
    if (centre == top_ && flatTop_) {
      l = r = lo;
      return;
    }
    while (right_ != rightEnd_ && next(right_) != rightEnd_ && Y[next(right_)] < centre) {
      right_ = next(right_);
      rightEdge_ = edge(right_, next(right_));
    }
    while (left_ != leftEnd_ && prev(left_) != leftEnd_ && Y[prev(left_)] < centre) {
      left_ = prev(left_);
      leftEdge_ = edge(prev(left_), left_);
    }
    const int64_t left = leftEdge_.a > 0 ? leftEdge_.crossing(y, lo, hi) : lo;
    const int64_t right = rightEdge_.a < 0 ? rightEdge_.crossing(y, left, hi) : hi;
    l = static_cast<int>(left);
    r = static_cast<int>(std::max(left, right));
  }

  bool valid = false;

 private:
  int next(int i) const { return i + 1 == n_ ? 0 : i + 1; }
  int prev(int i) const { return i == 0 ? n_ - 1 : i - 1; }

  Edge edge(int i, int j) const {
    // E(P) = (Xj - Xi)(Py - Yi) - (Yj - Yi)(Px - Xi), with P the centre of
    // pixel (x, y): Px = 256 x + 128, Py = 256 y + 128.
    const int64_t dx = X[j] - X[i], dy = Y[j] - Y[i];
    Edge e;
    e.a = -dy * kSubpixels;
    e.b = dx * kSubpixels;
    e.c = dx * (kSubpixels / 2 - Y[i]) - dy * (kSubpixels / 2 - X[i]);
    // Of two shapes sharing an edge, which run it in opposite directions,
    // exactly one owns the pixel centres on it.
    e.bias = (dy > 0 || (dy == 0 && dx < 0)) ? 0 : 1;
    e.inverseA = e.a != 0 ? 1.0 / static_cast<double>(e.a) : 0.0;
    return e;
  }

  int n_;
  int64_t X[kMostCorners], Y[kMostCorners];
  double snapped_[3][2] = {};
  int64_t top_ = 0, bottom_ = 0;
  int right_ = 0, left_ = 0, rightEnd_ = 0, leftEnd_ = 0;
  bool flatTop_ = false;
  Edge rightEdge_, leftEdge_;
};

// Whether every pixel centre samples a texel centre: steps of whole texels
// and the first sample on a centre. Filtering cannot change such a sample.
bool OnTexelCentres(const Plane& s, const Plane& t) {
  auto whole = [](double v) { return std::abs(v - std::round(v)) < 1.0 / 4096; };
  return whole(s.dx) && whole(s.dy) && whole(t.dx) && whole(t.dy) && whole(s.at(0.5, 0.5)) &&
         whole(t.at(0.5, 0.5));
}

bool SameColour(const Vertex& a, const Vertex& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// Whether the quad's corners (in order round it) form a parallelogram in
// the picture and in the texture, in one colour: its two triangles are
// then one affine map.
bool IsParallelogram(const Vertex* const* q, const Texture* texture) {
  auto across = [q](float Vertex::*f) {
    return std::abs(q[0]->*f + q[2]->*f - q[1]->*f - q[3]->*f);
  };
  constexpr float kSlack = 1.0f / 1024;
  if (across(&Vertex::x) > kSlack || across(&Vertex::y) > kSlack) return false;
  if (texture && (across(&Vertex::u) * static_cast<float>(texture->width()) > kSlack ||
                  across(&Vertex::v) * static_cast<float>(texture->height()) > kSlack)) {
    return false;
  }
  return SameColour(*q[0], *q[1]) && SameColour(*q[0], *q[2]) && SameColour(*q[0], *q[3]);
}

// Corners, in order, of the closed fan of plain-colour triangles c-p0-p1,
// c-p1-p2, ..., c-pn-p0 starting at indices[0], which together cover the
// convex polygon p0..pn (a filled circle); 0 when they do not make one.
int ClosedFan(const Vertex* vertices, const int* indices, int indexCount, const Vertex** corners) {
  const int centre = indices[0];
  const int first = indices[1];
  int count = 0;
  for (int i = 0; i + 2 < indexCount && count < kMostCorners; i += 3) {
    if (indices[i] != centre || (i > 0 && indices[i + 1] != indices[i - 1])) break;
    corners[count++] = &vertices[indices[i + 1]];
    if (indices[i + 2] != first) continue;
    // Closed: one colour, convex (every turn the same way round), and the
    // centre inside (every triangle the same way round too).
    if (count < 3) return 0;
    auto cross = [](const Vertex& a, const Vertex& b, const Vertex& c) {
      return (double(b.x) - a.x) * (double(c.y) - b.y) - (double(b.y) - a.y) * (double(c.x) - b.x);
    };
    const Vertex& hub = vertices[centre];
    double turn = 0;
    for (int k = 0; k < count; ++k) {
      const Vertex& a = *corners[k];
      const Vertex& b = *corners[(k + 1) % count];
      const Vertex& c = *corners[(k + 2) % count];
      if (!SameColour(a, hub)) return 0;
      const double bend = cross(a, b, c), around = cross(hub, a, b);
      if (bend * turn < 0 || around * turn < 0 || bend * around < 0) return 0;
      if (bend != 0) turn = bend;
    }
    return count;
  }
  return 0;
}

void DrawShape(const Canvas& canvas, const PixelRect& clip, const Texture* texture, bool filtered,
               const Vertex* const* corners, int cornerCount, Blend blend) {
  ConvexShape shape(corners, cornerCount);
  if (!shape.valid) return;
  const int y0 = std::max(clip.t, shape.firstRow());
  const int y1 = std::min(clip.b - 1, shape.lastRow());
  if (y0 > y1) return;
  const Vertex& v0 = *corners[0];
  const Vertex& v1 = *corners[1];
  const Vertex& v2 = *corners[2];

  Span sp{};
  const bool gouraud = !SameColour(v0, v1) || !SameColour(v0, v2);
  Plane colour[4];
  const uint8_t Vertex::*channels[4] = {&Vertex::b, &Vertex::g, &Vertex::r, &Vertex::a};
  for (int k = 0; k < 4; ++k) {
    const uint8_t Vertex::*ch = channels[k];
    colour[k] = gouraud ? shape.plane(v0.*ch, v1.*ch, v2.*ch) : Plane{double(v0.*ch), 0, 0};
    sp.c[k] = gouraud ? 0 : v0.*ch;
    sp.dc[k] = gouraud ? Fixed16(colour[k].dx) : 0;
  }
  sp.gouraud = gouraud;
  sp.white = !gouraud && v0.r == 255 && v0.g == 255 && v0.b == 255 && v0.a == 255;
  sp.solidColour = !gouraud && v0.a == 255;

  Plane s{}, t{};
  Source source = Source::Colour;
  bool aligned = false;
  if (texture) {
    const double w = texture->width(), h = texture->height();
    s = shape.plane(v0.u * w - 0.5, v1.u * w - 0.5, v2.u * w - 0.5);
    t = shape.plane(v0.v * h - 0.5, v1.v * h - 0.5, v2.v * h - 0.5);
    const bool centres = OnTexelCentres(s, t);
    source = filtered && !centres ? Source::Linear : Source::Nearest;
    sp.texels = texture->origin();
    sp.pitch = texture->pitch();
    sp.ds = Fixed16(s.dx);
    sp.dt = Fixed16(t.dx);
    sp.sMax = (texture->width() - 1) * 0x10000;
    sp.tMax = (texture->height() - 1) * 0x10000;
    aligned = centres && !gouraud && sp.ds == 0x10000 && sp.dt == 0;
  }
  const SpanFn rowFn = RowSpanFor(blend);
  const SpanFn fn = SpanFor(source, blend);

  for (int y = canvas.rowFrom(y0); y <= y1; y += canvas.rowStep) {
    int l = 0, r = 0;
    shape.span(y, clip.l, clip.r, l, r);
    if (l >= r) continue;
    const double cx = l + 0.5, cy = y + 0.5;
    sp.dst = canvas.pixels + static_cast<size_t>(y) * canvas.pitch + l;
    sp.count = r - l;
    if (texture) {
      sp.s = Fixed16(s.at(cx, cy));
      sp.t = Fixed16(t.at(cx, cy));
    }
    if (gouraud) {
      for (int k = 0; k < 4; ++k) sp.c[k] = Fixed16(colour[k].at(cx, cy));
    }
    // Texel for texel, within the texture.
    if (aligned && sp.s >= -0x8000 && sp.t >= -0x8000 &&
        sp.s + (sp.count - 1) * 0x10000 < sp.sMax + 0x8000 && sp.t < sp.tMax + 0x8000) {
      rowFn(sp);
    } else {
      fn(sp);
    }
  }
}

}  // namespace

void DrawTriangles(const Canvas& canvas, const PixelRect& clipIn, const Texture* texture,
                   bool filtered, const Vertex* vertices, const int* indices, int indexCount,
                   Blend blend) {
  const PixelRect clip = Intersect(clipIn, PixelRect{0, 0, canvas.width, canvas.height});
  if (clip.empty()) return;
  const Vertex* corners[kMostCorners];
  for (int i = 0; i + 2 < indexCount;) {
    if (!texture) {
      const int fan = ClosedFan(vertices, indices + i, indexCount - i, corners);
      if (fan > 0) {
        DrawShape(canvas, clip, texture, filtered, corners, fan, blend);
        i += 3 * fan;
        continue;
      }
    }
    corners[0] = &vertices[indices[i]];
    corners[1] = &vertices[indices[i + 1]];
    corners[2] = &vertices[indices[i + 2]];
    // Triangles a-b-c and a-c-d: the quad a-b-c-d.
    if (i + 5 < indexCount && indices[i + 3] == indices[i] && indices[i + 4] == indices[i + 2]) {
      corners[3] = &vertices[indices[i + 5]];
      if (IsParallelogram(corners, texture)) {
        DrawShape(canvas, clip, texture, filtered, corners, 4, blend);
        i += 6;
        continue;
      }
    }
    DrawShape(canvas, clip, texture, filtered, corners, 3, blend);
    i += 3;
  }
}

}  // namespace engine::soft
