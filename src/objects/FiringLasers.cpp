// Laser patterns of enemies: growing lasers, the fixed attached beam, warning
// lasers that draw out and then open, short bursts (some spraying bullets
// along the beam as it retreats) and the sweeping bar.
//
// Lasers skip the spawn delay (they stay active from the start); their shape
// changes only through the actions added here: code 31 grows or shrinks the
// length, code 33 the half width, code 15 starts the flight, code 1 ends it.
#include <cmath>
#include <cstdlib>

#include "objects/FiringPatterns.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {

// A quotient used as a frame count, or false when it has none (a division
// by zero in the enemy's settings) or lies beyond any stage's length.
bool FrameCount(float quotient, int32_t& frames) {
  if (!(std::fabs(quotient) < 1.0e9f)) return false;
  frames = Trunc(quotient);
  return true;
}

// Screen test of the bursts 211 and 212: the point strictly inside 640 x 480.
bool InsideScreen(float px, float py) {
  return px > 0.0f && px < 640.0f && py > 0.0f && py < 480.0f;
}

constexpr float kRightAngle = 1.5708f;
constexpr float kHalfTurn = 3.1415f;
constexpr float kFullTurn = 6.283f;
constexpr float kSprayBack = 1.099f;  // 213 starts its spray this far behind the full turn
constexpr float kBurstSpread = 0.314f;
constexpr float kBurstSpeed = 5.0f;
constexpr int32_t kBurstLifetime = 15;
constexpr int32_t kBurstBulletType = 12;

}  // namespace

bool FireGrowingLaser(Object_Enemy& enemy, float direction) {
  const float speed = enemy.shotSpeed;
  // The beam grows at the shot speed until it is laserLength long, then flies.
  // With a shot speed of 0 it would never be full grown: it just stays.
  int32_t growFrames = 0;
  const bool grows = FrameCount(static_cast<float>(enemy.laserLength) / speed, growFrames);
  // An attached laser grows out of the muzzle and lets go once full grown.
  Object_Bullet* bullet = FireOne(enemy, FireAttach::kStayAttached);
  if (!bullet) return false;
  if (grows && bullet->parent) bullet->addAction(2, growFrames, 1, 0.0f, 0.0f);
  bullet->laser = 1;
  bullet->angle = direction;
  bullet->length = 0;
  bullet->radius = enemy.laserWidth;
  if (grows) {
    bullet->addAction(31, 0, growFrames, speed, 0.0f);
    bullet->addAction(15, growFrames, 1, speed, 0.0f);
  }
  return true;
}

bool FireAttachedLaser(Object_Enemy& enemy) {
  Stage_Field* field = CurrentField();
  if (!field) return false;
  // Type 0: no image, neither grazed nor cancelled, but it hurts.
  Object_Bullet* bullet = Object_Bullet::Spawn(field->enemyBullets, 0);
  if (!bullet) return false;
  // Placed as a free point first, then hung on the enemy: the point becomes
  // an offset from the enemy.
  bullet->setPosition(static_cast<float>(enemy.muzzleX), static_cast<float>(enemy.muzzleY));
  bullet->parent = &enemy;
  bullet->laser = 1;
  bullet->angle = enemy.aimAngle;
  bullet->length = enemy.laserLength;
  bullet->radius = enemy.laserWidth;
  bullet->damage = 1;
  if (StageHost* host = CurrentStage()) host->attachBulletSprite(*bullet, false);
  return true;
}

bool FireWarningLaser(Object_Enemy& enemy, float widening, int32_t narrowTime) {
  // The opening takes laserWidth / widening frames; a widening of 0 never
  // opens the beam (and never needs to close it).
  int32_t openFrames = 0;
  if (!FrameCount(static_cast<float>(enemy.laserWidth) / widening, openFrames)) openFrames = 0;
  Object_Bullet* bullet = FireOne(enemy, FireAttach::kStayAttached);
  if (!bullet) return false;
  bullet->laser = 1;
  bullet->uncancelable = 1;
  bullet->angle = enemy.aimAngle;
  bullet->length = 0;
  bullet->radius = 0;
  // A thin warning line draws out at 8 pixels a frame; the beam opens at
  // frame 60 and closes (not below width 1) at the narrowing time.
  bullet->addAction(31, 0, enemy.laserLength / 8, 8.0f, 0.0f);
  bullet->addAction(33, 60, openFrames, widening, 0.0f);
  bullet->addAction(33, narrowTime, openFrames / 2, -2.0f * widening, 0.0f);
  bullet->addAction(1, DelaySum(openFrames / 2, narrowTime, 1), 1, 0.0f, 0.0f);
  return true;
}

