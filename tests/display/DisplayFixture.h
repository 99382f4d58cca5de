// Shared set-up of the display tests: headless engine, empty draw record,
// the root's fade hidden.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/Module_Graphics.h"
#include "engine/Engine.h"
#include "engine/Headless.h"

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ClearDraws();
    gGraphics.fade->visible = false;
  }
  void TearDown() override { EngineEnd(); }

  // Recorded draws of one kind, in order.
  static std::vector<engine::headless::DrawCall> DrawsOf(engine::headless::DrawOp op) {
    std::vector<engine::headless::DrawCall> out;
    for (const auto& call : engine::headless::Draws()) {
      if (call.op == op) out.push_back(call);
    }
    return out;
  }
};
