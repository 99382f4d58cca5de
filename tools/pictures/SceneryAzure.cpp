// Stage 6 scenery: the azure planet seen close. A deep sea with slow swells
// and the dark shapes of drowned shelves (the opaque base), bands of still
// cloud that never drift on their own (drawn with alpha) and thin currents
// of cold light under the surface (drawn additively, faint). Everything is
// kept dark and low in contrast, a different blue from stage 4's night Earth.
#include <algorithm>
#include <cmath>

#include "Build.h"
#include "Noise.h"
#include "Strips.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;

Canvas AzureSea() {
  const int period = 2880, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float depth = StripFbm(x, y, period, 18, 601, 5);
      float swell = StripFbm(x, y, period, 72, 602, 3, 2.5f);
      // Drowned shelves show as darker teal shapes in the deep blue.
      float shelf = Smooth(std::clamp((depth - 0.55f) * 5.0f, 0.0f, 1.0f));
      Rgba col = Lerp(Colour(0x04163a), Colour(0x03242c), shelf);
      col = Lerp(col, Colour(0x0a2c52), std::clamp((swell - 0.5f) * 1.2f, 0.0f, 0.35f));
      col.a = 1.0f;
      c.at(x, y) = col;
    }
  c.RepeatRows(period);
  return c;
}

// Still cloud lying in long bands across the flight.
Canvas StillCloud() {
  const int period = 560, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = StripFbm(x, y, period, 7, 611, 4, 3.0f);
      float a = Smooth(std::clamp((n - 0.5f) * 2.6f, 0.0f, 1.0f)) * 0.6f;
      c.at(x, y) = Colour(0x4a5a70, a);
    }
  c.RepeatRows(period);
  return c;
}

// Currents: narrow ridges of the noise, a cold cyan kept very dim.
Canvas Currents() {
  const int period = 337, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      // 337 rows is prime: the lattice is stretched to 3 cells per period.
      float n = TileFbm(float(x) / 70.0f, float(y) * 3.0f / 337.0f, 256, 3, 621, 4);
      float ridge = 1.0f - std::min(1.0f, std::fabs(n - 0.5f) * 14.0f);
      c.at(x, y) = Colour(0x1c5a78, Smooth(std::max(ridge, 0.0f)) * 0.7f);
    }
  c.RepeatRows(period);
  return c;
}

}  // namespace

void BuildAzureScenery(const Context& ctx) {
  SavePng(ctx, "stage6-1.png", AzureSea(), false);
  SavePng(ctx, "stage6-2.png", StillCloud());
  SavePng(ctx, "stage6-3.png", Currents());
}

}  // namespace pictures
