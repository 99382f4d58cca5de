// The stage's pause and game-over menus: one three-row table over a dark
// backdrop, and a small "OK?" question before any choice that ends the
// stage. While a menu is open the stage stands still, its music is stopped
// and the input recorder is suspended; closing brings both back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "stage/StageSeams.h"

class Stage_Menu final : public StageMenu {
 public:
  // Row numbers of the menu table and of the question.
  enum Row { ROW_CONTINUE = 0, ROW_LEAVE = 1, ROW_RESTART = 2 };
  enum Answer { ANSWER_OK = 0, ANSWER_CANCEL = 1 };

  void open(Scene_Stage& stage, int32_t kind) override;
  void update(Scene_Stage& stage) override;

 private:
  void onOk(Scene_Stage& stage);
  void onCancel(Scene_Stage& stage);
  // The confirmed row: the scene ends with its successor.
  void leave(Scene_Stage& stage, int32_t row);
  void restartFromFirst(Scene_Stage& stage);
};

// Continues still to be taken: min(bonus + 3, 99) - continues used.
int32_t ContinuesLeft();
// Row 0 of the game-over menu; the number of continues left is shown only
// where continues are counted (not on Easy).
std::string GameOverContinueText();

// The stage's menus, for the stage's links.
std::unique_ptr<StageMenu> MakeStageMenu();
