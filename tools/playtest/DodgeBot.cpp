#include "playtest/DodgeBot.h"

#include <algorithm>
#include <cmath>

#include "app/Module_Input.h"
#include "objects/Object_Player.h"
#include "objects/Stage_Field.h"

namespace {

// The ship's steering as the ship does it (Object_Player::steer): the bot's
// model of where a held direction takes it.
constexpr float kFullSpeed = 5.0f;
constexpr float kSlowSpeed = 2.0f;
constexpr float kDiagonal = 0.71f;
constexpr float kMinX = 16.0f;
constexpr float kMaxX = 368.0f;
constexpr float kMinY = 24.0f;
constexpr float kMaxY = 424.0f;

// Room kept to a bullet's edge; enemy bodies turn without warning, so they
// get more.
constexpr float kBulletMargin = 1.5f;
constexpr float kBodyMargin = 6.0f;
// Closer than this to a threat's edge costs, the closer the more.
constexpr float kNear = 20.0f;
constexpr double kNearWeight = 10.0;
constexpr double kHitWeight = 1.0e6;
// Where the bot likes to be.
constexpr double kHeightWeight = 0.02;
constexpr double kAimWeight = 0.01;
constexpr float kWallRoom = 40.0f;
constexpr float kFloorRoom = 20.0f;
constexpr double kWallWeight = 4.0;
// A short move before standing still.
constexpr int kShortHold = 4;

struct Step {
  float dx;
  float dy;
};

Step StepOf(uint8_t directions) {
  Step s{0.0f, 0.0f};
  if (directions & DIR_RIGHT) s.dx += 1.0f;
  if (directions & DIR_LEFT) s.dx -= 1.0f;
  if (directions & DIR_DOWN) s.dy += 1.0f;
  if (directions & DIR_UP) s.dy -= 1.0f;
  if (s.dx != 0.0f && s.dy != 0.0f) {
    s.dx *= kDiagonal;
    s.dy *= kDiagonal;
  }
  return s;
}

// How far a threat's nearest point can travel in one frame.
float Reach(const Threat& t) {
  return std::sqrt(t.vx * t.vx + t.vy * t.vy) + std::fabs(t.radiusStep) + std::fabs(t.lengthStep) +
         std::fabs(t.angleStep) * t.length + std::fabs(t.ringWidth);
}

}  // namespace

ShipState ShipStateOf(const Object_Player& ship) {
  ShipState s;
  s.x = ship.x;
  s.y = ship.y;
  s.radius = static_cast<float>(ship.radius);
  s.controllable = ship.controllable != 0 && ship.state != PLAYER_COUNTER_BOMB &&
                   ship.state != PLAYER_EXPLODED && ship.state != PLAYER_REENTERING;
  s.heldBack = ship.charging != 0 || ship.bombing != 0;
  if (ship.state == PLAYER_INVULNERABLE) {
    // Hit tests come after the ship's update, which ends the invulnerability
    // in the frame its counter reaches the full length: that frame is
    // already open to hits.
    s.safeFrames = std::max(kInvulnerableFrames - ship.stateCounter - 1, 0);
  } else if (ship.state != PLAYER_NORMAL) {
    s.safeFrames = DodgeBot::kLookAhead + 1;
  }
  s.canBomb = ship.bombs > 0 && ship.state == PLAYER_NORMAL && !ship.bombing;
  s.counterBomb = ship.bombs > 0 && ship.state == PLAYER_COUNTER_BOMB &&
                  ship.stateCounter + 1 < kCounterBombFrames;
  return s;
}

ShipPoint SteerShip(const ShipState& ship, ShipPoint from, uint8_t directions, bool slow) {
  const Step step = StepOf(directions);
  const float speed = slow || ship.heldBack ? kSlowSpeed : kFullSpeed;
  return {std::clamp(from.x + speed * step.dx, kMinX, kMaxX),
          std::clamp(from.y + speed * step.dy, kMinY, kMaxY)};
}

Aim AimFor(Stage_Field& field) {
  Aim aim;
  const Object_Player& ship = field.player;
  if (field.bossActive && !field.bossFinished && !field.boss.dead && field.boss.radius >= 1) {
    aim.hasTarget = true;
    aim.targetX = field.boss.x;
    return aim;
  }
  float lowest = -1.0e9f;
  field.enemies.walk([&](Object_Enemy& e, int32_t) {
    if (e.dead || e.radius < 1) return;
    const bool onScreen = e.x >= 0.0f && e.x <= kFieldWidth && e.y >= 0.0f;
    if (!onScreen || e.y > ship.y - 40.0f || e.y <= lowest) return;
    lowest = e.y;
    aim.hasTarget = true;
    aim.targetX = e.x;
  });
  return aim;
}

