// The enemy file reader: header row, action rows, carried fields, qualifiers,
// comments, flags, overlong fields, the end byte, and the table as loaded.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/Engine.h"
#include "objects/EnemyTableReader.h"
#include "support/TempWorkDir.h"

namespace {

const std::string kSkipped = "graphic,hp,radius,p,s,l,b\ntime,dur,op,p1,p2,diff\n";

// One file parsed on its own, with the two skipped lines in front (Normal
// unless told otherwise).
EnemyRecord Parse(const std::string& body, int32_t difficulty = 3) {
  EnemyRowCarry carry;
  EnemyRecord record;
  const std::string bytes = kSkipped + body;
  ParseEnemyFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), difficulty, carry,
                 record);
  return record;
}

void ExpectAction(const Action& a, int32_t time, int32_t duration, int32_t op, float p1, float p2) {
  EXPECT_EQ(a.time, time);
  EXPECT_EQ(a.duration, duration);
  EXPECT_EQ(a.op, op);
  EXPECT_FLOAT_EQ(a.p1, p1);
  EXPECT_FLOAT_EQ(a.p2, p2);
}

TEST(EnemyTableHeader, SevenFieldsGiveGraphicHitPointsRadiusAndDrops) {
  const EnemyRecord r = Parse("3,200,16,2,4,1,5\n");
  EXPECT_EQ(r.graphic, 3);
  EXPECT_EQ(r.hitPoints, 200);
  EXPECT_EQ(r.radius, 16);
  EXPECT_EQ(r.drops[0], 2);
  EXPECT_EQ(r.drops[1], 4);
  EXPECT_EQ(r.drops[2], 1);
  EXPECT_EQ(r.drops[3], 5);
  EXPECT_TRUE(r.actions.empty());
}

TEST(EnemyTableHeader, ShortHeaderKeepsDefaultsForMissingFields) {
  const EnemyRecord r = Parse("5,40\n0,1,11,2,1,0\n");
  EXPECT_EQ(r.graphic, 5);
  EXPECT_EQ(r.hitPoints, 40);
  EXPECT_EQ(r.radius, 10);
  for (uint8_t d : r.drops) EXPECT_EQ(d, 0);
  ASSERT_EQ(r.actions.size(), 1u);
}

TEST(EnemyTableHeader, SeventhFieldEndsTheHeaderEvenAtAComma) {
  // Whatever follows the seventh field on that line is the first action row.
  const EnemyRecord r = Parse("1,2,3,0,0,0,0,10,1,4,60,5,0\n");
  ASSERT_EQ(r.actions.size(), 1u);
  ExpectAction(r.actions[0], 10, 1, 4, 60.0f, 5.0f);
}

TEST(EnemyTableHeader, EmptyFileAndSkippedLinesOnlyKeepDefaults) {
  const EnemyRecord r = Parse("");
  EXPECT_EQ(r.graphic, 1);
  EXPECT_EQ(r.hitPoints, 1);
  EXPECT_EQ(r.radius, 10);
  EXPECT_TRUE(r.actions.empty());
}

TEST(EnemyTableRows, ShortRowAtLineEndInheritsTheRestAndIgnoresDifficulty) {
  // The four fields 120,1,4,60 keep p2 of the row before.
  const std::string body = "1,1,10,0,0,0,0\n0,1,11,2,7.5,0\n120,1,4,60\n";
  for (int32_t g : {1, 3, 5, 6}) {
    const EnemyRecord r = Parse(body, g);
    ASSERT_EQ(r.actions.size(), 2u) << "difficulty " << g;
    ExpectAction(r.actions[1], 120, 1, 4, 60.0f, 7.5f);
  }
}

TEST(EnemyTableRows, EmptyFifthFieldReadsAsZero) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,11,2,7.5,0\n120,1,4,60,\n");
  ASSERT_EQ(r.actions.size(), 2u);
  ExpectAction(r.actions[1], 120, 1, 4, 60.0f, 0.0f);
}

TEST(EnemyTableRows, ThreeFieldRowCountsTwoFieldRowIsDropped) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n60,1\n60,1,1\n");
  ASSERT_EQ(r.actions.size(), 1u);
  EXPECT_EQ(r.actions[0].time, 60);
  EXPECT_EQ(r.actions[0].op, 1);
}

