// Window-and-system operations on the headless backend.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "engine/Headless.h"

namespace {

class SystemTest : public ::testing::Test {
 protected:
  void SetUp() override { engine::headless::Use(); }
  void TearDown() override { EngineEnd(); }
};

TEST_F(SystemTest, SleepingAdvancesTheSimulatedClockAtOnce) {
  ASSERT_EQ(EngineInit(), 0);
  const int64_t before = GetTimeMicro();
  SleepMilli(16);
  EXPECT_EQ(GetTimeMicro() - before, 16000);
  SleepMilli(0);
  SleepMilli(-5);  // nothing to wait for
  EXPECT_EQ(GetTimeMicro() - before, 16000);
}

TEST_F(SystemTest, InitIsIdempotentAndPumpReportsAClosedWindow) {
  ASSERT_EQ(EngineInit(), 0);
  EXPECT_EQ(EngineInit(), 0);
  EXPECT_EQ(PumpMessages(), 0);
  engine::headless::RequestQuit();
  EXPECT_NE(PumpMessages(), 0);
  EngineEnd();
  EXPECT_NE(PumpMessages(), 0);  // no window at all
}

TEST_F(SystemTest, StartUpQuestionGivesTheScriptedAnswer) {
  engine::headless::SetAnswer(true);
  EXPECT_TRUE(AskYesNo("a", "b"));
  engine::headless::SetAnswer(false);
  EXPECT_FALSE(AskYesNo("a", "b"));
}

TEST_F(SystemTest, KeyboardAndJoypadReadTheScriptedState) {
  ASSERT_EQ(EngineInit(), 0);
  uint8_t keys[256];
  engine::headless::SetKey(0x2C, true);
  engine::headless::SetJoypad(0x11);
  ReadKeyboard(keys);
  EXPECT_EQ(keys[0x2C], 1);
  EXPECT_EQ(keys[0x2D], 0);
  EXPECT_EQ(ReadJoypad(1), 0x11);
  EXPECT_EQ(ReadJoypad(2), 0);
  engine::headless::ReleaseAllKeys();
  engine::headless::SetJoypad(0);
  ReadKeyboard(keys);
  EXPECT_EQ(keys[0x2C], 0);
}

}  // namespace
