// Input: newly pressed and held, recording, playback, suspend and resume,
// and the stage records of a replay.
#include <gtest/gtest.h>

#include <vector>

#include "SpineFixture.h"
#include "app/Module_Game.h"

namespace {

using engine::headless::SetJoypad;
using engine::headless::SetKey;

class InputTest : public SpineTest {
 protected:
  void SetUp() override {
    SpineTest::SetUp();
    savedGame = gGame;
  }
  void TearDown() override {
    gGame = savedGame;
    SpineTest::TearDown();
  }
  // A playback record of one stage with the given frames.
  static void LoadPlayback(const std::vector<InputSample>& frames) {
    gInput.replay.Clear();
    ReplayStage stage;
    stage.start.seed = 1234;
    stage.start.stage = 3;
    stage.frames = frames;
    gInput.replay.stages.push_back(stage);
    gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
    gInput.Resume();
    gInput.BeginStage();
  }
  Module_Game savedGame;
};

TEST_F(InputTest, NewlyPressedNeedsUpLastFrameByKeyOrJoypad) {
  SetKey(KEY_Z, true);
  gInput.update();
  EXPECT_TRUE(gInput.Pressed(BUTTON_OK));
  EXPECT_TRUE(gInput.Pressed(BUTTON_SHOT));  // same key
  EXPECT_FALSE(gInput.Pressed(BUTTON_CANCEL));
  gInput.update();
  EXPECT_FALSE(gInput.Pressed(BUTTON_OK));
  EXPECT_TRUE(gInput.Held(BUTTON_OK));

  SetKey(KEY_Z, false);
  SetJoypad(0x20 | DIR_LEFT);
  gInput.update();
  EXPECT_TRUE(gInput.Pressed(BUTTON_CANCEL));
  EXPECT_TRUE(gInput.Pressed(BUTTON_CHARGE));
  EXPECT_TRUE(gInput.DirectionPressed(DIR_LEFT));
  EXPECT_FALSE(gInput.Held(BUTTON_OK));
  gInput.update();
  EXPECT_FALSE(gInput.DirectionPressed(DIR_LEFT));
  EXPECT_TRUE(gInput.DirectionHeld(DIR_LEFT));

  SetJoypad(0);
  SetKey(KEY_UP, true);
  gInput.update();
  EXPECT_TRUE(gInput.DirectionPressed(DIR_UP));
  EXPECT_FALSE(gInput.DirectionPressed(DIR_DOWN));
}

TEST_F(InputTest, KeysHeldThroughLoadingAreNotNewlyPressedOnTheFirstFrame) {
  SetKey(KEY_Z, true);
  gInput.update();  // the start-up read while the loading picture shows
  gInput.update();  // the first frame of the first scene
  EXPECT_TRUE(gInput.Held(BUTTON_OK));
  EXPECT_FALSE(gInput.Pressed(BUTTON_OK));
}

TEST_F(InputTest, ConfiguredJoypadMaskDecidesTheButton) {
  gInput.buttonMask[BUTTON_BOMB] = 0x10;  // button 1 now also bombs
  SetJoypad(0x10);
  gInput.update();
  EXPECT_TRUE(gInput.Pressed(BUTTON_BOMB));
  EXPECT_TRUE(gInput.Pressed(BUTTON_OK));
  SetJoypad(0x40);
  gInput.update();
  EXPECT_FALSE(gInput.Held(BUTTON_BOMB));
  SetKey(KEY_C, true);  // the fixed key still works
  gInput.update();
  EXPECT_TRUE(gInput.Held(BUTTON_BOMB));
}

TEST_F(InputTest, RecordingStoresHeldButtonsAndDirectionsButNeverPause) {
  gGame.stage = 1;
  gInput.StartNewRecording();
  gInput.BeginStage();
  SetKey(KEY_Z, true);
  SetKey(KEY_ESCAPE, true);
  SetKey(KEY_LEFT, true);
  SetJoypad(0x80 | DIR_UP | 0x200);  // Slow, up, and the pad's Pause
  gInput.update();
  SetKey(KEY_Z, false);
  SetKey(KEY_ESCAPE, false);
  SetKey(KEY_LEFT, false);
  SetKey(KEY_LCONTROL, true);
  SetJoypad(0);
  gInput.update();
  ASSERT_EQ(gInput.replay.stages.size(), 1u);
  const auto& frames = gInput.replay.stages[0].frames;
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].buttons, 0x01 | 0x04 | 0x20);  // OK, Shot, Slow
  EXPECT_EQ(frames[0].directions, DIR_LEFT | DIR_UP);
  EXPECT_EQ(frames[1].buttons, 0x80);
  EXPECT_EQ(frames[1].directions, 0);
  // The live input is left alone: the game still sees the pause.
  EXPECT_EQ(gInput.keysNow[KEY_ESCAPE], 0);
  EXPECT_TRUE(gInput.Held(BUTTON_SKIP));
}