TEST(EnemyTableRows, RowCutShortByTheEndOfTheFileStillCounts) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n30,2,14,1.5");
  ASSERT_EQ(r.actions.size(), 1u);
  ExpectAction(r.actions[0], 30, 2, 14, 1.5f, 0.0f);
}

TEST(EnemyTableRows, OverQualifierAppliesFromItsDifficultyUp) {
  const std::string body = "1,1,10,0,0,0,0\n0,1,11,1,1,3o\n";
  EXPECT_TRUE(Parse(body, 1).actions.empty());
  EXPECT_EQ(Parse(body, 3).actions.size(), 1u);
  EXPECT_EQ(Parse(body, 5).actions.size(), 1u);
  EXPECT_EQ(Parse(body, 6).actions.size(), 1u);
}

TEST(EnemyTableRows, UnderQualifierAppliesFromItsDifficultyDown) {
  const std::string body = "1,1,10,0,0,0,0\n0,1,11,1,1,3u\n";
  EXPECT_EQ(Parse(body, 1).actions.size(), 1u);
  EXPECT_EQ(Parse(body, 3).actions.size(), 1u);
  EXPECT_TRUE(Parse(body, 5).actions.empty());
  EXPECT_TRUE(Parse(body, 6).actions.empty());
}

TEST(EnemyTableRows, PlainQualifierAppliesToItsDifficultyOnly) {
  const std::string body = "1,1,10,0,0,0,0\n0,1,11,1,1,5\n0,1,12,1,1,0\n";
  EXPECT_EQ(Parse(body, 5).actions.size(), 2u);
  const EnemyRecord normal = Parse(body, 3);
  ASSERT_EQ(normal.actions.size(), 1u);
  EXPECT_EQ(normal.actions[0].op, 12);
}

TEST(EnemyTableRows, DroppedRowStillHandsItsValuesOn) {
  // The Apocrypha-only row is left out on Normal, but a short row after it
  // reads its parameters from it.
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,11,4,8,5\n10,1,12\n", 3);
  ASSERT_EQ(r.actions.size(), 1u);
  ExpectAction(r.actions[0], 10, 1, 12, 4.0f, 8.0f);
}

TEST(EnemyTableRows, SixthFieldEndsTheRowEvenAtAComma) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,11,1,2,0,5,1,12\n");
  ASSERT_EQ(r.actions.size(), 2u);
  ExpectAction(r.actions[1], 5, 1, 12, 1.0f, 2.0f);
}

TEST(EnemyTableRows, OnlyTheLowEightBitsOfTheCodeCount) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,257,0,0,0\n");
  ASSERT_EQ(r.actions.size(), 1u);
  EXPECT_EQ(r.actions[0].op, 1);
}

TEST(EnemyTableComments, CommentLineIsSkippedAndCommentInARowDropsIt) {
  const EnemyRecord r = Parse(
      "/ a plain enemy\n2,5,10,0,0,0,0\n/ moves\n0,1,11,1,2,0\n10,1/ half a row\n"
      "20,1,4,60/ even with three fields\n30,1,1\n");
  EXPECT_EQ(r.graphic, 2);
  EXPECT_EQ(r.hitPoints, 5);
  ASSERT_EQ(r.actions.size(), 2u);
  EXPECT_EQ(r.actions[0].op, 11);
  EXPECT_EQ(r.actions[1].time, 30);
}

TEST(EnemyTableFlags, DegreesConvertOnlyTheParameterThatCarriesTheFlag) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,14,90d,180,0d\n");
  ASSERT_EQ(r.actions.size(), 1u);
  EXPECT_NEAR(r.actions[0].p1, 1.5707963f, 1e-6f);
  EXPECT_FLOAT_EQ(r.actions[0].p2, 180.0f);
}

TEST(EnemyTableFlags, FlagsAreRemovedFromTheTextAnywhereInTheField) {
  // "d" in the middle of a number is lifted out before the number is read.
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,14,-4d5,1,o0\n");
  ASSERT_EQ(r.actions.size(), 1u);
  EXPECT_NEAR(r.actions[0].p1, -45.0f * 0.017453292f, 1e-6f);
}

TEST(EnemyTableFields, SixtyFourCharactersEndAFieldAndTheRestStartsTheNext) {
  // 64 zeros read as time 0; the "5" after them is already the duration.
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n" + std::string(64, '0') + "5,1,11,2,3\n");
  ASSERT_EQ(r.actions.size(), 1u);
  ExpectAction(r.actions[0], 0, 5, 1, 11.0f, 2.0f);
}

