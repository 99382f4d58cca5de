// One of the four satellites of the ship. Its base position is relative to
// the ship; switched-off options (dead) still move but are not drawn, and
// options never take part in hit tests.
#pragma once

#include <cstdint>

#include "objects/Object_Movable.h"

class Object_Bullet;
class Object_Player;
class Stage_Field;

class Object_PlayerOption final : public Object_Movable {
 public:
  uint8_t sideKind = 1;            // 1: homing shots (options 1, 2); 2: lasers (options 3, 4)
  Object_Bullet* laser = nullptr;  // the laser it fired last
  int32_t laserId = 0;             // that laser's id, to tell a reused pool slot

  void update() override { motionStep(); }

  // A homing shot from 16 pixels above the option toward the field's nearest enemy.
  void fireShot(Object_Player& ship, Stage_Field& field);
  // A laser that grows straight up from 16 pixels above the option and follows it.
  void fireLaser(Object_Player& ship, Stage_Field& field);
  // Lets the current laser narrow and vanish; when the ship has exploded the
  // laser stays where it is instead of following the option.
  void dropLaser(bool shipExploded);
};
