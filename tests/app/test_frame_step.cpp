// The frame step: late-frame skip, replay fast-forward, pacing, screenshots.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SpineFixture.h"

namespace {

namespace fs = std::filesystem;
using engine::headless::DrawOp;

class FrameStepTest : public SpineTest {};

TEST_F(FrameStepTest, AnIterationOver20msIsNotDrawnAndDoesNotWait) {
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 1);
  engine::headless::ClearDraws();

  // The scene took 25 ms since the last frame step ended.
  engine::headless::Advance(25000);
  const int64_t before = GetTimeMicro();
  const uint8_t samples = gGraphics.fpsSampleCount;
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Clear), 0);
  EXPECT_EQ(CountDraws(DrawOp::Present), 0);
  EXPECT_EQ(GetTimeMicro(), before);  // no sleep
  EXPECT_EQ(gGraphics.frameCount, 2u);
  EXPECT_EQ(gGraphics.fpsSampleCount, samples);
  EXPECT_EQ(gGraphics.lastFrameEnd, before);

  // Exactly 20 ms is still in time.
  engine::headless::Advance(20000);
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 1);
}

TEST_F(FrameStepTest, TheFadeAdvancesEvenOnSkippedFrames) {
  gGraphics.fade->startClosing();
  engine::headless::Advance(30000);
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 0);
  EXPECT_EQ(gGraphics.fade->blendParam, 17);
  gGraphics.fade->visible = false;
}

TEST_F(FrameStepTest, ReplayFastForwardDrawsEveryEleventhFrameWithoutWaiting) {
  gInput.replayMode = REPLAY_PLAYING;
  gInput.skipHeldFrames = 3;
  std::vector<uint32_t> drawnFrames;
  const int64_t start = GetTimeMicro();
  for (int i = 0; i < 30; ++i) {
    const uint32_t frame = gGraphics.frameCount;
    const int presents = CountDraws(DrawOp::Present);
    gGraphics.frameStep();
    if (CountDraws(DrawOp::Present) > presents) drawnFrames.push_back(frame);
  }
  EXPECT_EQ(drawnFrames, (std::vector<uint32_t>{0, 11, 22}));
  // Only the three drawn frames waited.
  EXPECT_LE(GetTimeMicro() - start, 3 * 18000);

  // Suspended playback (the pause menu) fast-forwards too; live play never does.
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
  gGraphics.frameCount = 1;
  engine::headless::ClearDraws();
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 0);
  gInput.replayMode = REPLAY_RECORDING;
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 1);

  // Skip released: drawing and waiting resume at once.
  gInput.replayMode = REPLAY_PLAYING;
  gInput.skipHeldFrames = 0;
  engine::headless::ClearDraws();
  const int64_t before = GetTimeMicro();
  gGraphics.frameCount = 5;
  gGraphics.frameStep();
  EXPECT_EQ(CountDraws(DrawOp::Present), 1);
  EXPECT_GT(GetTimeMicro(), before);
}

TEST_F(FrameStepTest, SixtyFramesTakeAboutOneSecond) {
  const int64_t start = GetTimeMicro();
  for (int i = 0; i < 60; ++i) gGraphics.frameStep();
  const int64_t oneWindow = GetTimeMicro() - start;
  EXPECT_GE(oneWindow, 950000);
  EXPECT_LE(oneWindow, 1050000);
  EXPECT_EQ(gGraphics.fpsSampleCount, 0);
  EXPECT_NEAR(gGraphics.measuredFps, 60.0, 1.5);

  for (int i = 0; i < 540; ++i) gGraphics.frameStep();
  const double seconds = static_cast<double>(GetTimeMicro() - start) / 1e6;
  EXPECT_NEAR(seconds, 10.0, 0.25);
  EXPECT_EQ(gGraphics.frameCount, 600u);
}

TEST_F(FrameStepTest, FramesAreDueFromTheWindowStartAndTheClosingFrameDoesNotWait) {
  // Frame k of a window is released no earlier than k x 16666 us after the
  // window began, whatever the work in between took.
  gGraphics.frameStep();
  const int64_t windowStart = gGraphics.fpsWindowStart;
  for (int k = 2; k <= 59; ++k) {
    engine::headless::Advance(k % 3 == 0 ? 9000 : 500);  // uneven work
    gGraphics.frameStep();
    EXPECT_GE(GetTimeMicro() - windowStart, int64_t{k} * 16666) << k;
    EXPECT_LT(GetTimeMicro() - windowStart, int64_t{k} * 16666 + 2000) << k;
  }
  // The 60th frame completes the window: measured, and no wait at all.
  engine::headless::Advance(1000);
  const int64_t before = GetTimeMicro();
  gGraphics.frameStep();
  EXPECT_EQ(GetTimeMicro(), before);
  EXPECT_EQ(gGraphics.fpsSampleCount, 0);
  EXPECT_DOUBLE_EQ(gGraphics.measuredFps, 60.0 * 1e6 / static_cast<double>(before - windowStart));
}

