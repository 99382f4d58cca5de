// Items on screen: half transparent, unrotated, with the picture of their
// kind (which changes when a power item turns into a point item).
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Object_Item;

class Sprite_Item : public Sprite {
 public:
  int8_t itemKind = 0;  // the kind when attached
  int32_t itemId = 0;   // the item's id when attached
  Object_Item* item = nullptr;

  using Sprite::Sprite;
  void update() override;
  void reset() override;
  void draw(int32_t baseX, int32_t baseY) override;
};
