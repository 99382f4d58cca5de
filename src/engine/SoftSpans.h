// The inner loops of the software rasteriser: one row of pixels of one
// draw, a loop per (source, blend) pair so that the loop carries no
// decisions. Pixel arithmetic works on the four channels of one pixel at
// once, in 16-bit lanes (SSE2 where there is one, plain code elsewhere).
#pragma once

#include <cstdint>

#include "SoftRaster.h"

namespace engine::soft {

enum class Source { Colour, Nearest, Linear };

// What one row of a triangle draws: `count` pixels from `dst` on, the
// texture position (texel units, 16.16, texel centres on whole numbers) and
// colour (8.16 per channel, B G R A) at the first pixel, and their steps.
struct Span {
  uint32_t* dst;
  int count;
  const uint32_t* texels;
  int pitch;
  int32_t s, t, ds, dt;
  int32_t sMax, tMax;  // clamp limits; the lower ones are -1 texel (the border)
  int32_t c[4], dc[4];
  bool gouraud;
  bool white;        // constant colour 255 everywhere: texels pass unchanged
  bool solidColour;  // constant colour with alpha 255
};

using SpanFn = void (*)(const Span&);

// The loop for a source and blend.
SpanFn SpanFor(Source source, Blend blend);
// The loop for texels copied one for one onto pixels (unscaled, unturned,
// every sample on a texel centre and inside the texture), in one colour.
SpanFn RowSpanFor(Blend blend);

}  // namespace engine::soft
