// Reading sound files: WAV variants, Ogg Vorbis in memory and streamed, and
// files that are broken in the ways real files break.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/Limiter.h"
#include "engine/Mixer.h"
#include "engine/SoundData.h"
#include "test_sound_util.h"

namespace {

using soundtest::put16;
using soundtest::Wav;

TEST(WavReader, ReadsEightAndSixteenBitMonoAndStereo) {
  engine::PcmBuffer pcm;
  // 8-bit stereo: unsigned, 128 is silence.
  std::vector<uint8_t> eight = Wav(2, 22050, 8, {128, 255, 0, 192});
  ASSERT_TRUE(engine::DecodeWav(eight.data(), eight.size(), pcm));
  EXPECT_EQ(pcm.rate, 22050);
  ASSERT_EQ(pcm.frames(), 2);
  EXPECT_EQ(pcm.samples[0], 0.0f);
  EXPECT_EQ(pcm.samples[1], 127 / 128.0f);
  EXPECT_EQ(pcm.samples[2], -1.0f);
  EXPECT_EQ(pcm.samples[3], 0.5f);

  // 16-bit mono: signed little-endian, copied to both sides.
  std::vector<uint8_t> data;
  put16(data, -32768);
  put16(data, 16384);
  std::vector<uint8_t> sixteen = Wav(1, 48000, 16, data);
  ASSERT_TRUE(engine::DecodeWav(sixteen.data(), sixteen.size(), pcm));
  EXPECT_EQ(pcm.rate, 48000);
  ASSERT_EQ(pcm.frames(), 2);
  EXPECT_EQ(pcm.samples[0], -1.0f);
  EXPECT_EQ(pcm.samples[1], -1.0f);
  EXPECT_EQ(pcm.samples[2], 0.5f);
  EXPECT_EQ(pcm.samples[3], 0.5f);
}

TEST(WavReader, SkipsUnknownChunksIncludingOddSizedOnes) {
  std::vector<uint8_t> plain = soundtest::RampWav(10);
  // Insert a 3-byte "LIST" chunk (padded to 4) between "fmt " and "data".
  std::vector<uint8_t> withList(plain.begin(), plain.begin() + 36);
  const std::vector<uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 1, 2, 3, 0};
  withList.insert(withList.end(), list.begin(), list.end());
  withList.insert(withList.end(), plain.begin() + 36, plain.end());
  engine::PcmBuffer pcm;
  ASSERT_TRUE(engine::DecodeWav(withList.data(), withList.size(), pcm));
  ASSERT_EQ(pcm.frames(), 10);
  EXPECT_EQ(pcm.samples[18], soundtest::RampFloat(9));
}

TEST(WavReader, RejectsBrokenFilesWithoutReadingPastThem) {
  engine::PcmBuffer pcm;
  std::vector<uint8_t> good = soundtest::RampWav(100);
  ASSERT_TRUE(engine::DecodeWav(good.data(), good.size(), pcm));
  // Every cut-off short of the whole file: never a crash, never a false success
  // (the declared data size no longer fits).
  for (size_t cut = 0; cut < good.size(); ++cut) {
    std::vector<uint8_t> part(good.begin(), good.begin() + static_cast<long>(cut));
    ASSERT_FALSE(engine::DecodeWav(part.data(), part.size(), pcm)) << "cut at " << cut;
  }
  std::vector<uint8_t> data(8, 0);
  EXPECT_FALSE(engine::DecodeWav(Wav(3, 44100, 16, data).data(), 52, pcm)) << "three channels";
  EXPECT_FALSE(engine::DecodeWav(Wav(1, 44100, 12, data).data(), 52, pcm)) << "12-bit";
  EXPECT_FALSE(engine::DecodeWav(Wav(1, 10, 16, data).data(), 52, pcm)) << "absurd rate";
  EXPECT_FALSE(engine::DecodeWav(Wav(1, 44100, 16, {}).data(), 44, pcm)) << "no samples";
  std::vector<uint8_t> huge = Wav(1, 44100, 16, data, 0x7FFFFFF0);
  EXPECT_FALSE(engine::DecodeWav(huge.data(), huge.size(), pcm)) << "data size beyond the file";
  EXPECT_FALSE(engine::DecodeWav(nullptr, 0, pcm));
}

