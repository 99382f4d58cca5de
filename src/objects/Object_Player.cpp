// The ship's state machine, steering, hits and death, and the options'
// formation. Weapons live in PlayerShots.cpp, charge and bomb in
// PlayerCharge.cpp.
#include "objects/Object_Player.h"

#include <algorithm>

#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_PlayerOption.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int kSeGraze = 5;
constexpr int kSePlayerDead = 8;

// Rest positions of the four options, relative to the ship.
constexpr float kRestX[4] = {30.0f, -30.0f, 50.0f, -50.0f};
constexpr float kRestY[4] = {-16.0f, -16.0f, 20.0f, 20.0f};
// Where options 3 and 4 move in the slow formation (in front of the ship).
constexpr float kSlowX[2] = {5.0f, -5.0f};
constexpr float kSlowY = -20.0f;
constexpr int32_t kFormationFrames = 30;

constexpr float kStartX = 192.0f;
constexpr float kStartY = 384.0f;
constexpr float kReenterY = 448.0f;  // the bottom edge of the field
constexpr float kReenterSpeed = -2.0f;
constexpr int32_t kReenterRiseFrames = 34;  // 68 pixels up, to y 380
constexpr int32_t kRecoveryPerFrame = 80;   // gauge refill while out of play

constexpr float kMinX = 16.0f;
constexpr float kMaxX = 368.0f;
constexpr float kMinY = 24.0f;
constexpr float kMaxY = 424.0f;
constexpr float kDiagonal = 0.71f;
constexpr float kNormalSpeed = 5.0f;
constexpr float kSlowSpeed = 2.0f;

constexpr int32_t kDeathPowerLoss = 20;
constexpr int8_t kBombsAfterDeath = 2;
}  // namespace

Object_Player::Object_Player() {
  dead = 0;
  radius = 4;
  setPosition(kStartX, kStartY);
}

void Object_Player::initialize() {
  lives = 2;
  bombs = 2;
  state = PLAYER_NORMAL;
  chargeGauge = kChargeGaugeMax;
  power = 0;
  points = 0;
  grazeRadius = 20;
  stateCounter = 0;
  slowFormation = 0;
  charging = 0;
  bombing = 0;
  controllable = 1;
  chargeShot = nullptr;
  shieldFlash = nullptr;
  chargeShotId = 0;
  shieldFlashId = 0;
  resetOptions();
}

Stage_Field* Object_Player::field() {
  Stage_Field* current = CurrentField();
  // Only the field that holds this ship may receive its shots.
  return current && &current->player == this ? current : nullptr;
}

bool Object_Player::stillLinked(const Object_Bullet* shot, int32_t shotId) const {
  return shot && shot->id == shotId && !shot->dead;
}

void Object_Player::update() {
  stateCounter += 1;
  if (state == PLAYER_COUNTER_BOMB) {
    if (stateCounter < kCounterBombFrames) {
      if (gInput.Pressed(BUTTON_BOMB)) bomb();
      return;
    }
    die();
  }
  if (state == PLAYER_EXPLODED) {
    if (stateCounter < kExplodedFrames) {
      chargeGauge = std::min(chargeGauge + kRecoveryPerFrame, kChargeGaugeMax);
      return;
    }
    setPosition(kStartX, kReenterY);
    state = PLAYER_REENTERING;
    stateCounter = 0;
    resetMotion();
    addAction(10, 0, 1, 0.0f, kReenterSpeed);
    addAction(10, kReenterRiseFrames, 1, 0.0f, 0.0f);
  }
  if (state == PLAYER_REENTERING) {
    if (stateCounter < kReenterFrames) {
      chargeGauge = std::min(chargeGauge + kRecoveryPerFrame, kChargeGaugeMax);
      motionStep();
      return;
    }
    state = PLAYER_INVULNERABLE;
    stateCounter = 0;
    resetMotion();
    controllable = 1;
  }
  if (state == PLAYER_INVULNERABLE && stateCounter == kInvulnerableFrames) {
    state = PLAYER_NORMAL;
    stateCounter = 0;
    bombing = 0;  // a bomb lasts exactly as long as the invulnerability it gives
  }
  if (controllable) steer();
  motionStep();
  shootingStep();
}

