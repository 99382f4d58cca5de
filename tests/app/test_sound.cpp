// Module_Sound: effect requests, music, fades, volumes and "setting.dat".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Module_Sound.h"
#include "app/Settings.h"
#include "engine/Engine.h"
#include "support/TempWorkDir.h"

namespace {

// Every engine call the module makes, in order.
struct Call {
  Call(std::string o, int x = 0, int y = 0, std::string p = {})
      : op(std::move(o)), a(x), b(y), path(std::move(p)) {}
  std::string op;
  int a;
  int b;
  std::string path;
  bool operator==(const Call&) const = default;
};
std::vector<Call> g_calls;
int g_nextHandle = 1;
std::vector<std::string> g_missing;  // paths that fail to load

int RecDeleteAll() {
  g_calls.push_back({"deleteAll"});
  return 0;
}
void RecLoadMode(int mode) { g_calls.push_back({"loadMode", mode}); }
int RecLoad(const char* path) {
  for (const auto& m : g_missing) {
    if (m == path) {
      g_calls.push_back({"load", -1, 0, path});
      return -1;
    }
  }
  const int h = g_nextHandle++;
  g_calls.push_back({"load", h, 0, path});
  return h;
}
int RecPlay(int handle, int mode, bool fromTop) {
  g_calls.push_back({fromTop ? "play" : "resume", handle, mode});
  return 0;
}
int RecStop(int handle) {
  g_calls.push_back({"stop", handle});
  return 0;
}
int RecVolume(int volume, int handle) {
  g_calls.push_back({"volume", volume, handle});
  return 0;
}
int RecLoop(int64_t sample, int handle) {
  g_calls.push_back({"loop", static_cast<int>(sample), handle});
  return 0;
}
int RecRemove(int handle) {
  g_calls.push_back({"delete", handle});
  return 0;
}

std::vector<Call> CallsOf(const std::string& op) {
  std::vector<Call> out;
  for (const auto& c : g_calls) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    g_calls.clear();
    g_missing.clear();
    g_nextHandle = 1;
    sound_.engine = {RecDeleteAll, RecLoadMode, RecLoad, RecPlay,
                     RecStop,      RecVolume,   RecLoop, RecRemove};
  }
  void WriteList() {
    WriteBytes("Sounds/BGM/BGM.tsv",
               "title.ogg\t1000\tT\nstage1.ogg\t2000\tS1\nstage2.ogg\t3000\tS2\n");
  }
  TempWorkDir dir_;
  Module_Sound sound_;
};

TEST_F(SoundTest, LoadFillsTheEffectTableAndLeavesGapsEmpty) {
  g_missing = {"Sounds/SE/se_graze.wav"};
  sound_.Load();
  ASSERT_FALSE(g_calls.empty());
  EXPECT_EQ(g_calls[0].op, "deleteAll");
  EXPECT_EQ(g_calls[1], (Call{"loadMode", LOAD_MEMORY}));
  EXPECT_EQ(CallsOf("load").size(), 28u - 3u);  // slots 0..27 minus the empty 15..17
  EXPECT_GT(sound_.seHandle[0], 0);
  EXPECT_EQ(sound_.seHandle[5], -1);  // the missing file
  EXPECT_EQ(sound_.seHandle[15], 0);
  EXPECT_EQ(sound_.seHandle[17], 0);
  EXPECT_GT(sound_.seHandle[27], 0);
  EXPECT_EQ(sound_.seHandle[28], 0);
  EXPECT_EQ(sound_.seHandle[49], 0);
  EXPECT_TRUE(sound_.bgmList.empty());  // no BGM.tsv here
  // No setting.dat: the volumes stay 255, which the engine takes as 650.
  EXPECT_EQ(sound_.seVolume, 255);
  EXPECT_EQ(CallsOf("volume").front(), (Call{"volume", 650, sound_.seHandle[0]}));
}

