#include "scenes/Scene_Select_ChargeType.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_Picture.h"
#include "display/Sprite_SelectTable.h"
#include "engine/Engine.h"
#include "scenes/SceneFactory.h"
#include "scenes/SelectionMenu.h"
#include "scenes/Scene_Demo.h"

namespace {
constexpr int32_t kExtraStage = 7;
// The title music falls from full to silent while the screen fades out.
constexpr float kMusicFadeStep = -8.5f;
constexpr int kMusicFadeFrames = 30;
constexpr uint8_t kUnlitBrightness = 130;

Sprite_Picture* MakeTypePicture(const char* path, int32_t x, int32_t y) {
  auto* picture = new Sprite_Picture();
  picture->image = LoadImageFile(path);
  picture->x = x;
  picture->y = y;
  picture->red = picture->green = picture->blue = kUnlitBrightness;
  picture->level = 255;
  picture->highlighted = false;
  return picture;
}
}  // namespace

Scene_Select_ChargeType::Scene_Select_ChargeType() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Select_ChargeType::~Scene_Select_ChargeType() { release(); }

void Scene_Select_ChargeType::start() {
  background = MakeSelectionBackground();
  menu = MakeSelectionMenu("Select Charge type", 360);
  menu->addRow("Shield type");
  menu->addRow("Laser type");

  shieldPicture = MakeTypePicture("Graphics/type1.png", 96, 64);
  laserPicture = MakeTypePicture("Graphics/type2.png", 352, 64);

  BeginOpeningFade();
}

void Scene_Select_ChargeType::update() {
  if (!ContinueLeaving()) {
    handleInput();
    shieldPicture->highlighted = menu->cursor == 0;
    laserPicture->highlighted = menu->cursor != 0;
  }
  shieldPicture->update();
  laserPicture->update();
}

void Scene_Select_ChargeType::handleInput() {
  menu->update();
  if (gInput.Pressed(BUTTON_OK)) {
    gGame.chargeType = menu->cursor;
    next = new Scene_Demo();
    leaving = true;
    gGraphics.fade->startClosing();
    gGame.startFrame = gGraphics.frameCount;
    gSound.FadeMusic(kMusicFadeStep, kMusicFadeFrames);
    gSound.RequestEffect(SE_OK);
    const int slot = gGame.ScoreSlot();
    gGame.hiScore = slot >= 0 ? gGame.scoreData.bestScore[slot] : 0;
    // The choice is made; a Cancel in the same frame must not undo it.
    return;
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    // The Extra stage is entered from the difficulty menu's Extra row, yet
    // backing out of it goes all the way home.
    next = gGame.stage == kExtraStage ? MakeTitleScene() : MakeDifficultySelectScene();
    gGraphics.fade->startClosing();
    leaving = true;
    gSound.RequestEffect(SE_CANCEL);
    return;
  }
  if (gInput.DirectionPressed(DIR_LEFT) || gInput.DirectionPressed(DIR_RIGHT)) {
    menu->cursor = menu->cursor == 0 ? 1 : 0;
    gSound.RequestEffect(SE_SELECT);
  }
}

void Scene_Select_ChargeType::terminate() { release(); }

void Scene_Select_ChargeType::release() {
  if (background) DeleteImage(background->image);
  if (shieldPicture) DeleteImage(shieldPicture->image);
  if (laserPicture) DeleteImage(laserPicture->image);
  delete background;
  background = nullptr;
  delete menu;
  menu = nullptr;
  delete shieldPicture;
  shieldPicture = nullptr;
  delete laserPicture;
  laserPicture = nullptr;
}
