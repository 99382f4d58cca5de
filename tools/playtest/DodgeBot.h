// The playtest bot's hands on the stick: every frame it tries a fixed set
// of short flight paths (each direction at full and slow speed, held for
// the whole look-ahead or only a few frames, and standing still), foresees
// the threats along each, and takes the path that keeps clear of them,
// then stays low in the field under the enemy it shoots at. It bombs when
// every path is hit within the next frames, and answers a hit with a bomb
// while the ship can still do so. No clock, no random numbers: the same
// field always gives the same choice. A skill below the expert's looks
// less far ahead and bombs later (playtest/BotSkill.h).
#pragma once

#include <cstdint>
#include <vector>

#include "playtest/BotEyes.h"
#include "playtest/BotSkill.h"
#include "playtest/Threats.h"

class Object_Player;
class Stage_Field;

// What the bot needs to know of its ship.
struct ShipState {
  float x = 192.0f;
  float y = 384.0f;
  float radius = 4.0f;
  bool controllable = true;
  bool heldBack = false;     // charging or bombing: slow even without the Slow button
  int32_t safeFrames = 0;    // frames from now in which nothing can hit it
  bool canBomb = false;      // a bomb in stock and the ship free to use it now
  bool counterBomb = false;  // hit, and a bomb now would still save it
};

ShipState ShipStateOf(const Object_Player& ship);

// Where one frame of holding `directions` (and Slow, or not) takes the
// ship from (x, y): the bot's model of the ship's steering.
struct ShipPoint {
  float x;
  float y;
};
ShipPoint SteerShip(const ShipState& ship, ShipPoint from, uint8_t directions, bool slow);

// Where the bot would like to be, besides out of harm's way.
struct Aim {
  bool hasTarget = false;
  float targetX = 192.0f;  // under the enemy it shoots at
  float preferredY = 380.0f;
};

// The enemy to shoot: the boss while it fights, else the lowest enemy on
// screen above the ship.
Aim AimFor(Stage_Field& field);

struct BotChoice {
  uint8_t directions = 0;  // DIR_* bits
  bool slow = false;
  bool bomb = false;
  int32_t firstHit = 0;  // frame in which the chosen path is first hit; 0 never
  bool counterBomb = false;  // the bomb answers a hit already taken
  int32_t hold = 0;          // frames the directions are held, then the ship stands
};

class DodgeBot {
 public:
  // Frames looked ahead, and how soon a certain hit makes the bot bomb, at
  // the expert's skill; the look-ahead is also the most any skill has.
  static constexpr int kLookAhead = 16;
  static constexpr int kBombWithin = 2;

  DodgeBot() = default;
  explicit DodgeBot(const SkillProfile& profile);

  BotChoice decide(const ShipState& ship, const std::vector<Threat>& threats, const Aim& aim);

 private:
  struct Path {
    uint8_t directions;
    bool slow;
    int hold;  // frames the direction is held, then the ship stands
  };
  static const std::vector<Path>& Paths();
  double cost(const Path& path, const ShipState& ship, const Aim& aim, int32_t& firstHit) const;

  // The threats that can come near within the look-ahead, at every frame of it.
  std::vector<Threat> near_[kLookAhead + 1];
  int lookAhead_ = kLookAhead;
  int bombWithin_ = kBombWithin;
};

// One frame of the bot on a field: looks, then decides. Without eyes it
// sees the field as it is, as the expert does.
BotChoice DecideOnField(Stage_Field& field, ThreatWatch& watch, DodgeBot& bot,
                        BotEyes* eyes = nullptr);
