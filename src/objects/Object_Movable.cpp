#include "objects/Object_Movable.h"

#include <cmath>
#include <cstdlib>

#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

bool PlayerPosition(float& px, float& py) {
  Stage_Field* field = CurrentField();
  if (!field) return false;
  px = field->player.x;
  py = field->player.y;
  return true;
}

bool Object_Movable::isOffScreen() { return OutsideField(x, y, 100.0f); }

void Object_Movable::setPosition(float px, float py) {
  baseX = px;
  baseY = py;
  if (parent) {
    x = px + parent->x;
    y = py + parent->y;
  } else {
    x = px;
    y = py;
  }
}

void Object_Movable::resetMotion() {
  parent = nullptr;
  actions.clear();
  clock = 0;
  vx = vy = 0.0f;
  accelX = accelY = 0.0f;
}

void Object_Movable::addAction(int32_t op, int32_t delay, int32_t duration, float p1, float p2) {
  actions.emplace_back(clock + delay, duration, op, p1, p2);
}

void Object_Movable::addActionCopy(const Action& prototype) {
  actions.push_back(prototype);
  actions.back().time = prototype.time + clock;
}

void Object_Movable::setActions(const std::vector<Action>& list) {
  actions.clear();
  actions.reserve(list.size() * 3);
  actions.insert(actions.end(), list.begin(), list.end());
}

void Object_Movable::motionStep() {
  // By index: actions appended meanwhile are reached in the same walk, and
  // the clock is read afresh for every entry, so a jump affects the rest.
  for (size_t i = 0; i < actions.size(); ++i) {
    if (actions[i].RunsAt(clock)) doAction(actions[i]);
  }
  vx += accelX;
  vy += accelY;
  baseX += vx;
  baseY += vy;
  if (parent) {
    x = baseX + parent->x;
    y = baseY + parent->y;
  } else {
    x = baseX;
    y = baseY;
  }
  clock += 1;
}

void Object_Movable::velocityFromAngle() {
  vx = std::cos(angle) * speed;
  vy = std::sin(angle) * speed;
}

void Object_Movable::angleFromVelocity() {
  angle = std::atan2(vy, vx);
  speed = std::sqrt(vx * vx + vy * vy);
}

void Object_Movable::setAccelerationToward(float dx, float dy, bool setX, bool setY) {
  if (moveFrames <= 0) return;
  const float d2 = static_cast<float>(moveFrames * moveFrames);
  if (setX) accelX = 4.0f * dx / d2;
  if (setY) accelY = 4.0f * dy / d2;
}

void Object_Movable::smoothMove(Action& action) {
  const int32_t d = moveFrames;
  if (d <= 0) return;
  const int32_t code = action.Code();
  const float p1 = action.p1;
  const float p2 = action.p2;
  // Marked done before the list grows: the reference dies with the growth.
  action.duration = 0;
  static constexpr int32_t kStart[5] = {65, 66, 62, 63, 64};
  const int32_t k = code - 50;
  addAction(kStart[k], 0, 1, p1, p2);
  addAction(61, d / 2, 1, 0.0f, 0.0f);
  if (code == 53) {
    addAction(12, d, 1, 0.0f, 0.0f);
  } else if (code == 54) {
    addAction(13, d, 1, 0.0f, 0.0f);
  } else {
    addAction(10, d, 1, 0.0f, 0.0f);
  }
  addAction(60, d, 1, 0.0f, 0.0f);
}

void Object_Movable::doAction(Action& action) {
  const float p1 = action.p1;
  const float p2 = action.p2;
  float px = 0.0f;
  float py = 0.0f;
  switch (action.Code()) {
    case 1:
      dead = 1;
      break;
    case 2:
      if (parent) {
        baseX += parent->x;
        baseY += parent->y;
        x = baseX;
        y = baseY;
      }
      parent = nullptr;
      break;
    case 3: {
      const int32_t n = Trunc(p1);
      if (n >= 0 && n < kSoundEffectSlots) gSound.RequestEffect(n);
      break;
    }
    case 4:
      clock = Trunc(p1);
      break;
    case 10:
      vx = p1;
      vy = p2;
      angleFromVelocity();
      break;
    case 11:
      speed = p1;
      angle = p2;
      velocityFromAngle();
      break;
    case 12:
      vx = p1;
      angleFromVelocity();
      break;
    case 13:
      vy = p1;
      angleFromVelocity();
      break;
    case 14:
      angle = p1;
      velocityFromAngle();
      break;
    case 15:
      speed = p1 > 0.0f ? p1 : 0.0f;
      velocityFromAngle();
      break;
    case 16:
      if (!PlayerPosition(px, py)) break;
      angle = std::atan2(py - y, px - x);
      velocityFromAngle();
      break;
    case 17:
      // A divisor of 0 or less would fling the object to infinity: ignored.
      if (p1 <= 0.0f || !PlayerPosition(px, py)) break;
      speed = std::sqrt((px - x) * (px - x) + (py - y) * (py - y)) / p1;
      velocityFromAngle();
      break;
    case 20:
      vx += p1;
      vy += p2;
      angleFromVelocity();
      break;
    case 21:
      speed += p1;
      angle += p2;
      velocityFromAngle();
      break;
    case 22:
      vx += p1;
      angleFromVelocity();
      break;
    case 23:
      vy += p1;
      angleFromVelocity();
      break;
    case 24:
      angle += p1;
      velocityFromAngle();
      break;
    case 25:
      speed += p1;
      if (speed < 0.0f) speed = 0.0f;
      velocityFromAngle();
      break;
    case 32:
      radius = Trunc(p1);
      break;
    case 33:
      radius += Trunc(p1);
      break;
    case 40:
      scale = p1;
      break;
    case 41:
      scale += p1;
      break;
    case 42:
      alpha = Trunc(p1);
      break;
    case 43:
      alpha += Trunc(p1);
      break;
    case 47: {
      const int32_t n = Trunc(p1);
      spawnEffect(x, y, n % 100, n / 100, 255, p2, 0);
      break;
    }
    case 50:
    case 51:
    case 52:
    case 53:
    case 54:
      smoothMove(action);
      break;
    case 55:
      moveFrames = Trunc(p1);
      break;
    case 56:
      baseX = p1;
      baseY = p2;
      break;
    case 57:
      baseX = p1 + static_cast<float>(RandomUpTo(Trunc(std::fabs(p1 - p2))));
      break;
    case 58:
      baseY = p1 + static_cast<float>(RandomUpTo(Trunc(std::fabs(p1 - p2))));
      break;
    case 60:
      accelX = p1;
      accelY = p2;
      break;
    case 61:
      accelX = -accelX;
      accelY = -accelY;
      break;
    case 62:
      if (PlayerPosition(px, py)) setAccelerationToward(px - baseX, py - baseY, true, true);
      break;
    case 63:
      if (PlayerPosition(px, py)) setAccelerationToward(px - baseX, 0.0f, true, false);
      break;
    case 64:
      if (PlayerPosition(px, py)) setAccelerationToward(0.0f, py - baseY, false, true);
      break;
    case 65:
      setAccelerationToward(p1, p2, true, true);
      break;
    case 66:
      setAccelerationToward(p1 - baseX, p2 - baseY, true, true);
      break;
    default:
      break;
  }
}
