// The playtest bot at the stick during play, at its skill: it looks at the
// field, sees what its eyes let it, plans with the dodging bot, keeps to a
// plan until it thinks again, and its hands slip as the skill's do.
#pragma once

#include <cstdint>

#include "playtest/BotEyes.h"
#include "playtest/BotSkill.h"
#include "playtest/DodgeBot.h"
#include "playtest/Threats.h"

class Stage_Field;

class Pilot {
 public:
  // seed: the bot's own random numbers for the skill's slips.
  explicit Pilot(Skill skill = Skill::Expert, uint64_t seed = 1)
      : bot_(ProfileOf(skill)),
        eyes_(ProfileOf(skill)),
        plans_(ProfileOf(skill).replanFrames),
        slips_(ProfileOf(skill), seed) {}

  // The keys for the coming frame. held: the last frame's keys; a bomb
  // press counts only if bombMayPress (the key was up, and no menu just
  // closed).
  HumanSlips::Keys fly(Stage_Field& field, const HumanSlips::Keys& held, bool bombMayPress);

 private:
  DodgeBot bot_;
  ThreatWatch watch_;
  BotEyes eyes_;
  PlanKeeper plans_;
  HumanSlips slips_;
};
