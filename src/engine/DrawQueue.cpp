#include "DrawQueue.h"

#include <algorithm>
#include <cmath>

#include "Engine.h"

namespace engine {
namespace {

// Beyond this a coordinate is off any screen; keeps the integer maths safe.
constexpr double kFar = 1 << 24;
// A draw is cut into at most this many pieces around opaque rectangles.
constexpr size_t kMaxPieces = 4;
// Opaque rectangles remembered while resolving a frame (scenery layers,
// the frame picture and a few HUD bars in practice).
constexpr size_t kMaxCovered = 32;
// Cutting a draw costs more draws; below this many hidden pixels (one tile
// of a tiling rasteriser) it is not worth it.
constexpr int64_t kMinCut = 64 * 64;

bool allAlpha(const Vertex* v, int count, uint8_t alpha) {
  for (int i = 0; i < count; ++i) {
    if (v[i].a != alpha) return false;
  }
  return true;
}

bool allBlack(const Vertex* v, int count) {
  for (int i = 0; i < count; ++i) {
    if (v[i].r != 0 || v[i].g != 0 || v[i].b != 0) return false;
  }
  return true;
}

bool intersects(const PixelRect& a, const PixelRect& b) { return !Intersect(a, b).empty(); }

// a less r: up to four disjoint rectangles (above, below, left, right).
void subtract(const PixelRect& a, const PixelRect& r, std::vector<PixelRect>& out) {
  if (!intersects(a, r)) {
    out.push_back(a);
    return;
  }
  if (r.t > a.t) out.push_back({a.l, a.t, a.r, r.t});
  if (r.b < a.b) out.push_back({a.l, r.b, a.r, a.b});
  const int top = std::max(a.t, r.t), bottom = std::min(a.b, r.b);
  if (r.l > a.l) out.push_back({a.l, top, r.l, bottom});
  if (r.r < a.r) out.push_back({r.r, top, a.r, bottom});
}

int64_t area(const PixelRect& r) { return r.empty() ? 0 : int64_t{r.r - r.l} * (r.b - r.t); }

int wholeCoordinate(double value) { return static_cast<int>(std::clamp(value, -kFar, kFar)); }

}  // namespace

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.l, b.l), std::max(a.t, b.t), std::min(a.r, b.r), std::min(a.b, b.b)};
  if (r.empty()) return PixelRect{};
  return r;
}

DeviceBlend DeviceBlendFor(int blendMode, bool subtractSupported) {
  switch (blendMode) {
    case BLEND_ADD:
      return DeviceBlend::Add;
    case BLEND_SUB:
      return subtractSupported ? DeviceBlend::Subtract : DeviceBlend::Blend;
    case BLEND_MUL:
      return DeviceBlend::Multiply;
    default:
      return DeviceBlend::Blend;
  }
}

bool AllOpaque(const uint32_t* rgba, size_t count) {
  return std::all_of(rgba, rgba + count, [](uint32_t p) { return p >> 24 == 0xFF; });
}

bool LeavesPictureUnchanged(const Vertex* vertices, int count, DeviceBlend blend) {
  if (allAlpha(vertices, count, 0)) return true;
  return (blend == DeviceBlend::Add || blend == DeviceBlend::Subtract) && allBlack(vertices, count);
}

bool ReplacesPicture(const Vertex* vertices, int count, DeviceBlend blend, bool textureOpaque) {
  return blend == DeviceBlend::Blend && textureOpaque && allAlpha(vertices, count, 255);
}

