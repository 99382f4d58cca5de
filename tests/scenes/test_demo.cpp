// The cut-scene scene: which conversation it plays, how its messages and
// waits pass, its pictures, its fades, and where it leads.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "display/Sprite_String.h"
#include "display/Sprite_Transition.h"
#include "display/TestImage.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "scenes/Scene_Demo.h"
#include "scenes/Scene_Result.h"
#include "stage/Scene_Stage.h"
#include "support/TempWorkDir.h"

namespace {

const std::string kHeaders = "type,data\r\n// cut-scene\r\n";

class DemoTest : public ::testing::Test {
 protected:
  std::unique_ptr<TempWorkDir> dir;
  std::unique_ptr<Scene_Demo> demo;

  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
    dir = std::make_unique<TempWorkDir>();
    ASSERT_TRUE(dir->ok());
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gInput = Module_Input();
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    gSound.fadeStep = 0.0f;
    gSound.fadeFrames = 0;
    gStageLinks = DefaultStageLinks();
  }
  void TearDown() override {
    demo.reset();
    gStageLinks = DefaultStageLinks();
    dir.reset();
    EngineEnd();
  }

  void begin(int32_t stage, const std::string& lines, bool withFile = true) {
    gGame.stage = stage;
    if (withFile) {
      WriteBytes("Data/Event/event" + std::to_string(stage + 100) + ".csv", kHeaders + lines);
    }
    demo = std::make_unique<Scene_Demo>();
    demo->running = true;
    demo->start();
  }
  // One frame as the runner runs it: the fade moves, input, the scene.
  void frame() {
    gGraphics.fade->update();
    gInput.update();
    demo->update();
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  int framesUntilEnd(int limit = 5000) {
    int n = 0;
    while (demo->running && n < limit) {
      frame();
      ++n;
    }
    return n;
  }
  // Terminates the scene and returns its successor (owned by the caller).
  std::unique_ptr<Scene> finish() {
    demo->terminate();
    return std::unique_ptr<Scene>(demo->next);
  }
  static void Hold(int key, bool down) { engine::headless::SetKey(key, down); }
};

TEST_F(DemoTest, PlaysTheConversationOfItsStageNumberInItsWindow) {
  begin(3, "1,\r\n10,Aya\r\n11,The rings are quiet\r\n");
  const Sprite_Transition& fade = *gGraphics.fade;
  EXPECT_FLOAT_EQ(fade.level, 255.0f);
  EXPECT_FLOAT_EQ(fade.speed, -4.25f);
  EXPECT_EQ(fade.target, 0);
  frame();
  const Sprite_MessageWindow& window = *demo->messageWindow;
  EXPECT_EQ(window.text, "Aya");
  EXPECT_EQ(window.line2, "The rings are quiet");
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.x, 16);
  EXPECT_EQ(window.y, 392);
  EXPECT_EQ(window.width, 608);
  EXPECT_EQ(window.z, 10);
  EXPECT_EQ(window.image, FontPGothic15);
  EXPECT_EQ(demo->waitingForMessage, 1);
}

TEST_F(DemoTest, SuccessorIsTheStageUpToNineAndTheResultAbove) {
  for (int32_t number : {1, 7, 9}) {
    begin(number, "", false);
    framesUntilEnd();
    std::unique_ptr<Scene> next = finish();
    EXPECT_NE(dynamic_cast<Scene_Stage*>(next.get()), nullptr) << number;
  }
  for (int32_t number : {10, 20}) {
    begin(number, "", false);
    framesUntilEnd();
    std::unique_ptr<Scene> next = finish();
    EXPECT_NE(dynamic_cast<Scene_Result*>(next.get()), nullptr) << number;
  }
}

TEST_F(DemoTest, MissingConversationFadesOutAtOnce) {
  begin(4, "", false);
  frame();
  EXPECT_TRUE(demo->leaving);
  EXPECT_EQ(gGraphics.fade->target, 255);
  EXPECT_FLOAT_EQ(gGraphics.fade->speed, 8.5f);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -12.75f);
  EXPECT_EQ(gSound.fadeFrames, 20);
  const int more = framesUntilEnd();
  EXPECT_GE(more, 30);
  EXPECT_LE(more, 32);
}

