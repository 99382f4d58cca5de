// The title's animated logo: six layered pictures, two of them rings that
// turn against each other about their own centres.
#pragma once

#include <cstdint>

#include "display/Spriteset.h"

class Sprite;

inline constexpr int kLogoParts = 6;

class Spriteset_Logo : public Spriteset {
 public:
  Sprite* part[kLogoParts] = {};  // logo parts 1 to 6, owned
  int32_t counter = 0;

  // Creates the six sprites, without pictures, in the default viewport.
  Spriteset_Logo();
  // Releases the pictures, then the sprites.
  ~Spriteset_Logo() override;
  // Loads "Graphics/logo1.png" to "logo6.png" and places each part.
  void loadImages();
  // Turns the outer ring clockwise and the large ring slowly the other way.
  void update() override;
};