class SoundFileTest : public ::testing::Test {
 protected:
  soundtest::InScratchDir inScratch_;
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
  }
  void TearDown() override { EngineEnd(); }

  static std::vector<float> Pull(int frames) {
    std::vector<float> stereo(2 * static_cast<size_t>(frames));
    engine::headless::PullAudio(stereo.data(), frames);
    return stereo;
  }

  // A low tone whose first and last frames are known: a sine under a ramp.
  static std::vector<float> Tone(int frames) {
    std::vector<float> s(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) s[i] = 0.4f * std::sin(i * 2 * 3.14159265f * 220 / 44100);
    return s;
  }
};

TEST_F(SoundFileTest, LoadSoundRefusesWhatItCannotRead) {
  for (int mode : {LOAD_MEMORY, LOAD_STREAM}) {
    SetSoundLoadMode(mode);
    EXPECT_EQ(LoadSound(nullptr), -1);
    EXPECT_EQ(LoadSound("Sounds/SE/missing.wav"), -1);
    EXPECT_EQ(LoadSound(soundtest::WriteFile("empty.wav", {}).c_str()), -1);
    EXPECT_EQ(LoadSound(soundtest::WriteFile("text.wav", {'h', 'e', 'l', 'l', 'o'}).c_str()), -1);
    std::vector<uint8_t> fakeOgg = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 9, 9, 9};
    EXPECT_EQ(LoadSound(soundtest::WriteFile("fake.ogg", fakeOgg).c_str()), -1);
    const std::vector<uint8_t> whole = soundtest::RampWav(100);
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 7);
    EXPECT_EQ(LoadSound(soundtest::WriteFile("cut.wav", cut).c_str()), -1);
  }
}

TEST_F(SoundFileTest, OggDecodesWholeAndStreamedAlike) {
  const int frames = 30000;
  std::vector<float> tone = Tone(frames);
  std::vector<uint8_t> ogg;
  ASSERT_TRUE(soundtest::EncodeOgg(tone, 44100, ogg)) << "libvorbisenc is needed for this test";
  auto bytes = std::make_shared<const std::vector<uint8_t>>(ogg);

  auto decoder = engine::OpenOgg(bytes);
  ASSERT_NE(decoder, nullptr);
  EXPECT_EQ(decoder->rate(), 44100);
  EXPECT_EQ(decoder->length(), frames) << "sample-exact length";
  engine::PcmBuffer whole;
  ASSERT_TRUE(engine::DecodeAll(*decoder, whole, 1 << 20));
  ASSERT_EQ(whole.frames(), frames);
  for (int i = 0; i < frames; i += 997) {
    EXPECT_NEAR(whole.samples[2 * i], tone[i], 0.03f) << "frame " << i;
  }

  // Played through the facade: memory load, then a looping stream whose loop
  // point sits mid-file. After the last frame comes frame loopAt exactly.
  std::string path = soundtest::WriteFile("tone.ogg", ogg);
  SetSoundLoadMode(LOAD_MEMORY);
  int memory = LoadSound(path.c_str());
  ASSERT_GT(memory, 0);
  PlaySoundHandle(memory, PLAY_BACKGROUND, true);
  std::vector<float> played = Pull(frames);
  EXPECT_EQ(IsSoundPlaying(memory), 0);
  for (int i = 0; i < frames; i += 101) ASSERT_EQ(played[2 * i], whole.samples[2 * i]);
  DeleteSound(memory);

  const int loopAt = 12345;
  SetSoundLoadMode(LOAD_STREAM);
  int music = LoadSound(path.c_str());
  ASSERT_GT(music, 0);
  SetSoundLoopPoint(loopAt, music);
  PlaySoundHandle(music, PLAY_LOOP, true);
  std::vector<float> streamed = Pull(frames + 2000);
  for (int i = 0; i < frames; i += 7) {
    ASSERT_NEAR(streamed[2 * i], whole.samples[2 * i], 1e-6f) << "frame " << i;
  }
  for (int i = 0; i < 2000; ++i) {
    ASSERT_NEAR(streamed[2 * (frames + i)], whole.samples[2 * (loopAt + i)], 1e-6f)
        << "frame " << i << " after the loop";
  }
  EXPECT_EQ(IsSoundPlaying(music), 1);
}

