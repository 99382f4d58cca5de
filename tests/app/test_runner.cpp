// The scene runner: what it calls, in which order, and how scenes end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SpineFixture.h"
#include "app/Scene.h"
#include "app/SceneRunner.h"

namespace {

// A scene whose operations are scripted by the test and logged.
class ScriptedScene : public Scene {
 public:
  explicit ScriptedScene(std::vector<std::string>* log, std::string name = "s")
      : log_(log), name_(std::move(name)) {}
  ~ScriptedScene() override { log_->push_back(name_ + ".delete"); }
  void start() override {
    log_->push_back(name_ + ".start");
    if (onStart) onStart(*this);
  }
  void update() override {
    ++updates;
    log_->push_back(name_ + ".update");
    if (onUpdate) onUpdate(*this);
  }
  void terminate() override {
    ++terminates;
    log_->push_back(name_ + ".terminate");
  }
  // Exposes the menu closing convention to the scripts.
  void Leave(Scene* successor) { BeginLeaving(successor); }
  bool StillLeaving() { return ContinueLeaving(); }
  static void Open() { BeginOpeningFade(); }

  std::function<void(ScriptedScene&)> onStart;
  std::function<void(ScriptedScene&)> onUpdate;
  int updates = 0;
  int terminates = 0;

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

class RunnerTest : public SpineTest {
 protected:
  void TearDown() override {
    gCurrentScene = nullptr;
    SpineTest::TearDown();
  }
  std::vector<std::string> log;
};

TEST_F(RunnerTest, SceneWhoseStartClearsRunningGetsNoFrame) {
  ScriptedScene scene(&log);
  ScriptedScene successor(&log, "next");
  scene.onStart = [&](ScriptedScene& s) {
    s.running = false;
    s.next = &successor;
  };
  gCurrentScene = &scene;
  const uint32_t frames = gGraphics.frameCount;
  EXPECT_EQ(RunScene(), &successor);
  EXPECT_EQ(scene.updates, 0);
  EXPECT_EQ(scene.terminates, 1);
  EXPECT_EQ(gGraphics.frameCount, frames);
  EXPECT_EQ(CountDraws(engine::headless::DrawOp::Present), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"s.start", "s.terminate"}));
}

TEST_F(RunnerTest, EachFrameStepsDrawsReadsInputAndPlaysSoundBeforeTheUpdate) {
  ScriptedScene scene(&log);
  std::vector<uint32_t> framesSeen;
  std::vector<int> presentsSeen;
  std::vector<bool> okHeldSeen;
  std::vector<bool> requestStillPending;
  scene.onUpdate = [&](ScriptedScene& s) {
    framesSeen.push_back(gGraphics.frameCount);
    presentsSeen.push_back(CountDraws(engine::headless::DrawOp::Present));
    okHeldSeen.push_back(gInput.Held(BUTTON_OK));
    requestStillPending.push_back(gSound.seRequested[SE_CANCEL]);
    // Played by the next frame's sound update, before the next update.
    gSound.RequestEffect(SE_CANCEL);
    engine::headless::SetKey(KEY_Z, s.updates == 1);
    if (s.updates == 3) s.running = false;
  };
  gCurrentScene = &scene;
  EXPECT_EQ(RunScene(), nullptr);
  EXPECT_EQ(scene.updates, 3);
  EXPECT_EQ(scene.terminates, 1);
  EXPECT_EQ(framesSeen, (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(presentsSeen, (std::vector<int>{1, 2, 3}));
  // Z pressed during update 1 is read by frame 2's input update.
  EXPECT_EQ(okHeldSeen, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(requestStillPending, (std::vector<bool>{false, false, false}));
}

TEST_F(RunnerTest, ClosingTheWindowTerminatesOnceAndEndsWithoutSuccessor) {
  ScriptedScene scene(&log);
  scene.onUpdate = [&](ScriptedScene& s) {
    if (s.updates == 2) {
      // Chooses a successor, and the window is closed in the same frame.
      s.next = new ScriptedScene(&log, "abandoned");
      engine::headless::RequestQuit();
    }
  };
  gCurrentScene = &scene;
  EXPECT_EQ(RunScene(), nullptr);
  EXPECT_EQ(scene.updates, 2);
  EXPECT_EQ(scene.terminates, 1);
  EXPECT_EQ(scene.next, nullptr);
  // The successor never started and is not leaked.
  EXPECT_EQ(log, (std::vector<std::string>{"s.start", "s.update", "s.update", "s.terminate",
                                           "abandoned.delete"}));
}

TEST_F(RunnerTest, RunnerIsNotReentrant) {
  ScriptedScene scene(&log);
  Scene* inner = &scene;
  scene.onUpdate = [&](ScriptedScene& s) {
    inner = RunScene();
    s.running = false;
  };
  gCurrentScene = &scene;
  RunScene();
  EXPECT_EQ(inner, nullptr);
  EXPECT_EQ(scene.updates, 1);
  EXPECT_EQ(scene.terminates, 1);
  // The guard is cleared on the way out: the runner works again.
  scene.onUpdate = [](ScriptedScene& s) { s.running = false; };
  RunScene();
  EXPECT_EQ(scene.updates, 2);
}

TEST_F(RunnerTest, SceneLoopRunsEachSceneOnceAndDeletesItBeforeTheNextStarts) {
  auto* first = new ScriptedScene(&log, "a");
  first->onUpdate = [&](ScriptedScene& s) {
    // The successor is built by the old scene and only sets fields.
    auto* second = new ScriptedScene(&log, "b");
    second->onUpdate = [](ScriptedScene& b) { b.running = false; };  // next stays null
    s.next = second;
    s.running = false;
  };
  RunSceneLoop(first);
  EXPECT_EQ(gCurrentScene, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"a.start", "a.update", "a.terminate", "a.delete",
                                           "b.start", "b.update", "b.terminate", "b.delete"}));
}

TEST_F(RunnerTest, MenuSceneClosesWhenItsFadeFinishes) {
  ScriptedScene scene(&log);
  scene.onStart = [](ScriptedScene&) { ScriptedScene::Open(); };
  int leaveUpdate = 0;
  scene.onUpdate = [&](ScriptedScene& s) {
    if (s.StillLeaving()) return;
    // Chooses as soon as the opening fade is over.
    if (gGraphics.fade->finished) {
      leaveUpdate = s.updates;
      s.Leave(nullptr);
      EXPECT_TRUE(gSound.seRequested[SE_OK]);
      EXPECT_TRUE(s.leaving);
    }
  };
  gCurrentScene = &scene;
  EXPECT_EQ(RunScene(), nullptr);
  // Opening: finished on the 16th frame step, seen by update 16. Closing:
  // 16 more frame steps, the scene ends in the update that sees it.
  EXPECT_EQ(leaveUpdate, 16);
  EXPECT_EQ(scene.updates, 32);
  EXPECT_TRUE(gGraphics.fade->finished);
  EXPECT_EQ(gGraphics.fade->blendParam, 255);
  EXPECT_EQ(scene.terminates, 1);
}

}  // namespace
