// The sound operations on the headless backend, checked sample by sample on
// the mixer output the device would play.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/Limiter.h"
#include "engine/Mixer.h"
#include "test_sound_util.h"

namespace {

using soundtest::RampFloat;

class SoundTest : public ::testing::Test {
 protected:
  soundtest::InScratchDir inScratch_;
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    SetSoundLoadMode(LOAD_MEMORY);
  }
  void TearDown() override { EngineEnd(); }

  // Left channel of the next `frames` frames.
  static std::vector<float> Pull(int frames) {
    std::vector<float> stereo(2 * static_cast<size_t>(frames));
    engine::headless::PullAudio(stereo.data(), frames);
    std::vector<float> left(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
      left[i] = stereo[2 * i];
      EXPECT_EQ(stereo[2 * i], stereo[2 * i + 1]) << "mono plays the same on both sides";
    }
    return left;
  }

  static int LoadRamp(const char* name, int frames, int mode, int rate = 44100) {
    SetSoundLoadMode(mode);
    return LoadSound(soundtest::WriteFile(name, soundtest::RampWav(frames, rate)).c_str());
  }
};

TEST_F(SoundTest, LoopingStreamJumpsToItsLoopPointWithoutAGap) {
  const int length = 1000, loopAt = 300;
  int h = LoadRamp("loop.wav", length, LOAD_STREAM);
  ASSERT_GT(h, 0);
  ASSERT_EQ(SetSoundLoopPoint(loopAt, h), 0);
  ASSERT_EQ(PlaySoundHandle(h, PLAY_LOOP, true), 0);
  // Odd pull sizes so that the loop falls inside a device buffer.
  std::vector<float> out;
  for (int chunk : {333, 777, 1111, 289}) {
    std::vector<float> part = Pull(chunk);
    out.insert(out.end(), part.begin(), part.end());
  }
  for (size_t i = 0; i < out.size(); ++i) {
    int64_t expected = i < static_cast<size_t>(length)
                           ? static_cast<int64_t>(i)
                           : loopAt + static_cast<int64_t>(i - length) % (length - loopAt);
    ASSERT_EQ(out[i], RampFloat(expected)) << "frame " << i;
  }
  EXPECT_EQ(IsSoundPlaying(h), 1);
}

TEST_F(SoundTest, LoopingMemorySoundAlsoHonoursTheLoopPoint) {
  int h = LoadRamp("loopmem.wav", 500, LOAD_MEMORY);
  ASSERT_GT(h, 0);
  SetSoundLoopPoint(100, h);
  PlaySoundHandle(h, PLAY_LOOP, true);
  std::vector<float> out = Pull(1000);
  EXPECT_EQ(out[499], RampFloat(499));
  EXPECT_EQ(out[500], RampFloat(100));
  EXPECT_EQ(out[900], RampFloat(100));
}

TEST_F(SoundTest, ThreePlaysOverlapAndAFourthDoesNotAddAVoice) {
  int h = LoadRamp("shot.wav", 1000, LOAD_MEMORY);
  ASSERT_GT(h, 0);
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  Pull(100);
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  Pull(100);
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  // Voices now at 200, 100 and 0.
  std::vector<float> three = Pull(1);
  EXPECT_EQ(three[0], RampFloat(200) + RampFloat(100) + RampFloat(0));

  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  // The voice that sounded longest restarts; a fourth voice would add
  // RampFloat(201) on top.
  std::vector<float> after = Pull(1);
  EXPECT_EQ(after[0], RampFloat(0) + RampFloat(101) + RampFloat(1));
}

// Mono 16-bit square wave: `period` frames per cycle, `level` of full scale.
std::string WriteSquare(const char* name, int frames, int period, float level) {
  std::vector<uint8_t> data;
  const int amplitude = static_cast<int>(level * 32767);
  for (int i = 0; i < frames; ++i)
    soundtest::put16(data, i % period < period / 2 ? amplitude : -amplitude);
  return soundtest::WriteFile(name, soundtest::Wav(1, 44100, 16, data));
}

