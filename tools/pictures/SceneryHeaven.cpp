// Extra stage scenery: the heavens above the open door. A starless vault of
// deep violet-black in which the floors of the heavens show as faint domes
// of old gold (the opaque base), a slow lilac mist drifting over it (drawn
// with alpha) and thin halo rings that wake as the fourth heaven nears
// (drawn additively, faint). Dark and low in contrast throughout.
#include <algorithm>
#include <cmath>

#include "Build.h"
#include "Noise.h"
#include "Strips.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;

// Distance in rows from y to the centre yc on a strip that wraps every period.
float WrappedDy(int y, float yc, int period) {
  float dy = std::fabs(float(y) - yc);
  return std::min(dy, float(period) - dy);
}

// How much of a line of half width w lies at distance d from its centre line.
float Line(float d, float w) { return Smooth(std::clamp(1.0f - d / w, 0.0f, 1.0f)); }

Canvas Vault() {
  const int period = 3200, h = period + kFieldH;
  Canvas c(kFieldW, h);
  // The domes: each heaven's floor seen from below, centred under the field.
  struct Dome {
    float yc, radius;
  };
  const Dome domes[] = {{400, 300},  {400, 380},  {1200, 340}, {2000, 280},
                        {2000, 420}, {2800, 360}, {2800, 300}};
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = StripFbm(x, y, period, 20, 701, 5);
      Rgba col =
          Lerp(Colour(0x050308), Colour(0x0e0916), std::clamp((n - 0.3f) * 1.6f, 0.0f, 1.0f));
      float gold = 0;
      for (const Dome& d : domes) {
        float dy = WrappedDy(y, d.yc, period), dx = float(x) - 192.0f;
        float r = std::sqrt(dx * dx + dy * dy);
        // Only the upper half of each dome: the floor above the flight.
        if (float(y) <= d.yc || dy > d.radius)
          gold = std::max(gold, Line(std::fabs(r - d.radius), 1.6f));
      }
      col = Lerp(col, Colour(0x3a3020), gold * 0.55f);
      col.a = 1.0f;
      c.at(x, y) = col;
    }
  c.RepeatRows(period);
  return c;
}

// A lilac mist in long slow wisps.
Canvas Mist() {
  const int period = 600, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = StripFbm(x, y, period, 6, 711, 4, 2.5f);
      float a = Smooth(std::clamp((n - 0.45f) * 2.2f, 0.0f, 1.0f)) * 0.55f;
      c.at(x, y) = Colour(0x4a4256, a);
    }
  c.RepeatRows(period);
  return c;
}

// Halo rings: thin circles of dim gold scattered over a short strip.
Canvas HaloRings() {
  const int period = 409, h = period + kFieldH;
  Canvas c(kFieldW, h);
  struct Ring {
    float x, y, radius;
  };
  const Ring rings[] = {
      {70, 60, 34}, {300, 120, 52}, {160, 230, 24}, {250, 330, 40}, {40, 360, 20}};
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float glow = 0;
      for (const Ring& r : rings) {
        float dy = WrappedDy(y, r.y, period), dx = float(x) - r.x;
        glow = std::max(glow, Line(std::fabs(std::sqrt(dx * dx + dy * dy) - r.radius), 1.4f));
      }
      c.at(x, y) = Colour(0x6a5a30, glow * 0.8f);
    }
  c.RepeatRows(period);
  return c;
}

}  // namespace

void BuildHeavenScenery(const Context& ctx) {
  SavePng(ctx, "stage7-1.png", Vault(), false);
  SavePng(ctx, "stage7-2.png", Mist());
  SavePng(ctx, "stage7-3.png", HaloRings());
}

}  // namespace pictures