TEST_F(SoundTest, EffectsPlayOncePerFrameWhateverTheRequests) {
  sound_.Load();
  g_calls.clear();
  sound_.RequestEffect(1);
  sound_.RequestEffect(1);
  sound_.RequestEffect(1);
  sound_.RequestEffect(4);
  sound_.RequestEffect(50);  // out of the table: ignored
  sound_.RequestEffect(-1);
  sound_.Update();
  EXPECT_EQ(CallsOf("play"), (std::vector<Call>{{"play", sound_.seHandle[1], PLAY_BACKGROUND},
                                                {"play", sound_.seHandle[4], PLAY_BACKGROUND}}));
  g_calls.clear();
  sound_.Update();  // nothing new requested
  EXPECT_TRUE(CallsOf("play").empty());
  sound_.RequestEffect(1);
  sound_.Update();
  EXPECT_EQ(CallsOf("play").size(), 1u);
}

TEST_F(SoundTest, NoEffectsWhileTheEffectVolumeIsZero) {
  sound_.Load();
  sound_.seVolume = 0;
  sound_.bgmVolume = 0;
  sound_.RequestEffect(2);
  sound_.Update();
  sound_.seVolume = 50;
  g_calls.clear();
  sound_.Update();  // raising the volume does not bring the old request back
  EXPECT_TRUE(CallsOf("play").empty());
  // A music volume of 0 does not silence effects.
  sound_.RequestEffect(2);
  sound_.Update();
  EXPECT_EQ(CallsOf("play").size(), 1u);
}

TEST_F(SoundTest, PlayMusicLoadsStreamedAndLoopsFromTheTop) {
  WriteList();
  sound_.Load();
  ASSERT_EQ(sound_.bgmList.size(), 3u);
  sound_.bgmVolume = 60;
  g_calls.clear();
  sound_.PlayMusic(1);
  const int h = sound_.bgmHandle;
  EXPECT_GT(h, 0);
  EXPECT_EQ(sound_.bgmIndex, 1);
  EXPECT_EQ(g_calls, (std::vector<Call>{{"loadMode", LOAD_STREAM},
                                        {"load", h, 0, "Sounds/BGM/stage1.ogg"},
                                        {"loop", 2000, h},
                                        {"volume", 60 * 255 / 100, h},
                                        {"play", h, PLAY_LOOP}}));
  // The next tune releases the previous one first.
  g_calls.clear();
  sound_.PlayMusic(0);
  EXPECT_EQ(g_calls.front(), (Call{"delete", h}));
  EXPECT_EQ(sound_.bgmIndex, 0);
}

TEST_F(SoundTest, MusicNumberOutsideTheListStopsTheMusic) {
  WriteList();
  sound_.Load();
  sound_.PlayMusic(2);
  const int h = sound_.bgmHandle;
  g_calls.clear();
  sound_.PlayMusic(3);  // three entries: 3 is past the end
  EXPECT_EQ(g_calls, (std::vector<Call>{{"delete", h}}));
  EXPECT_EQ(sound_.bgmHandle, 0);
  EXPECT_EQ(sound_.bgmIndex, -1);
  sound_.PlayMusic(-1);
  EXPECT_EQ(sound_.bgmIndex, -1);
}

TEST_F(SoundTest, MissingMusicFileLeavesNoTune) {
  WriteList();
  g_missing = {"Sounds/BGM/title.ogg"};
  sound_.Load();
  sound_.PlayMusic(0);
  EXPECT_EQ(sound_.bgmHandle, 0);
  EXPECT_EQ(sound_.bgmIndex, -1);
  EXPECT_TRUE(CallsOf("play").empty());
}

TEST_F(SoundTest, StopAndResumeKeepTheTune) {
  WriteList();
  sound_.Load();
  sound_.PlayMusic(0);
  const int h = sound_.bgmHandle;
  g_calls.clear();
  sound_.StopMusic();
  EXPECT_EQ(sound_.bgmIndex, -1);
  EXPECT_EQ(sound_.bgmHandle, h);
  sound_.ResumeMusic();
  EXPECT_EQ(g_calls, (std::vector<Call>{{"stop", h}, {"resume", h, PLAY_LOOP}}));
}