TEST_F(SoundTest, APileOfLoudSoundsNeverReachesFullScale) {
  SetSoundLoadMode(LOAD_STREAM);
  int music = LoadSound(WriteSquare("music.wav", 44100, 100, 0.9f).c_str());
  ASSERT_GT(music, 0);
  PlaySoundHandle(music, PLAY_LOOP, true);
  SetSoundLoadMode(LOAD_MEMORY);
  std::vector<int> effects;
  for (int period : {40, 64, 90, 150, 222}) {
    std::string name = "fx" + std::to_string(period) + ".wav";
    effects.push_back(LoadSound(WriteSquare(name.c_str(), 22050, period, 0.85f).c_str()));
    ASSERT_GT(effects.back(), 0);
  }
  // Every effect three times over, each start landing on a loud mix.
  float peak = 0.0f;
  int atFullScale = 0;
  for (int round = 0; round < 3; ++round) {
    for (int h : effects) {
      PlaySoundHandle(h, PLAY_BACKGROUND, true);
      for (float v : Pull(731)) {
        peak = std::max(peak, std::fabs(v));
        atFullScale += std::fabs(v) >= 0.999f ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(atFullScale, 0);
  EXPECT_LE(peak, engine::Limiter::kCeiling);
  EXPECT_GT(peak, 0.9f) << "turned down, not drowned";
}

TEST_F(SoundTest, QuietSoundPassesUntouchedBeforeAndSoonAfterALoudBurst) {
  // The ramp stays under half of full scale: music at a moderate level.
  int music = LoadRamp("quietmusic.wav", 1000, LOAD_STREAM);
  ASSERT_GT(music, 0);
  PlaySoundHandle(music, PLAY_LOOP, true);
  int64_t played = 0;
  auto expectUntouched = [&](int frames) {
    std::vector<float> out = Pull(frames);
    for (int i = 0; i < frames; ++i) {
      ASSERT_EQ(out[i], RampFloat((played + i) % 1000)) << "frame " << played + i;
    }
    played += frames;
  };
  expectUntouched(5000);

  SetSoundLoadMode(LOAD_MEMORY);
  int bang = LoadSound(WriteSquare("bang.wav", 8820, 60, 0.95f).c_str());
  ASSERT_GT(bang, 0);
  PlaySoundHandle(bang, PLAY_BACKGROUND, true);
  std::vector<float> burst = Pull(8820);
  played += 8820;
  for (float v : burst) ASSERT_LT(std::fabs(v), 0.999f);
  // The follower lets go within two seconds, then the music is bit for bit
  // what it was: no lasting loss of loudness.
  Pull(2 * 44100);
  played += 2 * 44100;
  expectUntouched(5000);
}

TEST_F(SoundTest, StopThenPlayFromWhereItStopped) {
  for (int mode : {LOAD_MEMORY, LOAD_STREAM}) {
    SCOPED_TRACE(mode);
    int h = LoadRamp("resume.wav", 1000, mode);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, PLAY_BACKGROUND, true);
    Pull(250);
    ASSERT_EQ(StopSoundHandle(h), 0);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    for (float v : Pull(100)) ASSERT_EQ(v, 0.0f) << "stopped means silent";

    PlaySoundHandle(h, PLAY_BACKGROUND, false);
    std::vector<float> resumed = Pull(3);
    EXPECT_EQ(resumed[0], RampFloat(250));
    EXPECT_EQ(resumed[2], RampFloat(252));

    // From the top restarts instead.
    StopSoundHandle(h);
    PlaySoundHandle(h, PLAY_BACKGROUND, true);
    EXPECT_EQ(Pull(1)[0], RampFloat(0));

    // Played to its end, a resume starts over.
    Pull(2000);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    PlaySoundHandle(h, PLAY_BACKGROUND, false);
    EXPECT_EQ(Pull(1)[0], RampFloat(0));
    DeleteSound(h);
  }
}

TEST_F(SoundTest, VolumeFollowsTheAttenuationLaw) {
  EXPECT_EQ(engine::Mixer::VolumeToGain(0), 0.0f);
  EXPECT_EQ(engine::Mixer::VolumeToGain(255), 1.0f);
  EXPECT_EQ(engine::Mixer::VolumeToGain(650), 1.0f);
  // 1000·log10(127/255) hundredths of a decibel: about -3.03 dB.
  EXPECT_NEAR(engine::Mixer::VolumeToGain(127), 0.705727f, 1e-5f);
  EXPECT_NEAR(engine::Mixer::VolumeToGain(25), 0.313112f, 1e-5f);

  int h = LoadRamp("vol.wav", 1000, LOAD_MEMORY);
  ASSERT_GT(h, 0);
  struct Case {
    int volume;
    float gain;
  };
  for (Case c : {Case{0, 0.0f}, Case{127, 0.705727f}, Case{255, 1.0f}, Case{650, 1.0f}}) {
    SCOPED_TRACE(c.volume);
    ASSERT_EQ(SetSoundVolume(c.volume, h), 0);
    PlaySoundHandle(h, PLAY_BACKGROUND, true);
    std::vector<float> out = Pull(10);
    EXPECT_NEAR(out[9], RampFloat(9) * c.gain, 1e-6f);
    StopSoundHandle(h);
  }
  // Empty effect slots pass handle 0, which is simply refused.
  EXPECT_EQ(SetSoundVolume(100, 0), -1);
}

TEST_F(SoundTest, PlayingStateFollowsTheSound) {
  EXPECT_EQ(IsSoundPlaying(0), -1);
  EXPECT_EQ(IsSoundPlaying(12345), -1);
  int h = LoadRamp("state.wav", 441, LOAD_MEMORY);
  ASSERT_GT(h, 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  Pull(440);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  Pull(1);
  EXPECT_EQ(IsSoundPlaying(h), 0);

  PlaySoundHandle(h, PLAY_LOOP, true);
  Pull(5000);
  EXPECT_EQ(IsSoundPlaying(h), 1) << "a loop never ends by itself";
  StopSoundHandle(h);
  EXPECT_EQ(IsSoundPlaying(h), 0);

  // Waiting play cannot block a test: headless it plays in the background.
  EXPECT_EQ(PlaySoundHandle(h, PLAY_WAIT, true), 0);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  EXPECT_EQ(PlaySoundHandle(h, 2, true), -1) << "no such play mode";

  ASSERT_EQ(DeleteSound(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), -1);
  EXPECT_EQ(DeleteSound(h), -1);
  EXPECT_EQ(PlaySoundHandle(h, PLAY_BACKGROUND, true), -1);
}

TEST_F(SoundTest, DeleteAllReleasesEveryHandleAndSilences) {
  int a = LoadRamp("a.wav", 1000, LOAD_MEMORY);
  int b = LoadRamp("b.wav", 1000, LOAD_STREAM);
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  PlaySoundHandle(a, PLAY_LOOP, true);
  PlaySoundHandle(b, PLAY_LOOP, true);
  EXPECT_NE(Pull(10)[5], 0.0f);
  EXPECT_EQ(DeleteAllSounds(), 0);
  EXPECT_EQ(IsSoundPlaying(a), -1);
  EXPECT_EQ(IsSoundPlaying(b), -1);
  for (float v : Pull(50)) ASSERT_EQ(v, 0.0f);
  // Sounds still load and play after it (the game clears at start-up).
  int c = LoadRamp("c.wav", 100, LOAD_MEMORY);
  ASSERT_GT(c, 0);
  EXPECT_NE(c, a) << "handles are not reused";
  PlaySoundHandle(c, PLAY_BACKGROUND, true);
  EXPECT_EQ(Pull(1)[0], RampFloat(0));
}

TEST_F(SoundTest, SoundsAtOtherRatesPlayAtTheirOwnPitch) {
  // Half the rate lasts twice as many mix frames, in memory and streamed.
  for (int mode : {LOAD_MEMORY, LOAD_STREAM}) {
    SCOPED_TRACE(mode);
    int h = LoadRamp("half.wav", 1000, mode, 22050);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, PLAY_BACKGROUND, true);
    std::vector<float> out = Pull(1990);
    EXPECT_EQ(IsSoundPlaying(h), 1);
    EXPECT_EQ(out[0], RampFloat(0));
    EXPECT_NEAR(out[1], (RampFloat(0) + RampFloat(1)) / 2, 1e-6f) << "interpolated";
    EXPECT_NEAR(out[1000], RampFloat(500), 1e-6f);
    Pull(20);
    EXPECT_EQ(IsSoundPlaying(h), 0);
    DeleteSound(h);
  }
}

TEST_F(SoundTest, OperationsWorkWithoutEverPullingTheDevice) {
  // No sound card: nothing pulls the mixer, yet the state is kept.
  int h = LoadRamp("quiet.wav", 100, LOAD_MEMORY);
  ASSERT_GT(h, 0);
  EXPECT_EQ(PlaySoundHandle(h, PLAY_LOOP, true), 0);
  EXPECT_EQ(SetSoundVolume(10, h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  EXPECT_EQ(StopSoundHandle(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

}  // namespace

namespace {

// The SDL audio device: the dummy driver plays in real time without a sound
// card; an unknown driver stands for a machine with no sound at all.
class SdlSoundTest : public ::testing::Test {
 protected:
  soundtest::InScratchDir inScratch_;
  void Start(const char* audioDriver) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", audioDriver, 1);
    engine::headless::UseSdl();
    ASSERT_EQ(EngineInit(), 0);
    SetSoundLoadMode(LOAD_MEMORY);
  }
  void TearDown() override {
    EngineEnd();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    engine::headless::Use();
  }
};

TEST_F(SdlSoundTest, WaitingPlayReturnsOnceTheSoundHasPlayed) {
  Start("dummy");
  // A tenth of a second.
  int h = LoadSound(soundtest::WriteFile("wait.wav", soundtest::RampWav(4410)).c_str());
  ASSERT_GT(h, 0);
  const int64_t before = GetTimeMicro();
  ASSERT_EQ(PlaySoundHandle(h, PLAY_WAIT, true), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_GE(GetTimeMicro() - before, 80000) << "the device really played it";
  // Background plays return at once and end by themselves.
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  EXPECT_EQ(IsSoundPlaying(h), 1);
  for (int i = 0; i < 200 && IsSoundPlaying(h) == 1; ++i) SleepMilli(5);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

TEST_F(SdlSoundTest, WithoutASoundDeviceEverythingStillAnswers) {
  Start("no-such-driver");
  int h = LoadSound(soundtest::WriteFile("mute.wav", soundtest::RampWav(441000)).c_str());
  ASSERT_GT(h, 0);
  const int64_t before = GetTimeMicro();
  EXPECT_EQ(PlaySoundHandle(h, PLAY_WAIT, true), 0);
  EXPECT_LT(GetTimeMicro() - before, 1000000) << "no device: a waiting play does not wait";
  EXPECT_EQ(IsSoundPlaying(h), 1);
  EXPECT_EQ(SetSoundVolume(650, h), 0);
  EXPECT_EQ(StopSoundHandle(h), 0);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_EQ(DeleteAllSounds(), 0);
  EXPECT_EQ(IsSoundPlaying(h), -1);
}

}  // namespace