PixelRect DrawBounds(const Vertex* vertices, int vertexCount, const int*, int) {
  const PixelRect everything{-static_cast<int>(kFar), -static_cast<int>(kFar),
                             static_cast<int>(kFar), static_cast<int>(kFar)};
  if (vertexCount <= 0) return PixelRect{};
  double minX = vertices[0].x, maxX = minX, minY = vertices[0].y, maxY = minY;
  for (int i = 0; i < vertexCount; ++i) {
    const double x = vertices[i].x, y = vertices[i].y;
    if (!std::isfinite(x) || !std::isfinite(y)) return everything;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  // A pixel is drawn when its centre (p + 0.5) is inside, so p lies in
  // [floor(min), ceil(max)).
  return PixelRect{wholeCoordinate(std::floor(minX)), wholeCoordinate(std::floor(minY)),
                   wholeCoordinate(std::ceil(maxX)), wholeCoordinate(std::ceil(maxY))};
}

bool IsPixelRectangle(const Vertex* v, int vertexCount, const int* indices, int indexCount,
                      PixelRect& out) {
  if (vertexCount != 4 || indexCount != 6) return false;
  for (int i = 0; i < 4; ++i) {
    const double x = v[i].x, y = v[i].y;
    if (!(std::fabs(x) < kFar && std::fabs(y) < kFar) || x != std::floor(x) || y != std::floor(y))
      return false;
  }
  double minX = v[0].x, maxX = v[0].x, minY = v[0].y, maxY = v[0].y;
  for (int i = 1; i < 4; ++i) {
    minX = std::min<double>(minX, v[i].x);
    maxX = std::max<double>(maxX, v[i].x);
    minY = std::min<double>(minY, v[i].y);
    maxY = std::max<double>(maxY, v[i].y);
  }
  if (!(maxX > minX && maxY > minY)) return false;
  // Each vertex a different corner.
  int corners = 0;
  for (int i = 0; i < 4; ++i) {
    const bool atMinX = v[i].x == minX, atMaxX = v[i].x == maxX;
    const bool atMinY = v[i].y == minY, atMaxY = v[i].y == maxY;
    if (!(atMinX || atMaxX) || !(atMinY || atMaxY)) return false;
    corners |= 1 << ((atMaxX ? 1 : 0) + (atMaxY ? 2 : 0));
  }
  if (corners != 0xF) return false;
  // Two triangles of three different corners sharing exactly one diagonal.
  for (int i = 0; i < 6; ++i) {
    if (indices[i] < 0 || indices[i] > 3) return false;
  }
  for (int t = 0; t < 6; t += 3) {
    if (indices[t] == indices[t + 1] || indices[t] == indices[t + 2] ||
        indices[t + 1] == indices[t + 2])
      return false;
  }
  int shared[3], sharedCount = 0;
  for (int i = 0; i < 3; ++i) {
    for (int j = 3; j < 6; ++j) {
      if (indices[i] == indices[j]) shared[sharedCount++] = indices[i];
    }
  }
  if (sharedCount != 2) return false;
  const Vertex& a = v[shared[0]];
  const Vertex& b = v[shared[1]];
  if (a.x == b.x || a.y == b.y) return false;  // a side, not a diagonal
  out = PixelRect{static_cast<int>(minX), static_cast<int>(minY), static_cast<int>(maxX),
                  static_cast<int>(maxY)};
  return true;
}

namespace {

bool quadOnPixels(const Vertex* v, int tw, int th) {
  constexpr double kSlack = 1e-3;  // of a texel
  auto whole = [](double x) { return x == std::floor(x); };
  auto near = [](double a, double b) { return std::fabs(a - b) <= kSlack; };
  for (int i = 0; i < 4; ++i) {
    const double u = static_cast<double>(v[i].u) * tw, t = static_cast<double>(v[i].v) * th;
    if (!std::isfinite(u) || !std::isfinite(t) || !(std::fabs(v[i].x) < kFar) ||
        !(std::fabs(v[i].y) < kFar))
      return false;
    if (!whole(v[i].x) || !whole(v[i].y) || !near(u, std::round(u)) || !near(t, std::round(t)))
      return false;
  }
  // Each side runs along x or y over as many texels as pixels, and along
  // the same texture axis.
  for (int i = 0; i < 4; ++i) {
    const Vertex& a = v[i];
    const Vertex& b = v[(i + 1) % 4];
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const double du = (static_cast<double>(b.u) - a.u) * tw;
    const double dv = (static_cast<double>(b.v) - a.v) * th;
    if (dx != 0 && dy != 0) return false;
    if (!near(std::fabs(du), std::fabs(dx)) || !near(std::fabs(dv), std::fabs(dy))) return false;
  }
  return true;
}

}  // namespace

bool TexelsOnPixels(const Vertex* vertices, int vertexCount, const int* indices, int indexCount,
                    int textureWidth, int textureHeight) {
  static const int kQuad[6] = {0, 1, 2, 0, 2, 3};
  if (vertexCount <= 0 || vertexCount % 4 != 0 || indexCount != vertexCount / 4 * 6 ||
      textureWidth <= 0 || textureHeight <= 0)
    return false;
  for (int q = 0; q < vertexCount / 4; ++q) {
    for (int k = 0; k < 6; ++k) {
      if (indices[6 * q + k] != 4 * q + kQuad[k]) return false;
    }
    if (!quadOnPixels(vertices + 4 * q, textureWidth, textureHeight)) return false;
  }
  return true;
}

void DrawQueue::add(void* texture, const Vertex* vertices, int vertexCount, const int* indices,
                    int indexCount, int blendMode, DeviceBlend blend, bool textureOpaque,
                    const PixelRect& clip) {
  if (!vertices || !indices || vertexCount <= 0 || indexCount <= 0) return;
  if (LeavesPictureUnchanged(vertices, vertexCount, blend)) return;
  const PixelRect area = Intersect(DrawBounds(vertices, vertexCount, indices, indexCount), clip);
  if (area.empty()) return;
  Queued q{};
  q.texture = texture;
  q.firstVertex = vertices_.size();
  q.vertexCount = vertexCount;
  q.firstIndex = indices_.size();
  q.indexCount = indexCount;
  q.blendMode = blendMode;
  q.replaces = ReplacesPicture(vertices, vertexCount, blend, textureOpaque);
  q.isRect = q.replaces && IsPixelRectangle(vertices, vertexCount, indices, indexCount, q.rect);
  q.clip = clip;
  q.area = area;
  draws_.push_back(q);
  vertices_.insert(vertices_.end(), vertices, vertices + vertexCount);
  indices_.insert(indices_.end(), indices, indices + indexCount);
}

void DrawQueue::addClear(const PixelRect& screen) {
  Queued q{};
  q.firstVertex = vertices_.size();
  q.firstIndex = indices_.size();
  q.replaces = q.clear = q.isRect = true;
  q.rect = q.clip = q.area = screen;
  draws_.push_back(q);
}

void DrawQueue::drop() {
  draws_.clear();
  vertices_.clear();
  indices_.clear();
  pieces_.clear();
}

void DrawQueue::resolve() {
  pieces_.clear();
  covered_.clear();
  std::vector<PixelRect> parts, next;
  // From the last draw back: what a draw leaves in view is its area less
  // the opaque rectangles drawn after it.
  for (size_t i = draws_.size(); i-- > 0;) {
    const Queued& d = draws_[i];
    if (d.clear) {
      // Whole or not at all: a clear has no clip rectangle to cut it with.
      if (std::none_of(covered_.begin(), covered_.end(),
                       [&d](const PixelRect& c) { return c.contains(d.area); }))
        pieces_.push_back(Piece{i, d.clip});
      covered_.insert(covered_.begin(), d.area);
      continue;
    }
    parts.assign(1, d.area);
    bool cut = false;
    for (const PixelRect& r : covered_) {
      int64_t hidden = 0;
      for (const PixelRect& p : parts) hidden += area(Intersect(p, r));
      if (hidden < kMinCut && hidden < area(d.area)) continue;
      next.clear();
      for (const PixelRect& p : parts) subtract(p, r, next);
      if (next.size() > kMaxPieces) continue;  // too fragmented: draw that part anyway
      parts.swap(next);
      cut = true;
      if (parts.empty()) break;
    }
    if (!cut) {
      pieces_.push_back(Piece{i, d.clip});
    } else {
      for (const PixelRect& p : parts) pieces_.push_back(Piece{i, p});
    }
    if (d.isRect && covered_.size() < kMaxCovered) {
      const PixelRect r = Intersect(d.rect, d.clip);
      const bool known = std::any_of(covered_.begin(), covered_.end(),
                                     [&r](const PixelRect& c) { return c.contains(r); });
      // Largest first: the big rectangles do the cutting.
      if (!r.empty() && !known) {
        covered_.insert(std::upper_bound(covered_.begin(), covered_.end(), r,
                                         [](const PixelRect& a, const PixelRect& b) {
                                           return area(a) > area(b);
                                         }),
                        r);
      }
    }
  }
  std::reverse(pieces_.begin(), pieces_.end());
}

}  // namespace engine
