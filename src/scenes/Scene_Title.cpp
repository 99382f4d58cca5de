#include "scenes/Scene_Title.h"

#include <string>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Version.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"
#include "scenes/SceneFactory.h"
#include "scenes/Spriteset_Logo.h"

namespace {
constexpr int kTitleMusic = 0;
constexpr const char* kCopyright = "(C) The Velmora Team";
}  // namespace

Scene_Title::Scene_Title(bool fadeIn) : fadeInAtStart(fadeIn) {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Title::~Scene_Title() { release(); }

void Scene_Title::start() {
  titlePicture = new Sprite();
  titlePicture->image = LoadImageFile("Graphics/title.png");

  logo = new Spriteset_Logo();
  logo->loadImages();

  versionLine = new Sprite_String();
  versionLine->image = FontFranklin25;
  versionLine->outline = true;
  versionLine->colour = {255, 255, 255};
  versionLine->align = 1;
  versionLine->width = 640;
  versionLine->x = 0;
  versionLine->y = 450;
  versionLine->text = std::string("Version ") + GameVersion() + "    " + kCopyright;

  menu = new Sprite_SelectTable();
  menu->image = FontFranklin25;
  menu->colour = {255, 255, 255};
  menu->dimColour = {150, 150, 150};
  menu->x = 270;
  menu->y = 280;
  menu->z = 20;
  menu->width = 100;
  menu->rowHeight = 22;
  for (const char* row : {"Start", "Replay", "Score", "Config", "Exit"}) menu->addRow(row);
  // Nothing is highlighted until the menu's first update.
  menu->cursor = -1;

  // Coming back from a screen that kept the tune playing does not restart it.
  if (gSound.bgmIndex == -1) gSound.PlayMusic(kTitleMusic);
  if (fadeInAtStart) BeginOpeningFade();
}

void Scene_Title::update() {
  if (!ContinueLeaving()) handleInput();
  // The logo keeps turning while the screen fades out.
  logo->update();
}

void Scene_Title::handleInput() {
  menu->update();
  if (gInput.Pressed(BUTTON_OK) && menu->cursor >= 0) {
    const std::string& row = menu->rows[static_cast<size_t>(menu->cursor)];
    Scene* successor = nullptr;
    if (row == "Start") {
      gGame.NewGame();
      // A game is played, not watched: recording starts with its first stage
      // and its results may be saved.
      gInput.replayMode = REPLAY_OFF;
      ScoreData::replayPlayback = false;
      successor = MakeDifficultySelectScene();
    } else if (row == "Replay") {
      successor = MakeReplayListScene();
    } else if (row == "Score") {
      successor = MakeScoreScene(DIFFICULTY_EASY, CHARGE_SHIELD, true);
    } else if (row == "Config") {
      successor = MakeConfigScene();
    }
    // "Exit" names no successor: the program ends after the fade.
    BeginLeaving(successor);
  }
  // Cancel only points at "Exit"; leaving still takes OK. Checked after OK,
  // so both together act on the row that was under the cursor.
  if (gInput.Pressed(BUTTON_CANCEL)) {
    menu->cursor = static_cast<int32_t>(menu->rows.size()) - 1;
    gSound.RequestEffect(SE_CANCEL);
  }
}

void Scene_Title::terminate() { release(); }

void Scene_Title::release() {
  if (titlePicture) DeleteImage(titlePicture->image);
  delete menu;
  menu = nullptr;
  delete titlePicture;
  titlePicture = nullptr;
  delete logo;
  logo = nullptr;
  delete versionLine;
  versionLine = nullptr;
}
