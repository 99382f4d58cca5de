// What the pause menu does to the tune and to the input recording: the tune
// stops while the menu is open and resumes where it stopped, heard through
// the real mixer; the recording skips the menu's frames, so a replay of the
// game never sees the pause.
#include <fstream>

#include "engine/test_sound_util.h"
#include "stage/Stage_Menu.h"
#include "test_stage_support.h"

namespace {

class MenuSoundTest : public StageSceneTest {
 protected:
  void SetUp() override {
    StageSceneTest::SetUp();
    gStageLinks.makeMenu = &MakeStageMenu;
  }
  void tap(int key) {
    engine::headless::SetKey(key, true);
    frame();
    engine::headless::SetKey(key, false);
    frame();
  }
  static std::vector<float> Pull(int frames) {
    std::vector<float> stereo(2 * static_cast<size_t>(frames));
    engine::headless::PullAudio(stereo.data(), frames);
    std::vector<float> left(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
      left[static_cast<size_t>(i)] = stereo[2 * static_cast<size_t>(i)];
    return left;
  }
};

TEST_F(MenuSoundTest, TuneStopsWhilePausedAndResumesWhereItStopped) {
  // The real mixer plays a ramp as stage 1's tune, at full volume.
  gSound.engine = FacadeSoundCalls();
  gSound.bgmVolume = 100;
  const std::vector<uint8_t> wav = soundtest::RampWav(20000);
  std::ofstream("ramp.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
  gSound.bgmList[2].path = "ramp.wav";
  gSound.bgmList[2].loopPoint = 0;

  begin(1);
  ASSERT_GT(gSound.bgmHandle, 0);
  const int handle = gSound.bgmHandle;
  std::vector<float> heard = Pull(300);
  ASSERT_EQ(heard[0], soundtest::RampFloat(0));
  ASSERT_EQ(heard[299], soundtest::RampFloat(299));

  tap(KEY_ESCAPE);
  ASSERT_TRUE(scene->menuOpen);
  EXPECT_EQ(IsSoundPlaying(handle), 0);
  for (float v : Pull(500)) ASSERT_EQ(v, 0.0f) << "paused means silent";

  tap(KEY_ESCAPE);
  ASSERT_FALSE(scene->menuOpen);
  EXPECT_EQ(gSound.bgmHandle, handle);  // the same tune, not a reload
  EXPECT_EQ(IsSoundPlaying(handle), 1);
  heard = Pull(3);
  EXPECT_EQ(heard[0], soundtest::RampFloat(300));
  EXPECT_EQ(heard[2], soundtest::RampFloat(302));
}

TEST_F(MenuSoundTest, ClosingWithoutATuneStartsNone) {
  gSound.bgmList.clear();  // nothing to play
  begin(1);
  ASSERT_EQ(gSound.bgmHandle, 0);
  tap(KEY_ESCAPE);
  ASSERT_TRUE(scene->menuOpen);
  tap(KEY_X);
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_EQ(gSound.bgmHandle, 0);
}

TEST_F(MenuSoundTest, RecordingHoldsOneSampleForEveryFramePlayed) {
  static int steps = 0;
  steps = 0;
  gStageLinks.stepScript = [](Scene_Stage&) { ++steps; };
  begin(1);
  ASSERT_EQ(gInput.replayMode, REPLAY_RECORDING);
  for (int i = 0; i < 5; ++i) frame();
  const auto unplayed = [] {
    return static_cast<int>(gInput.replay.stages.back().frames.size()) - steps;
  };
  const int before = unplayed();
  engine::headless::SetKey(KEY_ESCAPE, true);
  frame();
  engine::headless::SetKey(KEY_ESCAPE, false);
  ASSERT_TRUE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  const size_t recorded = gInput.replay.stages.back().frames.size();
  // The menu is used: cursor moves, a question, backing out.
  engine::headless::SetKey(KEY_DOWN, true);
  for (int i = 0; i < 4; ++i) frame();
  engine::headless::SetKey(KEY_DOWN, false);
  tap(KEY_Z);
  tap(KEY_X);
  EXPECT_EQ(gInput.replay.stages.back().frames.size(), recorded);
  tap(KEY_X);
  ASSERT_FALSE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  for (int i = 0; i < 7; ++i) frame();
  // The menu's frames left no samples, and every frame played has one.
  EXPECT_EQ(unplayed(), before);
  EXPECT_EQ(steps, 5 + 1 + 1 + 7);  // the release frame after closing played too
}

TEST_F(MenuSoundTest, GameOverMenuSuspendsTheRecordingUntilTheContinue) {
  gInput.replayMode = REPLAY_RECORDING;
  begin(2);
  frame();
  ASSERT_EQ(gInput.replayMode, REPLAY_RECORDING);
  ship().state = PLAYER_REENTERING;
  ship().lives = -1;
  frame();
  ASSERT_TRUE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  const size_t recorded = gInput.replay.stages.back().frames.size();
  tap(KEY_X);
  tap(KEY_ESCAPE);
  EXPECT_EQ(gInput.replay.stages.back().frames.size(), recorded);
  tap(KEY_Z);
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
}

}  // namespace
