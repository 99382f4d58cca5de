// One stage played by the bot through the real stage scene, as the scene
// runner would run it but without waiting for the screen: the game's data
// in the working directory, a new game of the chosen difficulty and charge
// type, a fixed seed, keys on the headless keyboard, and the game's own
// recorder taking them down. The player's records are never written.
#pragma once

#include <cstdint>

#include "app/Module_Game.h"
#include "app/Module_InputReplay.h"
#include "playtest/BotSkill.h"
#include "playtest/StageObserver.h"

struct PlaytestOptions {
  int32_t stage = 1;
  int32_t difficulty = DIFFICULTY_NORMAL;
  int32_t chargeType = CHARGE_SHIELD;
  int32_t seed = 1;                       // the game's, and the bot's own slips
  Skill skill = Skill::Expert;            // how well the bot plays
  bool takeContinues = false;             // at game over: continue, or give up
  int32_t readFrames = 60;                // frames a message is read before OK; 0 waits it out
  uint32_t frameLimit = 60u * 60u * 30u;  // half an hour of frames, menus included
};

struct PlaytestResult {
  PlaytestOptions options;
  StageStats stats;
  uint32_t frames = 0;         // every frame run, menus included
  bool hitFrameLimit = false;  // stopped while the stage still ran
  ReplayRecord replay;         // the game as the recorder took it down
};

// Plays the stage. The engine and the shared resources must be up, and
// the working directory must hold the game's data. The stage runs with the
// gameplay parts of gStageLinks (the game's own unless a test put others
// there); the scenes a stage leads to are left out.
PlaytestResult PlayStage(const PlaytestOptions& options);
