// Builds the icon pixel by pixel with a little supersampling for smooth edges.
#include "WindowIcon.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

struct Colour {
  float r, g, b, a;
};

// Signed test of p against the edge a->b (positive on the left).
float edge(float ax, float ay, float bx, float by, float px, float py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

bool inTriangle(float ax, float ay, float bx, float by, float cx, float cy, float px, float py) {
  const float e0 = edge(ax, ay, bx, by, px, py);
  const float e1 = edge(bx, by, cx, cy, px, py);
  const float e2 = edge(cx, cy, ax, ay, px, py);
  return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
}

Colour sample(float x, float y) {
  const float dx = x - 16.0f, dy = y - 16.0f;
  const float distance = std::sqrt(dx * dx + dy * dy);
  if (distance > 15.5f) return {0, 0, 0, 0};
  // Ship: an arrowhead with a notch cut into its tail.
  if (inTriangle(16, 4, 7, 26, 25, 26, x, y) && !inTriangle(16, 19, 11, 27, 21, 27, x, y)) {
    const float shine = std::clamp(1.0f - (y - 4.0f) / 30.0f, 0.6f, 1.0f);
    return {0.80f * shine + 0.2f, 0.95f * shine + 0.05f, 1.0f, 1.0f};
  }
  static const float kShots[4][2] = {{8, 9}, {24.5f, 10}, {6.5f, 17}, {26, 18.5f}};
  for (const auto& shot : kShots) {
    const float sx = x - shot[0], sy = y - shot[1];
    if (sx * sx + sy * sy <= 3.2f) return {1.0f, 0.45f, 0.75f, 1.0f};
  }
  if (distance > 14.5f) return {0.55f, 0.45f, 0.95f, 1.0f};  // rim
  const float t = distance / 14.5f;
  return {0.10f + 0.25f * t, 0.05f + 0.05f * t, 0.25f + 0.30f * t, 1.0f};
}

}  // namespace

bool BuildWindowIcon(int iconId, std::vector<uint32_t>& rgba) {
  if (iconId != kGameIconId) return false;
  rgba.assign(static_cast<size_t>(kWindowIconSize) * kWindowIconSize, 0);
  constexpr int kSub = 4;
  for (int y = 0; y < kWindowIconSize; ++y) {
    for (int x = 0; x < kWindowIconSize; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Colour c = sample(x + (sx + 0.5f) / kSub, y + (sy + 0.5f) / kSub);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      if (a <= 0) continue;
      const auto channel = [](float v) { return static_cast<uint32_t>(std::lround(v * 255)); };
      rgba[static_cast<size_t>(y) * kWindowIconSize + x] = channel(r / a) | channel(g / a) << 8 |
                                                           channel(b / a) << 16 |
                                                           channel(a / (kSub * kSub)) << 24;
    }
  }
  return true;
}

}  // namespace engine