TEST_F(SoundFileTest, TruncatedOggNeverCrashes) {
  std::vector<uint8_t> ogg;
  const int frames = 150000;  // long enough for many audio pages
  ASSERT_TRUE(soundtest::EncodeOgg(Tone(frames), 44100, ogg));
  for (size_t cut = 0; cut < ogg.size(); cut += ogg.size() / 40 + 1) {
    auto part = std::make_shared<const std::vector<uint8_t>>(ogg.begin(),
                                                             ogg.begin() + static_cast<long>(cut));
    auto decoder = engine::OpenOgg(part);
    if (!decoder) continue;
    engine::PcmBuffer pcm;
    engine::DecodeAll(*decoder, pcm, 1 << 20);
    EXPECT_LE(pcm.frames(), frames);
  }
  // Damaged pages mid-file: decoding goes on or stops, the game does not.
  std::vector<uint8_t> damaged = ogg;
  for (size_t i = damaged.size() * 3 / 4; i < damaged.size() * 3 / 4 + 3; ++i) damaged[i] ^= 0x5A;
  SetSoundLoadMode(LOAD_STREAM);
  int h = LoadSound(soundtest::WriteFile("damaged.ogg", damaged).c_str());
  ASSERT_GT(h, 0);
  PlaySoundHandle(h, PLAY_BACKGROUND, true);
  Pull(frames + 1000);
  EXPECT_EQ(IsSoundPlaying(h), 0);
}

// A stream whose data breaks after a given number of frames.
class BreakingDecoder final : public engine::StreamDecoder {
 public:
  explicit BreakingDecoder(int goodFrames) : good_(goodFrames) {}
  int rate() const override { return engine::kMixRate; }
  int64_t length() const override { return -1; }
  int read(float* stereo, int frames) override {
    if (pos_ >= good_) return -1;
    int n = std::min(frames, good_ - pos_);
    for (int i = 0; i < 2 * n; ++i) stereo[i] = 0.25f;
    pos_ += n;
    return n;
  }
  bool seek(int64_t frame) override {
    pos_ = static_cast<int>(frame);
    return true;
  }

 private:
  int good_;
  int pos_ = 0;
};

TEST(MixerStreams, ABrokenStreamStopsOnlyItself) {
  engine::Mixer mixer;
  int broken = mixer.addStreamSound(std::make_unique<BreakingDecoder>(500));
  auto pcm = std::make_shared<engine::PcmBuffer>();
  pcm->samples.assign(2 * 100, 0.125f);
  int effect = mixer.addMemorySound(pcm, engine::kMixRate);
  ASSERT_GT(broken, 0);
  ASSERT_GT(effect, 0);
  mixer.play(broken, true, true);
  mixer.play(effect, true, true);
  std::vector<float> out(2 * 1000);
  mixer.mix(out.data(), 1000);
  EXPECT_EQ(out[2 * 499], 0.375f);
  EXPECT_EQ(out[2 * 500], 0.125f) << "the effect plays on";
  EXPECT_EQ(mixer.isPlaying(broken), 0);
  EXPECT_EQ(mixer.isPlaying(effect), 1);
  // Playing it again starts it over, and it breaks again, harmlessly.
  EXPECT_EQ(mixer.play(broken, false, true), 0);
  mixer.mix(out.data(), 1000);
  EXPECT_EQ(mixer.isPlaying(broken), 0);
}

TEST(MixerStreams, LoudSumsAreClippedNotWrapped) {
  engine::Mixer mixer;
  auto pcm = std::make_shared<engine::PcmBuffer>();
  pcm->samples.assign(2 * 10, 0.8f);
  int h = mixer.addMemorySound(pcm, engine::kMixRate);
  mixer.play(h, false, true);
  float out[4];
  mixer.mix(out, 1);  // heard once, so the next play adds a second voice
  mixer.play(h, false, true);
  mixer.mix(out, 2);
  // 1.6 in all: rounded off just under full scale, still positive and loud.
  EXPECT_GT(out[0], engine::Limiter::kTarget);
  EXPECT_LE(out[0], engine::Limiter::kCeiling);
}

}  // namespace
