// Enemies: movers driven entirely by the action lists of the enemy table,
// with firing settings for the bullet patterns, hit points, item drops, and
// links that let parts pass damage on to the enemy they belong to.
#pragma once

#include <cstdint>

#include "objects/Object_Movable.h"

class Object_Bullet;

class Object_Enemy : public Object_Movable {
 public:
  // Firing settings, read by every bullet pattern.
  float aimAngle = 0.0f;
  float shotSpeed = 1.0f;
  int32_t shotType = 1;
  int32_t delayStep = 1;
  float spread = 0.0f;
  float angleOffset = 0.0f;
  int32_t laserLength = 100;
  int32_t laserWidth = 2;
  int32_t muzzleX = 0;
  int32_t muzzleY = 0;
  uint8_t attachShots = 0;

  int32_t counter = 0;           // free counter for scripts
  int32_t animationRequest = 0;  // 1..30, plus 100000 while a restart is pending
  int32_t drawDepth = 0;
  int32_t animationPeriod = 6;
  uint8_t graphic = 0;
  int32_t hitPoints = 0;
  int32_t blendMode = 1;
  uint8_t drops[4] = {};  // items of kinds 1 to 4 released when destroyed
  uint8_t shell = 0;      // takes no damage itself, only passes it on
  uint8_t linked = 0;     // passes damage to owner and dies silently with it
  Object_Enemy* owner = nullptr;
  float damageFactor = 1.0f;

  void update() override;
  bool isOffScreen() override;
  void doAction(Action& action) override;
  // Slot 4: part of the boss (the boss itself, or attached to it).
  virtual bool isBossPart();
  // Slot 5: a player shot hits; factor scales the damage passed on.
  virtual void takeHit(Object_Bullet& shot, float factor);
  // Slot 6.
  virtual void loseHitPoints(int32_t n);
  // Slot 7: drops items, dies; explosion and sound unless silent; +500.
  virtual void destroy(bool silent);
  // Slot 8: script and firing fields back to their start values.
  virtual void resetEnemy();

  // The muzzle: enemy position plus the muzzle offsets.
  float muzzlePointX() const { return x + static_cast<float>(muzzleX); }
  float muzzlePointY() const { return y + static_cast<float>(muzzleY); }

 protected:
  // Spawns this enemy's items (kinds 1 to 4 in order) at its position.
  void dropItems();
};