bool FireShortBurst(Object_Enemy& enemy, int32_t retreatTime) {
  const int32_t length = enemy.laserLength;
  Object_Bullet* bullet = FireOne(enemy, FireAttach::kNever);
  if (!bullet) return false;
  bullet->laser = 1;
  bullet->uncancelable = 1;
  bullet->angle = enemy.aimAngle;
  bullet->radius = enemy.laserWidth;
  bullet->length = 0;
  // Out in 3 frames; at the retreat time the root runs after the head while
  // the beam shortens, so the head stays where it was.
  bullet->addAction(31, 0, 3, static_cast<float>(length / 3), 0.0f);
  bullet->addAction(31, retreatTime, 6, static_cast<float>(-(length / 6)), 0.0f);
  bullet->addAction(15, retreatTime, 1, static_cast<float>(length / 6), 0.0f);
  bullet->addAction(1, DelaySum(retreatTime, length / 6, 1), 1, 0.0f, 0.0f);
  return true;
}

bool FireBurstWithBullets(Object_Enemy& enemy, int32_t code, int32_t retreatTime) {
  if (!FireShortBurst(enemy, retreatTime)) return false;
  const float aim = enemy.aimAngle;
  const int32_t step = code == 211 ? 35 : 40;
  const int32_t stepX = Trunc(static_cast<float>(step) * std::cos(aim));
  const int32_t stepY = Trunc(static_cast<float>(step) * std::sin(aim));
  const int32_t savedType = enemy.shotType;
  const int32_t savedX = enemy.muzzleX;
  const int32_t savedY = enemy.muzzleY;
  // The beam retreats by a sixth of its length per frame; each point's
  // bullets come out as the root passes it. A beam shorter than 6 pixels has
  // no sixth to count in, and its only point (at 0) starts with the retreat.
  const int32_t sixth = enemy.laserLength / 6;
  enemy.shotType = kBurstBulletType;
  bool goOn = true;
  int64_t walkedX = savedX;
  int64_t walkedY = savedY;
  for (int64_t distance = 0; goOn && distance < enemy.laserLength; distance += step) {
    walkedX += stepX;
    walkedY += stepY;
    enemy.muzzleX = static_cast<int32_t>(walkedX);
    enemy.muzzleY = static_cast<int32_t>(walkedY);
    const int32_t firstDelay = DelaySum(retreatTime, sixth != 0 ? distance / sixth : 0);
    if (code == 213) {
      for (int32_t j = 0; goOn && j < 8; ++j) {
        LineShot single;
        single.speed = kBurstSpeed;
        single.direction = aim + kFullTurn - kSprayBack + static_cast<float>(j) * kBurstSpread;
        single.count = 1;
        single.delayStep = enemy.delayStep;
        single.firstDelay = firstDelay;
        single.lifetime = kBurstLifetime;
        goOn = FireLine(enemy, single);
      }
      continue;
    }
    if (!InsideScreen(enemy.muzzlePointX(), enemy.muzzlePointY())) continue;
    FanShot fan;
    fan.speed = kBurstSpeed;
    fan.centre = aim + kHalfTurn;
    fan.spread = kBurstSpread;
    fan.lines = code == 211 ? 16 : 8;
    fan.count = 1;
    fan.delayStep = enemy.delayStep;
    fan.angleOffset = enemy.angleOffset;
    fan.firstDelay = firstDelay;
    fan.lifetime = code == 211 ? kBurstLifetime : 0;
    goOn = FireFan(enemy, fan);
  }
  enemy.shotType = savedType;
  enemy.muzzleX = savedX;
  enemy.muzzleY = savedY;
  return goOn;
}

bool FireSweepingBar(Object_Enemy& enemy, int32_t narrowTime) {
  const float aim = enemy.aimAngle;
  const int32_t length = enemy.laserLength;
  const int32_t width = enemy.laserWidth;
  Object_Bullet* bullet = FireOne(enemy, FireAttach::kNever);
  if (!bullet) return false;
  // A bar lying across the aim, moving along it.
  const float half = 0.5f * static_cast<float>(length);
  bullet->setPosition(enemy.muzzlePointX() - half * std::sin(aim),
                      enemy.muzzlePointY() - half * std::cos(aim));
  bullet->laser = 1;
  bullet->uncancelable = 1;
  bullet->length = length;
  bullet->radius = width;
  bullet->angle = aim - kRightAngle;
  bullet->vx = enemy.shotSpeed * std::cos(aim);
  bullet->vy = enemy.shotSpeed * std::sin(aim);
  if (narrowTime > 0) {
    bullet->addAction(33, narrowTime, 6, static_cast<float>(-(width / 6)), 0.0f);
    bullet->addAction(1, DelaySum(narrowTime, 6), 1, 0.0f, 0.0f);
  }
  return true;
}
