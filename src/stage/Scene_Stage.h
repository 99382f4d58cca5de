// The scene in which one stage is played: it owns the field with its
// objects and script, the stage's sprites and HUD, the conversation window
// and portraits, and the menu sprites; it runs the frame in a fixed order
// and decides how the stage ends and which scene follows.
#pragma once

#include <cstdint>
#include <memory>

#include "app/Scene.h"
#include "display/Sprite_Picture.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "display/Sprite_Transition.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"
#include "stage/Spriteset_ScoreBoard.h"
#include "stage/Spriteset_Stage.h"
#include "stage/StageSeams.h"

enum MenuKind { MENU_GAME_OVER = 0, MENU_PAUSE = 1 };

class Scene_Stage : public Scene, public StageHost {
 public:
  std::unique_ptr<Stage_Field> field;
  std::unique_ptr<Spriteset_Stage> stageSprites;
  std::unique_ptr<Spriteset_ScoreBoard> scoreBoard;
  Viewport* fieldViewport = nullptr;  // message window and portraits
  Viewport* menuViewport = nullptr;   // menu backdrop and tables
  Sprite_MenuBack* menuBack = nullptr;
  Sprite_SelectTable* menuTable = nullptr;
  Sprite_SelectTable* confirmTable = nullptr;
  Sprite_MessageWindow* messageWindow = nullptr;
  Sprite_Picture* leftPortrait = nullptr;
  Sprite_Picture* rightPortrait = nullptr;
  std::unique_ptr<StageTalk> conversation;
  std::unique_ptr<StageMenu> menu;
  uint8_t menuOpen = 0;
  uint8_t menuKind = 0;
  uint8_t inConversation = 0;  // also set while the stage fades out: no collisions
  uint8_t waitingForMessage = 0;
  uint8_t waitingForTime = 0;
  uint8_t stageEnding = 0;
  int32_t waitCounter = 0;
  int32_t bossTitle = 0;  // number of the last boss name shown

  // Whether the enemy table in memory is the one of the replay being
  // watched; the replay list clears it when playback begins.
  static inline bool enemyTableLoadedForReplay = false;

  Scene_Stage();
  ~Scene_Stage() override;
  void start() override;
  void update() override;
  void terminate() override;

  // StageHost: what the gameplay objects ask of their stage.
  Stage_Field* stageField() override { return field.get(); }
  bool conversationMode() const override { return inConversation != 0; }
  void stepStageScript() override;
  int32_t bossTitleNumber() const override { return bossTitle; }
  void startFieldFade(float frames) override { fieldFade(255, 0, frames); }
  void attachBulletSprite(Object_Bullet& bullet, bool playerShot) override;
  void attachEnemySprite(Object_Enemy& enemy) override;
  void attachItemSprite(Object_Item& item) override;
  void letBulletSpriteGo(Object_Bullet& bullet) override;
  void startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode, int32_t blendParam,
                   double scale, int32_t frameStep) override;

  // What the stage script and conversations drive.
  void startConversation(int32_t number);
  void showBossName(int32_t number);
  void showStageTitle();
  void showBossTitle();
  // The white overlay over the field from start to target over `frames`.
  void fieldFade(int32_t start, int32_t target, float frames);

  // Menus. Open hands over to the menu; close and continue are shared by
  // the menus and by replay playback.
  void openMenu(int32_t kind);
  void closeMenu();
  // Continues used + 1, score 0, and the ship back with lives 2, points 0,
  // power 250 and a full gauge; the stage goes on where it was.
  void takeContinue();

  // The stage-clear bonus of a stage on a difficulty.
  static int32_t ClearBonus(int32_t stage, int32_t difficulty);

 private:
  void startScreenFadeIn();
  void beginStageEnding();
  void completeStage();
  void gameOver();
  void chooseSuccessorAfterClear();
  void createMenuSprites();
  void createConversationSprites();
  void copyCarriedStateIntoShip();
  void startMusic();
  void recordGameSummary();
};

// Game over with no menu: stage 20 and the cut-scene of a lost game.
void GiveUpGame(Scene_Stage& stage);
