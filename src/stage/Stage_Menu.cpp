#include "stage/Stage_Menu.h"

#include <algorithm>
#include <cstdio>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "stage/Scene_Stage.h"

namespace {
constexpr int32_t kExtraStage = 7;
constexpr int64_t kMaxContinues = 99;
constexpr int32_t kBaseContinues = 3;

bool ReplayPlaying() {
  return gInput.replayMode == REPLAY_PLAYING || gInput.replayMode == REPLAY_PLAYING_SUSPENDED;
}

Scene* Make(Scene* (*factory)()) { return factory ? factory() : nullptr; }
}  // namespace

int32_t ContinuesLeft() {
  const int64_t allowed =
      std::min<int64_t>(int64_t{gGame.scoreData.continueBonus} + kBaseContinues, kMaxContinues);
  return static_cast<int32_t>(allowed - gGame.continuesUsed);
}

std::string GameOverContinueText() {
  std::string text = "CONTINUE";
  if (gGame.difficulty > DIFFICULTY_EASY) {
    char count[16];
    std::snprintf(count, sizeof count, " %2d", static_cast<int>(ContinuesLeft()));
    text += count;
  }
  return text;
}

void Stage_Menu::open(Scene_Stage& stage, int32_t kind) {
  stage.menuOpen = 1;
  stage.menuKind = static_cast<uint8_t>(kind);

  Sprite_SelectTable& table = *stage.menuTable;
  table.rows.resize(3);
  if (kind == MENU_PAUSE) {
    table.text = "PAUSE";
    table.rows[ROW_CONTINUE] = "CONTINUE";
    table.rows[ROW_LEAVE] = "RETURN TO TITLE";
  } else {
    table.text = "GAME OVER";
    table.rows[ROW_CONTINUE] = GameOverContinueText();
    table.rows[ROW_LEAVE] = "GIVE UP";
  }
  table.rows[ROW_RESTART] = "RESTART FROM FIRST";
  table.cursor = ROW_CONTINUE;
  table.firstVisible = 0;
  table.visible = true;
  stage.confirmTable->visible = false;
  stage.menuBack->blendParam = 0;
  stage.menuBack->visible = true;

  // Stopping keeps the tune loaded, so closing resumes it where it stood.
  if (gSound.bgmHandle != 0) gSound.StopMusic();
  gSound.bgmIndex = -1;
}

void Stage_Menu::update(Scene_Stage& stage) {
  Sprite_SelectTable& confirm = *stage.confirmTable;
  if (confirm.visible) {
    confirm.update();
  } else {
    stage.menuTable->update();
  }
  stage.menuBack->update();

  if (gInput.Pressed(BUTTON_OK)) {
    gSound.RequestEffect(SE_OK);
    onOk(stage);
    // Once play resumes or the stage ends, this frame's other keys belong
    // to what comes next, not to a menu that is gone.
    if (!stage.menuOpen || !stage.running) return;
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    onCancel(stage);
    if (!stage.menuOpen) return;
  }
  // Pause backs out of the pause menu even from the question; a lost game
  // must be decided.
  if (gInput.Pressed(BUTTON_PAUSE) && stage.menuKind == MENU_PAUSE) {
    gSound.RequestEffect(SE_CANCEL);
    stage.closeMenu();
  }
}

void Stage_Menu::onOk(Scene_Stage& stage) {
  Sprite_SelectTable& confirm = *stage.confirmTable;
  const int32_t row = stage.menuTable->cursor;
  if (confirm.visible) {
    if (confirm.cursor == ANSWER_OK) {
      leave(stage, row);
    } else {
      confirm.visible = false;
    }
    return;
  }
  if (row == ROW_CONTINUE) {
    if (stage.menuKind == MENU_GAME_OVER) stage.takeContinue();
    stage.closeMenu();
    return;
  }
  // Anything that ends the stage is asked again, starting on "CANCEL".
  confirm.cursor = ANSWER_CANCEL;
  confirm.visible = true;
}

void Stage_Menu::onCancel(Scene_Stage& stage) {
  if (stage.confirmTable->visible) {
    gSound.RequestEffect(SE_CANCEL);
    stage.confirmTable->visible = false;
  } else if (stage.menuKind == MENU_PAUSE) {
    gSound.RequestEffect(SE_CANCEL);
    stage.closeMenu();
  }
}

void Stage_Menu::leave(Scene_Stage& stage, int32_t row) {
  if (row == ROW_LEAVE) {
    if (stage.menuKind == MENU_GAME_OVER) {
      GiveUpGame(stage);
      return;
    }
    stage.next = Make(ReplayPlaying() ? gStageLinks.makeReplayList : gStageLinks.makeTitle);
  } else if (row == ROW_RESTART) {
    restartFromFirst(stage);
  } else {
    return;
  }
  stage.running = false;
}

void Stage_Menu::restartFromFirst(Scene_Stage& stage) {
  const bool playing = ReplayPlaying();
  // Watching a replay leaves the player's records alone.
  if (!playing) gGame.RecordResult();
  const bool extra = gGame.stage == kExtraStage;
  gGame.NewGame();
  if (extra) gGame.stage = kExtraStage;
  if (playing) {
    // The replay starts over from its first record.
    gInput.replay.stageIndex = 0;
    stage.next = new Scene_Stage();
    return;
  }
  // A new game's play time counts from the restart.
  gGame.startFrame = gGraphics.frameCount;
  stage.next = Make(gStageLinks.makeCutScene);
}

std::unique_ptr<StageMenu> MakeStageMenu() { return std::make_unique<Stage_Menu>(); }
