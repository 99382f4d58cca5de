// Triangles drawn into a picture held in memory, for machines whose only GL
// is a software one. A general-purpose software GL spends most of a sprite
// frame on per-draw and per-pixel bookkeeping; a rasteriser that only ever
// draws 2D textured triangles does the same work in a fraction of the time.
//
// The rules follow GL's, so both paths draw the same picture to within a
// step or two of 8-bit rounding: pixel centres at half-pixel positions,
// vertices snapped to 1/256 pixel, a pixel on an edge shared by two
// triangles drawn once, texture coordinates clamped to the edge texels,
// bilinear weights in 1/256 steps, colour times texel and blending in 8 bits
// rounded to nearest.
//
// Plain arithmetic on memory, without a device, so tests reach it alone.
#pragma once

#include <cstdint>
#include <vector>

#include "Backend.h"
#include "DrawQueue.h"

namespace engine::soft {

// Pixels here are 0xAARRGGBB words (blue in the lowest byte), the order
// window surfaces usually have, so presenting is a plain copy.
uint32_t FromRgba(uint32_t rgba);
uint32_t ToRgba(uint32_t argb);

// A texture with a one-texel border all round that repeats its edge texels:
// filtering and clamping then never need to test for the edge.
class Texture {
 public:
  // From straight-alpha RGBA pixels (R in the lowest byte).
  Texture(int width, int height, const uint32_t* rgba);
  void update(int x, int y, int width, int height, const uint32_t* rgba);
  int width() const { return width_; }
  int height() const { return height_; }
  int pitch() const { return width_ + 2; }
  // Texel (0, 0); the border lies at -1 and at width / height.
  const uint32_t* origin() const { return texels_.data() + pitch() + 1; }

 private:
  void repeatEdges();
  int width_, height_;
  std::vector<uint32_t> texels_;
};

// The picture drawn into; of its rows, only every `rowStep`-th from
// `firstRow` on, so that threads can share a picture row by row.
struct Canvas {
  uint32_t* pixels;
  int width, height;
  int pitch;  // in pixels
  int firstRow = 0;
  int rowStep = 1;

  // The first row at or below y that belongs to this canvas.
  int rowFrom(int y) const { return y + ((firstRow - y) % rowStep + rowStep) % rowStep; }
};

// How a draw combines with the picture under it (alpha is the source's):
// replace (no blending), over (source over by alpha), add, subtract, and
// multiply (dst = src * dst + dst * (1 - alpha)). The picture's own alpha
// is never read.
enum class Blend { Replace, Over, Add, Subtract, Multiply };

// Draws the triangles (indices in threes) through `clip`, sampled from
// `texture` (nearest texel, or bilinear when `filtered`) times the vertex
// colour, or in plain vertex colour when there is no texture.
void DrawTriangles(const Canvas& canvas, const PixelRect& clip, const Texture* texture,
                   bool filtered, const Vertex* vertices, const int* indices, int indexCount,
                   Blend blend);

// Paints the rectangle in one colour.
void Fill(const Canvas& canvas, const PixelRect& rect, uint32_t argb);

}  // namespace engine::soft