TEST(EnemyTableFields, SixtyThreeCharactersStayOneField) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n" + std::string(62, '0') + "5,1,11,2,3\n");
  ASSERT_EQ(r.actions.size(), 1u);
  ExpectAction(r.actions[0], 5, 1, 11, 2.0f, 3.0f);
}

TEST(EnemyTableFields, CarriageReturnsAndTrailingTextAreIgnoredByTheNumbers) {
  const EnemyRecord r = Parse("4,30x,12\r\n0,1,11,1.5abc,2.5,0\r\n60,1,1\r\n");
  EXPECT_EQ(r.graphic, 4);
  EXPECT_EQ(r.hitPoints, 30);
  EXPECT_EQ(r.radius, 12);
  ASSERT_EQ(r.actions.size(), 2u);
  ExpectAction(r.actions[0], 0, 1, 11, 1.5f, 2.5f);
  EXPECT_EQ(r.actions[1].op, 1);
}

TEST(EnemyTableFields, MalformedAndHugeNumbersStayFinite) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\nx,1,11,1e999,-1e999,0\n0,1,11,9e-999,.5,0\n");
  ASSERT_EQ(r.actions.size(), 2u);
  EXPECT_EQ(r.actions[0].time, 0);
  EXPECT_TRUE(std::isfinite(r.actions[0].p1));
  EXPECT_GT(r.actions[0].p1, 1e38f);
  EXPECT_LT(r.actions[0].p2, -1e38f);
  EXPECT_FLOAT_EQ(r.actions[1].p1, 0.0f);
  EXPECT_FLOAT_EQ(r.actions[1].p2, 0.5f);
}

TEST(EnemyTableFields, EndByteStopsReading) {
  const EnemyRecord r = Parse("1,1,10,0,0,0,0\n0,1,11,1,1,0\n\xFF\n5,1,12,1,1,0\n");
  ASSERT_EQ(r.actions.size(), 1u);
  EXPECT_EQ(r.actions[0].op, 11);
}

TEST(EnemyTableFields, OverlongSkippedLineEndsAfterTenThousandCharacters) {
  // The first line runs on past its limit: the rest counts as the second line.
  const std::string first(10000, 'x');
  const std::string bytes = first + "rest of the first line\nsecond,line\n3,9,10,0,0,0,0\n";
  EnemyRowCarry carry;
  EnemyRecord r;
  ParseEnemyFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 3, carry, r);
  EXPECT_EQ(r.graphic, 0);  // "second" read as the header's first field
  EXPECT_EQ(r.hitPoints, 0);
}

TEST(EnemyTableLoad, ValuesCarryAcrossFilesAndMissingFilesGiveDefaults) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  WriteBytes("Data/EnemyDB/enemy1.csv", kSkipped + "7,50,12,1,2,0,0\n0,1,11,2,9.5,0\n");
  WriteBytes("Data/EnemyDB/enemy3.csv", kSkipped + "8,60,0\n5,1,14\n0,1,11,1,1,5\n");
  LoadEnemyTable(3);
  ASSERT_EQ(gEnemyTable.size(), static_cast<size_t>(kEnemyTableSize));

  EXPECT_EQ(gEnemyTable[0].graphic, 7);
  EXPECT_EQ(gEnemyTable[0].drops[1], 2);
  ASSERT_EQ(gEnemyTable[0].actions.size(), 1u);

  const EnemyRecord& missing = gEnemyTable[1];
  EXPECT_EQ(missing.graphic, 1);
  EXPECT_EQ(missing.hitPoints, 1);
  EXPECT_EQ(missing.radius, 10);
  EXPECT_TRUE(missing.actions.empty());

  // enemy3's short row takes p1 and p2 from enemy1's last row.
  const EnemyRecord& third = gEnemyTable[2];
  EXPECT_EQ(third.radius, 0);
  ASSERT_EQ(third.actions.size(), 1u);
  ExpectAction(third.actions[0], 5, 1, 14, 2.0f, 9.5f);
  EXPECT_TRUE(gEnemyTable[498].actions.empty());

  // Loading again rebuilds the table rather than adding to it.
  LoadEnemyTable(5);
  ASSERT_EQ(gEnemyTable.size(), static_cast<size_t>(kEnemyTableSize));
  EXPECT_EQ(gEnemyTable[2].actions.size(), 2u);
  gEnemyTable.clear();
}

}  // namespace