DodgeBot::DodgeBot(const SkillProfile& profile)
    : lookAhead_(std::clamp(profile.lookAhead, 1, kLookAhead)),
      bombWithin_(profile.bombWithin) {}

const std::vector<DodgeBot::Path>& DodgeBot::Paths() {
  static const std::vector<Path> paths = [] {
    std::vector<Path> p;
    p.push_back({0, false, 0});
    static constexpr uint8_t kDirections[8] = {DIR_LEFT,
                                               DIR_RIGHT,
                                               DIR_UP,
                                               DIR_DOWN,
                                               DIR_LEFT | DIR_UP,
                                               DIR_RIGHT | DIR_UP,
                                               DIR_LEFT | DIR_DOWN,
                                               DIR_RIGHT | DIR_DOWN};
    for (const int hold : {kLookAhead, kShortHold}) {
      for (const bool slow : {false, true}) {
        for (const uint8_t d : kDirections) p.push_back({d, slow, hold});
      }
    }
    return p;
  }();
  return paths;
}

double DodgeBot::cost(const Path& path, const ShipState& ship, const Aim& aim,
                      int32_t& firstHit) const {
  ShipPoint at{ship.x, ship.y};
  double total = 0.0;
  firstHit = 0;
  for (int t = 1; t <= lookAhead_; ++t) {
    if (t <= path.hold) at = SteerShip(ship, at, path.directions, path.slow);
    const float x = at.x;
    const float y = at.y;
    const bool vulnerable = t > ship.safeFrames;
    const double fade = 1.0 / (1.0 + 0.1 * t);
    // While nothing can hit the ship, nothing is in its way.
    if (!vulnerable) continue;
    for (const Threat& threat : near_[t]) {
      const float gap = GapTo(threat, x, y) - ship.radius;
      if (firstHit == 0 && gap < (threat.body ? kBodyMargin : kBulletMargin)) firstHit = t;
      if (gap < kNear) total += kNearWeight * fade * (kNear - std::max(gap, 0.0f));
    }
  }
  if (firstHit != 0) total += kHitWeight * (lookAhead_ + 1 - firstHit);
  // Low in the field, under the target, with room to move on every side.
  const float x = at.x;
  const float y = at.y;
  total += kHeightWeight * (y - aim.preferredY) * (y - aim.preferredY);
  if (aim.hasTarget) total += kAimWeight * (x - aim.targetX) * (x - aim.targetX);
  total += kWallWeight * std::max(kMinX + kWallRoom - x, 0.0f);
  total += kWallWeight * std::max(x - (kMaxX - kWallRoom), 0.0f);
  total += kWallWeight * std::max(y - (kMaxY - kFloorRoom), 0.0f);
  return total;
}

BotChoice DodgeBot::decide(const ShipState& ship, const std::vector<Threat>& threats,
                           const Aim& aim) {
  BotChoice choice;
  if (ship.counterBomb) {
    choice.bomb = true;
    choice.counterBomb = true;
    return choice;
  }
  if (!ship.controllable) return choice;

  // Only what can come near within the look-ahead is foreseen.
  const float shipReach = kFullSpeed * lookAhead_ + kNear + kBodyMargin;
  for (std::vector<Threat>& frame : near_) frame.clear();
  for (const Threat& threat : threats) {
    const float gap = GapTo(threat, ship.x, ship.y) - ship.radius;
    if (gap > shipReach + Reach(threat) * lookAhead_) continue;
    for (int t = 1; t <= lookAhead_; ++t) near_[t].push_back(ThreatAt(threat, t));
  }

  double best = 0.0;
  bool first = true;
  for (const Path& path : Paths()) {
    int32_t hit = 0;
    const double c = cost(path, ship, aim, hit);
    // The first of equal paths wins, so the choice never depends on more
    // than the field.
    if (first || c < best) {
      best = c;
      first = false;
      choice.directions = path.directions;
      choice.slow = path.slow;
      choice.hold = path.hold;
      choice.firstHit = hit;
    }
  }
  choice.bomb = ship.canBomb && choice.firstHit != 0 && choice.firstHit <= bombWithin_;
  return choice;
}

BotChoice DecideOnField(Stage_Field& field, ThreatWatch& watch, DodgeBot& bot, BotEyes* eyes) {
  const std::vector<Threat>& now = watch.look(field);
  const ShipState ship = ShipStateOf(field.player);
  const std::vector<Threat>& threats = eyes ? eyes->see(now, ship.x, ship.y) : now;
  return bot.decide(ship, threats, AimFor(field));
}
