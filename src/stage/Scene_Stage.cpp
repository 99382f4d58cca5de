#include "stage/Scene_Stage.h"

#include <algorithm>
#include <iterator>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object_Player.h"

namespace {
constexpr int32_t kFieldX = 32;
constexpr int32_t kFieldY = 16;
constexpr int32_t kFieldViewportDepth = 1000;
constexpr int32_t kMenuViewportDepth = 3000;

// Background music of stages 1 to 7 by music-list index.
int32_t StageMusic(int32_t stage) {
  static constexpr int32_t kMusic[7] = {2, 4, 6, 8, 11, 13, 16};
  return stage >= 1 && stage <= 7 ? kMusic[stage - 1] : -1;
}

bool ReplayPlaying() {
  return gInput.replayMode == REPLAY_PLAYING || gInput.replayMode == REPLAY_PLAYING_SUSPENDED;
}
}  // namespace

Scene_Stage::Scene_Stage() {
  next = nullptr;
  running = false;
  leaving = false;
  if (gStageLinks.makeTalk) conversation = gStageLinks.makeTalk();
}

Scene_Stage::~Scene_Stage() {
  // Normally terminate has released everything; a scene deleted without it
  // still leaves nothing behind in the display tree.
  delete fieldViewport;
  delete menuViewport;
  stageSprites.reset();
  scoreBoard.reset();
  field.reset();
}

void Scene_Stage::start() {
  // The loading picture stays on screen while the stage loads.
  DrawImageFile(0, 0, "Graphics/loading.png", false);
  PresentFrame();
  gGame.cleared = false;

  gInput.Resume();
  const int32_t stage = gGame.stage;
  const bool newGame = stage == 1 || stage == 7;
  if (gInput.replayMode != REPLAY_PLAYING && newGame) {
    gInput.StartNewRecording();
    gInput.BeginStage();
  } else if (gInput.replayMode == REPLAY_RECORDING || gInput.replayMode == REPLAY_PLAYING) {
    gInput.BeginStage();
  }
  gInput.update();
  gInput.padPrev = 0;
  std::fill(std::begin(gInput.keysPrev), std::end(gInput.keysPrev), uint8_t{0});

  // Begin stage may have restored another stage number from the replay.
  const bool playing = gInput.replayMode == REPLAY_PLAYING;
  if (gGame.stage == 1 || gGame.stage == 7 || (playing && !enemyTableLoadedForReplay)) {
    if (gStageLinks.loadEnemyTable) gStageLinks.loadEnemyTable(gGame.difficulty);
    enemyTableLoadedForReplay = playing;
  }
  gGraphics.showFps = true;

  // The weapon timers live for the whole run; a stage replayed on its own
  // must start from the same timers as when it was recorded.
  gMainShotTimer = gOptionShotTimer = gOptionLaserTimer = 0;
  field = std::make_unique<Stage_Field>();
  field->stageNumber = static_cast<int8_t>(gGame.stage);
  if (gStageLinks.loadScript) gStageLinks.loadScript(*field, gGame.stage);

  stageSprites = std::make_unique<Spriteset_Stage>();
  if (gStageLinks.makeScenery) {
    stageSprites->background = gStageLinks.makeScenery(gGame.stage, &field->scriptClock);
  }

  menuOpen = menuKind = inConversation = 0;
  waitingForMessage = waitingForTime = stageEnding = 0;
  waitCounter = 0;
  bossTitle = 0;

  fieldViewport = new Viewport(kFieldX, kFieldY, kFieldWidth, kFieldHeight, kFieldViewportDepth);
  menuViewport = new Viewport(kFieldX, kFieldY, kFieldWidth, kFieldHeight, kMenuViewportDepth);
  createMenuSprites();
  createConversationSprites();

  stageSprites->connectShip(*field);

  scoreBoard = std::make_unique<Spriteset_ScoreBoard>();
  scoreBoard->player = &field->player;
  scoreBoard->setUpFontsAndLabels();
  scoreBoard->boss = &field->boss;

  copyCarriedStateIntoShip();
  field->player.switchOptions();
  startMusic();
  startScreenFadeIn();
}

void Scene_Stage::createMenuSprites() {
  menuBack = new Sprite_MenuBack(menuViewport);
  menuBack->blendParam = 0;
  menuBack->counter = 0;
  menuBack->visible = false;

  menuTable = new Sprite_SelectTable(menuViewport);
  confirmTable = new Sprite_SelectTable(menuViewport);
  for (Sprite_SelectTable* table : {menuTable, confirmTable}) {
    table->z = 1000;
    table->image = FontTrebuchet25;
    table->colour = TextColour{255, 255, 255};
    table->dimColour = TextColour{150, 150, 150};
    table->visible = false;
  }
  for (int i = 0; i < 3; ++i) menuTable->addRow("");
  menuTable->x = 92;
  menuTable->y = 124;
  confirmTable->text = "OK?";
  confirmTable->addRow("OK");
  confirmTable->addRow("CANCEL");
  confirmTable->width = 100;
  confirmTable->x = 142;
  confirmTable->y = 234;
  if (gStageLinks.makeMenu) menu = gStageLinks.makeMenu();
}

