// The built sound effects, music files and music list, checked as the game
// will read them.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/BgmList.h"

namespace {

const std::string kGame = VELMORA_GAME_DIR;

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int16_t> samples;  // interleaved
};

// Walks the RIFF chunks; false when the file is not a plain PCM WAV.
bool ParseWav(const std::vector<unsigned char>& b, Wav* wav) {
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    return false;
  }
  bool haveFmt = false;
  for (size_t pos = 12; pos + 8 <= b.size();) {
    const std::string id(b.begin() + pos, b.begin() + pos + 4);
    const uint32_t size = Le32(&b[pos + 4]);
    if (pos + 8 + size > b.size()) return false;
    const unsigned char* d = &b[pos + 8];
    if (id == "fmt " && size >= 16) {
      wav->format = Le16(d);
      wav->channels = Le16(d + 2);
      wav->rate = static_cast<int>(Le32(d + 4));
      wav->bits = Le16(d + 14);
      haveFmt = true;
    } else if (id == "data" && haveFmt && wav->bits == 16) {
      for (uint32_t i = 0; i + 1 < size; i += 2) {
        wav->samples.push_back(static_cast<int16_t>(Le16(d + i)));
      }
      return true;
    }
    pos += 8 + size + (size & 1);
  }
  return false;
}

const char* const kEffects[] = {
    "se_select00", "se_ok00",     "se_cancel00", "se_pause",  "se_item00", "se_graze", "se_powerup",
    "se_extend",   "se_pldead00", "se_plst00",   "se_slash",  "se_gun00",  "se_nep00", "se_enep00",
    "se_tan00",    "se_lazer00",  "mecha15",     "mecha23_c", "bom11",     "se_hit",   "alarm00rs",
    "hit_s08_d",   "mcnr0022",    "beep01",      "mecha04"};

float Peak(const Wav& w) {
  int peak = 0;
  for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak / 32768.0f;
}

TEST(SoundEffectFiles, EveryEffectIsAShortCleanPcmWav) {
  std::set<std::vector<int16_t>> seen;
  for (const char* name : kEffects) {
    SCOPED_TRACE(name);
    Wav w;
    ASSERT_TRUE(ParseWav(ReadBytes(kGame + "/Sounds/SE/" + name + ".wav"), &w));
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.rate, 44100);
    EXPECT_EQ(w.bits, 16);
    ASSERT_TRUE(w.channels == 1 || w.channels == 2);
    const double seconds = static_cast<double>(w.samples.size()) / w.channels / w.rate;
    EXPECT_GT(seconds, 0.01);
    EXPECT_LT(seconds, 2.5);
    const float peak = Peak(w);
    EXPECT_GT(peak, 0.05f) << "nearly silent";
    EXPECT_LT(peak, 0.99f) << "clipped";
    // Starts and ends quietly: no click when it begins or is cut.
    EXPECT_LT(std::abs(w.samples.back()), 200);
    EXPECT_LT(std::abs(w.samples.front()), 3000);
    EXPECT_TRUE(seen.insert(w.samples).second) << "same sound as another effect";
  }
}

TEST(SoundEffectFiles, EffectsThatRepeatEveryFewFramesAreShortAndSoft) {
  Wav decide;
  ASSERT_TRUE(ParseWav(ReadBytes(kGame + "/Sounds/SE/se_ok00.wav"), &decide));
  for (const char* name : {"se_plst00", "se_graze", "se_hit", "se_tan00", "se_item00"}) {
    SCOPED_TRACE(name);
    Wav w;
    ASSERT_TRUE(ParseWav(ReadBytes(kGame + "/Sounds/SE/" + name + ".wav"), &w));
    EXPECT_LT(static_cast<double>(w.samples.size()) / w.channels / w.rate, 0.1);
    EXPECT_LT(Peak(w), Peak(decide));
  }
}

struct ListEntry {
  std::string file, loop, title;
};

// Reads the list character by character the way the game does: fields end at
// a tab or a line end, '/' skips the rest of the line, a line with an empty
// first field is ignored, an entry is kept when its third field or its line ends.
std::vector<ListEntry> ReadListLikeTheGame(const std::string& text) {
  std::vector<ListEntry> out;
  ListEntry cur;
  int field = 0;
  std::string buf;
  bool comment = false;
  auto endField = [&]() {
    if (field == 0) cur.file = buf;
    if (field == 1) cur.loop = buf;
    if (field == 2) cur.title = buf;
    buf.clear();
    ++field;
  };
  auto endLine = [&]() {
    if (!cur.file.empty()) out.push_back(cur);
    cur = ListEntry{};
    field = 0;
  };
  for (char c : text) {
    if (comment) {
      if (c == '\n' || c == '\r') comment = false;
      continue;
    }
    if (c == '/') {
      comment = true;
      buf.clear();
      continue;
    }
    if (c == '\t') {
      endField();
      if (field == 3) endLine();
    } else if (c == '\n' || c == '\r') {
      if (field < 3) endField();
      endLine();
    } else {
      buf += c;
    }
  }
  return out;
}