void Object_Player::steer() {
  direction = 5;
  float dx = 0.0f;
  float dy = 0.0f;
  if (gInput.DirectionHeld(DIR_RIGHT)) {
    direction = 6;
    dx = 1.0f;
  }
  if (gInput.DirectionHeld(DIR_LEFT)) {
    direction = static_cast<uint8_t>(direction - 1);
    dx -= 1.0f;
  }
  if (gInput.DirectionHeld(DIR_DOWN)) {
    direction = static_cast<uint8_t>(direction - 3);
    dy = 1.0f;
  }
  if (gInput.DirectionHeld(DIR_UP)) {
    direction = static_cast<uint8_t>(direction + 3);
    dy -= 1.0f;
  }
  if (dx != 0.0f && dy != 0.0f) {
    dx *= kDiagonal;
    dy *= kDiagonal;
  }
  float speed = kNormalSpeed;
  if (gInput.Held(BUTTON_SLOW)) {
    if (!slowFormation) {
      formOptions(kSlowX[0], kSlowY, kSlowX[1], kSlowY);
      slowFormation = 1;
    }
    speed = kSlowSpeed;
  } else {
    if (slowFormation) {
      formOptions(kRestX[2], kRestY[2], kRestX[3], kRestY[3]);
      slowFormation = 0;
    }
    // Charging and bombing hold the ship back even without Slow.
    speed = charging || bombing ? kSlowSpeed : kNormalSpeed;
  }
  baseX = std::clamp(baseX + speed * dx, kMinX, kMaxX);
  baseY = std::clamp(baseY + speed * dy, kMinY, kMaxY);
}

void Object_Player::formOptions(float x3, float y3, float x4, float y4) {
  const float tx[2] = {x3, x4};
  const float ty[2] = {y3, y4};
  for (int i = 0; i < 2; ++i) {
    Object_PlayerOption* option = options[2 + i];
    if (!option) continue;
    option->resetMotion();
    option->parent = this;
    option->addAction(55, 0, 1, static_cast<float>(kFormationFrames), 0.0f);
    option->addAction(51, 0, 1, tx[i], ty[i]);
  }
}

void Object_Player::hit() {
  if (bombs <= 0) {
    die();
  } else {
    state = PLAYER_COUNTER_BOMB;
  }
  stateCounter = 0;
  controllable = 0;
  gSound.RequestEffect(kSePlayerDead);
}

void Object_Player::grazeReaction() {
  spawnEffect(x, y, 3, BLEND_NONE, 255, 1.0, 0);
  gSound.RequestEffect(kSeGraze);
}

void Object_Player::die() {
  gGame.misses += 1;
  state = PLAYER_EXPLODED;
  stateCounter = 0;
  slowFormation = 0;
  resetMotion();
  lives = static_cast<int8_t>(lives - 1);
  power = std::max(power - kDeathPowerLoss, 0);
  bombs = kBombsAfterDeath;
  dropOptionLasers();
  endCharge();
  switchOptions();
  resetOptions();
  spawnEffect(x, y, 2, BLEND_ADD, 255, 2.5, 2);
  // The wreck clears the bullets around it so the re-entry is not a trap.
  spawnClearingDisc(x, y, nullptr, 40);
}

void Object_Player::dropOptionLasers() {
  for (int i = 2; i < 4; ++i) {
    if (options[i]) options[i]->dropLaser(state == PLAYER_EXPLODED);
  }
}

void Object_Player::resetOptions() {
  for (int i = 0; i < 4; ++i) {
    Object_PlayerOption* option = options[i];
    if (!option) continue;
    option->resetMotion();
    option->parent = this;
    option->setPosition(kRestX[i], kRestY[i]);
  }
}

void Object_Player::switchOptions() {
  const uint8_t firstPairOff = power < 50 ? 1 : 0;
  const uint8_t secondPairOff = power < 100 ? 1 : 0;
  for (int i = 0; i < 4; ++i) {
    if (options[i]) options[i]->dead = i < 2 ? firstPairOff : secondPairOff;
  }
}
