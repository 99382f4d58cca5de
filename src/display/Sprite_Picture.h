// A conversation portrait that brightens while its speaker talks.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_Picture : public Sprite {
 public:
  int32_t level = 255;
  bool highlighted = false;

  using Sprite::Sprite;
  void update() override;
  // Replaces the portrait by "Graphics/picture<n>.png", anchored at its
  // bottom centre; n below 1 leaves no picture.
  void showPicture(int n);
};
