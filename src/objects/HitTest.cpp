#include "objects/HitTest.h"

#include <cmath>

#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {

constexpr float kMarginPart = 0.05f;  // laser end margins: this much of radius and length

float F(int32_t v) { return static_cast<float>(v); }

HitResult LaserAgainstPlayer(const Object_Bullet& b, const Object_Player& p) {
  if (b.radius <= 0) return HIT_MISS;
  const float h = F(p.radius);
  const float g = F(p.grazeRadius);
  const float r = F(b.radius);
  const float length = F(b.length);
  const float s = std::sin(b.angle);
  const float c = std::cos(b.angle);
  const float dx = p.x - b.x;
  const float dy = p.y - b.y;
  const float perp = std::fabs(s * dx - c * dy);
  const float along = s * dy + c * dx;
  if (perp > r + g) return HIT_MISS;
  if (perp > r + h) return (-g < along && along < length + g) ? HIT_GRAZE : HIT_MISS;
  // Within the beam's width: its thin ends only graze.
  if (along > length + g) return HIT_MISS;
  const float m = kMarginPart * length + kMarginPart * r;
  if (along > length - m + h) return HIT_GRAZE;
  if (along > m - h) return HIT_HIT;
  if (along > -g) return HIT_GRAZE;
  return HIT_MISS;
}

// The enemy laser's root lies inside the beam: the root moves forward past
// the beam, or nothing is left.
bool CutFromRoot(Object_Bullet& b, const Object_Bullet& k, float sp, float sinBetween) {
  const float bs = std::sin(b.angle);
  const float bc = std::cos(b.angle);
  if (std::fabs(sinBetween) < 1e-4f) return true;  // runs along the beam: swallowed whole
  const float side = sinBetween > 0.0f ? 1.0f : -1.0f;
  const float exit = (F(k.radius) - sp * side) / std::fabs(sinBetween);
  if (exit <= 0.0f) return false;
  const float rest = F(b.length) - exit;
  if (rest < F(b.radius)) return true;
  b.length = static_cast<int32_t>(rest);
  b.baseX += bc * exit;
  b.baseY += bs * exit;
  hitSpark(b.x + bc * exit, b.y + bs * exit, true, false);
  return false;
}

}  // namespace

HitResult TestBulletPlayer(Object_Bullet& b, const Object_Player& p) {
  if (b.grazed) return TestShape(b, p) ? HIT_HIT : HIT_MISS;
  if (b.laser) return LaserAgainstPlayer(b, p);
  const int32_t e = p.grazeRadius + b.radius;
  const float dx = p.x - b.x;
  const float dy = p.y - b.y;
  if (std::fabs(dy) > F(e) || std::fabs(dx) > F(e)) return HIT_MISS;
  const float d2 = dx * dx + dy * dy;
  const int32_t touch = p.radius + b.radius;
  if (d2 < F(touch * touch)) return HIT_HIT;
  if (d2 < F(e * e)) return HIT_GRAZE;
  return HIT_MISS;
}

bool TestShape(Object_Bullet& s, const Object& c) {
  const float dx = c.x - s.x;
  const float dy = c.y - s.y;
  if (s.laser && !s.ring) {
    if (s.radius < 1) return false;
    const float sn = std::sin(s.angle);
    const float cs = std::cos(s.angle);
    const float perp = std::fabs(sn * dx - cs * dy);
    if (perp > F(s.radius + c.radius)) return false;
    const float along = cs * dx + sn * dy;
    const float m = kMarginPart * F(s.radius) + kMarginPart * F(s.length);
    if (m - F(c.radius) < along && along < F(s.length) - m + F(c.radius)) {
      hitSpark(s.x + cs * along, s.y + sn * along, true, false);
      return true;
    }
    return false;
  }
  if (s.ring) {
    const float reach = F(c.radius + s.radius);
    if (std::fabs(dy) > reach || std::fabs(dx) > reach) return false;
    const int32_t dist = static_cast<int32_t>(std::sqrt(dx * dx + dy * dy));
    return dist < c.radius + s.radius + s.ringWidth && dist > s.radius - s.ringWidth - c.radius;
  }
  if (c.radius < 1 || s.radius <= 0) return false;
  const int32_t sum = s.radius + c.radius;
  if (std::fabs(dy) > F(sum) || std::fabs(dx) > F(sum)) return false;
  return dx * dx + dy * dy < F(sum * sum);
}

