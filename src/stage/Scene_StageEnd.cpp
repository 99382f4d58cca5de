// How a stage ends: the clear bonus and the next scene, game over with or
// without a continue, and what terminate keeps of the game.
#include <algorithm>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "stage/Scene_Stage.h"

namespace {
constexpr int32_t kLastRegularStage = 6;
constexpr int32_t kExtraStage = 7;
constexpr int32_t kEndingClearedNoContinue = 11;
constexpr int32_t kEndingCleared = 10;
constexpr int32_t kEndingExtra = 12;
constexpr int32_t kLostGame = 20;
constexpr int32_t kMaxContinues = 99;

bool ReplayPlaying() {
  return gInput.replayMode == REPLAY_PLAYING || gInput.replayMode == REPLAY_PLAYING_SUSPENDED;
}

float DifficultyFactor(int32_t difficulty) {
  static constexpr float kFactor[6] = {0.1f, 0.5f, 1.0f, 2.0f, 3.0f, 1.5f};
  return difficulty >= 1 && difficulty <= 6 ? kFactor[difficulty - 1] : 0.0f;
}

Scene* CutScene() { return gStageLinks.makeCutScene ? gStageLinks.makeCutScene() : nullptr; }
}  // namespace

int32_t Scene_Stage::ClearBonus(int32_t stage, int32_t difficulty) {
  const double bonus =
      static_cast<double>(stage) * 10000000.0 * static_cast<double>(DifficultyFactor(difficulty));
  return static_cast<int32_t>(std::clamp(bonus, -2147483648.0, 2147483647.0));
}

void Scene_Stage::completeStage() {
  gSound.StopMusic();
  gSound.bgmIndex = -1;
  gGame.AddScore(ClearBonus(gGame.stage, gGame.difficulty));
  const Object_Player& p = field->player;
  gGame.lives = p.lives;
  gGame.bombs = p.bombs;
  gGame.power = p.power;
  gGame.points = p.points;
  chooseSuccessorAfterClear();
  running = false;
}

void Scene_Stage::chooseSuccessorAfterClear() {
  if (ReplayPlaying()) {
    const int32_t following = gInput.replay.stageIndex + 1;
    if (following >= 0 && static_cast<size_t>(following) < gInput.replay.stages.size()) {
      gInput.replay.stageIndex = following;
      next = new Scene_Stage();
    } else {
      next = gStageLinks.makeReplayList ? gStageLinks.makeReplayList() : nullptr;
    }
    return;
  }
  if (gGame.stage == kLastRegularStage) {
    gGame.cleared = true;
    // The true ending goes with the Extra unlock, which Easy never earns.
    const bool trueEnding = gGame.continuesUsed == 0 && gGame.difficulty >= DIFFICULTY_NORMAL;
    gGame.stage = trueEnding ? kEndingClearedNoContinue : kEndingCleared;
  } else if (gGame.stage == kExtraStage) {
    gGame.cleared = true;
    gGame.stage = kEndingExtra;
  } else {
    gGame.stage += 1;
  }
  next = CutScene();
}

void Scene_Stage::gameOver() {
  if (ReplayPlaying()) {
    takeContinue();
    return;
  }
  gInput.Suspend();
  if (gGame.stage == kExtraStage) {
    next = gStageLinks.makeResult ? gStageLinks.makeResult() : nullptr;
    running = false;
    return;
  }
  const int64_t allowed =
      std::min<int64_t>(int64_t{gGame.scoreData.continueBonus} + 3, kMaxContinues);
  const int64_t left = allowed - gGame.continuesUsed;
  if (left > 0 || gGame.difficulty == DIFFICULTY_EASY) {
    openMenu(MENU_GAME_OVER);
    return;
  }
  // Out of continues: the next game allows one more.
  if (gGame.scoreData.continueBonus < kScoreMax) gGame.scoreData.continueBonus += 1;
  GiveUpGame(*this);
}

void GiveUpGame(Scene_Stage& stage) {
  gGame.stage = kLostGame;
  stage.next = CutScene();
  stage.running = false;
}

void Scene_Stage::openMenu(int32_t kind) {
  if (menu) {
    menu->open(*this, kind);
  } else if (kind == MENU_GAME_OVER) {
    GiveUpGame(*this);
  }
}

void Scene_Stage::closeMenu() {
  menuOpen = 0;
  if (confirmTable) confirmTable->visible = false;
  if (menuTable) menuTable->visible = false;
  if (menuBack) {
    menuBack->visible = false;
    menuBack->blendParam = 0;
  }
  if (gSound.bgmHandle != 0 && IsSoundPlaying(gSound.bgmHandle) != 1) gSound.ResumeMusic();
  gInput.Resume();
}

void Scene_Stage::takeContinue() {
  gGame.continuesUsed += 1;
  gGame.score = 0;
  Object_Player& p = field->player;
  p.lives = 2;
  p.points = 0;
  p.power = 250;
  p.chargeGauge = kChargeGaugeMax;
  p.switchOptions();
}

void Scene_Stage::recordGameSummary() {
  ReplayHeader& header = gInput.replay.header;
  header.continuesUsed = gGame.continuesUsed;
  header.misses = gGame.misses;
  header.bombsUsed = gGame.bombsUsed;
  header.score = gGame.score;
  header.cleared = gGame.cleared ? 1 : 0;
}

void Scene_Stage::terminate() {
  gGraphics.showFps = false;
  delete fieldViewport;
  fieldViewport = nullptr;
  delete menuViewport;
  menuViewport = nullptr;
  menuBack = nullptr;
  menuTable = confirmTable = nullptr;
  messageWindow = nullptr;
  leftPortrait = rightPortrait = nullptr;

  // A replay being watched is somebody's past game: it must not change the
  // records, neither on disk nor in the best scores kept in memory.
  const bool watching =
      gInput.replayMode == REPLAY_PLAYING || gInput.replayMode == REPLAY_PLAYING_SUSPENDED;
  if (!watching) {
    gGame.RecordResult();
    gGame.scoreData.Save();
  }

  gInput.Suspend();
  if (gInput.replayMode == REPLAY_RECORDING_SUSPENDED) recordGameSummary();

  stageSprites.reset();
  scoreBoard.reset();
  field.reset();
}
