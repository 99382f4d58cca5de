// "score.dat": layout, load, save and the ranking rows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "app/Module_Input.h"
#include "persist/ScoreData.h"
#include "support/TempWorkDir.h"

namespace {

const std::string kZeros(kScoreFileSize, '\0');

class ScoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.ok()); }
  void TearDown() override {
    ScoreData::replayPlayback = false;
    gInput.replayMode = REPLAY_OFF;
  }
  TempWorkDir dir_;
};

int32_t Le32At(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{static_cast<uint8_t>(bytes[offset + i])} << (8 * i);
  return static_cast<int32_t>(v);
}

TEST_F(ScoreFileTest, FirstRunWritesAFreshFileOfZeros) {
  ScoreData d;
  d.bestScore[0] = 5;  // whatever was in memory goes
  d.Load();
  EXPECT_EQ(ReadBytes("score.dat"), kZeros);
  EXPECT_EQ(d.bestScore[0], 0);
  EXPECT_FALSE(std::filesystem::exists("score.dat.bak"));
  EXPECT_FALSE(std::filesystem::exists("score.dat.tmp"));
}

TEST_F(ScoreFileTest, WrongSizesAreKeptAsBackupsAndReplaced) {
  // Each damaged file gets a backup of its own: a later one never replaces an earlier.
  const char* backups[] = {"score.dat.bak", "score.dat.bak.2", "score.dat.bak.3"};
  int n = 0;
  for (size_t size : {size_t{3943}, size_t{4000}, size_t{0}}) {
    std::string old(size, '\0');
    for (size_t i = 0; i < size; ++i) old[i] = static_cast<char>(i * 7 + 1);
    WriteBytes("score.dat", old);
    ScoreData d;
    d.Load();
    EXPECT_EQ(ReadBytes("score.dat"), kZeros) << size;
    EXPECT_EQ(ReadBytes(backups[n++]), old) << size;
    for (int s = 0; s < kScoreSlots; ++s) EXPECT_EQ(d.bestScore[s], 0);
  }
}

TEST_F(ScoreFileTest, RightSizeIsTakenOverUncheckedAndSavedBackByteForByte) {
  std::string file(kScoreFileSize, '\0');
  for (size_t i = 0; i < 3941; ++i) file[i] = static_cast<char>((i * 31 + 5) & 0xff);
  WriteBytes("score.dat", file);
  ScoreData d;
  d.Load();
  EXPECT_EQ(ReadBytes("score.dat"), file);  // Load does not rewrite a good file
  EXPECT_EQ(d.bestScore[1], Le32At(file, 4));
  EXPECT_EQ(d.ranking[11][9].score, Le32At(file, 96 + 320 * 11 + 32 * 9));
  EXPECT_EQ(d.continueBonus, Le32At(file, 3936));
  EXPECT_EQ(d.extraUnlocked, static_cast<uint8_t>(file[3940]));
  std::filesystem::remove("score.dat");
  ASSERT_TRUE(d.Save());
  EXPECT_EQ(ReadBytes("score.dat"), file);
}

