// Round-bullet patterns of enemies: single bullets, lines, fans, sweeping
// fans, random sprays and homing bullets.
#include <algorithm>
#include <cmath>

#include "engine/Engine.h"
#include "objects/FiringPatterns.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {

// Far beyond any clock a stage reaches, yet small enough that an action's
// time plus its duration stays within int32.
constexpr int64_t kFarFrames = 1000000000;

// Round bullets wait out their delay invisible and untouchable.
void StartDelayed(Object_Bullet& bullet, int32_t delay) {
  bullet.delay = delay;
  bullet.active = 0;
  bullet.noDelay = 0;
}

}  // namespace

int32_t DelaySum(int64_t a, int64_t b, int64_t c) {
  return static_cast<int32_t>(std::clamp(a + b + c, -kFarFrames, kFarFrames));
}

Object_Bullet* FireOne(Object_Enemy& enemy, FireAttach attach) {
  Stage_Field* field = CurrentField();
  if (!field) return nullptr;
  // Only the low byte of the shot type names a bullet type.
  const auto type = static_cast<int8_t>(enemy.shotType & 0xFF);
  Object_Bullet* bullet = Object_Bullet::Spawn(field->enemyBullets, type);
  if (!bullet) return nullptr;
  if (enemy.attachShots && attach != FireAttach::kNever) {
    bullet->parent = &enemy;
    bullet->setPosition(static_cast<float>(enemy.muzzleX), static_cast<float>(enemy.muzzleY));
    // Let go at the first motion step, from wherever the enemy is by then.
    if (attach == FireAttach::kDetachAtStart) bullet->addAction(2, 0, 1, 0.0f, 0.0f);
  } else {
    bullet->setPosition(enemy.muzzlePointX(), enemy.muzzlePointY());
  }
  bullet->damage = 1;
  if (StageHost* host = CurrentStage()) host->attachBulletSprite(*bullet, false);
  return bullet;
}

Object_Bullet* FireSingle(Object_Enemy& enemy, float speed, float direction, int32_t delay) {
  Object_Bullet* bullet = FireOne(enemy, FireAttach::kDetachAtStart);
  if (!bullet) return nullptr;
  bullet->speed = speed;
  bullet->angle = direction;
  bullet->velocityFromAngle();
  StartDelayed(*bullet, delay);
  return bullet;
}

bool FireLine(Object_Enemy& enemy, const LineShot& line) {
  // One velocity for the whole line: later bullets keep the aim of the moment
  // of firing even if the enemy turns while they wait.
  const float vx = std::cos(line.direction) * line.speed;
  const float vy = std::sin(line.direction) * line.speed;
  for (int32_t i = 0; i < line.count; ++i) {
    Object_Bullet* bullet = FireOne(enemy, FireAttach::kDetachAtStart);
    if (!bullet) return false;
    bullet->speed = line.speed;
    bullet->vx = vx;
    bullet->vy = vy;
    // The stored angle may differ from the flight: it only matters once a
    // later action takes the velocity from the angle again.
    bullet->angle = line.direction + line.angleOffset;
    StartDelayed(*bullet, DelaySum(line.firstDelay, int64_t{i} * line.delayStep));
    if (line.lifetime > 0) bullet->addAction(1, line.lifetime, 1, 0.0f, 0.0f);
  }
  return true;
}

float FanDirection(float centre, int32_t lines, float spread, int32_t j) {
  return centre - static_cast<float>(lines - 1) / 2.0f * spread + static_cast<float>(j) * spread;
}

bool FireFan(Object_Enemy& enemy, const FanShot& fan) {
  for (int32_t j = 0; j < fan.lines; ++j) {
    LineShot line;
    line.speed = fan.speed;
    line.direction = FanDirection(fan.centre, fan.lines, fan.spread, j);
    line.count = fan.count;
    line.angleOffset = fan.angleOffset;
    line.lifetime = fan.lifetime;
    if (fan.sweeping) {
      // Bullet i of line j starts at (j + i * lines) * step.
      line.delayStep = DelaySum(int64_t{fan.lines} * fan.delayStep);
      line.firstDelay = DelaySum(fan.firstDelay, int64_t{j} * fan.delayStep);
    } else {
      line.delayStep = fan.delayStep;
      line.firstDelay = fan.firstDelay;
    }
    if (!FireLine(enemy, line)) return false;
  }
  return true;
}

bool FireSpray(Object_Enemy& enemy, int32_t count, int32_t streams) {
  const int32_t width = Trunc(enemy.spread * 10000.0f);
  for (int32_t stream = 0; stream < streams; ++stream) {
    for (int32_t i = 0; i < count; ++i) {
      // The draw comes before the bullet: a full pool still consumes it.
      const int32_t draw = RandomUpTo(width);
      const float direction = enemy.aimAngle + static_cast<float>(draw - width / 2) / 10000.0f;
      const int32_t delay = DelaySum(int64_t{i} * enemy.delayStep);
      if (!FireSingle(enemy, enemy.shotSpeed, direction, delay)) return false;
    }
  }
  return true;
}

bool FireHoming(Object_Enemy& enemy) {
  Object_Bullet* bullet = FireSingle(enemy, enemy.shotSpeed, enemy.aimAngle, 0);
  if (!bullet) return false;
  bullet->homesOnPlayer = 1;
  bullet->trail = 1;
  return true;
}
