// Shared set-up of the runner, frame-step and input tests: a headless
// engine and the global modules back in their start-of-run state.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "engine/Headless.h"

class SpineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
    engine::headless::ClearDraws();
    gInput = Module_Input();
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    gGraphics.frameCount = 0;
    gGraphics.fpsSampleCount = 0;
    gGraphics.measuredFps = 0.0;
    gGraphics.lastFrameEnd = GetTimeMicro();
    gGraphics.fpsWindowStart = GetTimeMicro();
    gGraphics.showFps = false;
    gGraphics.screenshotNumber = 0;
    gGraphics.saveScreen = SaveDrawScreen;
    gGraphics.fade->visible = false;
    gGraphics.fade->finished = false;
  }
  void TearDown() override {
    gGraphics.saveScreen = SaveDrawScreen;
    EngineEnd();
  }

  static int CountDraws(engine::headless::DrawOp op) {
    int n = 0;
    for (const auto& call : engine::headless::Draws()) n += call.op == op;
    return n;
  }
};
