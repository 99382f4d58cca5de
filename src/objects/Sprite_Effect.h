// Explosions, flashes and glows: a 25-cell sheet played once, at a random
// rotation, optionally drifting. The sprite returns itself to its pool after
// the last cell and keeps that picture until it is reused.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_Effect : public Sprite {
 public:
  int32_t counter = 0;
  int32_t cell = 0;
  int32_t frameStep = 1;  // frames per cell
  int8_t kind = 1;
  int32_t moving = 0;  // 1 = drifts by its velocity
  float velocityX = 0.0f;
  float velocityY = 0.0f;
  float accelX = 0.0f;
  float accelY = 0.0f;

  explicit Sprite_Effect(Viewport* viewport);
  void update() override;
  // Starts the effect of the current kind: first cell, a random angle (one
  // random number), still.
  void reset() override;
};

// Cell n (0..24) of effect kind k (1..10); 0 when there is none.
int EffectCell(int32_t kind, int32_t n);
