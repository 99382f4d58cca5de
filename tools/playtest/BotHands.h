// The keys the playtest bot holds in each frame, set on the headless
// keyboard before the frame's input update, so the game reads (and its
// recorder records) them as it would a player's. Shot is always held; the
// dodging bot steers, slows and bombs, with the eyes and the slips of its
// skill; conversations are read for a while
// and then moved on with OK; the game-over menu is answered with a
// continue or by giving up.
#pragma once

#include <cstdint>

#include "playtest/BotSkill.h"
#include "playtest/Pilot.h"

class Scene_Stage;

struct HeldKeys {
  bool shot = false;       // Z: also OK
  bool bomb = false;       // C
  bool slow = false;       // left Shift
  uint8_t directions = 0;  // arrows, DIR_* bits
};

class BotHands {
 public:
  // readFrames: frames a conversation message is read before OK moves it
  // on; 0 lets every message run its own time. seed: the bot's own
  // random numbers for the slips of a skill below the expert's.
  BotHands(bool takeContinues, int32_t readFrames, Skill skill = Skill::Expert, uint64_t seed = 1)
      : takeContinues_(takeContinues),
        readFrames_(readFrames),
        pilot_(skill, seed) {}

  // The keys for the coming frame, from the scene as the last frame left it.
  HeldKeys decide(Scene_Stage& stage);
  // Holds exactly these keys on the headless keyboard.
  static void Apply(const HeldKeys& keys);

 private:
  HeldKeys menuKeys(Scene_Stage& stage) const;
  HeldKeys playKeys(Scene_Stage& stage);

  bool takeContinues_;
  int32_t readFrames_;
  HeldKeys last_;
  bool menuLastFrame_ = false;
  Pilot pilot_;
};