TEST_F(InputTest, FramesOfThePauseMenuAreNotRecorded) {
  gInput.StartNewRecording();
  gInput.BeginStage();
  gInput.update();
  gInput.Suspend();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  for (int i = 0; i < 5; ++i) gInput.update();
  gInput.Resume();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  gInput.update();
  EXPECT_EQ(gInput.replay.stages[0].frames.size(), 2u);
}

// What the game saw as newly pressed on each frame: one bit per button.
uint32_t PressedBits() {
  uint32_t bits = 0;
  for (int b = 0; b < kVirtualButtons; ++b) bits |= gInput.Pressed(b) ? 1u << b : 0u;
  return bits;
}

// A game recorded live and the same game played back must see the same new
// presses on every frame, also on a stage's first frame (keys held from the
// cut-scene) and on the first frame after a pause menu during which keys
// changed.
TEST_F(InputTest, PlaybackSeesTheSameNewPressesAsTheRecordedGame) {
  struct Hands {
    bool z, x, c;
  };
  const Hands before{true, false, false};        // Z held into the stage
  const Hands stage[] = {{true, false, false},   // frame 1
                         {true, false, true},    // frame 2: bomb
                         {false, false, false},  // frame 3, then the menu opens
                         {true, true, true}};    // frame 4, after the menu
  const Hands inMenu[] = {{false, true, false}, {true, true, true}};
  auto set = [](const Hands& h) {
    SetKey(KEY_Z, h.z);
    SetKey(KEY_X, h.x);
    SetKey(KEY_C, h.c);
  };

  set(before);
  gInput.update();
  gInput.StartNewRecording();
  gInput.Resume();
  gInput.BeginStage();
  std::vector<uint32_t> live;
  for (int i = 0; i < 4; ++i) {
    if (i == 3) {
      gInput.Suspend();
      for (const Hands& h : inMenu) {
        set(h);
        gInput.update();
      }
      gInput.Resume();
    }
    set(stage[i]);
    gInput.update();
    live.push_back(PressedBits());
  }
  ASSERT_EQ(gInput.replay.stages[0].frames.size(), 4u);
  EXPECT_EQ(live[0], 0u);  // nothing is new on a stage's first frame
  EXPECT_TRUE(live[1] & (1u << BUTTON_BOMB));

  // Played back after other keys were held (a different history).
  const std::vector<InputSample> frames = gInput.replay.stages[0].frames;
  set({false, true, false});
  gInput.update();
  gInput.update();
  LoadPlayback(frames);
  std::vector<uint32_t> played;
  for (int i = 0; i < 4; ++i) {
    if (i == 3) {
      gInput.Suspend();
      gInput.update();
      gInput.Resume();
    }
    gInput.update();
    played.push_back(PressedBits());
  }
  EXPECT_EQ(played, live);
}

