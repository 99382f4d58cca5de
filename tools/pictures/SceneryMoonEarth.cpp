// Stage 3 and 4 scenery. Stage 3 flies over the Moon's far side: a height
// field of plains and craters, lit low from the upper left. Stage 4 flies
// above the night side of the blue Earth: deep oceans, muted continents and
// moonlit cloud (the opaque base), the shadows of high cloud (drawn
// subtractively) and fast low haze (drawn with alpha). Nothing on the way
// down gets brighter than a dim grey, so white-cored bullets stay the
// brightest things on the field. Every strip tiles at its layer's period; periods that are not
// a whole number of noise cells get their lattice stretched to fit.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Build.h"
#include "Noise.h"
#include "Strips.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;

// --- The Moon ---------------------------------------------------------------

Canvas MoonSurface() {
  const int period = 3840, h = period + kFieldH;
  std::vector<float> height(size_t(kFieldW) * period);
  std::vector<float> albedo(size_t(kFieldW) * period);
  auto idx = [&](int x, int y) { return size_t(y) * kFieldW + size_t(x); };
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float hills = StripFbm(x, y, period, 40, 301, 5);
      float mare = StripFbm(x, y, period, 15, 302, 3);
      height[idx(x, y)] = hills * 14.0f;
      // Dark lava plains with soft shores, lighter highlands.
      float plain = Smooth(std::clamp((mare - 0.5f) * 4.0f, 0.0f, 1.0f));
      albedo[idx(x, y)] =
          0.8f - 0.3f * plain + 0.08f * (Hash01(uint32_t(x), uint32_t(y), 303) - 0.5f);
    }
  // Craters: a bowl inside a raised rim, wrapped across the period.
  Rng rng(304);
  for (int i = 0; i < 900; ++i) {
    float u = rng.Uniform();
    float r = u > 0.99f ? rng.Range(40, 80) : u > 0.9f ? rng.Range(14, 36) : rng.Range(2.5f, 10);
    float cx = rng.Range(-20, kFieldW + 20), cy = rng.Range(0, float(period));
    float depth = r * 0.35f;
    int reach = int(r * 1.5f) + 2;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        int x = int(cx) + dx;
        if (x < 0 || x >= kFieldW) continue;
        int y = Wrap(int(cy) + dy, period);
        float d = std::hypot(float(int(cx) + dx) - cx, float(int(cy) + dy) - cy) / r;
        float add = 0;
        if (d < 1.0f) {
          add = (d * d - 1.0f) * depth + 0.25f * depth;
        } else if (d < 1.5f) {
          float k = (1.5f - d) / 0.5f;
          add = 0.25f * depth * k * k;
        }
        height[idx(x, y)] += add;
      }
  }
  Canvas c(kFieldW, h);
  // Low sun from the upper left.
  const float lx = -0.55f, ly = -0.55f, lz = 0.63f;
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      int xl = std::max(x - 1, 0), xr = std::min(x + 1, kFieldW - 1);
      float gx = (height[idx(xr, y)] - height[idx(xl, y)]) / float(xr - xl);
      float gy = (height[idx(x, Wrap(y + 1, period))] - height[idx(x, Wrap(y - 1, period))]) / 2;
      float nlen = std::sqrt(gx * gx + gy * gy + 1.0f);
      float diffuse = std::max(0.0f, (-gx * lx - gy * ly + lz) / nlen);
      float light = 0.18f + 0.82f * diffuse;
      float v = albedo[idx(x, y)] * light;
      Rgba grey = Lerp(Colour(0x06070a), Colour(0x3c4048), std::clamp(v * 0.62f, 0.0f, 1.0f));
      c.at(x, y) = grey;
    }
  c.RepeatRows(period);
  return c;
}

// --- The Earth --------------------------------------------------------------

Canvas EarthBelow() {
  const int period = 3200, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float land = StripFbm(x, y, period, 20, 401, 6);
      float relief = StripFbm(x, y, period, 100, 402, 3);
      float cloud = StripFbm(x, y, period, 32, 403, 5, 1.6f);
      float coast = land - 0.54f;
      Rgba col;
      if (coast < 0) {
        // Deep ocean, a little lighter over the shelves near the coasts.
        float shelf = std::exp(coast * 22.0f);
        col = Lerp(Colour(0x020a1e), Colour(0x061d38), shelf);
      } else {
        // Land in the dark: forests and dry plains, both nearly grey.
        float dry = Smooth(std::clamp(relief * 1.4f - 0.3f, 0.0f, 1.0f));
        col = Lerp(Colour(0x0c1410), Colour(0x1a1a16), dry);
        col = Lerp(col, Colour(0x080f0e), std::clamp(coast * 3.0f, 0.0f, 0.5f));
      }
      // Moonlit cloud: a cool, dim grey at its thickest.
      float veil = Smooth(std::clamp((cloud - 0.5f) * 2.4f, 0.0f, 1.0f));
      col = Lerp(col, Colour(0x38465a), veil * 0.55f);
      col.a = 1.0f;
      c.at(x, y) = col;
    }
  c.RepeatRows(period);
  return c;
}

// Shadows of high cloud: grey where the cloud is, drawn subtractively. Kept
// in proportion to the dark Earth below, so they deepen it without cutting
// black holes in it.
Canvas CloudShadow() {
  const int period = 380, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = StripFbm(x, y, period, 5, 411, 4, 1.3f);
      float a = Smooth(std::clamp((n - 0.45f) * 3.0f, 0.0f, 1.0f));
      c.at(x, y) = Colour(0x74746c, a);
    }
  c.RepeatRows(period);
  return c;
}

// Low, fast haze: thin wisps stretched along the flight, a dim blue-grey
// that only veils what lies below.
Canvas LowHaze() {
  const int period = 491, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      // 491 rows is prime: the lattice is stretched to 4 cells per period.
      float n = TileFbm(float(x) / 40.0f, float(y) * 4.0f / 491.0f, 256, 4, 421, 4);
      float streak = TileFbm(float(x) / 9.0f, float(y) * 8.0f / 491.0f, 256, 8, 422, 2);
      float a = Smooth(std::clamp((n - 0.48f) * 2.5f, 0.0f, 1.0f)) * (0.5f + 0.5f * streak) * 0.45f;
      c.at(x, y) = Colour(0x56667e, a);
    }
  c.RepeatRows(period);
  return c;
}

}  // namespace

void BuildMoonEarthScenery(const Context& ctx) {
  SaveJpeg(ctx, "stage3-1.jpg", MoonSurface(), 92);
  SavePng(ctx, "stage4-1.png", EarthBelow(), false);
  SavePng(ctx, "stage4-2.png", CloudShadow());
  SavePng(ctx, "stage4-3.png", LowHaze());
}

}  // namespace pictures
