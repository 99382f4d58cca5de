// Stage 5 scenery: the corridor between dimensions, seen from above. The
// opaque base is a deep violet shaft: two walls of folded panels at the
// sides, ribs of dim light crossing the floor at regular steps, and a faint
// lattice of the other side showing through the middle. Over it run thin
// streaks of light (added) and a slow veil of the fold (alpha). All of it
// stays a dim violet-grey, well under a bullet's white core.
#include <algorithm>
#include <cmath>

#include "Build.h"
#include "Noise.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;

// How much of a line of half-width `w` lies on the pixel at distance d.
float LineCover(float d, float w) { return std::clamp(w + 0.5f - std::fabs(d), 0.0f, 1.0f); }

Canvas CorridorFloor() {
  const int period = 2400, h = period + kFieldH;
  const int rib = 160, cell = 48;  // both divide the period
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      // Deep floor: a slow haze of violet and a darker blue.
      float haze = TileFbm(float(x) / 96.0f, float(y) / 96.0f, 4, period / 96, 501, 4);
      float fold = TileFbm(float(x) / 48.0f, float(y) / 60.0f, 8, period / 60, 502, 3);
      Rgba col = Lerp(Colour(0x05030c), Colour(0x1a1030), Smooth(std::clamp(haze, 0.0f, 1.0f)));
      col = Lerp(col, Colour(0x0a1428), Smooth(std::clamp((fold - 0.5f) * 2.0f, 0.0f, 1.0f)));
      // The other side's lattice, faint in the middle of the floor.
      const float mid = 1.0f - std::clamp(std::fabs(float(x) - 192.0f) / 150.0f, 0.0f, 1.0f);
      // Lines at the middle of each cell, so none falls on the wrap.
      const float gx = LineCover(float(x % cell) - cell / 2, 0.5f);
      const float gy = LineCover(float(y % cell) - cell / 2, 0.5f);
      col = Lerp(col, Colour(0x2a2450), std::max(gx, gy) * mid * 0.6f);
      // Ribs crossing the floor, bright only near the walls.
      const float r = LineCover(float(y % rib) - rib / 2, 1.0f);
      const float edge = std::clamp((std::fabs(float(x) - 192.0f) - 60.0f) / 120.0f, 0.0f, 1.0f);
      col = Lerp(col, Colour(0x2c2450), r * edge * 0.8f);
      // The walls: folded panels, a lit edge facing the shaft.
      const float wallX = x < 192 ? float(x) : float(kFieldW - 1 - x);
      const float depth = 36.0f + 8.0f * std::sin(float(y) * 6.2831853f / float(rib));
      if (wallX < depth) {
        float panel = 0.5f + 0.5f * std::cos(float(y % 40) * 6.2831853f / 40.0f);
        col = Lerp(Colour(0x0c0818), Colour(0x1e1634), panel * (wallX / depth));
      } else if (wallX < depth + 2.0f) {
        col = Colour(0x2a2250);
      }
      col.a = 1.0f;
      c.at(x, y) = col;
    }
  c.RepeatRows(period);
  return c;
}

// Thin streaks of light rushing past along the shaft: drawn additively, a
// dim lilac so they never pass for needle bullets.
Canvas Streaks() {
  const int period = 512, h = period + kFieldH;
  Canvas c(kFieldW, h);
  Rng rng(511);
  for (int i = 0; i < 60; ++i) {
    float x = std::floor(rng.Range(20, kFieldW - 20));
    float y = rng.Range(0, period);
    float len = rng.Range(60, 220), b = rng.Range(0.12f, 0.35f);
    for (int k = 0; k < int(len); ++k) {
      float v = b * std::sin(float(k) / len * 3.14159f);
      int yy = int(y + float(k)) % period;
      for (int rep = yy; rep < h; rep += period) c.Add(int(x), rep, Colour(0x6c5aa8, v));
    }
  }
  return c;
}

// The fold's veil: broad wisps of violet drawn with alpha, stretched along
// the flight.
Canvas FoldVeil() {
  const int period = 704, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = TileFbm(float(x) / 64.0f, float(y) / 176.0f, 6, 4, 521, 4);
      float a = Smooth(std::clamp((n - 0.45f) * 2.5f, 0.0f, 1.0f)) * 0.55f;
      c.at(x, y) = Colour(0x3a2a62, a);
    }
  c.RepeatRows(period);
  return c;
}

}  // namespace

void BuildCorridorScenery(const Context& ctx) {
  SaveJpeg(ctx, "stage5-1.jpg", CorridorFloor(), 92);
  SavePng(ctx, "stage5-2.png", Streaks());
  SavePng(ctx, "stage5-3.png", FoldVeil());
}

}  // namespace pictures
