// The ship's shooting step: charge gauge, main volleys, the options' homing
// shots and lasers, and spawning player shots.
#include "objects/PlayerShots.h"

#include <algorithm>
#include <cstdint>

#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Player.h"
#include "objects/Object_PlayerOption.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

int32_t gMainShotTimer = 0;
int32_t gOptionShotTimer = 0;
int32_t gOptionLaserTimer = 0;

namespace {
constexpr int kSeMainShot = 9;
constexpr int kSeLowGauge = 26;
constexpr int32_t kWarnEvery = 20;  // frames between two warning beeps
constexpr int32_t kChargeDrain = 40;
constexpr int32_t kBombRefill = 15;
constexpr int32_t kRefill = 20;
constexpr int32_t kChargeWarning = 3500;
constexpr int32_t kLowWarning = 1000;

constexpr int32_t kMainShotInterval = 5;
constexpr int32_t kOptionShotInterval = 10;
constexpr int32_t kOptionLaserInterval = 119;
constexpr int32_t kOptionShotPower = 50;
constexpr int32_t kOptionLaserPower = 100;

constexpr int8_t kMainShotType = 9;
constexpr float kShotSpeed = -12.0f;

// Damage of each main shot by power: stronger volleys spread it thinner.
int32_t VolleyDamage(int32_t power) {
  if (power < 20) return 100;
  if (power < 50) return 60;
  if (power < 100) return 50;
  if (power < 170) return 40;
  if (power < 250) return 35;
  return 30;
}

// One frame less on a program-wide timer; it rests at the bottom of the
// range rather than wrapping round after years of play.
void CountDown(int32_t& timer) {
  if (timer > INT32_MIN) timer -= 1;
}

PlayerShotPrototypes BuildPrototypes() {
  PlayerShotPrototypes p;
  p.straight = Action(0, 1, 10, 0.0f, kShotSpeed);
  p.innerLeft = Action(0, 1, 10, -1.0f, kShotSpeed);
  p.innerRight = Action(0, 1, 10, 1.0f, kShotSpeed);
  p.middleLeft = Action(0, 1, 10, -2.0f, kShotSpeed);
  p.middleRight = Action(0, 1, 10, 2.0f, kShotSpeed);
  p.outerLeft = Action(0, 1, 10, -3.0f, kShotSpeed);
  p.outerRight = Action(0, 1, 10, 3.0f, kShotSpeed);
  p.shotAlpha = Action(0, 1, 42, 50.0f, 0.0f);
  p.optionLaserGrowth = Action(0, 30, 31, 20.0f, 0.0f);
  return p;
}
}  // namespace

PlayerShotPrototypes& ShotPrototypes() {
  static PlayerShotPrototypes prototypes = BuildPrototypes();
  return prototypes;
}

void SetVolleySpread(bool slowFormation) {
  PlayerShotPrototypes& p = ShotPrototypes();
  p.innerLeft.p1 = slowFormation ? 0.0f : -1.0f;
  p.innerRight.p1 = slowFormation ? 0.0f : 1.0f;
  p.middleLeft.p1 = slowFormation ? 0.5f : -2.0f;
  p.middleRight.p1 = slowFormation ? -0.5f : 2.0f;
  p.outerLeft.p1 = slowFormation ? 1.0f : -3.0f;
  p.outerRight.p1 = slowFormation ? -1.0f : 3.0f;
}

Object_Bullet* Object_Player::spawnShot(float px, float py, int8_t type,
                                        ObjectPool<Object_Bullet>& pool, int32_t damage,
                                        Object* shotParent, const Action* prototype) {
  Object_Bullet* shot = Object_Bullet::Spawn(pool, type);
  if (!shot) return nullptr;
  shot->parent = shotParent;
  shot->setPosition(px, py);
  shot->damage = damage;
  if (prototype) shot->addActionCopy(*prototype);
  if (StageHost* host = CurrentStage()) {
    Stage_Field* current = host->stageField();
    host->attachBulletSprite(*shot, !current || &pool == &current->playerShots);
  }
  return shot;
}

void Object_Player::warnWhenLow(int32_t threshold) {
  if (chargeGauge <= threshold && stateCounter % kWarnEvery == 0) gSound.RequestEffect(kSeLowGauge);
}

void Object_Player::shootingStep() {
  StageHost* host = CurrentStage();
  const bool talking = host && host->conversationMode();
  Stage_Field* stage = field();
  if (!bombing && gInput.Pressed(BUTTON_BOMB) && !talking) bomb();

  if (charging) {
    chargeGauge -= kChargeDrain;
    if (chargeGauge <= 0) chargeGauge = kChargeOverheat;
    warnWhenLow(kChargeWarning);
  } else if (bombing) {
    chargeGauge += kBombRefill;
    warnWhenLow(kLowWarning);
  } else {
    chargeGauge = std::min(chargeGauge + kRefill, kChargeGaugeMax);
    warnWhenLow(kLowWarning);
    if (gInput.Held(BUTTON_SHOT) && !talking) {
      if (gMainShotTimer <= 0) {
        if (stage) fireMainVolley(*stage);
        gMainShotTimer = kMainShotInterval;
      }
      if (power >= kOptionShotPower && gOptionShotTimer <= 0) {
        for (int i = 0; i < 2; ++i) {
          if (stage && options[i]) options[i]->fireShot(*this, *stage);
        }
        gOptionShotTimer = kOptionShotInterval;
      }
    }
    // The lasers keep their own rhythm, with or without Shot held.
    if (power >= kOptionLaserPower && !talking && gOptionLaserTimer <= 0) {
      for (int i = 2; i < 4; ++i) {
        if (stage && options[i]) options[i]->fireLaser(*this, *stage);
      }
      gOptionLaserTimer = kOptionLaserInterval;
    }
    if (gInput.Pressed(BUTTON_CHARGE) && chargeGauge >= kChargeCost && !talking) {
      dropOptionLasers();
      gOptionLaserTimer = 0;
      startCharge();
    }
  }

  CountDown(gMainShotTimer);
  CountDown(gOptionShotTimer);
  CountDown(gOptionLaserTimer);

  if ((charging && !gInput.Held(BUTTON_CHARGE)) || chargeGauge <= 0) endCharge();
}

void Object_Player::fireMainVolley(Stage_Field& stage) {
  SetVolleySpread(slowFormation != 0);
  const PlayerShotPrototypes& p = ShotPrototypes();
  const int32_t damage = VolleyDamage(power);
  struct Muzzle {
    float dx;
    float dy;
    const Action* velocity;
  };
  const Muzzle muzzles[8] = {
      {-6.0f, -16.0f, &p.straight},   {6.0f, -16.0f, &p.straight},
      {-12.0f, -10.0f, &p.innerLeft}, {12.0f, -10.0f, &p.innerRight},
      {-18.0f, -4.0f, &p.middleLeft}, {18.0f, -4.0f, &p.middleRight},
      {-24.0f, 2.0f, &p.outerLeft},   {24.0f, 2.0f, &p.outerRight},
  };
  const int count = power < 20 ? 2 : power < 170 ? 4 : power < 250 ? 6 : 8;
  for (int i = 0; i < count; ++i) {
    const Muzzle& m = muzzles[i];
    Object_Bullet* shot = spawnShot(x + m.dx, y + m.dy, kMainShotType, stage.playerShots, damage,
                                    nullptr, m.velocity);
    if (shot) shot->addActionCopy(p.shotAlpha);
  }
  gSound.RequestEffect(kSeMainShot);
}