void Scene_Stage::createConversationSprites() {
  leftPortrait = new Sprite_Picture(fieldViewport);
  rightPortrait = new Sprite_Picture(fieldViewport);
  leftPortrait->x = 80;
  rightPortrait->x = 304;
  for (Sprite_Picture* portrait : {leftPortrait, rightPortrait}) {
    portrait->y = kFieldHeight;
    portrait->level = 255;
    portrait->highlighted = false;
  }
  messageWindow = new Sprite_MessageWindow(fieldViewport);
  messageWindow->image = FontPGothic15;
}

void Scene_Stage::copyCarriedStateIntoShip() {
  Object_Player& p = field->player;
  p.lives = static_cast<int8_t>(gGame.lives);
  p.bombs = static_cast<int8_t>(gGame.bombs);
  p.power = gGame.power;
  p.points = gGame.points;
  p.laserType = gGame.chargeType == CHARGE_LASER ? 1 : 0;
}

void Scene_Stage::startMusic() {
  const int32_t music = StageMusic(gGame.stage);
  if (music >= 0) gSound.PlayMusic(music);
}

void Scene_Stage::startScreenFadeIn() {
  Sprite_Transition& fade = *gGraphics.fade;
  fade.level = 255.0f;
  fade.blendParam = 255;
  fade.target = 0;
  fade.speed = -4.25f;
  fade.visible = true;
  fade.finished = false;
}

void Scene_Stage::update() {
  if (menuOpen) {
    if (menu) menu->update(*this);
    return;
  }
  // The counter-bomb window: only the ship moves.
  if (field->player.state == PLAYER_COUNTER_BOMB) {
    field->player.update();
    return;
  }
  field->framePass();
  stageSprites->update();
  scoreBoard->update();
  if (stageEnding) {
    if (gGraphics.fade->finished) completeStage();
    return;
  }
  if (inConversation) {
    // Without a conversation player nothing could ever end the mode.
    if (conversation) {
      conversation->runFrame(*this);
    } else {
      inConversation = 0;
    }
  }
  if (field->player.state == PLAYER_REENTERING && field->player.lives < 0) {
    gameOver();
    return;
  }
  if (field->stageFinished || (ReplayPlaying() && gInput.replay.exhausted)) {
    beginStageEnding();
    return;
  }
  if (gInput.Pressed(BUTTON_PAUSE) || gInput.KeyPressed(KEY_ESCAPE)) {
    openMenu(MENU_PAUSE);
    gSound.RequestEffect(SE_PAUSE);
    gInput.Suspend();
  }
}

void Scene_Stage::beginStageEnding() {
  Sprite_Transition& fade = *gGraphics.fade;
  fade.level = 0.0f;
  fade.blendParam = 0;
  fade.target = 255;
  fade.speed = 4.25f;
  fade.visible = true;
  fade.finished = false;
  gSound.FadeMusic(-4.25f, 60);
  stageEnding = 1;
  inConversation = 1;
}

void Scene_Stage::stepStageScript() {
  if (gStageLinks.stepScript) gStageLinks.stepScript(*this);
}

void Scene_Stage::attachBulletSprite(Object_Bullet& bullet, bool playerShot) {
  if (stageSprites) stageSprites->attachBullet(bullet, playerShot);
}

void Scene_Stage::attachEnemySprite(Object_Enemy& enemy) {
  if (stageSprites) stageSprites->attachEnemy(enemy);
}

void Scene_Stage::attachItemSprite(Object_Item& item) {
  if (stageSprites) stageSprites->attachItem(item);
}

void Scene_Stage::letBulletSpriteGo(Object_Bullet& bullet) {
  if (stageSprites) stageSprites->letBulletGo(bullet);
}

void Scene_Stage::startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode,
                              int32_t blendParam, double scale, int32_t frameStep) {
  if (stageSprites) stageSprites->startEffect(x, y, kind, blendMode, blendParam, scale, frameStep);
}

void Scene_Stage::startConversation(int32_t number) {
  inConversation = 1;
  if (conversation) conversation->start(*this, number);
}

void Scene_Stage::showBossName(int32_t number) {
  if (scoreBoard) scoreBoard->showBossName(number, true);
  bossTitle = number;
}

void Scene_Stage::showStageTitle() {
  if (scoreBoard) scoreBoard->showStageTitle();
}

void Scene_Stage::showBossTitle() {
  if (scoreBoard) scoreBoard->showBossTitle();
}

void Scene_Stage::fieldFade(int32_t start, int32_t target, float frames) {
  if (stageSprites) stageSprites->startFieldFade(start, target, frames);
}
