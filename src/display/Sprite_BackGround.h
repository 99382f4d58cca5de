// Scenery strips: a source rectangle of a tall image, scrolled vertically
// with wrap-around.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_BackGround : public Sprite {
 public:
  int32_t srcX = 0;
  int32_t srcY = 0;
  int32_t srcWidth = 0;
  int32_t srcHeight = 0;

 protected:
  Sprite_BackGround() = default;
  explicit Sprite_BackGround(Viewport* viewport) : Sprite(viewport) {}
};

class Sprite_BackGround_Scroll : public Sprite_BackGround {
 public:
  float scrollPos = 0.0f;
  int32_t wrapLength = 0;

  Sprite_BackGround_Scroll() = default;
  explicit Sprite_BackGround_Scroll(Viewport* viewport) : Sprite_BackGround(viewport) {}
  void draw(int32_t baseX, int32_t baseY) override;
  // A positive speed moves the window up the image, so the picture moves
  // down the screen.
  void scroll(float speed);
};
