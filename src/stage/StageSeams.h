// What the stage scene borrows from screens and systems built elsewhere: the
// conversation player, the pause and game-over menus, the scenery, the
// scenes a stage leads to, and the enemy table and stage script readers.
// Each is reached through one entry of gStageLinks, so the stage runs (with
// the plain stand-ins below) before those parts are in, and tests can put
// recorders in their place.
#pragma once

#include <cstdint>
#include <memory>

#include "display/Spriteset.h"

class Scene;
class Scene_Stage;
class Stage_Field;

// The conversation player of a stage and its per-frame runner.
class StageTalk {
 public:
  virtual ~StageTalk() = default;
  // Starts conversation `number` ("Data/Event/event<number>.csv").
  virtual void start(Scene_Stage& stage, int32_t number) = 0;
  // Once per frame while the stage is in conversation mode; clears the
  // stage's conversation mode when the conversation is over.
  virtual void runFrame(Scene_Stage& stage) = 0;
};

// The pause (kind 1) and game-over (kind 0) menus. They use the stage's menu
// sprites and its closeMenu and takeContinue operations.
class StageMenu {
 public:
  virtual ~StageMenu() = default;
  virtual void open(Scene_Stage& stage, int32_t kind) = 0;
  // Once per frame instead of everything else while a menu is open.
  virtual void update(Scene_Stage& stage) = 0;
};

struct StageLinks {
  std::unique_ptr<StageTalk> (*makeTalk)();
  std::unique_ptr<StageMenu> (*makeMenu)();
  // The scenery of a stage, set up and reading the given script clock.
  std::unique_ptr<Spriteset> (*makeScenery)(int32_t stage, const int32_t* scriptClock);
  // Successors. The cut-scene scene plays conversation 100 + stage number,
  // then starts that stage or, above 9, shows the result.
  Scene* (*makeCutScene)();
  Scene* (*makeResult)();
  Scene* (*makeReplayList)();
  Scene* (*makeTitle)();
  // The enemy table of a difficulty into gEnemyTable.
  void (*loadEnemyTable)(int32_t difficulty);
  // The script of a stage into the field (clock 0); one step of it.
  void (*loadScript)(Stage_Field& field, int32_t stage);
  void (*stepScript)(Scene_Stage& stage);
};

// The links of the game: the conversation player, the pause and game-over
// menus, the scenery, the cut-scene scene, the enemy table and stage script
// readers; and stand-ins until the other parts are linked in: no result
// screen means the title follows, no title ends the program.
StageLinks DefaultStageLinks();
extern StageLinks gStageLinks;
