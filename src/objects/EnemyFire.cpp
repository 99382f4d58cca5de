// The firing codes of enemy scripts: the codes that set where, how fast and
// what an enemy fires, and the codes that fire a pattern with those settings.
// Only codes 114 and 127 draw random numbers.
#include "objects/EnemyFire.h"

#include <cmath>

#include "engine/Engine.h"
#include "objects/Action.h"
#include "objects/FiringPatterns.h"
#include "objects/Object_Enemy.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {

// Aim from the muzzle at the ship; no stage, no ship: the aim stays.
void AimAtPlayer(Object_Enemy& enemy) {
  const Stage_Field* field = CurrentField();
  if (!field) return;
  enemy.aimAngle =
      std::atan2(field->player.y - enemy.muzzlePointY(), field->player.x - enemy.muzzlePointX());
}

// Adds a random angle from [low, high] to the aim, in steps of 1/10000 rad.
void AimRandomly(Object_Enemy& enemy, float low, float high) {
  const int32_t draw = RandomUpTo(Trunc((high - low) * 10000.0f));
  enemy.aimAngle += low + static_cast<float>(draw) / 10000.0f;
}

// Turns the muzzle around the enemy by `turn`, at distance `distance` (or at
// its current distance when that is below 1), and the aim with it.
void RotateMuzzle(Object_Enemy& enemy, float turn, float distance) {
  const auto mx = static_cast<float>(enemy.muzzleX);
  const auto my = static_cast<float>(enemy.muzzleY);
  const float r = Trunc(distance) < 1 ? std::sqrt(mx * mx + my * my) : distance;
  const float turned = std::atan2(my, mx) + turn;
  enemy.muzzleX = Trunc(std::cos(turned) * r);
  enemy.muzzleY = Trunc(std::sin(turned) * r);
  enemy.aimAngle += turn;
}

FanShot FanFromSettings(const Object_Enemy& enemy, int32_t lines, int32_t count, bool sweeping) {
  FanShot fan;
  fan.speed = enemy.shotSpeed;
  fan.centre = enemy.aimAngle;
  fan.spread = enemy.spread;
  fan.lines = lines;
  fan.count = count;
  fan.delayStep = enemy.delayStep;
  fan.angleOffset = enemy.angleOffset;
  fan.sweeping = sweeping;
  return fan;
}

void FireLaserFan(Object_Enemy& enemy, int32_t lines) {
  for (int32_t j = 0; j < lines; ++j) {
    const float direction =
        FanDirection(enemy.aimAngle, lines, enemy.spread, j) + enemy.angleOffset;
    if (!FireGrowingLaser(enemy, direction)) return;
  }
}

}  // namespace

bool DoFiringAction(Object_Enemy& enemy, const Action& action) {
  const float p1 = action.p1;
  const float p2 = action.p2;
  switch (action.Code()) {
    case 100:
      enemy.aimAngle = p1;
      return true;
    case 101:
      enemy.aimAngle += p1;
      return true;
    case 102:
      AimAtPlayer(enemy);
      return true;
    case 103:
      enemy.aimAngle = enemy.angle;
      return true;
    case 104:
      enemy.shotSpeed = p1;
      return true;
    case 105:
      enemy.delayStep = Trunc(p1);
      return true;
    case 106:
      enemy.spread = p1;
      return true;
    case 107:
      enemy.angleOffset = p1;
      return true;
    case 108:
      enemy.shotType = Trunc(p1);
      return true;
    case 110:
      FireSingle(enemy, enemy.shotSpeed, enemy.aimAngle, 0);
      return true;
    case 111: {
      LineShot line;
      line.speed = enemy.shotSpeed;
      line.direction = enemy.aimAngle;
      line.count = Trunc(p1);
      line.delayStep = enemy.delayStep;
      line.angleOffset = enemy.angleOffset;
      FireLine(enemy, line);
      return true;
    }
    case 112:
      FireFan(enemy, FanFromSettings(enemy, Trunc(p1), Trunc(p2), false));
      return true;
    case 113:
      FireFan(enemy, FanFromSettings(enemy, Trunc(p1), Trunc(p2), true));
      return true;
    case 114:
      FireSpray(enemy, Trunc(p1), Trunc(p2));
      return true;
    case 120:
      enemy.laserLength = Trunc(p1);
      return true;
    case 121:
      enemy.laserWidth = Trunc(p1);
      return true;
    case 122:
      enemy.muzzleX = Trunc(p1);
      enemy.muzzleY = Trunc(p2);
      return true;
    case 123:
      enemy.attachShots = Trunc(p1) != 0 ? 1 : 0;
      return true;
    case 127:
      AimRandomly(enemy, p1, p2);
      return true;
    case 128:
      RotateMuzzle(enemy, p1, p2);
      return true;
    case 130:
      FireGrowingLaser(enemy, enemy.aimAngle);
      return true;
    case 131:
      FireLaserFan(enemy, Trunc(p1));
      return true;
    case 135:
      FireHoming(enemy);
      return true;
    case 145:
      FireAttachedLaser(enemy);
      return true;
    case 200:
      FireWarningLaser(enemy, p1, DelaySum(Trunc(p2)));
      return true;
    case 210:
      FireShortBurst(enemy, DelaySum(Trunc(p1)));
      return true;
    case 211:
    case 212:
    case 213:
      FireBurstWithBullets(enemy, action.Code(), DelaySum(Trunc(p1)));
      return true;
    case 214:
      FireSweepingBar(enemy, DelaySum(Trunc(p1)));
      return true;
    default:
      return false;
  }
}
