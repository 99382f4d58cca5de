#include "objects/Object_PlayerOption.h"

#include "objects/Object_Bullet.h"
#include "objects/Object_Player.h"
#include "objects/PlayerShots.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int8_t kHomingShotType = 8;
constexpr int8_t kLaserType = 7;
constexpr float kMuzzleAbove = -16.0f;
constexpr float kStraightUp = -1.5708f;
constexpr int32_t kLaserFadeFrames = 6;
}  // namespace

void Object_PlayerOption::fireShot(Object_Player& ship, Stage_Field& field) {
  Object_Bullet* shot =
      ship.spawnShot(x, y + kMuzzleAbove, kHomingShotType, field.playerShots, 50, nullptr, nullptr);
  if (!shot) return;
  shot->vy = -10.0f;
  shot->alpha = 100;
  // The nearest enemy may already be gone; the shot checks before steering.
  shot->target = field.nearestEnemy;
  shot->homesOnTarget = 1;
}

void Object_PlayerOption::fireLaser(Object_Player& ship, Stage_Field& field) {
  Object_Bullet* shot =
      ship.spawnShot(0.0f, kMuzzleAbove, kLaserType, field.playerShots, 40, nullptr, nullptr);
  if (!shot) return;
  // Placed first, then attached: the point becomes an offset from the option.
  shot->parent = this;
  shot->laser = 1;
  shot->alpha = 80;
  shot->angle = kStraightUp;
  shot->radius = 6;
  shot->length = 15;
  shot->addActionCopy(ShotPrototypes().optionLaserGrowth);
  shot->addAction(33, 60, kLaserFadeFrames, -1.0f, 0.0f);
  shot->addAction(1, 65, 1, 0.0f, 0.0f);
  laser = shot;
  laserId = shot->id;
}

void Object_PlayerOption::dropLaser(bool shipExploded) {
  if (sideKind != 2) return;
  Object_Bullet* shot = laser;
  // The slot may have been reused by another shot since this laser ended.
  if (!shot || shot->id != laserId || shot->dead || !shot->laser) return;
  shot->resetMotion();
  shot->parent = this;
  if (shipExploded) shot->addAction(2, 0, 1, 0.0f, 0.0f);
  shot->addAction(33, 0, kLaserFadeFrames, -1.0f, 0.0f);
  shot->addAction(1, kLaserFadeFrames - 1, 1, 0.0f, 0.0f);
}
