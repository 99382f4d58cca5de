#include "objects/Object_Boss.h"

#include <algorithm>

#include "app/Module_Game.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int kSeBossExplosion = 21;
constexpr int32_t kDefeatClock = 100000;  // where a boss's defeat sequence starts
constexpr float kBonusBase[14] = {50000.0f,   100000.0f,    70000.0f,   500000.0f,    150000.0f,
                                  1000000.0f, 300000.0f,    5000000.0f, 500000.0f,    10000000.0f,
                                  800000.0f,  100000000.0f, 2000000.0f, 1000000000.0f};
}  // namespace

int32_t BossDefeatBonus(int32_t titleNumber, int32_t difficulty) {
  if (titleNumber < 0 || titleNumber > 13) return 0;
  static constexpr float kFactor[7] = {0.0f, 0.1f, 0.5f, 1.0f, 2.0f, 3.0f, 1.5f};
  const float factor = difficulty >= 1 && difficulty <= 6 ? kFactor[difficulty] : 0.0f;
  const float bonus = kBonusBase[titleNumber] * factor;
  // The largest bonus on the hardest difficulty is beyond a 32-bit score.
  if (bonus >= 2147483647.0f) return kScoreMax;
  return static_cast<int32_t>(bonus);
}

void Object_Boss::update() {
  motionStep();
  shotMemory.clear();
}

void Object_Boss::doAction(Action& action) {
  switch (action.Code()) {
    case 1:
      if (Trunc(action.p1) != 0) {
        destroy(false);
      } else {
        dead = 1;
        beaten = 1;
      }
      return;
    case 220:
      bombImmune = Trunc(action.p1) != 0;
      return;
    default:
      Object_Enemy::doAction(action);
  }
}

void Object_Boss::takeHit(Object_Bullet& shot, float factor) {
  Stage_Field* field = CurrentField();
  if (bombImmune && field && field->player.bombing) return;
  const int32_t shotId = shot.id;
  if (std::find(shotMemory.begin(), shotMemory.end(), shotId) != shotMemory.end()) return;
  shotMemory.push_back(shotId);
  Object_Enemy::takeHit(shot, factor);
}

void Object_Boss::loseHitPoints(int32_t n) {
  if (beaten) return;
  hitPoints -= n;
  if (hitPoints <= 0) {
    clock = kDefeatClock;
    beaten = 1;
  }
}

void Object_Boss::destroy(bool silent) {
  dropItems();
  if (!silent) {
    spawnEffect(x, y, 1, BLEND_NONE, 255, 5.0, 2);
    gSound.RequestEffect(kSeBossExplosion);
  }
  StageHost* host = CurrentStage();
  gGame.AddScore(BossDefeatBonus(host ? host->bossTitleNumber() : 0, gGame.difficulty));
  dead = 1;
  resetEnemy();
}

void Object_Boss::resetEnemy() {
  Object_Enemy::resetEnemy();
  beaten = 0;
  bombImmune = 0;
}
