// Helpers for scenery strips: pictures 384 wide and (period + 448) tall whose
// rows past the period repeat the first ones (Canvas::RepeatRows), so a layer
// wraps without a seam.
#pragma once

#include "Canvas.h"
#include "Noise.h"

namespace pictures {

// Noise whose lattice has `cells` cells over `period` rows (and about the
// same cell size across), so it repeats exactly every `period` rows.
inline float StripFbm(int x, int y, int period, int cells, uint32_t seed, int octaves,
                      float stretch = 1.0f) {
  float cell = float(period) / float(cells);
  return TileFbm(float(x) / (cell * stretch), float(y) / cell, 256, cells, seed, octaves);
}

}  // namespace pictures
