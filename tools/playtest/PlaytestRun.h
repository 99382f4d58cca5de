// One stage, or a whole game, played by the bot through the real stage
// scene, as the scene runner would run it but without waiting for the
// screen: the game's data in the working directory, a new game of the
// chosen difficulty and charge type, a fixed seed, keys on the headless
// keyboard, and the game's own recorder taking them down. The player's
// records are never written.
#pragma once

#include <cstdint>
#include <vector>

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
  uint32_t frameLimit = 60u * 60u * 30u;  // half an hour of frames per stage, menus included
};

// What a ship brings into a stage started on its own (stages 2 to 6): two
// lives and two bombs in stock, as a new game has them, and the power a
// continue gives, so the options are out from the first wave. Stage 1 and
// the Extra stage start a new game as the menus do.
inline constexpr int32_t kCarriedLives = 2;
inline constexpr int32_t kCarriedBombs = 2;
inline constexpr int32_t kCarriedPower = 250;

struct PlaytestResult {
  PlaytestOptions options;
  StageStats stats;
  uint32_t frames = 0;         // every frame run, menus included
  bool hitFrameLimit = false;  // stopped while the stage still ran
  ReplayRecord replay;         // the game as the recorder took it down (one stage's game only)
};

struct GameResult {
  PlaytestOptions options;
  std::vector<PlaytestResult> stages;  // every stage played, in order
  int32_t stageWithoutScript = 0;      // the stage the game reached but could not play; 0 none
  bool cleared = false;                // the game reached its ending
  bool lost = false;                   // out of lives and continues
  bool hitFrameLimit = false;          // a stage or a cut-scene never ended
  uint32_t cutSceneFrames = 0;         // frames spent in cut-scenes
  int32_t closingScene = 0;            // the conversation after the game (110, 111, 120...)
  uint32_t closingSceneFrames = 0;     // and its length
  ReplayRecord replay;                 // every stage played, as one record
};

// Whether the game's data holds a timeline for the stage.
bool StageHasScript(int32_t stage);

// Plays the stage. The engine and the shared resources must be up, and
// the working directory must hold the game's data. The stage runs with the
// gameplay parts of gStageLinks (the game's own unless a test put others
// there); the scenes a stage leads to are left out.
PlaytestResult PlayStage(const PlaytestOptions& options);

// Plays a new game from stage 1 through the cut-scenes between the stages
// (their messages moved on as the bot moves a stage's on) until it is won,
// lost, or reaches a stage that has no script. options.stage is not used.
GameResult PlayGame(const PlaytestOptions& options);
