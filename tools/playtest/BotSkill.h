// How well the playtest bot plays. The expert sees the whole field the
// moment it changes and foresees every path perfectly; the lower skills
// play as people do: they take a while to react to what appears, think
// again only every few frames, look less far ahead and less far around
// the ship, press the bomb late or not at all, and now and then turn a
// moment too late.
// Every slip is drawn from the bot's own generator, seeded by the game's
// seed, so the same game is played the same way every time.
#pragma once

#include <cstdint>

enum class Skill : uint8_t { Expert, Player, Newcomer };

struct SkillProfile {
  // Frames between a change on the field and the bot acting on it; what it
  // saw then is carried on by its motion as the bot foresees it.
  int32_t reactionFrames = 0;
  // Frames a chosen path is flown before the bot thinks again; 1 thinks
  // every frame. Bombs are thought of in every frame all the same.
  int32_t replanFrames = 1;
  // Frames looked ahead (at most DodgeBot::kLookAhead).
  int32_t lookAhead = 16;
  // Threats farther than this from the ship go unseen; 0 sees everything.
  float viewRadius = 0.0f;
  // A hit foreseen within this many frames makes the bot bomb...
  int32_t bombWithin = 2;
  // ...if it thinks of it in that frame, one time in a hundred times this.
  int32_t bombPercent = 100;
  // A hit already taken is answered by a bomb, per frame of the chance.
  int32_t counterBombPercent = 100;
  // A change of direction is made a frame late.
  int32_t lateTurnPercent = 0;
};

SkillProfile ProfileOf(Skill skill);
const char* SkillName(Skill skill);
// "expert", "player" or "newcomer", in any case.
bool ParseSkill(const char* text, Skill& out);

// The bot's own random numbers (the game's generator is left alone, so the
// game plays as it would for a person). splitmix64: small and the same on
// every platform.
class BotRandom {
 public:
  explicit BotRandom(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // True `percent` times in a hundred.
  bool chance(int32_t percent);

 private:
  uint64_t state_;
};

// A skill that thinks only every few frames flies the path it chose until
// it thinks again.
struct PlannedSteering {
  uint8_t directions = 0;  // DIR_* bits
  bool slow = false;
  int32_t hold = 0;  // frames the directions are held, then the ship stands
};

class PlanKeeper {
 public:
  explicit PlanKeeper(int32_t replanFrames) : frames_(replanFrames) {}
  // The steering for this frame: the fresh plan when it is time to think
  // again, else the next frame of the plan in hand.
  PlannedSteering steer(const PlannedSteering& fresh);

 private:
  int32_t frames_;
  int32_t age_ = 0;
  bool planned_ = false;
  PlannedSteering plan_;
};

// The slips of a skill's hands between the bot's plan and the keys: a bomb
// not thought of in time, a turn made a frame late. The expert's hands
// never slip.
class HumanSlips {
 public:
  HumanSlips(const SkillProfile& profile, uint64_t seed) : profile_(profile), random_(seed) {}

  struct Keys {
    uint8_t directions = 0;  // DIR_* bits
    bool slow = false;
    bool bomb = false;
  };
  // planned: the bot's choice for this frame; counterBomb: its bomb would
  // answer a hit already taken; held: the keys of the last frame.
  Keys apply(const Keys& planned, bool counterBomb, const Keys& held);

 private:
  SkillProfile profile_;
  BotRandom random_;
};
