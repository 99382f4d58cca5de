// The boss: an enemy from the table living in the field's one boss object.
// It never leaves by position, is beaten (not killed) when its hit points run
// out, counts each shot once per frame, and pays a defeat bonus.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/Object_Enemy.h"

class Stage_Field;

class Object_Boss final : public Object_Enemy {
 public:
  uint8_t beaten = 0;
  std::vector<int32_t> shotMemory;  // ids of the shots that hit this frame
  int32_t maxHitPoints = 1;
  uint8_t bombImmune = 0;

  void update() override;
  bool isOffScreen() override { return false; }
  void doAction(Action& action) override;
  bool isBossPart() override { return true; }
  void takeHit(Object_Bullet& shot, float factor) override;
  void loseHitPoints(int32_t n) override;
  void destroy(bool silent) override;
  void resetEnemy() override;
};

// Defeat bonus of boss title n on difficulty d.
int32_t BossDefeatBonus(int32_t titleNumber, int32_t difficulty);
