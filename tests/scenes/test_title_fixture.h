// Shared set-up of the front-end scene tests: a headless engine in a fresh
// working directory, the global modules at their start-of-run values, a
// music list of two tunes behind a recorder, and a frame loop that runs the
// way the scene runner does.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Scene.h"
#include "display/TestImage.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "support/TempWorkDir.h"

namespace fronttest {

// What the sound module asked the engine for, during one test.
struct MusicLog {
  std::vector<std::string> loaded;
  int plays = 0;
};
inline MusicLog musicLog;

inline SoundEngineCalls RecordingSoundCalls() {
  SoundEngineCalls calls = FacadeSoundCalls();
  calls.load = [](const char* path) {
    musicLog.loaded.emplace_back(path);
    return 7;
  };
  calls.play = [](int, int, bool) {
    ++musicLog.plays;
    return 0;
  };
  calls.stop = [](int) { return 0; };
  calls.remove = [](int) { return 0; };
  calls.setVolume = [](int, int) { return 0; };
  calls.setLoopPoint = [](int64_t, int) { return 0; };
  calls.setLoadMode = [](int) {};
  return calls;
}

}  // namespace fronttest

class FrontSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.ok());
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
    engine::headless::ClearDraws();
    gInput = Module_Input();
    gGame = Module_Game();
    ScoreData::replayPlayback = false;
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    gSound.bgmVolume = 100;
    gSound.bgmIndex = -1;
    gSound.bgmHandle = 0;
    gSound.fadeFrames = 0;
    gSound.fadeStep = 0.0f;
    gSound.fadeLevel = 255.0f;
    gSound.bgmList = {{"Sounds/BGM/title.ogg", 0, "title"}, {"Sounds/BGM/other.ogg", 0, "other"}};
    gSound.engine = fronttest::RecordingSoundCalls();
    fronttest::musicLog = {};
    // A fresh frame schedule: no frame is skipped as late.
    gGraphics.frameCount = 0;
    gGraphics.fpsSampleCount = 0;
    gGraphics.measuredFps = 0.0;
    gGraphics.lastFrameEnd = GetTimeMicro();
    gGraphics.fpsWindowStart = GetTimeMicro();
    gGraphics.fade->visible = false;
    gGraphics.fade->finished = false;
  }
  void TearDown() override {
    gSound.engine = FacadeSoundCalls();
    gSound.bgmList.clear();
    gSound.bgmIndex = -1;
    gSound.bgmHandle = 0;
    EngineEnd();
  }

  // Plain pictures under the names the front end loads.
  static void WritePictures(std::initializer_list<const char*> names) {
    std::filesystem::create_directories("Graphics");
    for (const char* name : names) {
      ASSERT_TRUE(testimage::WritePng(std::string("Graphics/") + name, 16, 16)) << name;
    }
  }

  // One iteration of the runner's loop: draw, input, sound, the scene's update.
  // Afterwards `requested` lists the effects the update asked for.
  void Step(Scene& scene) {
    lastPressed.clear();
    gGraphics.frameStep();
    gInput.update();
    gSound.Update();
    scene.update();
    requested.clear();
    for (int i = 0; i < kSoundEffectSlots; ++i) {
      if (gSound.seRequested[i]) requested.push_back(i);
    }
  }
  // Keys held for exactly one frame, so each is newly pressed in it. A key
  // pressed in the frame before is first let go for a frame, as a hand would.
  void Press(Scene& scene, std::initializer_list<int> keys) {
    for (int key : keys) {
      if (std::find(lastPressed.begin(), lastPressed.end(), key) != lastPressed.end()) {
        Step(scene);
        break;
      }
    }
    for (int key : keys) engine::headless::SetKey(key, true);
    Step(scene);
    for (int key : keys) engine::headless::SetKey(key, false);
    lastPressed.assign(keys.begin(), keys.end());
  }
  void Press(Scene& scene, int key) { Press(scene, {key}); }
  bool Requested(int effect) const {
    for (int e : requested) {
      if (e == effect) return true;
    }
    return false;
  }
  // Frames until the scene clears running (0 if it never does within limit).
  int FramesUntilDone(Scene& scene, int limit = 100) {
    for (int n = 1; n <= limit; ++n) {
      Step(scene);
      if (!scene.running) return n;
    }
    return 0;
  }
  // The scene as the runner starts it.
  static void Begin(Scene& scene) {
    scene.running = true;
    scene.next = nullptr;
    scene.start();
  }
  // The successor a finished scene named, owned by the test from here.
  static std::unique_ptr<Scene> TakeNext(Scene& scene) {
    std::unique_ptr<Scene> next(scene.next);
    scene.next = nullptr;
    return next;
  }

  TempWorkDir dir;
  std::vector<int> requested;
  std::vector<int> lastPressed;  // keys held in the last frame by Press
};
