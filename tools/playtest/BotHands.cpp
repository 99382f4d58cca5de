#include "playtest/BotHands.h"

#include "app/Module_Input.h"
#include "engine/Headless.h"
#include "stage/Scene_Stage.h"
#include "stage/Stage_Menu.h"

HeldKeys BotHands::decide(Scene_Stage& stage) {
  const bool inMenu = stage.menuOpen != 0;
  const HeldKeys keys = inMenu ? menuKeys(stage) : playKeys(stage);
  menuLastFrame_ = inMenu;
  last_ = keys;
  return keys;
}

HeldKeys BotHands::menuKeys(Scene_Stage& stage) const {
  // A menu reacts to keys newly pressed: a key still held from the last
  // frame is let go first.
  HeldKeys keys;
  const bool confirming = stage.confirmTable && stage.confirmTable->visible;
  const int32_t goal = takeContinues_ ? Stage_Menu::ROW_CONTINUE : Stage_Menu::ROW_LEAVE;
  bool ok = false;
  if (confirming) {
    ok = stage.confirmTable->cursor == Stage_Menu::ANSWER_OK;
  } else {
    ok = stage.menuTable && stage.menuTable->cursor == goal;
  }
  if (ok) {
    keys.shot = !last_.shot;
  } else if (!(last_.directions & DIR_DOWN)) {
    keys.directions = DIR_DOWN;
  }
  return keys;
}

HeldKeys BotHands::playKeys(Scene_Stage& stage) {
  HeldKeys keys;
  keys.shot = true;
  // A message read long enough is moved on with OK (Shot's key), which
  // counts only when newly pressed.
  if (readFrames_ > 0 && stage.inConversation && !stage.stageEnding && stage.waitingForMessage &&
      stage.waitCounter >= readFrames_) {
    keys.shot = !last_.shot;
  }
  if (!stage.field) return keys;
  // A bomb needs a fresh press. Right after a menu the bomb key stays up:
  // a replay skips the menu, so the press would be judged against the
  // frame before it and could count differently.
  const HumanSlips::Keys made = pilot_.fly(
      *stage.field, {last_.directions, last_.slow, last_.bomb}, !last_.bomb && !menuLastFrame_);
  keys.directions = made.directions;
  keys.slow = made.slow;
  keys.bomb = made.bomb;
  return keys;
}

void BotHands::Apply(const HeldKeys& keys) {
  engine::headless::SetKey(KEY_Z, keys.shot);
  engine::headless::SetKey(KEY_C, keys.bomb);
  engine::headless::SetKey(KEY_LSHIFT, keys.slow);
  engine::headless::SetKey(KEY_UP, (keys.directions & DIR_UP) != 0);
  engine::headless::SetKey(KEY_DOWN, (keys.directions & DIR_DOWN) != 0);
  engine::headless::SetKey(KEY_LEFT, (keys.directions & DIR_LEFT) != 0);
  engine::headless::SetKey(KEY_RIGHT, (keys.directions & DIR_RIGHT) != 0);
}
