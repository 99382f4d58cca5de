// The player's ship: steering, volleys, charge attacks, bombs, grazing, death
// and re-entry. Owned by the stage field together with its four options.
#pragma once

#include <cstdint>

#include "objects/ObjectPool.h"
#include "objects/Object_Movable.h"

class Object_PlayerOption;
class Object_Bullet;
class Stage_Field;

enum PlayerState {
  PLAYER_NORMAL = 0,
  PLAYER_INVULNERABLE = 1,
  PLAYER_REENTERING = 2,
  PLAYER_EXPLODED = 3,
  PLAYER_COUNTER_BOMB = 4,
};

inline constexpr int32_t kChargeGaugeMax = 10000;
inline constexpr int32_t kChargeCost = 1000;       // taken when a charge starts
inline constexpr int32_t kChargeOverheat = -2400;  // where an exhausted charge leaves the gauge
inline constexpr int32_t kCounterBombFrames = 8;   // a hit can still be answered by a bomb
inline constexpr int32_t kExplodedFrames = 60;
inline constexpr int32_t kReenterFrames = 35;
inline constexpr int32_t kInvulnerableFrames = 240;  // also the length of a bomb

class Object_Player final : public Object_Movable {
 public:
  int8_t lives = 2;
  int8_t bombs = 2;
  int8_t state = PLAYER_NORMAL;
  int32_t chargeGauge = kChargeGaugeMax;  // -2400..10000
  int32_t power = 0;                      // 0..250
  int32_t points = 0;
  int32_t grazeRadius = 20;
  int32_t stateCounter = 0;  // frames since the last state change
  uint8_t slowFormation = 0;
  uint8_t charging = 0;
  uint8_t bombing = 0;
  uint8_t controllable = 1;
  uint8_t laserType = 0;  // 1 Laser type, 0 Shield type
  uint8_t direction = 5;  // last steering, numeric-keypad layout
  Object_PlayerOption* options[4] = {};
  Object_Bullet* chargeShot = nullptr;
  Object_Bullet* shieldFlash = nullptr;
  // Ids the two links had when made: pool slots are reused, so a link only
  // counts while the slot still holds the same object.
  int32_t chargeShotId = 0;
  int32_t shieldFlashId = 0;

  Object_Player();
  void update() override;

  // The values a new field starts the ship with.
  void initialize();
  // A bullet or an enemy body touched the ship in state 0.
  void hit();
  void grazeReaction();
  void die();
  // Bombs when one is in stock; otherwise nothing.
  void bomb();
  void startCharge();
  void endCharge();
  // Each option attached to the ship again at its rest position.
  void resetOptions();
  // Options on or off by power: below 50 none, 50..99 the first two, else all.
  void switchOptions();

  // A shot from `pool` at (px, py) (relative to `parent` when given), with a
  // copy of `prototype` when given and a sprite from the matching sprite pool.
  // Null when the pool is full.
  Object_Bullet* spawnShot(float px, float py, int8_t type, ObjectPool<Object_Bullet>& pool,
                           int32_t damage, Object* parent, const Action* prototype);
  // The field this ship plays in, or null outside a stage.
  Stage_Field* field();

 private:
  void steer();
  void formOptions(float x3, float y3, float x4, float y4);
  void shootingStep();
  void fireMainVolley(Stage_Field& field);
  void dropOptionLasers();
  void warnWhenLow(int32_t threshold);
  // A disc at (px, py) that grows over 40 frames removing enemy bullets.
  void spawnClearingDisc(float px, float py, Object* parent, int32_t lifetime);
  bool stillLinked(const Object_Bullet* shot, int32_t shotId) const;
};

// Program-wide weapon timers: they run on across stages and games, counting
// down in every frame the ship may shoot; a weapon fires at 0 or below.
extern int32_t gMainShotTimer;
extern int32_t gOptionShotTimer;
extern int32_t gOptionLaserTimer;
