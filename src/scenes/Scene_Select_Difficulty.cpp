#include "scenes/Scene_Select_Difficulty.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Texts.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"
#include "scenes/SceneFactory.h"
#include "scenes/SelectionMenu.h"

namespace {

struct DifficultyRow {
  const char* name;
  UiText description;
};

constexpr DifficultyRow kRows[] = {
    {"Easy", UiText::EasyDescription},
    {"Normal", UiText::NormalDescription},
    {"Apocrypha", UiText::ApocryphaDescription},
    {"Extra", UiText::ExtraDescription},
};
constexpr int kRegularRows = 3;
constexpr int kExtraRow = 3;
constexpr int32_t kExtraStage = 7;

}  // namespace

Scene_Select_Difficulty::Scene_Select_Difficulty() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Select_Difficulty::~Scene_Select_Difficulty() { release(); }

void Scene_Select_Difficulty::start() {
  background = MakeSelectionBackground();
  menu = MakeSelectionMenu("Select Difficulty", 300);
  for (int i = 0; i < kRegularRows; ++i) menu->addRow(kRows[i].name);
  // The Extra stage opens to players who have cleared a hard game without
  // a continue; the records keep that across runs.
  if (gGame.scoreData.extraUnlocked != 0) menu->addRow(kRows[kExtraRow].name);

  for (Sprite_String** line : {&nameLine, &descriptionLine}) {
    *line = new Sprite_String();
    (*line)->align = 1;
    (*line)->width = 320;
    (*line)->x = 160;
    (*line)->outline = true;
    (*line)->colour = {255, 255, 255};
  }
  nameLine->y = 162;
  descriptionLine->y = 224;

  BeginOpeningFade();
}

void Scene_Select_Difficulty::update() {
  if (!ContinueLeaving()) handleInput();
  showCursorRow();
}

void Scene_Select_Difficulty::handleInput() {
  menu->update();
  if (gInput.Pressed(BUTTON_OK)) {
    if (menu->cursor == kExtraRow) {
      gGame.difficulty = DIFFICULTY_EXTRA;
      gGame.stage = kExtraStage;
    } else {
      gGame.difficulty = 2 * menu->cursor + 1;
    }
    BeginLeaving(MakeChargeTypeSelectScene());
    // The choice is made; a Cancel in the same frame must not undo it.
    return;
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    next = MakeTitleScene();
    gGraphics.fade->startClosing();
    leaving = true;
    gSound.RequestEffect(SE_CANCEL);
  }
}

void Scene_Select_Difficulty::showCursorRow() {
  nameLine->image = FontMincho30;
  descriptionLine->image = FontPGothic15;
  const int32_t row = menu->cursor;
  if (row < 0 || row >= static_cast<int32_t>(menu->rows.size())) return;
  nameLine->text = kRows[row].name;
  descriptionLine->text = GameText(kRows[row].description);
}

void Scene_Select_Difficulty::terminate() { release(); }

void Scene_Select_Difficulty::release() {
  if (background) DeleteImage(background->image);
  delete background;
  background = nullptr;
  delete menu;
  menu = nullptr;
  delete nameLine;
  nameLine = nullptr;
  delete descriptionLine;
  descriptionLine = nullptr;
}
