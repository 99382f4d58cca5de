// Plain-colour shapes: boxes, thick segments and circles as triangles.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Draw.h"
#include "Engine.h"

namespace engine {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Appends an axis-aligned box [l, r) x [t, b) as two triangles.
void addBox(std::vector<Vertex>& v, std::vector<int>& idx, int color, float l, float t, float r,
            float b) {
  if (r <= l || b <= t) return;
  const int base = static_cast<int>(v.size());
  v.push_back(ColourVertex(color, l, t));
  v.push_back(ColourVertex(color, r, t));
  v.push_back(ColourVertex(color, r, b));
  v.push_back(ColourVertex(color, l, b));
  for (int i : {0, 1, 2, 0, 2, 3}) idx.push_back(base + i);
}

// Enough segments that each edge is a few pixels long, never a visible polygon.
int circleSegments(int radius) {
  return std::clamp(static_cast<int>(2 * kPi * radius / 3), 16, 256);
}

headless::DrawCall shapeCall(headless::DrawOp op, int color) {
  headless::DrawCall call;
  call.op = op;
  call.color = color;
  return call;
}

}  // namespace
}  // namespace engine

using engine::Vertex;

int MakeColor(int r, int g, int b) {
  return std::clamp(r, 0, 255) << 16 | std::clamp(g, 0, 255) << 8 | std::clamp(b, 0, 255);
}

void DrawRectangle(int x1, int y1, int x2, int y2, int color, bool filled) {
  auto call = engine::shapeCall(engine::headless::DrawOp::Rectangle, color);
  const int args[4] = {x1, y1, x2, y2};
  std::copy(args, args + 4, call.args);
  call.filled = filled;
  engine::RecordDraw(call);
  if (!engine::DeviceDrawWanted()) return;
  // The far corner is exclusive: (0, 0)-(10, 10) covers 10 x 10 pixels.
  const float l = static_cast<float>(std::min(x1, x2)), r = static_cast<float>(std::max(x1, x2));
  const float t = static_cast<float>(std::min(y1, y2)), b = static_cast<float>(std::max(y1, y2));
  std::vector<Vertex> v;
  std::vector<int> idx;
  if (filled) {
    engine::addBox(v, idx, color, l, t, r, b);
  } else {
    engine::addBox(v, idx, color, l, t, r, std::min(t + 1, b));
    engine::addBox(v, idx, color, l, std::max(b - 1, t + 1), r, b);
    engine::addBox(v, idx, color, l, t + 1, std::min(l + 1, r), b - 1);
    engine::addBox(v, idx, color, std::max(r - 1, l + 1), t + 1, r, b - 1);
  }
  if (!idx.empty()) {
    engine::SubmitColourTriangles(v.data(), static_cast<int>(v.size()), idx.data(),
                                  static_cast<int>(idx.size()));
  }
}

void DrawSegment(int x1, int y1, int x2, int y2, int color, int thickness) {
  auto call = engine::shapeCall(engine::headless::DrawOp::Segment, color);
  const int args[5] = {x1, y1, x2, y2, thickness};
  std::copy(args, args + 5, call.args);
  engine::RecordDraw(call);
  if (!engine::DeviceDrawWanted()) return;
  const double dx = x2 - x1, dy = y2 - y1;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return;
  // A band of the given width through the pixel centres; the end pixel is
  // left out, so segments joined end to end do not overlap.
  const double half = std::max(thickness, 1) / 2.0;
  const double nx = -dy / length * half, ny = dx / length * half;
  const double ax = x1 + 0.5, ay = y1 + 0.5, bx = x2 + 0.5, by = y2 + 0.5;
  const Vertex v[4] = {
      engine::ColourVertex(color, static_cast<float>(ax + nx), static_cast<float>(ay + ny)),
      engine::ColourVertex(color, static_cast<float>(bx + nx), static_cast<float>(by + ny)),
      engine::ColourVertex(color, static_cast<float>(bx - nx), static_cast<float>(by - ny)),
      engine::ColourVertex(color, static_cast<float>(ax - nx), static_cast<float>(ay - ny)),
  };
  static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
  engine::SubmitColourTriangles(v, 4, kIndices, 6);
}

void DrawCircleShape(int x, int y, int radius, int color, bool filled) {
  auto call = engine::shapeCall(engine::headless::DrawOp::Circle, color);
  call.args[0] = x;
  call.args[1] = y;
  call.args[2] = radius;
  call.filled = filled;
  engine::RecordDraw(call);
  if (!engine::DeviceDrawWanted() || radius <= 0) return;
  const int n = engine::circleSegments(radius);
  const double cx = x + 0.5, cy = y + 0.5;
  std::vector<Vertex> v;
  std::vector<int> idx;
  if (filled) {
    v.push_back(engine::ColourVertex(color, static_cast<float>(cx), static_cast<float>(cy)));
    for (int i = 0; i < n; ++i) {
      const double a = 2 * engine::kPi * i / n;
      v.push_back(engine::ColourVertex(color, static_cast<float>(cx + radius * std::cos(a)),
                                       static_cast<float>(cy + radius * std::sin(a))));
      for (int k : {0, 1 + i, 1 + (i + 1) % n}) idx.push_back(k);
    }
  } else {
    // A one-pixel ring centred on the radius.
    const double inner = std::max(radius - 0.5, 0.0), outer = radius + 0.5;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * engine::kPi * i / n;
      const double c = std::cos(a), s = std::sin(a);
      v.push_back(engine::ColourVertex(color, static_cast<float>(cx + outer * c),
                                       static_cast<float>(cy + outer * s)));
      v.push_back(engine::ColourVertex(color, static_cast<float>(cx + inner * c),
                                       static_cast<float>(cy + inner * s)));
      const int o0 = 2 * i, i0 = 2 * i + 1, o1 = 2 * ((i + 1) % n), i1 = o1 + 1;
      for (int k : {o0, o1, i1, o0, i1, i0}) idx.push_back(k);
    }
  }
  engine::SubmitColourTriangles(v.data(), static_cast<int>(v.size()), idx.data(),
                                static_cast<int>(idx.size()));
}
