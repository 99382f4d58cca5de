#include "scenes/Scene_Score.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"
#include "scenes/SceneFactory.h"
#include "scenes/Scene_ScoreText.h"

Scene_Score::Scene_Score(int32_t difficulty, int32_t chargeType, bool fromTitle)
    : openedFromTitle(fromTitle ? 1 : 0), difficultyPage(difficulty), chargeTypePage(chargeType) {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Score::~Scene_Score() { release(); }

int32_t Scene_Score::NextDifficultyPage(int32_t page) {
  if (page == DIFFICULTY_EXTRA) return DIFFICULTY_EASY;
  page += 2;
  return page > DIFFICULTY_APOCRYPHA ? DIFFICULTY_EXTRA : page;
}

int32_t Scene_Score::PreviousDifficultyPage(int32_t page) {
  if (page == DIFFICULTY_EXTRA) return DIFFICULTY_APOCRYPHA;
  page -= 2;
  return page < DIFFICULTY_EASY ? DIFFICULTY_EXTRA : page;
}

void Scene_Score::start() {
  background = new Sprite();
  background->image = LoadImageFile("Graphics/demo4.png");

  heading = new Sprite_String();
  heading->image = FontMincho30;
  heading->text = "Scores";
  heading->align = 1;
  heading->width = 320;
  heading->x = 160;
  heading->y = 48;
  heading->outline = true;
  heading->colour = {255, 255, 255};

  table = new Sprite_SelectTable();
  // The rows line up in columns only in a fixed-pitch face.
  table->image = FontGothic20;
  table->x = 64;
  table->y = 84;
  table->width = 512;
  table->visibleRows = 10;
  table->outline = true;
  table->framed = false;
  table->cursor = -1;
  table->dimColour = {255, 255, 255};

  buildPage();
  BeginOpeningFade();
}

void Scene_Score::buildPage() {
  table->rows.clear();
  // A slot outside the file (a page value no game uses) shows empty rows.
  const int32_t slot = chargeTypePage + 2 * (difficultyPage - 1);
  const bool known = chargeTypePage >= 0 && chargeTypePage <= 1 && slot >= 0 && slot < kScoreSlots;
  for (int32_t i = 0; i < kRankingRows; ++i) {
    const ScoreEntry empty{};
    const ScoreEntry& entry = known ? gGame.scoreData.ranking[slot][i] : empty;
    table->addRow(RankingRowText(i + 1, entry));
  }
  table->text = RankingPageTitle(difficultyPage, chargeTypePage);
}

void Scene_Score::update() {
  if (ContinueLeaving()) return;
  if (openedFromTitle) {
    if (gInput.Pressed(BUTTON_CANCEL)) {
      next = MakeTitleScene();
      gGraphics.fade->startClosing();
      leaving = true;
      gSound.RequestEffect(SE_CANCEL);
      return;
    }
  } else if (gInput.Pressed(BUTTON_OK)) {
    BeginLeaving(MakeTitleScene());
    return;
  }
  if (turnPage()) {
    buildPage();
    gSound.RequestEffect(SE_SELECT);
  }
}

bool Scene_Score::turnPage() {
  if (gInput.DirectionPressed(DIR_LEFT) || gInput.DirectionPressed(DIR_RIGHT)) {
    chargeTypePage = 1 - chargeTypePage;
  } else if (gInput.DirectionPressed(DIR_DOWN)) {
    difficultyPage = NextDifficultyPage(difficultyPage);
  } else if (gInput.DirectionPressed(DIR_UP)) {
    difficultyPage = PreviousDifficultyPage(difficultyPage);
  } else {
    return false;
  }
  return true;
}

void Scene_Score::terminate() { release(); }

void Scene_Score::release() {
  if (background) DeleteImage(background->image);
  delete background;
  background = nullptr;
  delete table;
  table = nullptr;
  delete heading;
  heading = nullptr;
}
