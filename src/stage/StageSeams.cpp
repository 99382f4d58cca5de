#include "stage/StageSeams.h"

#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "stage/Scene_Stage.h"

namespace {

// Every conversation ends as soon as it starts, as a missing file does.
class StageTalk_Plain : public StageTalk {
 public:
  void start(Scene_Stage& stage, int32_t number) override { (void)stage, (void)number; }
  void runFrame(Scene_Stage& stage) override {
    if (!stage.waitingForMessage) stage.inConversation = 0;
  }
};

// Pause shows a single line until Pause, Escape or OK is pressed again; a
// game over gives up at once.
class StageMenu_Plain : public StageMenu {
 public:
  void open(Scene_Stage& stage, int32_t kind) override {
    if (kind == MENU_GAME_OVER) {
      GiveUpGame(stage);
      return;
    }
    stage.menuOpen = 1;
    stage.menuKind = static_cast<uint8_t>(kind);
    stage.menuTable->text = "PAUSE";
    stage.menuTable->rows.assign(1, "CONTINUE");
    stage.menuTable->cursor = 0;
    stage.menuTable->visible = true;
    stage.menuBack->blendParam = 0;
    stage.menuBack->visible = true;
    gSound.StopMusic();
  }
  void update(Scene_Stage& stage) override {
    stage.menuBack->update();
    if (gInput.Pressed(BUTTON_PAUSE) || gInput.Pressed(BUTTON_OK) || gInput.KeyPressed(KEY_Z)) {
      gSound.RequestEffect(SE_CANCEL);
      stage.closeMenu();
    }
  }
};

std::unique_ptr<StageTalk> MakePlainTalk() { return std::make_unique<StageTalk_Plain>(); }
std::unique_ptr<StageMenu> MakePlainMenu() { return std::make_unique<StageMenu_Plain>(); }

Scene* NoScene() { return nullptr; }
Scene* TitleOrEnd() { return gStageLinks.makeTitle ? gStageLinks.makeTitle() : nullptr; }
// Without the cut-scene the next stage starts at once.
Scene* NextStageOrResult() {
  if (gGame.stage > 9) return gStageLinks.makeResult ? gStageLinks.makeResult() : nullptr;
  return new Scene_Stage();
}

}  // namespace

StageLinks DefaultStageLinks() {
  StageLinks links{};
  links.makeTalk = &MakePlainTalk;
  links.makeMenu = &MakePlainMenu;
  links.makeScenery = nullptr;
  links.makeCutScene = &NextStageOrResult;
  links.makeResult = &TitleOrEnd;
  links.makeReplayList = &TitleOrEnd;
  links.makeTitle = &NoScene;
  links.loadEnemyTable = nullptr;
  links.loadScript = nullptr;
  links.stepScript = nullptr;
  return links;
}

StageLinks gStageLinks = DefaultStageLinks();
