// A stage scene under test: headless engine, a scratch working directory
// (terminate writes "score.dat"), the global modules reset, and recorders in
// place of the menus and of the scenes a stage leads to.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/EnemyTable.h"
#include "stage/Scene_Stage.h"
#include "support/TempWorkDir.h"

// Stands for a scene the stage leads to.
class MarkerScene : public Scene {
 public:
  std::string name;
  explicit MarkerScene(std::string n) : name(std::move(n)) {}
};

struct StageRecorders {
  std::vector<int32_t> menusOpened;
  std::vector<std::string> musicLoaded;
};
inline StageRecorders gRecorded;

// Opens without deciding anything; the test looks at what was asked.
class RecordingMenu : public StageMenu {
 public:
  void open(Scene_Stage& stage, int32_t kind) override {
    gRecorded.menusOpened.push_back(kind);
    stage.menuOpen = 1;
    stage.menuKind = static_cast<uint8_t>(kind);
  }
  void update(Scene_Stage& stage) override { (void)stage; }
};

// Puts a recorded game of two stages (2 and 3) in memory, about to be
// watched from the given record.
inline void LoadTwoStageReplay(size_t framesPerStage, int32_t fromRecord) {
  gInput.replay.header.difficulty = DIFFICULTY_NORMAL;
  for (int32_t stage : {2, 3}) {
    ReplayStage record;
    record.start.stage = stage;
    record.start.lives = 2;
    record.start.score = 100;
    record.start.seed = 42;
    record.frames.resize(framesPerStage);
    gInput.replay.stages.push_back(record);
  }
  gInput.replay.stageIndex = fromRecord;
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
}

class StageSceneTest : public ::testing::Test {
 protected:
  TempWorkDir dir;
  std::unique_ptr<Scene_Stage> scene;
  StageLinks saved;
  SoundEngineCalls savedSound;
  bool terminated = false;

  void SetUp() override {
    ASSERT_TRUE(dir.ok());
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
    gRecorded = StageRecorders();
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gInput = Module_Input();
    gEnemyTable.clear();
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    savedSound = gSound.engine;
    gSound.engine.load = [](const char* path) {
      gRecorded.musicLoaded.push_back(path);
      return 7;
    };
    gSound.engine.play = [](int, int, bool) { return 0; };
    gSound.engine.stop = [](int) { return 0; };
    gSound.engine.remove = [](int) { return 0; };
    gSound.engine.setVolume = [](int, int) { return 0; };
    gSound.engine.setLoopPoint = [](int64_t, int) { return 0; };
    gSound.engine.setLoadMode = [](int) {};
    gSound.bgmList.assign(20, BgmEntry{});
    for (size_t i = 0; i < gSound.bgmList.size(); ++i) {
      gSound.bgmList[i].path = "music" + std::to_string(i) + ".ogg";
    }
    gSound.bgmHandle = 0;
    gSound.bgmIndex = -1;
    gGraphics.fade->visible = false;
    gGraphics.fade->finished = false;
    gGraphics.showFps = false;
    Scene_Stage::enemyTableLoadedForReplay = false;

    saved = gStageLinks;
    gStageLinks = DefaultStageLinks();
    gStageLinks.loadEnemyTable = nullptr;
    gStageLinks.makeMenu = [] { return std::unique_ptr<StageMenu>(new RecordingMenu()); };
    gStageLinks.makeCutScene = []() -> Scene* { return new MarkerScene("cut-scene"); };
    gStageLinks.makeResult = []() -> Scene* { return new MarkerScene("result"); };
    gStageLinks.makeReplayList = []() -> Scene* { return new MarkerScene("replay list"); };
    gStageLinks.makeTitle = []() -> Scene* { return new MarkerScene("title"); };
  }

  void TearDown() override {
    if (scene) {
      if (!terminated) scene->terminate();
      delete scene->next;
      scene->next = nullptr;
    }
    gCurrentScene = nullptr;
    scene.reset();
    gStageLinks = saved;
    gSound.engine = savedSound;
    gSound.bgmList.clear();
    gSound.bgmHandle = 0;
    gGraphics.fade->visible = false;
    EngineEnd();
  }

  // Starts a stage scene for the given stage, as the runner would.
  void begin(int32_t stage) {
    gGame.stage = stage;
    scene = std::make_unique<Scene_Stage>();
    gCurrentScene = scene.get();
    scene->running = true;
    scene->start();
  }

  // One iteration of the main loop.
  void frame() {
    gGraphics.frameStep();
    engine::headless::ClearDraws();
    gInput.update();
    gSound.Update();
    scene->update();
  }

  // Frames until the scene ends (or the limit); the frames run.
  int runToEnd(int limit) {
    int n = 0;
    while (scene->running && n < limit) {
      frame();
      ++n;
    }
    return n;
  }

  void finish() {
    scene->terminate();
    terminated = true;
  }

  Object_Player& ship() { return scene->field->player; }

  std::string successor() const {
    auto* marker = dynamic_cast<MarkerScene*>(scene->next);
    if (marker) return marker->name;
    if (dynamic_cast<Scene_Stage*>(scene->next)) return "stage";
    return scene->next ? "other" : "none";
  }

  // The ship lost its last life: it re-enters with no lives left.
  void loseLastLife() {
    ship().state = PLAYER_REENTERING;
    ship().stateCounter = 0;
    ship().lives = -1;
  }
};