// Runs each test in a scratch working directory so "snapshot" is its own.
class ScreenshotTest : public SpineTest {
 protected:
  void SetUp() override {
    SpineTest::SetUp();
    oldDir = fs::current_path();
    dir = fs::path(testing::TempDir()) /
          ("velmora_shots_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    saved.clear();
    gGraphics.saveScreen = &ScreenshotTest::Record;
  }
  void TearDown() override {
    fs::current_path(oldDir);
    fs::remove_all(dir);
    SpineTest::TearDown();
  }
  // Stands in for the screen grab: notes the call and leaves a file.
  static int Record(int x1, int y1, int x2, int y2, const char* path) {
    saved.push_back({path, x1, y1, x2, y2});
    std::ofstream(path) << "bmp";
    return 0;
  }
  static void Touch(const std::string& path) { std::ofstream(path) << "old"; }
  // One frame with the given keys newly down (both up the frame before).
  static void Frame(bool p, bool o) {
    std::memcpy(gInput.keysPrev, gInput.keysNow, sizeof gInput.keysPrev);
    gInput.keysNow[KEY_P] = p;
    gInput.keysNow[KEY_O] = o;
    gGraphics.frameStep();
  }

  struct Shot {
    std::string path;
    int x1, y1, x2, y2;
  };
  static inline std::vector<Shot> saved;
  fs::path oldDir;
  fs::path dir;
};

TEST_F(ScreenshotTest, NumberingSkipsFilesAlreadyPresent) {
  fs::create_directory("snapshot");
  for (int i = 0; i < 5; ++i) Touch("snapshot/vm000" + std::to_string(i) + ".bmp");
  Frame(true, false);
  Frame(false, false);
  Frame(true, false);
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].path, "snapshot/vm0005.bmp");
  EXPECT_EQ(saved[1].path, "snapshot/vm0006.bmp");
  EXPECT_EQ(saved[0].x2, 640);
  EXPECT_EQ(saved[0].y2, 480);
}

TEST_F(ScreenshotTest, HoldingPTakesOneAndPWithOTakesOneFullScreenPicture) {
  Frame(true, true);
  Frame(true, true);  // held: nothing new
  Frame(true, false);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].path, "snapshot/vm0000.bmp");
  EXPECT_EQ(saved[0].x1, 0);
  EXPECT_EQ(saved[0].x2, 640);
  EXPECT_TRUE(fs::is_directory("snapshot"));

  Frame(false, false);
  Frame(false, true);  // O alone: the play field
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[1].path, "snapshot/vm0001.bmp");
  EXPECT_EQ((std::vector<int>{saved[1].x1, saved[1].y1, saved[1].x2, saved[1].y2}),
            (std::vector<int>{32, 16, 416, 464}));
}

TEST_F(ScreenshotTest, NoScreenshotOnASkippedFrame) {
  std::memset(gInput.keysPrev, 0, sizeof gInput.keysPrev);
  gInput.keysNow[KEY_P] = 1;
  engine::headless::Advance(40000);
  gGraphics.frameStep();
  EXPECT_TRUE(saved.empty());
}

TEST_F(ScreenshotTest, RealScreenGrabWritesA640x480BitmapAndASnapshotFileLosesOnlyThePicture) {
  gGraphics.saveScreen = SaveDrawScreen;
  Frame(true, false);
  std::ifstream bmp("snapshot/vm0000.bmp", std::ios::binary);
  ASSERT_TRUE(bmp.good());
  char header[26] = {};
  bmp.read(header, sizeof header);
  EXPECT_EQ(header[0], 'B');
  EXPECT_EQ(header[1], 'M');
  auto le32 = [&](int at) {
    return static_cast<int>(
        static_cast<uint8_t>(header[at]) | static_cast<uint8_t>(header[at + 1]) << 8 |
        static_cast<uint8_t>(header[at + 2]) << 16 | static_cast<uint8_t>(header[at + 3]) << 24);
  };
  EXPECT_EQ(le32(18), 640);
  EXPECT_EQ(le32(22), 480);

  // "snapshot" is a plain file here: no directory can be made, the save
  // fails, the counter still moves on and the game goes on.
  fs::remove_all("snapshot");
  Touch("snapshot");
  const uint32_t frames = gGraphics.frameCount;
  Frame(false, false);
  Frame(true, false);
  EXPECT_EQ(gGraphics.frameCount, frames + 2);
  EXPECT_EQ(gGraphics.screenshotNumber, 2);
  EXPECT_TRUE(fs::is_regular_file("snapshot"));
}

}  // namespace