TEST_F(ScoreFileTest, FieldsLandAtTheirOffsets) {
  ScoreData d;
  d.bestScore[3] = 0x01020304;
  d.clearCount[11] = 2;
  ScoreEntry& e = d.ranking[2][3];
  e.score = -2;
  e.time = 0x1122334455667788;
  std::strcpy(e.name, "ARIA");
  d.continueBonus = 99;
  d.extraUnlocked = 1;
  d.reserved[1] = 0xEE;  // reserved bytes always go out as zero
  ASSERT_TRUE(d.Save());
  const std::string b = ReadBytes("score.dat");
  ASSERT_EQ(b.size(), kScoreFileSize);
  EXPECT_EQ(b.substr(12, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(Le32At(b, 48 + 44), 2);
  const size_t row = 96 + 320 * 2 + 32 * 3;
  EXPECT_EQ(Le32At(b, row), -2);
  EXPECT_EQ(Le32At(b, row + 4), 0);
  EXPECT_EQ(b.substr(row + 8, 8), std::string("\x88\x77\x66\x55\x44\x33\x22\x11", 8));
  EXPECT_EQ(b.substr(row + 16, 5), std::string("ARIA\0", 5));
  EXPECT_EQ(Le32At(b, 3936), 99);
  EXPECT_EQ(b[3940], 1);
  EXPECT_EQ(b.substr(3941), std::string(3, '\0'));
}

TEST_F(ScoreFileTest, WatchingAReplayNeverWritesTheFile) {
  ScoreData d;
  d.Load();
  d.bestScore[0] = 1234;
  ScoreData::replayPlayback = true;
  EXPECT_FALSE(d.Save());
  ScoreData::replayPlayback = false;
  for (int mode : {REPLAY_PLAYING, REPLAY_PLAYING_SUSPENDED}) {
    gInput.replayMode = mode;
    EXPECT_FALSE(d.Save());
  }
  EXPECT_EQ(ReadBytes("score.dat"), kZeros);
  // Recording is no reason to hold back.
  gInput.replayMode = REPLAY_RECORDING_SUSPENDED;
  EXPECT_TRUE(d.Save());
  EXPECT_EQ(Le32At(ReadBytes("score.dat"), 0), 1234);
}

TEST_F(ScoreFileTest, FailedSaveLeavesTheOldFileAndTheRecord) {
  ScoreData d;
  d.Load();
  d.bestScore[0] = 42;
  ASSERT_TRUE(d.Save());
  const std::string before = ReadBytes("score.dat");
  std::filesystem::create_directory("score.dat.tmp");  // nothing can be written there
  d.bestScore[0] = 43;
  EXPECT_FALSE(d.Save());
  EXPECT_EQ(ReadBytes("score.dat"), before);
  EXPECT_EQ(d.bestScore[0], 43);  // goes out with the next save that works
  std::filesystem::remove("score.dat.tmp");
  EXPECT_TRUE(d.Save());
  EXPECT_EQ(Le32At(ReadBytes("score.dat"), 0), 43);
}

TEST_F(ScoreFileTest, UnwritableDirectoryKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  ScoreData d;
  d.Load();
  d.bestScore[0] = 7;
  ASSERT_EQ(chmod(".", 0555), 0);
  EXPECT_FALSE(d.Save());
  chmod(".", 0755);
  EXPECT_EQ(ReadBytes("score.dat"), kZeros);
  // A file of the wrong size that cannot be moved aside is left alone; the
  // game goes on with zero records.
  WriteBytes("score.dat", "short");
  ASSERT_EQ(chmod(".", 0555), 0);
  ScoreData e;
  e.bestScore[0] = 9;
  e.Load();
  chmod(".", 0755);
  EXPECT_EQ(e.bestScore[0], 0);
  EXPECT_EQ(ReadBytes("score.dat"), "short");
  EXPECT_FALSE(std::filesystem::exists("score.dat.bak"));
}

TEST(ScoreRanking, InsertMovesRowsDownAndDropsTheLast) {
  ScoreData d;
  for (int r = 0; r < kRankingRows; ++r) {
    d.ranking[4][r].score = 1000 - r;
    d.ranking[4][r].time = 100 + r;
    std::snprintf(d.ranking[4][r].name, 16, "ROW%d", r);
  }
  d.ranking[4][3].name[12] = 'Z';  // beyond the name: stays in the new row
  d.InsertRanking(4, 3, 998, 5555, "NEWCOMER");
  EXPECT_EQ(d.ranking[4][2].score, 998);
  EXPECT_EQ(d.ranking[4][3].score, 998);
  EXPECT_EQ(d.ranking[4][3].time, 5555);
  EXPECT_EQ(d.ranking[4][3].reserved, 0);
  EXPECT_STREQ(d.ranking[4][3].name, "NEWCOMER");
  EXPECT_EQ(d.ranking[4][3].name[12], 'Z');
  EXPECT_EQ(d.ranking[4][4].score, 997);  // the old row 3
  EXPECT_STREQ(d.ranking[4][4].name, "ROW3");
  EXPECT_STREQ(d.ranking[4][9].name, "ROW8");  // old row 9 is gone
  EXPECT_EQ(d.ranking[5][0].time, 0);          // other slots untouched

  d.InsertRanking(4, 9, 1, 1, "LAST");
  EXPECT_STREQ(d.ranking[4][9].name, "LAST");
  d.InsertRanking(4, 10, 1, 1, "NOPE");  // no such place
  d.InsertRanking(12, 0, 1, 1, "NOPE");
  EXPECT_STREQ(d.ranking[4][9].name, "LAST");
  // A long name is cut to fit 10 bytes with its end mark.
  d.InsertRanking(0, 0, 1, 1, "ABCDEFGHIJKLMNOP");
  EXPECT_STREQ(d.ranking[0][0].name, "ABCDEFGHI");
}

}  // namespace
