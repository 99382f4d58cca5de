#include "stage/StageSeams.h"

#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "objects/EnemyTableReader.h"
#include "stage/DemoEvent.h"
#include "stage/Scene_Stage.h"
#include "stage/Spriteset_Stage_Back.h"
#include "stage/StageScript.h"
#include "stage/StageScriptLink.h"
#include "stage/StageTalk.h"
#include "stage/Stage_Menu.h"

namespace {

Scene* NoScene() { return nullptr; }
Scene* TitleOrEnd() { return gStageLinks.makeTitle ? gStageLinks.makeTitle() : nullptr; }

}  // namespace

StageLinks DefaultStageLinks() {
  StageLinks links{};
  links.makeTalk = &MakeStageTalk;
  links.makeMenu = &MakeStageMenu;
  links.makeScenery = &MakeStageScenery;
  links.makeCutScene = &MakeCutSceneScene;
  links.makeResult = &TitleOrEnd;
  links.makeReplayList = &TitleOrEnd;
  links.makeTitle = &NoScene;
  links.loadEnemyTable = &LoadEnemyTable;
  links.loadScript = &LoadStageScript;
  links.stepScript = &StepStageScriptOf;
  return links;
}

StageLinks gStageLinks = DefaultStageLinks();
