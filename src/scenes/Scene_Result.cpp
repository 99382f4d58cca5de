#include "scenes/Scene_Result.h"

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
#include "scenes/Scene_ReplaySave.h"
#include "scenes/Scene_ScoreText.h"
#include "scenes/Scene_Score_Entry.h"

namespace {

constexpr UiText kLabels[] = {
    UiText::ResultDifficulty,       UiText::ResultChargeType,     UiText::ResultScore,
    UiText::ResultEnemiesDestroyed, UiText::ResultItemsCollected, UiText::ResultGrazes,
    UiText::ResultBulletsErased,    UiText::ResultBombsUsed,      UiText::ResultMisses,
    UiText::ResultContinues,        UiText::ResultPlayTime,
};
// The ending cut-scene of the Extra stage, and the Extra stage itself.
constexpr int32_t kExtraStage = 7;
constexpr int32_t kExtraEnding = 12;

Sprite_SelectTable* MakeTextList(int32_t font, int32_t x, int32_t y) {
  auto* table = new Sprite_SelectTable();
  table->image = font;
  table->x = x;
  table->y = y;
  table->framed = false;
  table->cursor = -1;
  table->dimColour = {255, 255, 255};
  table->outline = true;
  table->rowHeight = 30;
  table->width = 360;
  table->align = 0;
  return table;
}

}  // namespace

Scene_Result::Scene_Result() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Result::~Scene_Result() { release(); }

std::vector<std::string> Scene_Result::ValueRows() {
  std::vector<std::string> rows;
  rows.emplace_back(DifficultyName(gGame.difficulty));
  rows.emplace_back(ChargeTypeName(gGame.chargeType));
  for (int32_t counter :
       {gGame.score, gGame.enemiesDestroyed, gGame.itemsCollected, gGame.grazes,
        gGame.bulletsCancelled, gGame.bombsUsed, gGame.misses, gGame.continuesUsed}) {
    rows.push_back(std::to_string(counter));
  }
  rows.push_back(gGame.PlayTimeText(gGraphics.frameCount));
  return rows;
}

void Scene_Result::start() {
  background = new Sprite();
  background->image = LoadImageFile("Graphics/demo4.png");

  labels = MakeTextList(FontPGothic15, 160, 109);
  for (UiText label : kLabels) labels->addRow(GameText(label));

  // The Extra stage shows and ranks as Extra, whatever difficulty value it
  // was started with.
  if (gGame.stage == kExtraStage || gGame.stage == kExtraEnding) {
    gGame.difficulty = DIFFICULTY_EXTRA;
  }
  values = MakeTextList(FontTrebuchet25, 350, 104);
  for (const std::string& row : ValueRows()) values->addRow(row);

  heading = new Sprite_String();
  heading->image = FontMincho30;
  heading->text = "Result";
  heading->x = 160;
  heading->y = 56;
  heading->width = 320;
  heading->align = 1;
  heading->outline = true;
  heading->colour = {255, 255, 255};

  if (gSound.bgmHandle != 0) StopSoundHandle(gSound.bgmHandle);
  // The title starts its tune again.
  gSound.bgmIndex = -1;
  BeginOpeningFade();
}

void Scene_Result::update() {
  if (ContinueLeaving()) return;
  if (!gInput.Pressed(BUTTON_OK)) return;
  const int slot = gGame.ScoreSlot();
  const int32_t place = slot >= 0 ? RankingPlace(gGame.scoreData.ranking[slot], gGame.score) : -1;
  if (place >= 0) {
    BeginLeaving(new Scene_Score_Entry(place));
  } else {
    BeginLeaving(new Scene_ReplaySave());
  }
}

void Scene_Result::terminate() {
  release();
  gGame.scoreData.Save();
}

void Scene_Result::release() {
  if (background) DeleteImage(background->image);
  delete heading;
  heading = nullptr;
  delete background;
  background = nullptr;
  delete labels;
  labels = nullptr;
  delete values;
  values = nullptr;
}