bool TestEnemyBody(Stage_Field& field, Object_Enemy& e, const Object_Player& p) {
  const int32_t sum = e.radius + p.radius;
  const int32_t dx = static_cast<int32_t>(std::fabs(e.x - p.x));
  const int32_t dy = static_cast<int32_t>(std::fabs(e.y - p.y));
  if (e.radius >= 1 && dx + dy < field.nearestDistance) {
    field.nearestDistance = dx + dy;
    field.nearestEnemy = &e;
  }
  if (e.radius < 1 || dy > sum || dx > sum) return false;
  const float fy = p.y - e.y;
  const float fx = p.x - e.x;
  return fy * fy + fx * fx < F(sum * sum);
}

bool TestCancel(Object_Bullet& b, Object_Bullet& k) {
  if (!b.laser) return TestShape(k, b);
  if (k.laser) return CutLaserWithLaser(b, k);
  // A disc or ring eats into the laser.
  if (b.radius <= 0) return false;
  const float sn = std::sin(b.angle);
  const float cs = std::cos(b.angle);
  const float perp = std::fabs(sn * (b.x - k.x) - cs * (b.y - k.y));
  if (perp > F(b.radius + k.radius)) return false;
  const float along = cs * (k.x - b.x) + sn * (k.y - b.y);
  const float m = kMarginPart * F(k.length) + kMarginPart * F(k.radius);
  if (!(m - F(k.radius) < along && along < F(b.length) - m + F(k.radius) && perp < F(k.radius))) {
    return false;
  }
  const float reach = F(k.ring ? k.radius + k.ringWidth : k.radius);
  const float half = std::sqrt(reach * reach - perp * perp);
  const float enter = along - half;
  if (enter > F(b.radius)) {
    b.length = static_cast<int32_t>(enter);
    hitSpark(b.x + cs * enter, b.y + sn * enter, true, false);
    return false;
  }
  const float exit = along + half;
  const float rest = F(b.length) - exit;
  if (rest <= F(b.radius)) return true;
  b.length = static_cast<int32_t>(rest);
  b.baseX += cs * exit;
  b.baseY += sn * exit;
  hitSpark(b.x + cs * exit, b.y + sn * exit, true, false);
  return false;
}

bool CutLaserWithLaser(Object_Bullet& b, Object_Bullet& k) {
  if (b.radius <= 0 || k.radius < 1) return false;
  const float ks = std::sin(k.angle);
  const float kc = std::cos(k.angle);
  const float bs = std::sin(b.angle);
  const float bc = std::cos(b.angle);
  const float beamLength = F(k.length);
  const float m = kMarginPart * F(k.radius) + kMarginPart * beamLength;
  // sin(laser angle - beam angle): how steeply the laser crosses the beam.
  const float sinBetween = kc * bs - ks * bc;

  // The laser's root, seen from the beam.
  const float rx = b.x - k.x;
  const float ry = b.y - k.y;
  const float sp = kc * ry - ks * rx;  // signed distance from the beam's axis
  const float rootAlong = kc * rx + ks * ry;
  if (std::fabs(sp) < F(b.radius + k.radius) && m < rootAlong && rootAlong < beamLength - m) {
    return CutFromRoot(b, k, sp, sinBetween);
  }

  // Where the axes cross, as fractions of each length.
  const float laserLength = F(b.length);
  const float denominator = laserLength * beamLength * (bc * ks - bs * kc);
  if (laserLength <= 0.0f || beamLength <= 0.0f || std::fabs(sinBetween) < 1e-4f) return false;
  const float qx = k.x - b.x;
  const float qy = k.y - b.y;
  const float alongLaser = (qx * ks - qy * kc) * beamLength / denominator;
  const float alongBeam = (qx * bs - qy * bc) * laserLength / denominator;
  const float crossBeam = alongBeam * beamLength;
  if (!(m < crossBeam && crossBeam < beamLength - m)) return false;
  const float crossLaser = alongLaser * laserLength;
  const float halfWidth = F(k.radius) / std::fabs(sinBetween);
  const float cut = crossLaser - halfWidth;
  if (cut >= laserLength || crossLaser + halfWidth <= 0.0f) return false;
  if (cut < F(b.radius)) return true;
  b.length = static_cast<int32_t>(cut);
  hitSpark(b.x + bc * cut, b.y + bs * cut, true, false);
  return false;
}
