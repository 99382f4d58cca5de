// Enemy bullets and player shots (the same class): round bullets, lasers
// (segments from the position along `angle`) and rings, with the spawn delay
// that lets patterns release their bullets one after another.
#pragma once

#include <cstdint>

#include "objects/ObjectPool.h"
#include "objects/Object_Movable.h"

class Sprite_Bullet;
class Object_Enemy;

class Object_Bullet : public Object_Movable {
 public:
  Sprite_Bullet* sprite = nullptr;
  uint8_t noDelay = 1;  // no spawn-delay phase (enemy bullets get 0)
  int32_t delay = 0;    // frames still to wait before starting
  uint8_t active = 0;   // moves and collides; inactive bullets are ignored by every test
  uint8_t laser = 0;
  uint8_t ring = 0;       // hits as a band of half width ringWidth at distance radius
  int8_t bulletType = 0;  // graphic and kind; 0 = plain disc, not grazeable or cancellable
  int32_t damage = 1;
  int32_t length = 500;  // laser length; kept when the slot is reused
  int32_t ringWidth = 0;
  uint8_t cancelsBullets = 0;
  uint8_t thinAllowed = 0;   // may narrow below width 1; no warning line
  uint8_t uncancelable = 0;  // enemy bullet: cannot be cancelled; shot: not used up on a hit
  uint8_t grazed = 0;
  uint8_t homesOnTarget = 0;
  uint8_t trail = 0;
  uint8_t homesOnPlayer = 0;
  int32_t regrazeTimer = 6;
  Object_Enemy* target = nullptr;

  void update() override;
  bool isOffScreen() override;
  void doAction(Action& action) override;

  // The per-spawn reset: radius from the type, scale 1, alpha 255, active,
  // and every kind flag cleared. length, ringWidth, damage, delay, noDelay and
  // regrazeTimer stay as the slot's previous user left them.
  void resetBullet();

  // Acquires from the pool and prepares a bullet of the given type: next id,
  // type, per-spawn reset, reset motion. Null when the pool is full.
  static Object_Bullet* Spawn(ObjectPool<Object_Bullet>& pool, int8_t type);
};

// Hit radius of a bullet type.
int32_t DefaultBulletRadius(int8_t type);
