// A bullet's frame: the spawn delay, following or losing its parent, homing
// (a player shot on an enemy, an enemy bullet on the ship), trails, the
// motion step, leaving the field and laser re-grazing; and the bullet's own
// action codes ahead of the common ones.
#include "objects/Object_Bullet.h"

#include <algorithm>
#include <cmath>

#include "engine/Engine.h"
#include "objects/Object_Enemy.h"
#include "objects/StageHost.h"

namespace {
constexpr float kHomingLimit = 0.52525f;  // beyond this the bullet gives up for good
constexpr float kHomingTurn = 0.035016667f;
constexpr int32_t kRegrazeFrames = 6;
}  // namespace

int32_t DefaultBulletRadius(int8_t type) {
  switch (type) {
    case 0:
      return 0;
    case 1:
    case 5:
    case 6:
      return 2;
    case 3:
      return 18;
    case 4:
    case 9:
      return 5;
    default:
      return 3;
  }
}

void Object_Bullet::resetBullet() {
  radius = DefaultBulletRadius(bulletType);
  scale = 1.0;
  alpha = 255;
  active = 1;
  laser = 0;
  ring = 0;
  cancelsBullets = 0;
  thinAllowed = 0;
  uncancelable = 0;
  grazed = 0;
  homesOnTarget = 0;
  trail = 0;
  homesOnPlayer = 0;
}

Object_Bullet* Object_Bullet::Spawn(ObjectPool<Object_Bullet>& pool, int8_t type) {
  Object_Bullet* bullet = pool.acquire();
  if (!bullet) return nullptr;
  bullet->id = NextObjectId();
  bullet->bulletType = type;
  bullet->resetBullet();
  bullet->resetMotion();
  return bullet;
}

void Object_Bullet::update() {
  // Spawn delay: still, invisible and out of every test until it runs out.
  if (noDelay == 0 && !active) {
    if (delay > 0) {
      delay -= 1;
      return;
    }
    active = 1;
  }
  if (parent && parent->dead) {
    dead = 1;
    return;
  }
  if (homesOnTarget) {
    if (target &&
        (target->dead || target->radius < 1 ||
         (target->x - x) * (target->x - x) + (target->y - y) * (target->y - y) < 100.0f)) {
      target = nullptr;
    }
    if (target) {
      const float heading = std::atan2(target->y - y, target->x - x);
      vx = 10.0f * std::cos(heading);
      vy = 10.0f * std::sin(heading);
    }
    x += vx;
    clock += 1;
    y += vy;
  } else {
    if (trail) {
      float px = 0.0f;
      float py = 0.0f;
      if (homesOnPlayer && PlayerPosition(px, py)) {
        float d = std::atan2(py - y, px - x) - angle;
        if (d > -kHomingLimit && d < kHomingLimit) {
          d = std::clamp(d, -kHomingTurn, kHomingTurn);
          angle += d;
          velocityFromAngle();
        } else {
          homesOnPlayer = 0;
        }
      }
      if (clock % 3 == 0) spawnEffect(x, y, 1, BLEND_ADD, 180, 0.3, 0);
    }
    motionStep();
  }
  if (!parent && isOffScreen()) dead = 1;
  if (grazed && laser) {
    regrazeTimer -= 1;
    if (regrazeTimer <= 0) {
      regrazeTimer = kRegrazeFrames;
      grazed = 0;
    }
  }
}

bool Object_Bullet::isOffScreen() {
  // A laser counts by its origin only.
  const float margin = static_cast<float>(std::max(radius, 35));
  return OutsideField(x, y, margin);
}

void Object_Bullet::doAction(Action& action) {
  switch (action.Code()) {
    case 0:
      active = 1;
      return;
    case 1:
      if (Trunc(action.p1) != 0) spawnEffect(x, y, 3, BLEND_NONE, 255, 1.0, 0);
      dead = 1;
      return;
    case 30:
      length = Trunc(action.p1);
      return;
    case 31:
      length += Trunc(action.p1);
      return;
    case 33: {
      const float p1 = action.p1;
      radius += Trunc(p1);
      if (laser && !thinAllowed && p1 < 0.0f && radius < 1) radius = 1;
      return;
    }
    default:
      Object_Movable::doAction(action);
  }
}
