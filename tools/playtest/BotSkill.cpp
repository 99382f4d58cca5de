#include "playtest/BotSkill.h"

#include <strings.h>

#include <initializer_list>

SkillProfile ProfileOf(Skill skill) {
  SkillProfile p;
  switch (skill) {
    case Skill::Expert:
      break;
    // Chosen on stage 1 over seeds 1 to 4: a player rarely dies on Easy,
    // now and then on Normal and loses the game on Apocrypha; a newcomer
    // dies on every difficulty, the sooner the harder.
    case Skill::Player:
      p.replanFrames = 11;
      p.reactionFrames = 15;  // a quarter of a second
      p.lookAhead = 8;
      p.viewRadius = 100.0f;
      p.bombWithin = 1;
      p.bombPercent = 30;
      p.counterBombPercent = 10;
      p.lateTurnPercent = 25;
      break;
    case Skill::Newcomer:
      p.replanFrames = 12;
      p.reactionFrames = 18;
      p.lookAhead = 8;
      p.viewRadius = 100.0f;
      p.bombWithin = 1;
      p.bombPercent = 20;
      p.counterBombPercent = 0;
      p.lateTurnPercent = 30;
      break;
  }
  return p;
}

const char* SkillName(Skill skill) {
  switch (skill) {
    case Skill::Player:
      return "player";
    case Skill::Newcomer:
      return "newcomer";
    case Skill::Expert:
    default:
      return "expert";
  }
}

bool ParseSkill(const char* text, Skill& out) {
  for (const Skill s : {Skill::Expert, Skill::Player, Skill::Newcomer}) {
    if (strcasecmp(text, SkillName(s)) == 0) {
      out = s;
      return true;
    }
  }
  return false;
}

uint64_t BotRandom::next() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

bool BotRandom::chance(int32_t percent) {
  if (percent <= 0) return false;
  if (percent >= 100) return true;
  return static_cast<int32_t>(next() % 100) < percent;
}

PlannedSteering PlanKeeper::steer(const PlannedSteering& fresh) {
  if (frames_ <= 1) return fresh;
  if (!planned_ || age_ >= frames_) {
    plan_ = fresh;
    planned_ = true;
    age_ = 0;
  }
  PlannedSteering now = plan_;
  if (age_ >= plan_.hold) now.directions = 0;
  ++age_;
  return now;
}

HumanSlips::Keys HumanSlips::apply(const Keys& planned, bool counterBomb, const Keys& held) {
  Keys keys = planned;
  if (keys.bomb) {
    keys.bomb = random_.chance(counterBomb ? profile_.counterBombPercent : profile_.bombPercent);
  }
  const bool turns = keys.directions != held.directions || keys.slow != held.slow;
  if (turns && random_.chance(profile_.lateTurnPercent)) {
    keys.directions = held.directions;
    keys.slow = held.slow;
  }
  return keys;
}
