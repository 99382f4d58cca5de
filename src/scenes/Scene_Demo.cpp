#include "scenes/Scene_Demo.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_String.h"
#include "display/Sprite_Transition.h"
#include "engine/Engine.h"
#include "scenes/Scene_Result.h"
#include "stage/Scene_Stage.h"

namespace {
constexpr int32_t kWindowDepth = 10;
constexpr int32_t kWindowX = 16;
constexpr int32_t kWindowY = 392;        // lower than in a stage: the picture fills the screen
constexpr float kOpeningSpeed = -4.25f;  // out of black over 60 frames
constexpr float kClosingSpeed = 8.5f;    // into black over 30 frames
constexpr float kMusicFadeStep = -12.75f;
constexpr int kMusicFadeFrames = 20;
constexpr int32_t kLastStageNumber = 9;  // above: the endings, followed by the result
}  // namespace

Scene* MakeCutSceneScene() { return new Scene_Demo(); }

Scene_Demo::Scene_Demo() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Demo::~Scene_Demo() {
  // Normally terminate has released them; a scene deleted without it still
  // leaves nothing behind in the display tree.
  delete picture;
  delete messageWindow;
}

void Scene_Demo::start() {
  waitingForMessage = 0;
  waitingForTime = 0;
  waitCounter = 0;

  picture = new Sprite();
  picture->x = 0;
  picture->y = 0;
  picture->image = 0;
  auto* window = new Sprite_MessageWindow();
  window->z = kWindowDepth;
  window->visible = true;
  window->x = kWindowX;
  window->y = kWindowY;
  window->width = kCutSceneWindowWidth;
  window->framed = true;
  window->image = FontPGothic15;
  messageWindow = window;

  conversation.start(gGame.stage + 100);

  Sprite_Transition& fade = *gGraphics.fade;
  fade.level = 255.0f;
  fade.blendParam = 255;
  fade.target = 0;
  fade.speed = kOpeningSpeed;
  fade.visible = true;
  fade.finished = false;
}

void Scene_Demo::update() {
  if (leaving) {
    if (gGraphics.fade->finished) running = false;
    return;
  }
  while (!waitingForMessage && !waitingForTime && !conversation.finished) conversation.step();
  CountTalkWait(conversation, {waitingForMessage, waitingForTime, waitCounter});
  if (waitingForMessage || waitingForTime || !conversation.finished) return;

  leaving = true;
  Sprite_Transition& fade = *gGraphics.fade;
  fade.level = 0.0f;
  fade.blendParam = 0;
  fade.target = 255;
  fade.speed = kClosingSpeed;
  fade.visible = true;
  fade.finished = false;
  gSound.FadeMusic(kMusicFadeStep, kMusicFadeFrames);
}

void Scene_Demo::terminate() {
  if (picture && picture->image > 0) DeleteImage(picture->image);
  delete picture;
  picture = nullptr;
  delete messageWindow;
  messageWindow = nullptr;
  if (gGame.stage > kLastStageNumber) {
    next = new Scene_Result();
  } else {
    next = new Scene_Stage();
  }
}