TEST_F(DemoTest, HoldingSkipPassesOneMessagePerFrameButNotTimedWaits) {
  begin(1, "11,a\r\n11,b\r\n6,20\r\n11,c\r\n");
  Hold(KEY_LCONTROL, true);
  frame();
  EXPECT_EQ(demo->messageWindow->line2, "a");
  frame();
  EXPECT_EQ(demo->messageWindow->line2, "b");
  frame();
  EXPECT_EQ(demo->waitingForTime, 1);
  frames(18);
  EXPECT_EQ(demo->waitingForTime, 1);
  frame();
  EXPECT_EQ(demo->waitingForTime, 0);
  frame();
  EXPECT_EQ(demo->messageWindow->line2, "c");
  EXPECT_TRUE(demo->leaving);
  // The last message stays on screen while the scene fades.
  EXPECT_EQ(demo->messageWindow->line2, "c");
}

TEST_F(DemoTest, NoKeyMessagesStayExactlyTheirTime) {
  begin(2, "4,1\r\n11,slow\r\n3,10\r\n11,fast\r\n");
  Hold(KEY_LCONTROL, true);
  int slowFrames = 0;
  int fastFrames = 0;
  for (int i = 0; i < 400 && !demo->leaving; ++i) {
    Hold(KEY_Z, i % 2 == 0);
    frame();
    slowFrames += demo->messageWindow->line2 == "slow";
    fastFrames += demo->messageWindow->line2 == "fast";
  }
  EXPECT_EQ(slowFrames, 300);
  EXPECT_EQ(fastFrames, 10);
}

TEST_F(DemoTest, MessageGoesByItselfAfterItsTime) {
  begin(5, "11,alone\r\n11,after\r\n");
  frames(300);
  EXPECT_EQ(demo->waitingForMessage, 0);
  frame();
  EXPECT_EQ(demo->messageWindow->line2, "after");
}

TEST_F(DemoTest, PicturesAreLoadedReplacedAndReleased) {
  std::filesystem::create_directories("Graphics");
  ASSERT_TRUE(testimage::WritePng("Graphics/demo2.png", 8, 6));
  begin(1, "15,2\r\n11,look\r\n15,0\r\n11,gone\r\n15,9\r\n11,missing\r\n");
  Hold(KEY_LCONTROL, true);
  frame();
  const int handle = demo->picture->image;
  ASSERT_GT(handle, 0);
  int w = 0;
  int h = 0;
  EXPECT_EQ(GetImageSize(handle, &w, &h), 0);
  EXPECT_EQ(w, 8);
  frame();
  EXPECT_EQ(demo->picture->image, 0);
  EXPECT_NE(GetImageSize(handle, &w, &h), 0);  // released
  frame();
  EXPECT_EQ(demo->picture->image, 0);  // no such picture: nothing shown
  EXPECT_EQ(demo->messageWindow->line2, "missing");
}

TEST_F(DemoTest, StageCommandsDoNothingInACutScene) {
  gGame.difficulty = DIFFICULTY_EASY;
  begin(1, "100,\r\n21,4\r\n25,10\r\n5,300\r\n12,1\r\n22,\r\n11,still here\r\n");
  frame();
  EXPECT_EQ(demo->messageWindow->line2, "still here");
  EXPECT_FALSE(gSound.seRequested[4]);
  EXPECT_EQ(gSound.fadeFrames, 0);
}

TEST_F(DemoTest, WindowOffHidesAndClears) {
  begin(1, "10,Aya\r\n11,x\r\n2,\r\n6,5\r\n1,\r\n6,5\r\n");
  Hold(KEY_LCONTROL, true);
  frame();
  frame();
  EXPECT_FALSE(demo->messageWindow->visible);
  EXPECT_TRUE(demo->messageWindow->line2.empty());
  frames(5);
  EXPECT_TRUE(demo->messageWindow->visible);
  EXPECT_TRUE(demo->messageWindow->text.empty());
}

}  // namespace
