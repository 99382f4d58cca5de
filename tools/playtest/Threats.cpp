#include "playtest/Threats.h"

#include <algorithm>
#include <cmath>

#include "objects/Stage_Field.h"

namespace {

constexpr float kPi = 3.14159265f;

// The turn from one angle to another, the short way round (an angle gone
// infinite gives no number rather than a loop without end).
float Turn(float from, float to) { return std::remainder(to - from, 2.0f * kPi); }

}  // namespace

Threat ThreatAt(const Threat& threat, int t) {
  const float f = static_cast<float>(t);
  Threat out = threat;
  out.x += threat.vx * f;
  out.y += threat.vy * f;
  out.radius = std::max(threat.radius + threat.radiusStep * f, 0.0f);
  out.angle += threat.angleStep * f;
  out.length = std::max(threat.length + threat.lengthStep * f, 0.0f);
  return out;
}

float GapTo(const Threat& threat, float px, float py) {
  const float dx = px - threat.x;
  const float dy = py - threat.y;
  switch (threat.shape) {
    case ThreatShape::Laser: {
      const float s = std::sin(threat.angle);
      const float c = std::cos(threat.angle);
      const float along = c * dx + s * dy;
      float d = 0.0f;
      if (along < 0.0f) {
        d = std::sqrt(dx * dx + dy * dy);
      } else if (along > threat.length) {
        const float tx = dx - c * threat.length;
        const float ty = dy - s * threat.length;
        d = std::sqrt(tx * tx + ty * ty);
      } else {
        d = std::fabs(s * dx - c * dy);
      }
      return d - threat.radius;
    }
    case ThreatShape::Ring:
      return std::fabs(std::sqrt(dx * dx + dy * dy) - threat.radius) - threat.ringWidth;
    case ThreatShape::Disc:
    default:
      return std::sqrt(dx * dx + dy * dy) - threat.radius;
  }
}

void ThreatWatch::reset() {
  last_.clear();
  current_.clear();
  threats_.clear();
}

void ThreatWatch::add(const Threat& now, int32_t id, bool moving) {
  Threat t = now;
  const auto before = last_.find(id);
  if (before != last_.end()) {
    const Seen& s = before->second;
    t.vx = now.x - s.x;
    t.vy = now.y - s.y;
    t.radiusStep = now.radius - s.radius;
    t.angleStep = Turn(s.angle, now.angle);
    t.lengthStep = now.length - s.length;
  } else if (!moving) {
    t.vx = t.vy = 0.0f;
  }
  current_[id] = Seen{now.x, now.y, now.radius, now.angle, now.length};
  threats_.push_back(t);
}

const std::vector<Threat>& ThreatWatch::look(Stage_Field& field) {
  threats_.clear();
  current_.clear();
  field.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
    // Still waiting out its spawn delay: not shown and not tested yet.
    if (b.dead || !b.active) return;
    Threat t;
    t.x = b.x;
    t.y = b.y;
    t.vx = b.vx;
    t.vy = b.vy;
    t.radius = static_cast<float>(std::max(b.radius, 0));
    if (b.ring && b.grazed) {
      t.shape = ThreatShape::Ring;
      t.ringWidth = static_cast<float>(b.ringWidth);
    } else if (b.laser && !b.ring) {
      t.shape = ThreatShape::Laser;
      t.angle = b.angle;
      t.length = static_cast<float>(b.length);
    }
    add(t, b.id, b.parent == nullptr);
  });
  auto addBody = [&](Object_Enemy& e) {
    Threat t;
    t.x = e.x;
    t.y = e.y;
    t.vx = e.vx;
    t.vy = e.vy;
    t.radius = static_cast<float>(e.radius);
    t.body = true;
    add(t, e.id, e.parent == nullptr);
  };
  if (field.bossActive && !field.bossFinished && !field.boss.dead && field.boss.radius >= 1) {
    addBody(field.boss);
  }
  field.enemies.walk([&](Object_Enemy& e, int32_t) {
    if (!e.dead && e.radius >= 1) addBody(e);
  });
  last_.swap(current_);
  return threats_;
}
