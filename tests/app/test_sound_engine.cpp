// Module_Sound against the real mixer (headless): what a player would hear.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "support/TempWorkDir.h"

namespace {

// A mono 16-bit WAV of a square wave, `seconds` long.
std::string SquareWav(double seconds, int amplitude) {
  const int rate = 44100;
  const int frames = static_cast<int>(rate * seconds);
  std::string data;
  for (int i = 0; i < frames; ++i) {
    const int16_t s = static_cast<int16_t>((i / 50) % 2 ? amplitude : -amplitude);
    data.push_back(static_cast<char>(s & 0xff));
    data.push_back(static_cast<char>((s >> 8) & 0xff));
  }
  auto le32 = [](uint32_t v) {
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    return out;
  };
  auto le16 = [](uint16_t v) {
    return std::string{static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
  };
  std::string wav = "RIFF" + le32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + le32(16) +
                    le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16) + "data" +
                    le32(static_cast<uint32_t>(data.size())) + data;
  return wav;
}

float Peak(int frames) {
  std::vector<float> buf(static_cast<size_t>(frames) * 2);
  engine::headless::PullAudio(buf.data(), frames);
  float peak = 0.0f;
  for (float v : buf) peak = std::max(peak, std::fabs(v));
  return peak;
}

class SoundEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    WriteBytes("Sounds/SE/se_ok00.wav", SquareWav(0.5, 8000));
    WriteBytes("Sounds/SE/se_item00.wav", "RIFF but not a wave at all");
    WriteBytes("Sounds/BGM/BGM.tsv", "title.wav\t0\tTitle\n");
    WriteBytes("Sounds/BGM/title.wav", SquareWav(1.0, 8000));
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    sound_.Load();
  }
  void TearDown() override { EngineEnd(); }
  TempWorkDir dir_;
  Module_Sound sound_;
};

TEST_F(SoundEngineTest, BrokenAndMissingEffectsLeaveTheirSlotsSilent) {
  EXPECT_GT(sound_.seHandle[1], 0);
  EXPECT_EQ(sound_.seHandle[0], -1);  // missing
  EXPECT_EQ(sound_.seHandle[4], -1);  // not a sound
  sound_.RequestEffect(0);
  sound_.RequestEffect(4);
  sound_.Update();
  EXPECT_EQ(Peak(512), 0.0f);
}

TEST_F(SoundEngineTest, ThreeRequestsInOneFrameSoundLikeOne) {
  sound_.RequestEffect(1);
  sound_.Update();
  EXPECT_EQ(IsSoundPlaying(sound_.seHandle[1]), 1);
  const float once = Peak(512);
  EXPECT_GT(once, 0.0f);
  StopSoundHandle(sound_.seHandle[1]);
  Peak(512);  // let the stopped voice go
  sound_.RequestEffect(1);
  sound_.RequestEffect(1);
  sound_.RequestEffect(1);
  sound_.Update();
  EXPECT_FLOAT_EQ(Peak(512), once);
}

TEST_F(SoundEngineTest, FastForwardedFramesDoNotPileUpOneEffect) {
  sound_.RequestEffect(1);
  sound_.Update();
  const float once = Peak(512);
  ASSERT_GT(once, 0.0f);
  StopSoundHandle(sound_.seHandle[1]);
  Peak(512);
  // Eleven frames run before the device pulls again, each asking for it.
  for (int frame = 0; frame < 11; ++frame) {
    sound_.RequestEffect(1);
    sound_.Update();
  }
  EXPECT_FLOAT_EQ(Peak(512), once);
  EXPECT_EQ(IsSoundPlaying(sound_.seHandle[1]), 1);
  // Once it has been heard, a new request overlaps it as before.
  sound_.RequestEffect(1);
  sound_.Update();
  EXPECT_GT(Peak(512), once);
}

TEST_F(SoundEngineTest, NothingPlaysWhileTheEffectVolumeIsZero) {
  sound_.seVolume = 0;
  sound_.ApplyVolumes();
  sound_.RequestEffect(1);
  sound_.Update();
  EXPECT_EQ(IsSoundPlaying(sound_.seHandle[1]), 0);
}

TEST_F(SoundEngineTest, TitleMusicReachesTheMixerAndFadesToSilence) {
  ASSERT_EQ(sound_.bgmList.size(), 1u);
  sound_.bgmVolume = 100;
  sound_.PlayMusic(0);
  ASSERT_GT(sound_.bgmHandle, 0);
  EXPECT_EQ(IsSoundPlaying(sound_.bgmHandle), 1);
  EXPECT_GT(Peak(512), 0.0f);
  sound_.FadeMusic(-8.5f, 30);
  for (int i = 0; i < 30; ++i) sound_.Update();
  EXPECT_EQ(IsSoundPlaying(sound_.bgmHandle), 1);  // silent, but still playing
  Peak(4096);                                      // past any volume ramp
  EXPECT_LT(Peak(512), 0.001f);
}

}  // namespace