TEST_F(SoundTest, FadeOfMinus8Point5For30FramesEndsSilentButPlaying) {
  WriteList();
  sound_.Load();
  sound_.bgmVolume = 100;
  sound_.PlayMusic(0);
  const int h = sound_.bgmHandle;
  g_calls.clear();
  sound_.FadeMusic(-8.5f, 30);
  std::vector<int> volumes;
  for (int i = 0; i < 35; ++i) {
    sound_.Update();
  }
  for (const auto& c : CallsOf("volume")) {
    EXPECT_EQ(c.b, h);
    volumes.push_back(c.a);
  }
  ASSERT_EQ(volumes.size(), 30u);  // the fade stops after its frames
  EXPECT_EQ(volumes[0], 246);      // 100 x 246.5 / 100
  EXPECT_EQ(volumes[1], 238);
  EXPECT_EQ(volumes.back(), 0);
  EXPECT_EQ(sound_.fadeLevel, 0.0f);
  EXPECT_EQ(sound_.fadeFrames, 0);
  EXPECT_TRUE(CallsOf("stop").empty());
  EXPECT_EQ(sound_.bgmIndex, 0);
  // The next tune starts at full volume.
  g_calls.clear();
  sound_.PlayMusic(1);
  EXPECT_EQ(sound_.fadeLevel, 255.0f);
  EXPECT_EQ(CallsOf("volume").back().a, 255);
}

TEST_F(SoundTest, ApplyVolumesReachesEveryHandleAndEndsTheFade) {
  WriteList();
  sound_.Load();
  sound_.PlayMusic(0);
  sound_.FadeMusic(-12.75f, 20);
  sound_.Update();
  sound_.seVolume = 40;
  sound_.bgmVolume = 70;
  g_calls.clear();
  sound_.ApplyVolumes();
  const auto volumes = CallsOf("volume");
  ASSERT_EQ(volumes.size(), 51u);  // 50 slots, empty ones too, then the music
  EXPECT_EQ(volumes[0], (Call{"volume", 102, sound_.seHandle[0]}));
  EXPECT_EQ(volumes[49], (Call{"volume", 102, 0}));
  EXPECT_EQ(volumes[50], (Call{"volume", 178, sound_.bgmHandle}));
  EXPECT_EQ(sound_.fadeFrames, 0);
  EXPECT_EQ(sound_.fadeLevel, 255.0f);
}

TEST_F(SoundTest, SettingsFileRoundTripAndWrongSizes) {
  sound_.bgmVolume = 30;
  sound_.seVolume = 80;
  sound_.SaveSettings();
  EXPECT_EQ(ReadBytes("setting.dat"), std::string("\x1e\0\0\0\x50\0\0\0", 8));
  EXPECT_FALSE(std::filesystem::exists("setting.dat.tmp"));

  Module_Sound other;
  other.engine = sound_.engine;
  other.LoadSettings();
  EXPECT_EQ(other.bgmVolume, 30);
  EXPECT_EQ(other.seVolume, 80);

  // Not exactly 8 bytes: ignored, the volumes stay as they are.
  for (const std::string& bad : {std::string(7, '\x05'), std::string(12, '\x05'), std::string()}) {
    WriteBytes("setting.dat", bad);
    Module_Sound fresh;
    fresh.engine = sound_.engine;
    fresh.seVolume = 20;
    fresh.LoadSettings();
    EXPECT_EQ(fresh.seVolume, 20);
    EXPECT_EQ(fresh.bgmVolume, 255);
  }
  // A save replaces a file of the wrong size whole, so it reads back next time.
  sound_.SaveSettings();
  EXPECT_EQ(ReadBytes("setting.dat").size(), 8u);
}

TEST(Settings, StrangeVolumesAreBroughtIntoRange) {
  const uint8_t big[8] = {0xff, 0xff, 0xff, 0x7f, 0x00, 0x00, 0x00, 0x80};
  const auto s = DecodeSettings(big, 8);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->bgmVolume, 255);
  EXPECT_EQ(s->seVolume, 0);
  const uint8_t unset[8] = {255, 0, 0, 0, 100, 0, 0, 0};
  EXPECT_EQ(DecodeSettings(unset, 8)->bgmVolume, 255);
  EXPECT_EQ(DecodeSettings(unset, 8)->seVolume, 100);
  EXPECT_FALSE(DecodeSettings(unset, 7));
}

}  // namespace
