// The ship's charge attacks (the Laser type's beam, the Shield type's ring)
// and its bomb.
#include <cstdint>

#include "app/Module_Game.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Player.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int kSeShield = 10;
constexpr int kSeBeam = 11;
constexpr int kSeBomb = 12;

constexpr int8_t kBeamType = 7;
constexpr int8_t kRingType = 10;
constexpr int8_t kDiscType = 0;  // no picture: drawn as a plain circle
constexpr float kStraightUp = -1.5708f;
constexpr int32_t kChargeDamage = 160;
constexpr int32_t kShieldRingDamage = 104;
constexpr int32_t kBeamLength = 650;
constexpr int32_t kRingWidth = 40;

constexpr int32_t kBombWaves = 18;
constexpr int32_t kBombWaveGap = 8;
constexpr int32_t kBombRingDamage = 100;
constexpr int32_t kBombDiscDamage = 14;
constexpr int32_t kBombClearLifetime = 215;
constexpr int32_t kClearingGrowthFrames = 40;
}  // namespace

void Object_Player::startCharge() {
  chargeGauge -= kChargeCost;
  charging = 1;
  chargeShot = nullptr;
  chargeShotId = 0;
  Stage_Field* stage = field();
  if (laserType) {
    if (stage) {
      Object_Bullet* beam =
          spawnShot(0.0f, 0.0f, kBeamType, stage->playerShots, kChargeDamage, nullptr, nullptr);
      if (beam) {
        beam->parent = this;
        beam->laser = 1;
        beam->cancelsBullets = 1;
        beam->thinAllowed = 1;
        beam->angle = kStraightUp;
        beam->radius = 0;
        beam->length = kBeamLength;
        beam->addAction(33, 10, 30, 2.0f, 0.0f);   // opens to a half width of 60
        beam->addAction(43, 20, 30, -3.0f, 0.0f);  // and dims to 165
        chargeShot = beam;
        chargeShotId = beam->id;
      }
    }
    gSound.RequestEffect(kSeBeam);
    return;
  }
  shieldFlash = nullptr;
  shieldFlashId = 0;
  if (stage) {
    Object_Bullet* flash =
        spawnShot(0.0f, 0.0f, kDiscType, stage->playerShots, kChargeDamage, this, nullptr);
    if (flash) {
      flash->cancelsBullets = 1;
      flash->uncancelable = 1;
      flash->thinAllowed = 1;
      flash->radius = 0;
      flash->addAction(33, 0, 20, 5.0f, 0.0f);
      flash->addAction(41, 16, 5, 0.05f, 0.0f);
      flash->addAction(43, 16, 5, -50.0f, 0.0f);
      flash->addAction(1, 22, 1, 0.0f, 0.0f);
      shieldFlash = flash;
      shieldFlashId = flash->id;
    }
    Object_Bullet* ring =
        spawnShot(0.0f, 0.0f, kRingType, stage->playerShots, kShieldRingDamage, this, nullptr);
    if (ring) {
      ring->cancelsBullets = 1;
      ring->uncancelable = 1;
      ring->thinAllowed = 1;
      ring->ring = 1;
      ring->ringWidth = kRingWidth;
      ring->radius = 0;
      ring->scale = 0.0;
      ring->addAction(33, 0, 20, 5.0f, 0.0f);   // out to a radius of 100
      ring->addAction(41, 0, 20, 0.05f, 0.0f);  // while the picture grows to full size
      chargeShot = ring;
      chargeShotId = ring->id;
    }
  }
  gSound.RequestEffect(kSeShield);
}

void Object_Player::endCharge() {
  Object_Bullet* shot = chargeShot;
  if (stillLinked(shot, chargeShotId)) {
    if (laserType) {
      shot->addAction(33, 0, 30, -2.0f, 0.0f);
      shot->addAction(1, 30, 1, 0.0f, 0.0f);
    } else {
      shot->addAction(41, 0, 5, 0.05f, 0.0f);
      shot->addAction(43, 0, 5, -50.0f, 0.0f);
      shot->addAction(1, 5, 1, 0.0f, 0.0f);
    }
    // A wrecked ship leaves its charge behind where it exploded.
    if (state == PLAYER_EXPLODED) {
      shot->addAction(2, 0, 1, 0.0f, 0.0f);
      if (stillLinked(shieldFlash, shieldFlashId)) shieldFlash->addAction(2, 0, 1, 0.0f, 0.0f);
    }
  }
  charging = 0;
  chargeShot = nullptr;
  chargeShotId = 0;
}

void Object_Player::spawnClearingDisc(float px, float py, Object* discParent, int32_t lifetime) {
  Stage_Field* stage = field();
  if (!stage) return;
  Object_Bullet* disc = spawnShot(px, py, kDiscType, stage->playerShots, 0, discParent, nullptr);
  if (!disc) return;
  disc->cancelsBullets = 1;
  disc->uncancelable = 1;
  disc->thinAllowed = 1;
  disc->alpha = 0;
  disc->radius = 0;
  disc->addAction(33, 0, kClearingGrowthFrames, 10.0f, 0.0f);
  disc->addAction(1, lifetime, 1, 0.0f, 0.0f);
}

void Object_Player::bomb() {
  if (bombs <= 0) return;
  dropOptionLasers();
  endCharge();
  bombs = static_cast<int8_t>(bombs - 1);
  bombing = 1;
  state = PLAYER_INVULNERABLE;
  stateCounter = 0;
  controllable = 1;
  if (Stage_Field* stage = field()) {
    ObjectPool<Object_Bullet>& pool = stage->playerShots;
    for (int32_t wave = 0; wave < kBombWaves; ++wave) {
      const int32_t k = wave * kBombWaveGap;
      // Rings and discs wait on the ship, inactive, until their wave starts.
      if (Object_Bullet* ring =
              spawnShot(0.0f, 0.0f, kRingType, pool, kBombRingDamage, this, nullptr)) {
        ring->active = 0;
        ring->ring = 1;
        ring->ringWidth = kRingWidth;
        ring->uncancelable = 1;
        ring->radius = 0;
        ring->scale = 0.0;
        ring->angle = static_cast<float>(RandomUpTo(62832)) / 10000.0f;
        ring->addAction(0, k, 1, 0.0f, 0.0f);
        ring->addAction(33, k, 70, 10.0f, 0.0f);
        ring->addAction(41, k, 70, 0.1f, 0.0f);
        ring->addAction(1, k + 70, 1, 0.0f, 0.0f);
      }
      if (Object_Bullet* disc =
              spawnShot(0.0f, 0.0f, kDiscType, pool, kBombDiscDamage, this, nullptr)) {
        disc->active = 0;
        disc->uncancelable = 1;
        disc->thinAllowed = 1;
        disc->radius = 0;
        disc->alpha = 200;
        disc->addAction(0, k, 1, 0.0f, 0.0f);
        disc->addAction(33, k, 40, 10.0f, 0.0f);
        disc->addAction(43, k + 20, 20, -10.0f, 0.0f);
        disc->addAction(1, k + 40, 1, 0.0f, 0.0f);
      }
    }
    spawnClearingDisc(0.0f, 0.0f, this, kBombClearLifetime);
  }
  gGame.bombsUsed += 1;
  gSound.RequestEffect(kSeBomb);
}
