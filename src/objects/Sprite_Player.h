// The ship and its four options on screen: they follow their objects every
// frame, animate through a 4 x 4 set (row from the steering direction, four
// frames), flicker while invulnerable, swell and fade when the ship explodes
// and fade back in when it re-enters.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Object_Player;
class Object_PlayerOption;

class Sprite_PlayerBase : public Sprite {
 public:
  const int* cells = nullptr;  // the 16-cell set in use
  int32_t row = 0;
  int32_t frame = 0;
  Object_Player* player = nullptr;
  int32_t counter = 0;

  explicit Sprite_PlayerBase(Viewport* viewport);

 protected:
  // What the ship and the options share: blend by the ship's state, and the
  // row and frame of the picture.
  void followShip();
  // Origin at the centre of the set's first cell, when it has one.
  void centreOnFirstCell();
};

class Sprite_Player : public Sprite_PlayerBase {
 public:
  using Sprite_PlayerBase::Sprite_PlayerBase;
  void update() override;
  void reset() override;
  // The ship, its hit point while slow, and the engine glow below it.
  void draw(int32_t baseX, int32_t baseY) override;
};

class Sprite_PlayerOption : public Sprite_PlayerBase {
 public:
  Object_PlayerOption* option = nullptr;

  using Sprite_PlayerBase::Sprite_PlayerBase;
  void update() override;
  void reset() override;
};
