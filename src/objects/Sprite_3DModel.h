// A sprite that draws a 3D model (a stage's scenery): image holds the model
// handle, z is the depth. Rotated about a tilted axis by angle, scaled, then
// placed with y counted upwards from a 640-high orthographic view.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_3DModel : public Sprite {
 public:
  using Sprite::Sprite;
  // The container's offsets do not apply: the model has its own camera.
  void draw(int32_t baseX, int32_t baseY) override;
};
