// A started stage scene, headless, in an empty working directory, with the
// real conversation player: tests write conversation files, start them and
// run frames with scripted keys.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "stage/Scene_Stage.h"
#include "stage/StageTalk.h"
#include "support/TempWorkDir.h"

inline const std::string kTalkHeaders = "type,data\r\n// lines of one talk\r\n";

class TalkTest : public ::testing::Test {
 protected:
  std::unique_ptr<TempWorkDir> dir;
  std::unique_ptr<Scene_Stage> stage;

  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
    dir = std::make_unique<TempWorkDir>();
    ASSERT_TRUE(dir->ok());
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.stage = 2;
    gInput = Module_Input();
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    gStageLinks = DefaultStageLinks();
    gStageLinks.makeTalk = &MakeStageTalk;
    gStageLinks.loadEnemyTable = nullptr;
    gStageLinks.loadScript = nullptr;
    gStageLinks.stepScript = nullptr;
    stage = std::make_unique<Scene_Stage>();
    gCurrentScene = stage.get();
    stage->start();
  }
  void TearDown() override {
    if (stage) stage->terminate();
    stage.reset();
    gCurrentScene = nullptr;
    gStageLinks = DefaultStageLinks();
    dir.reset();
    EngineEnd();
  }

  TalkEvent& talk() { return static_cast<StageTalk_Event&>(*stage->conversation).talk; }

  void startTalk(int32_t number, const std::string& lines) {
    WriteBytes("Data/Event/event" + std::to_string(number) + ".csv", kTalkHeaders + lines);
    stage->startConversation(number);
  }
  // One frame as the scene runner runs it: input, then the scene.
  void frame() {
    gInput.update();
    stage->update();
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // Frames until the shown message text changes or the talk ends (at most
  // limit); returns how many ran.
  int framesWhileShowing(const std::string& line2, int limit = 2000) {
    int n = 0;
    while (n < limit && stage->inConversation && stage->messageWindow->line2 == line2 &&
           stage->waitingForMessage) {
      frame();
      ++n;
    }
    return n;
  }
  static void Hold(int key, bool down) { engine::headless::SetKey(key, down); }
};
