// Replay files: the exact bytes written, reading them back, and files that
// are short, damaged or hostile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persist/ReplayFile.h"
#include "support/TempWorkDir.h"

namespace {

std::string Le32(uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
  return s;
}

// A Normal game with the Laser type: one stage of three frames.
ReplayRecord SmallRecord() {
  ReplayRecord r;
  r.header = {3, 1, 99, 1234, 1, 2, 3, 0};  // a stale count is rewritten
  ReplayStage s;
  s.start = {0x01020304, 1, 2, 3, 40, 5, 0};
  s.frames = {{0x05, 0x08}, {0x00, 0x01}, {0x84, 0x0A}};
  r.stages.push_back(s);
  return r;
}

std::string SmallRecordBytes() {
  std::string b;
  for (uint32_t v : {3u, 1u, 1u, 1234u, 1u, 2u, 3u, 0u}) b += Le32(v);
  b += Le32(3);
  for (uint32_t v : {0x01020304u, 1u, 2u, 3u, 40u, 5u, 0u}) b += Le32(v);
  b += std::string("\x05\x08\x00\x01\x84\x0A", 6);
  return b;
}

// Two stages, the second with a score carried over: 32 + 38 + 36 bytes.
ReplayRecord TwoStageRecord() {
  ReplayRecord r = SmallRecord();
  ReplayStage s;
  s.start = {77, 2, 1, 2, 100, 30, 500000};
  s.frames = {{0x04, 0x02}, {0x24, 0x04}};
  r.stages.push_back(s);
  r.header.stageCount = 2;
  return r;
}

void ExpectSameRecord(const ReplayRecord& a, const ReplayRecord& b) {
  EXPECT_EQ(ReplayToBytes(a), ReplayToBytes(b));
  ASSERT_EQ(a.stages.size(), b.stages.size());
  for (size_t i = 0; i < a.stages.size(); ++i) {
    EXPECT_EQ(a.stages[i].start.seed, b.stages[i].start.seed);
    EXPECT_EQ(a.stages[i].start.score, b.stages[i].start.score);
    EXPECT_EQ(a.stages[i].frames.size(), b.stages[i].frames.size());
  }
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

TEST(ReplayFile, WritesTheRecordByteForByteAndReadsItBack) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  ReplayRecord written = SmallRecord();
  ASSERT_TRUE(WriteReplay("game.vmr", written));
  EXPECT_EQ(written.header.stageCount, 1);
  EXPECT_EQ(ReadBytes("game.vmr"), SmallRecordBytes());
  EXPECT_FALSE(std::filesystem::exists("game.vmr.tmp"));

  ReplayRecord read;
  read.stageIndex = 5;
  read.exhausted = true;
  ASSERT_TRUE(ReadReplay("game.vmr", read));
  ExpectSameRecord(read, written);
  EXPECT_EQ(read.header.difficulty, 3);
  EXPECT_EQ(read.header.chargeType, 1);
  EXPECT_EQ(read.header.score, 1234);
  EXPECT_EQ(read.header.bombsUsed, 3);
  EXPECT_EQ(read.stages[0].start.power, 40);
  EXPECT_EQ(read.stages[0].frames[2].buttons, 0x84);
  EXPECT_EQ(read.stages[0].frames[2].directions, 0x0A);
  // Loading starts playback over.
  EXPECT_EQ(read.stageIndex, 0);
  EXPECT_FALSE(read.exhausted);

  // And a longer record survives the same trip.
  ReplayRecord two = TwoStageRecord();
  ASSERT_TRUE(WriteReplay("two.vmr", two));
  ASSERT_TRUE(ReadReplay("two.vmr", read));
  ExpectSameRecord(read, two);
  EXPECT_EQ(ReadBytes("two.vmr").size(), 32u + 38u + 36u);
}

TEST(ReplayFile, AGameLostInTheFirstStageTakesHeaderRecordAndTwoBytesAFrame) {
  TempWorkDir dir;
  ReplayRecord r;
  ReplayStage s;
  s.frames.resize(3600);
  r.stages.push_back(s);
  ASSERT_TRUE(WriteReplay("lost.vmr", r));
  EXPECT_EQ(ReadBytes("lost.vmr").size(), 32u + 4u + 28u + 2u * 3600u);
}

TEST(ReplayFile, MissingUnreadableOrEmptyFilesGiveAnEmptyRecord) {
  TempWorkDir dir;
  ReplayRecord r = TwoStageRecord();
  EXPECT_FALSE(ReadReplay("absent.vmr", r));
  EXPECT_TRUE(r.stages.empty());
  EXPECT_EQ(r.header.difficulty, 0);
  EXPECT_EQ(r.header.chargeType, 0);

  // A header whose count is 0: the stage records after it are not read.
  std::string zero = SmallRecordBytes();
  zero.replace(8, 4, Le32(0));
  WriteBytes("zero.vmr", zero);
  r = TwoStageRecord();
  ASSERT_TRUE(ReadReplay("zero.vmr", r));
  EXPECT_TRUE(r.stages.empty());
  EXPECT_EQ(r.header.score, 1234);

  // A directory by the name is no file.
  std::filesystem::create_directory("dir.vmr");
  r = TwoStageRecord();
  ReadReplay("dir.vmr", r);
  EXPECT_TRUE(r.stages.empty());
}

TEST(ReplayFile, ATruncatedFileLoadsAsFarAsItGoesAtEveryLength) {
  ReplayRecord full = TwoStageRecord();
  const std::vector<uint8_t> bytes = ReplayToBytes(full);
  const size_t secondStart = 32 + 38;
  for (size_t len = 0; len <= bytes.size(); ++len) {
    ReplayRecord r;
    ReplayFromBytes(bytes.data(), len, r);
    // A record is there as soon as any of its bytes are.
    const size_t expectStages = len <= 32 ? 0 : len <= secondStart ? 1 : 2;
    ASSERT_EQ(r.stages.size(), expectStages) << len;
    EXPECT_EQ(ReplayStagesPresent(bytes.data(), len), static_cast<int32_t>(expectStages));
    if (expectStages >= 1) {
      // Whatever was read matches the original; the rest is zero.
      const ReplayStage& s = r.stages[0];
      EXPECT_EQ(s.start.seed, len >= 32 + 8 ? full.stages[0].start.seed : s.start.seed);
      const size_t sampleBytes = len > 64 ? std::min<size_t>(len, secondStart) - 64 : 0;
      EXPECT_EQ(s.frames.size(), (sampleBytes + 1) / 2) << len;
      for (size_t f = 0; f < s.frames.size(); ++f) {
        EXPECT_EQ(s.frames[f].buttons, full.stages[0].frames[f].buttons);
        const bool whole = 64 + 2 * f + 2 <= len;
        EXPECT_EQ(s.frames[f].directions, whole ? full.stages[0].frames[f].directions : 0) << len;
      }
    }
    if (len == 32 + 20) {
      // Cut inside the start state: the fields that are missing read as zero.
      EXPECT_EQ(r.stages[0].start.stage, 1);
      EXPECT_EQ(r.stages[0].start.bombs, 3);
      EXPECT_EQ(r.stages[0].start.power, 0);
      EXPECT_EQ(r.stages[0].start.score, 0);
    }
  }
  // Cut after the header's first field: the rest of the header is zero.
  ReplayRecord r;
  ReplayFromBytes(bytes.data(), 6, r);
  EXPECT_EQ(r.header.difficulty, 3);
  EXPECT_EQ(r.header.chargeType, 1);  // the two bytes present
  EXPECT_EQ(r.header.score, 0);
}

TEST(ReplayFile, HostileCountsAreTrustedOnlyAsFarAsTheFileGoes) {
  // The record claims four billion samples.
  std::string b = SmallRecordBytes();
  b.replace(32, 4, Le32(0xFFFFFFFF));
  ReplayRecord r;
  std::vector<uint8_t> bytes = Bytes(b);
  EXPECT_TRUE(ReplayFromBytes(bytes.data(), bytes.size(), r));
  ASSERT_EQ(r.stages.size(), 1u);
  EXPECT_EQ(r.stages[0].frames.size(), 3u);

  // More stages than a game holds: the whole file is damaged, whatever follows.
  for (uint32_t claimed : {8u, 2200000u, 0x7FFFFFFFu}) {
    b.replace(8, 4, Le32(claimed));
    bytes = Bytes(b);
    EXPECT_FALSE(ReplayFromBytes(bytes.data(), bytes.size(), r));
    EXPECT_TRUE(r.stages.empty());
    EXPECT_EQ(r.header.stageCount, static_cast<int32_t>(claimed));  // the header as stored
    EXPECT_EQ(ReplayStagesPresent(bytes.data(), bytes.size()), 0);
    EXPECT_NE(ReplayFault(bytes.data(), bytes.size()).find("at most 7"), std::string::npos);
  }

  // Seven empty records claimed, five present: never more than the bytes hold.
  std::string many;
  for (uint32_t v : {1u, 0u, 7u, 0u, 0u, 0u, 0u, 0u}) many += Le32(v);
  for (int i = 0; i < 5; ++i) many += std::string(32, '\0');
  const std::vector<uint8_t> manyBytes = Bytes(many);
  EXPECT_TRUE(ReplayFromBytes(manyBytes.data(), manyBytes.size(), r));
  EXPECT_EQ(r.stages.size(), 5u);
  for (const ReplayStage& s : r.stages) EXPECT_TRUE(s.frames.empty());
  EXPECT_EQ(ReplayFault(manyBytes.data(), manyBytes.size()), "");

  // A negative count is no stages at all.
  b.replace(8, 4, Le32(0x80000000));
  const std::vector<uint8_t> negative = Bytes(b);
  ReplayFromBytes(negative.data(), negative.size(), r);
  EXPECT_TRUE(r.stages.empty());
  EXPECT_EQ(ReplayStagesPresent(negative.data(), negative.size()), 0);

  // Nothing at all.
  ReplayFromBytes(nullptr, 0, r);
  EXPECT_TRUE(r.stages.empty());
  EXPECT_EQ(r.header.difficulty, 0);
  EXPECT_NE(ReplayFault(nullptr, 0).find("shorter than a replay header"), std::string::npos);
}

TEST(ReplayFile, TheHeaderAloneIsReadForTheList) {
  TempWorkDir dir;
  WriteBytes("game.vmr", SmallRecordBytes());
  ReplayHeader h;
  ASSERT_TRUE(ReadReplayHeader("game.vmr", h));
  EXPECT_EQ(h.stageCount, 1);
  EXPECT_EQ(h.misses, 2);
  EXPECT_EQ(ReplayFileStages("game.vmr"), 1);

  // A missing file leaves the header that was there; a short one reads zeros.
  EXPECT_FALSE(ReadReplayHeader("absent.vmr", h));
  EXPECT_EQ(h.misses, 2);
  EXPECT_EQ(ReplayFileStages("absent.vmr"), 0);
  WriteBytes("short.vmr", SmallRecordBytes().substr(0, 12));
  std::string fault;
  ASSERT_TRUE(ReadReplayHeader("short.vmr", h, &fault));
  EXPECT_NE(fault, "");
  EXPECT_EQ(h.stageCount, 1);
  EXPECT_EQ(h.score, 0);
  EXPECT_EQ(h.misses, 0);
}

TEST(ReplayFile, AWriteThatCannotHappenLeavesNoFileAndTheOldOneWhole) {
  TempWorkDir dir;
  ReplayRecord r = SmallRecord();
  EXPECT_FALSE(WriteReplay("no-such-dir/game.vmr", r));
  EXPECT_FALSE(std::filesystem::exists("no-such-dir"));

  if (geteuid() != 0) {  // root writes anywhere
    std::filesystem::create_directory("locked");
    chmod("locked", 0555);
    EXPECT_FALSE(WriteReplay("locked/game.vmr", r));
    EXPECT_FALSE(std::filesystem::exists("locked/game.vmr"));
    chmod("locked", 0755);
  }
}