TEST(MusicList, UsesTabsAndCrLfAndFieldsTheGameCanRead) {
  const std::vector<unsigned char> bytes = ReadBytes(kGame + "/Sounds/BGM/BGM.tsv");
  ASSERT_FALSE(bytes.empty());
  const std::string text(bytes.begin(), bytes.end());
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
    }
    if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
    }
  }
  const std::vector<ListEntry> entries = ReadListLikeTheGame(text);
  // Numbers up to 16 are started by the stages themselves.
  ASSERT_GE(entries.size(), 17u);
  size_t dataLines = 0;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    start = end + 2;
    if (line.empty() || line[0] == '/') continue;
    ++dataLines;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << line;
    EXPECT_EQ(line.find('/'), std::string::npos) << line;
  }
  EXPECT_EQ(dataLines, entries.size());
  for (const ListEntry& e : entries) {
    SCOPED_TRACE(e.file);
    EXPECT_LE(e.file.size(), 63u);
    EXPECT_LE(e.title.size(), 63u);
    EXPECT_FALSE(e.title.empty());
    ASSERT_FALSE(e.loop.empty());
    EXPECT_EQ(e.loop.find_first_not_of("0123456789"), std::string::npos);
  }
  // The game's own reader sees the same entries.
  const std::vector<BgmEntry> game = ParseBgmList(bytes.data(), bytes.size());
  ASSERT_EQ(game.size(), entries.size());
  for (size_t i = 0; i < game.size(); ++i) {
    EXPECT_EQ(game[i].path, "Sounds/BGM/" + entries[i].file);
    EXPECT_EQ(game[i].loopPoint, std::stoll(entries[i].loop));
    EXPECT_EQ(game[i].title, entries[i].title);
  }
  EXPECT_EQ(entries[0].file, "title.ogg");
  EXPECT_EQ(entries[2].file, "stage1.ogg");
  EXPECT_EQ(entries[3].file, "boss1.ogg");
  // Every number has a tune of its own.
  std::set<std::string> files;
  for (const ListEntry& e : entries) {
    EXPECT_TRUE(files.insert(e.file).second) << "two music numbers share " << e.file;
  }
}

struct Decoded {
  int channels = 0;
  long rate = 0;
  std::vector<float> samples;  // interleaved
  int64_t frames = 0;
};

bool Decode(const std::string& path, Decoded* d) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return false;
  const vorbis_info* info = ov_info(&vf, -1);
  d->channels = info->channels;
  d->rate = info->rate;
  int section = 0;
  for (;;) {
    float** pcm = nullptr;
    const long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n < 0) {
      ov_clear(&vf);
      return false;
    }
    if (n == 0) break;
    for (long i = 0; i < n; ++i) {
      for (int c = 0; c < d->channels; ++c) d->samples.push_back(pcm[c][i]);
    }
  }
  ov_clear(&vf);
  d->frames = static_cast<int64_t>(d->samples.size()) / d->channels;
  return true;
}

// How much the jump from frame `from` to frame `to` stands out against the
// sample-to-sample steps around both ends: above 1 means the seam is a larger
// step than anything in the `window` frames before `from` and after `to`.
double SeamRatio(const Decoded& d, int64_t from, int64_t to, int64_t window) {
  double worst = 0.0;
  for (int c = 0; c < d.channels; ++c) {
    auto at = [&](int64_t f) { return d.samples[f * d.channels + c]; };
    double local = 1e-6;
    for (int64_t f = from - window + 1; f <= from; ++f) {
      local = std::max(local, static_cast<double>(std::fabs(at(f) - at(f - 1))));
    }
    for (int64_t f = to + 1; f < to + window; ++f) {
      local = std::max(local, static_cast<double>(std::fabs(at(f) - at(f - 1))));
    }
    worst = std::max(worst, std::fabs(at(to) - at(from)) / local);
  }
  return worst;
}

TEST(MusicFiles, SeamMeasureCatchesABrokenLoop) {
  // A 440 Hz tone whose loop point lands on a crest while the end is near a
  // zero crossing: the jump is as large as the waveform, far above its steps.
  const double kTwoPi = 6.283185307179586;
  Decoded d;
  d.channels = 1;
  d.frames = 44100;
  for (int64_t i = 0; i < d.frames; ++i) {
    d.samples.push_back(static_cast<float>(std::sin(kTwoPi * 440.0 * i / 44100)));
  }
  EXPECT_GT(SeamRatio(d, d.frames - 1, 1027, 2048), 10.0);
  // Joining two neighbouring frames is an ordinary step.
  EXPECT_LT(SeamRatio(d, 4999, 5000, 2048), 1.01);
}

TEST(MusicFiles, EveryListedFileDecodesAndLoopsSeamlessly) {
  const std::vector<unsigned char> bytes = ReadBytes(kGame + "/Sounds/BGM/BGM.tsv");
  const std::vector<ListEntry> entries =
      ReadListLikeTheGame(std::string(bytes.begin(), bytes.end()));
  ASSERT_FALSE(entries.empty());
  std::set<std::string> checked;
  for (const ListEntry& e : entries) {
    if (!checked.insert(e.file).second) continue;
    SCOPED_TRACE(e.file);
    Decoded d;
    ASSERT_TRUE(Decode(kGame + "/Sounds/BGM/" + e.file, &d));
    EXPECT_EQ(d.rate, 44100);
    EXPECT_EQ(d.channels, 2);
    const double seconds = static_cast<double>(d.frames) / d.rate;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 150.0);
    const int64_t loop = std::stoll(e.loop);
    ASSERT_GE(loop, 0);
    ASSERT_LT(loop + 4096, d.frames) << "loop point outside the file";

    double sumSquares = 0.0;
    float peak = 0.0f;
    for (float x : d.samples) {
      sumSquares += static_cast<double>(x) * x;
      peak = std::max(peak, std::fabs(x));
    }
    const double rmsDb = 10.0 * std::log10(sumSquares / d.samples.size());
    EXPECT_LT(peak, 1.0f) << "clipping";
    EXPECT_GT(rmsDb, -30.0);
    EXPECT_LT(rmsDb, -8.0);

    // Playback runs from the last frame straight into the loop point.
    EXPECT_LE(SeamRatio(d, d.frames - 1, loop, 2048), 1.0);
  }
}

}  // namespace
