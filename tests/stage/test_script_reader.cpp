// The stage script reader: row layout, carried fields, comments, overlong
// fields, the extra row after a sixth comma, and missing files.
#include <gtest/gtest.h>

#include "stage/ScriptFixture.h"
#include "support/TempWorkDir.h"

namespace {

void ExpectRow(const ScriptRow& r, int32_t frame, int32_t duration, int32_t command, float x,
               float y, int32_t number) {
  EXPECT_EQ(r.frame, frame);
  EXPECT_EQ(r.duration, duration);
  EXPECT_EQ(r.command, command);
  EXPECT_FLOAT_EQ(r.x, x);
  EXPECT_FLOAT_EQ(r.y, y);
  EXPECT_EQ(r.number, number);
}

using ScriptReader = ScriptTest;

TEST_F(ScriptReader, HeaderLinesAreSkippedAndRowsReadInOrder) {
  const auto rows = Parse("100,1,0,192.5,-32,5\n200,-1,11,0,0,0\n");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[0], 100, 1, 0, 192.5f, -32.0f, 5);
  ExpectRow(rows[1], 200, -1, 11, 0.0f, 0.0f, 0);
}

TEST_F(ScriptReader, ShortRowInheritsItsMissingFields) {
  const auto rows = Parse("100,1,0,192,-32,5\n160,1,9\n");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[1], 160, 1, 9, 192.0f, -32.0f, 5);
}

TEST_F(ScriptReader, CommentLinesVanishAndAnInterruptedFieldGoesOn) {
  const auto rows = Parse("/ the first wave\n100,1,/ spawn:\n0,5,6,7\n");
  ASSERT_EQ(rows.size(), 1u);
  ExpectRow(rows[0], 100, 1, 0, 5.0f, 6.0f, 7);
}

TEST_F(ScriptReader, CommentAfterTheLastFieldJoinsTheNextLine) {
  // The "5" goes with the comment; the sixth field is read from the next
  // line, and the rest of that line starts a new row.
  const auto rows = Parse("100,1,0,192,-32,5/ note\n200,1,9\n");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[0], 100, 1, 0, 192.0f, -32.0f, 200);
  ExpectRow(rows[1], 1, 9, 0, 192.0f, -32.0f, 200);
}

TEST_F(ScriptReader, CommaAfterTheSixthFieldAddsARowAtFrameZero) {
  const auto rows = Parse("100,1,0,192,-32,5,\n");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[1], 0, 1, 0, 192.0f, -32.0f, 5);
}

TEST_F(ScriptReader, FieldsKeepTheirFirstSixtyThreeCharacters) {
  const auto kept = Parse(std::string(62, '0') + "7,1,9,0,0,0\n");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].frame, 7);
  const auto cut = Parse(std::string(63, '0') + "7,1,9,0,0,0\n" + std::string(5000, '1') + "\n");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].frame, 0);
  EXPECT_EQ(cut[0].command, 9);
  EXPECT_EQ(cut[1].frame, 2147483647);  // 63 ones, capped
}

TEST_F(ScriptReader, CarriageReturnsTrailingTextAndHighCodeBits) {
  const auto rows = Parse("10,1,265,1.5x,2,3\r\n20 ,2,9\r\n");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[0], 10, 1, 9, 1.5f, 2.0f, 3);
  EXPECT_EQ(rows[1].frame, 20);
  EXPECT_EQ(rows[1].command, 9);
}

TEST_F(ScriptReader, LastRowWithoutLineFeedIsKept) {
  const auto rows = Parse("10,1,0,1,2,3\n50,1,9");
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[1], 50, 1, 9, 1.0f, 2.0f, 3);
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(Parse("/ only a comment").empty());
}

TEST_F(ScriptReader, LoadReadsTheStageFileAndResetsTheClock) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  WriteBytes("Data/Stage/stage3.csv", "a\nb\n0,1,7,0,0,0\n900,1,9,0,0,0\n");
  field().scriptClock = 55;
  LoadStageScript(field(), 3);
  EXPECT_EQ(field().stageNumber, 3);
  EXPECT_EQ(field().scriptClock, 0);
  ASSERT_EQ(field().script.size(), 2u);
  EXPECT_EQ(field().script[1].frame, 900);

  // No file: an empty timeline whose clock still counts.
  LoadStageScript(field(), 4);
  EXPECT_TRUE(field().script.empty());
  EXPECT_EQ(field().stageNumber, 4);
  step(3);
  EXPECT_EQ(field().scriptClock, 3);
  EXPECT_EQ(field().stageFinished, 0);
}

}  // namespace
