// Stage 1 scenery, drawn procedurally: the distant star field near Pluto
// (tiles vertically with the layer's period), fast dust streaks, and Pluto's
// limb coming up over the horizon. Scenery stays dark and low in contrast so
// bullets read against it.
#include <algorithm>
#include <cmath>

#include "Build.h"
#include "Noise.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;

// A star of radius r (pixels) at (x, y), repeated every `period` rows.
void Star(Canvas& c, float x, float y, float r, const Rgba& colour, int period) {
  for (float oy : {0.0f, float(period), -float(period)}) {
    float cy = y + oy;
    if (cy < -4 || cy > float(c.height()) + 4) continue;
    for (int j = int(cy - r - 1); j <= int(cy + r + 1); ++j)
      for (int i = int(x - r - 1); i <= int(x + r + 1); ++i) {
        float d = std::hypot(float(i) + 0.5f - x, float(j) + 0.5f - cy) / (r + 0.5f);
        if (d >= 1) continue;
        float k = (1 - d) * (1 - d);
        c.Add(i, j, {colour.r * k, colour.g * k, colour.b * k, colour.a * k});
      }
  }
}

}  // namespace

Canvas StarField(int width, int height, uint32_t seed, float density, float brightness) {
  Canvas c(width, height);
  Rng rng(seed);
  int count = int(float(width * height) * density / 1000.0f);
  for (int i = 0; i < count; ++i) {
    float x = rng.Range(0, float(width)), y = rng.Range(0, float(height));
    float big = rng.Uniform();
    float r = big > 0.97f ? 1.6f : big > 0.8f ? 1.0f : 0.6f;
    float b = brightness * rng.Range(0.35f, 1.0f);
    uint32_t tint = rng.Uniform() < 0.3f ? 0xffe8d0 : 0xd0e0ff;
    Star(c, x, y, r, Colour(tint, b), height * 4);
  }
  return c;
}

void BuildScenery(const Context& ctx) {
  // Layer 1: 3200-row period plus one screen so the window can wrap.
  {
    const int period = 3200, h = period + kFieldH;
    Canvas c(kFieldW, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < kFieldW; ++x) {
        float fy = float(y % period);
        // Lattice of 48 pixels: 8 across, 200/3 rows of noise per period.
        // Broad, soft clouds: a large lattice and a gentle ramp keep it calm.
        float n = TileFbm(float(x) / 128, fy / 128, 3, period / 128, 11, 5);
        float m = TileFbm(float(x) / 192 + 3, fy / 200 + 7, 2, period / 200, 12, 4);
        float haze = Smooth(std::clamp((n - 0.38f) * 2.2f, 0.0f, 1.0f));
        float violet = Smooth(std::clamp((m - 0.45f) * 2.4f, 0.0f, 1.0f));
        Rgba base = Colour(0x04060e);
        Rgba teal = Colour(0x0f2a38);
        Rgba purple = Colour(0x22143a);
        Rgba col = Lerp(base, teal, haze * 0.8f);
        col = Lerp(col, purple, violet * 0.6f);
        c.at(x, y) = col;
      }
    Rng rng(21);
    for (int i = 0; i < 900; ++i) {
      float x = rng.Range(0, kFieldW), y = rng.Range(0, period);
      float big = rng.Uniform();
      float r = big > 0.985f ? 1.5f : big > 0.85f ? 0.9f : 0.5f;
      float b = rng.Range(0.25f, big > 0.985f ? 0.7f : 0.5f);
      uint32_t tint = rng.Uniform() < 0.3f ? 0xffe0c8 : 0xc8d8ff;
      Star(c, x, y, r, Colour(tint, b), period);
    }
    // Rows past the period repeat the first rows exactly (stars drawn with
    // wrap already; copy to be exact after noise and rounding).
    for (int y = period; y < h; ++y)
      for (int x = 0; x < kFieldW; ++x) c.at(x, y) = c.at(x, y - period);
    SaveJpeg(ctx, "stage1-1.jpg", c, 92);
  }
  // Layer 3: fast dust streaks; transparent between them. Stage 1 adds them
  // faintly, stage 2 lays them over the rings at full alpha, so the streaks
  // themselves are a dim blue-grey: thin bright lines would pass for needle
  // bullets.
  {
    const int period = 450, h = period + kFieldH;
    Canvas c(kFieldW, h);
    Rng rng(31);
    for (int i = 0; i < 70; ++i) {
      float x = std::floor(rng.Range(0, kFieldW)) + 0.5f, y = rng.Range(0, period);
      float len = rng.Range(18, 90), b = rng.Range(0.15f, 0.45f);
      for (int k = 0; k < int(len); ++k) {
        float t = float(k) / len;
        float v = b * std::sin(t * 3.14159f);
        int yy = int(y + float(k)) % period;
        for (int rep = yy; rep < h; rep += period) {
          c.Add(int(x), rep, Colour(0x7080a8, v));
          c.Add(int(x) + 1, rep, Colour(0x485890, v * 0.3f));
        }
      }
    }
    SavePng(ctx, "stage2-3.png", c);
  }
  // Still: Pluto's dark limb with the base's lights, its horizon near the
  // picture's bottom so it first peeks in at the top of the field.
  {
    Canvas c(kFieldW, kFieldH);
    const float cx = 192, cy = -560, radius = 980;
    for (int y = 0; y < kFieldH; ++y)
      for (int x = 0; x < kFieldW; ++x) {
        float px = float(x) + 0.5f, py = float(y) + 0.5f;
        float d = std::hypot(px - cx, py - cy);
        float inside = std::clamp(radius - d, 0.0f, 1.0f);
        // Thin blue haze above the horizon.
        float haze = std::exp(-std::max(0.0f, d - radius) / 6.0f) * 0.5f;
        float depth = radius - d;  // pixels in from the horizon
        // Plains stretched along the horizon (seen at a grazing angle), with
        // a few darker basins.
        float n = TileFbm(px / 90, py / 45, 64, 64, 41, 5);
        float craters = TileFbm(px / 40 + 9, py / 20, 64, 64, 42, 3);
        float light = 0.45f + 0.4f * std::clamp(depth / 300.0f, 0.0f, 1.0f);
        Rgba ground = Lerp(Colour(0x16130f), Colour(0x3c342c), Smooth(n));
        ground =
            Lerp(ground, Colour(0x0e0c0c), Smooth(std::clamp((craters - 0.58f) * 3, 0.0f, 1.0f)));
        ground = {ground.r * light, ground.g * light, ground.b * light, 1};
        float rim = std::exp(-std::max(0.0f, depth) / 3.0f) * 0.6f;
        ground = Lerp(ground, Colour(0x5a7898), rim);
        Rgba sky = Colour(0x3a68b0, haze * (1 - inside));
        Rgba out = {ground.r * inside + sky.r, ground.g * inside + sky.g, ground.b * inside + sky.b,
                    std::min(1.0f, inside + sky.a)};
        c.at(x, y) = out;
      }
    // The base: rows of amber lights along the horizon around the centre.
    Rng rng(43);
    for (int i = 0; i < 60; ++i) {
      float x = 192 + rng.Range(-120, 120);
      float horizon = cy + std::sqrt(radius * radius - (x - cx) * (x - cx));
      float y = horizon - rng.Range(6, 90) * (1.0f - std::fabs(x - 192) / 160.0f);
      float b = rng.Range(0.4f, 0.8f);
      c.Over(int(x), int(y), Colour(rng.Uniform() < 0.7f ? 0xffb050 : 0x70d0ff, b));
    }
    SavePng(ctx, "stage1-2.png", c);
  }
}

}  // namespace pictures