TEST_F(InputTest, TwoRecordedStagesGetTheirOwnSeedsAndStartStates) {
  SeedRandom(42);
  gGame.difficulty = 3;
  gGame.chargeType = 1;
  gGame.stage = 1;
  gGame.lives = 2;
  gGame.score = 0;
  gInput.StartNewRecording();
  EXPECT_EQ(gInput.replay.header.difficulty, 0);
  gInput.BeginStage();
  const int firstAfterSeed = RandomUpTo(1000);
  gInput.update();
  gInput.Suspend();  // stage ends
  gGame.stage = 2;
  gGame.lives = 4;
  gGame.score = 98765;
  gGame.power = 128;
  gGame.points = 300;
  gGame.bombs = 1;
  gInput.Resume();
  gInput.BeginStage();

  const auto& stages = gInput.replay.stages;
  ASSERT_EQ(stages.size(), 2u);
  EXPECT_EQ(gInput.replay.header.difficulty, 3);
  EXPECT_EQ(gInput.replay.header.chargeType, 1);
  EXPECT_EQ(stages[0].start.stage, 1);
  EXPECT_EQ(stages[1].start.stage, 2);
  EXPECT_EQ(stages[1].start.lives, 4);
  EXPECT_EQ(stages[1].start.bombs, 1);
  EXPECT_EQ(stages[1].start.power, 128);
  EXPECT_EQ(stages[1].start.points, 300);
  EXPECT_EQ(stages[1].start.score, 98765);
  EXPECT_NE(stages[0].start.seed, stages[1].start.seed);
  EXPECT_GE(stages[0].start.seed, 0);
  EXPECT_LE(stages[0].start.seed, 0x7FFFFFFE);
  EXPECT_EQ(stages[0].frames.size(), 1u);
  EXPECT_TRUE(stages[1].frames.empty());

  // Each stage's seed is the generator's next draw, then the generator is
  // reseeded with it: the stage replays from its seed alone.
  SeedRandom(42);
  EXPECT_EQ(RandomUpTo(0x7FFFFFFE), stages[0].start.seed);
  SeedRandom(stages[0].start.seed);
  EXPECT_EQ(RandomUpTo(1000), firstAfterSeed);
}

TEST_F(InputTest, PlaybackRestoresTheStageAndSubstitutesTheRecordedInput) {
  gInput.replay.Clear();
  gInput.replay.header.difficulty = 5;
  gInput.replay.header.chargeType = 1;
  ReplayStage stage;
  stage.start = {777, 4, 3, 2, 200, 150, 123456};
  stage.frames = {{0x04 | 0x20, DIR_RIGHT}, {0x10, 0}, {0x01, DIR_DOWN}};
  gInput.replay.stages.push_back(stage);
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;  // as a loaded replay file leaves it
  gInput.Resume();
  gInput.BeginStage();
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING);
  EXPECT_EQ(gGame.difficulty, 5);
  EXPECT_EQ(gGame.chargeType, 1);
  EXPECT_EQ(gGame.stage, 4);
  EXPECT_EQ(gGame.lives, 3);
  EXPECT_EQ(gGame.bombs, 2);
  EXPECT_EQ(gGame.power, 200);
  EXPECT_EQ(gGame.points, 150);
  EXPECT_EQ(gGame.score, 123456);
  SeedRandom(777);
  const int expected = RandomUpTo(99999);
  SeedRandom(1);
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
  gInput.Resume();
  gInput.BeginStage();
  EXPECT_EQ(RandomUpTo(99999), expected);

  // Live arrows and Z change nothing: the game sees the record.
  SetKey(KEY_Z, true);
  SetKey(KEY_LEFT, true);
  SetJoypad(DIR_UP | 0x40);
  gInput.update();
  EXPECT_TRUE(gInput.Held(BUTTON_SHOT));
  EXPECT_TRUE(gInput.Held(BUTTON_SLOW));
  EXPECT_FALSE(gInput.Held(BUTTON_BOMB));
  EXPECT_TRUE(gInput.DirectionHeld(DIR_RIGHT));
  EXPECT_FALSE(gInput.DirectionHeld(DIR_LEFT));
  EXPECT_FALSE(gInput.DirectionHeld(DIR_UP));
  EXPECT_EQ(gInput.keysNow[KEY_Z], 0);
  gInput.update();
  EXPECT_TRUE(gInput.Pressed(BUTTON_BOMB));
  EXPECT_FALSE(gInput.Held(BUTTON_SHOT));
  // The last frame is delivered and the record is then exhausted.
  gInput.update();
  EXPECT_TRUE(gInput.Held(BUTTON_OK));
  EXPECT_TRUE(gInput.DirectionHeld(DIR_DOWN));
  EXPECT_TRUE(gInput.replay.exhausted);
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
  // From then on the input is live again.
  gInput.update();
  EXPECT_TRUE(gInput.Held(BUTTON_SHOT));
  EXPECT_TRUE(gInput.DirectionHeld(DIR_LEFT));
}

