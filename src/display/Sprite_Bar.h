// Gauges: a stretched fill between a back and a front image, and a row of
// identical icons squeezed into a fixed width when there are too many.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_Bar : public Sprite {
 public:
  int32_t backImage = 0;
  int32_t frontImage = 0;
  int32_t fillX = 0;
  int32_t fillY = 0;
  int32_t fillWidth = 0;
  int32_t fillHeight = 0;
  int32_t value = 0;
  int32_t maximum = 0;

  using Sprite::Sprite;
  void draw(int32_t baseX, int32_t baseY) override;
  // Width of the fill for the current value: 0 .. fillWidth.
  int32_t fillExtent() const;
};

class Sprite_IconBar : public Sprite {
 public:
  int32_t spacing = 0;
  int32_t count = 0;
  int32_t maxSlots = 0;

  using Sprite::Sprite;
  void draw(int32_t baseX, int32_t baseY) override;
};
