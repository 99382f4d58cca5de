// The image table behind the facade's image handles. An image is a
// rectangle of a shared surface: loading makes a surface and a rectangle
// covering it, sub-images and cells add rectangles on the same surface.
// Device textures are made from the surface the first time it is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // straight-alpha RGBA, R in the lowest byte
  // Device textures, made on first draw: as decoded, with alpha forced to
  // 255 (non-transparent draws), and premultiplied (multiplicative blend).
  void* textures[3] = {nullptr, nullptr, nullptr};
};

enum class TextureKind { Straight = 0, Opaque = 1, Premultiplied = 2 };

struct ImageRef {
  std::shared_ptr<Surface> surface;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // The part of the rectangle (in its own coordinates) outside which every
  // texel is fully transparent, widened by a texel on each side where the
  // rectangle has room, so that a filtered sample outside it reads nothing
  // visible. Drawing only this part with alpha changes no pixel; effects
  // and bullets are mostly empty cells, and this is most of their cost.
  int visibleX = 0;
  int visibleY = 0;
  int visibleWidth = 0;
  int visibleHeight = 0;
};

// Null for 0, negative or released handles.
const ImageRef* FindImage(int handle);

// Registers pixels as a new image; handle > 0, or -1 for a bad size.
int AddImage(int width, int height, std::vector<uint32_t> pixels);

// The device texture of that kind for the surface, made on first use; null
// while the engine is down or when the device refuses it.
void* SurfaceTexture(Surface& surface, TextureKind kind);

// Number of live image handles (tests and leak checks).
int ImageCount();

}  // namespace engine