TEST_F(InputTest, PlaybackCanBePausedAndFastForwardedLive) {
  LoadPlayback(std::vector<InputSample>(10, InputSample{0x04, 0}));
  gInput.update();
  SetKey(KEY_ESCAPE, true);
  SetKey(KEY_LCONTROL, true);
  gInput.update();
  EXPECT_TRUE(gInput.Pressed(BUTTON_PAUSE));
  EXPECT_EQ(gInput.skipHeldFrames, 1);
  // Skip itself is not passed to the game unless the record holds it.
  EXPECT_FALSE(gInput.Held(BUTTON_SKIP));
  gInput.update();
  EXPECT_EQ(gInput.skipHeldFrames, 2);
  SetKey(KEY_LCONTROL, false);
  gInput.update();
  EXPECT_EQ(gInput.skipHeldFrames, 0);

  // The pause menu: suspended, then resumed with Escape still held.
  gInput.Suspend();
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
  gInput.update();
  gInput.update();
  gInput.Resume();
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING);
  gInput.update();
  EXPECT_TRUE(gInput.Held(BUTTON_PAUSE));
  EXPECT_FALSE(gInput.Pressed(BUTTON_PAUSE));
  // Recorded frames used: four before the menu, one after; none inside it.
  EXPECT_EQ(gInput.replay.playFrame, 5u);
}

TEST_F(InputTest, AStageWithZeroFramesIsExhaustedAtOnce) {
  LoadPlayback({});
  EXPECT_FALSE(gInput.replay.exhausted);
  SetKey(KEY_Z, true);
  gInput.update();
  EXPECT_TRUE(gInput.replay.exhausted);
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
  EXPECT_FALSE(gInput.Held(BUTTON_SHOT));  // nothing delivered, live input cleared
}

TEST_F(InputTest, BeginStageWithoutARecordForTheStageTurnsReplayOff) {
  LoadPlayback({{1, 0}});
  gInput.replay.stageIndex = 1;
  gInput.BeginStage();
  EXPECT_EQ(gInput.replayMode, REPLAY_OFF);
}

TEST_F(InputTest, ReplayModeTableTransitions) {
  // off: suspend and resume change nothing.
  gInput.Suspend();
  gInput.Resume();
  EXPECT_EQ(gInput.replayMode, REPLAY_OFF);
  // stage 1 start: a fresh record, recording.
  gInput.replay.stages.resize(3);
  gInput.replay.header.difficulty = 9;
  gInput.replay.exhausted = true;
  gInput.replay.stageIndex = 2;
  gInput.StartNewRecording();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  EXPECT_TRUE(gInput.replay.stages.empty());
  EXPECT_EQ(gInput.replay.header.difficulty, 0);
  EXPECT_FALSE(gInput.replay.exhausted);
  EXPECT_EQ(gInput.replay.stageIndex, 0);
  gInput.Suspend();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  gInput.Suspend();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  gInput.Resume();
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  // Recording without a stage record keeps nothing and does not fail.
  gInput.update();
  EXPECT_TRUE(gInput.replay.stages.empty());
  // Resuming while not suspended keeps the previous frame as it is.
  gInput.replayMode = REPLAY_PLAYING;
  gInput.Resume();
  EXPECT_FALSE(gInput.keepPrevOnce);
}

}  // namespace
