// Animation tables "Graphics/anime%d.csv" and the frames built from them.
#include <gtest/gtest.h>

#include <string>

#include "app/AnimeTable.h"
#include "app/Resources.h"
#include "support/TempWorkDir.h"

namespace {

std::optional<AnimeTableText> Parse(const std::string& text) {
  return ParseAnimeTable(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// Durations as plain numbers, -1 for a cell that got none.
std::vector<int> Durations(const AnimeTableText& t) {
  std::vector<int> out;
  for (const auto& d : t.durations) out.push_back(d ? *d : -1);
  return out;
}

TEST(AnimeTable, HeaderOnOneLineThenOneDurationPerCell) {
  const auto t = Parse("32,48,16,24,4,2,6\n3,3,4\n5,5,6\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->cellWidth, 32);
  EXPECT_EQ(t->cellHeight, 48);
  EXPECT_EQ(t->originX, 16);
  EXPECT_EQ(t->originY, 24);
  EXPECT_EQ(t->columns, 4);
  EXPECT_EQ(t->rows, 2);
  EXPECT_EQ(t->cellCount, 6);
  EXPECT_EQ(Durations(*t), (std::vector<int>{3, 3, 4, 5, 5, 6}));
}

TEST(AnimeTable, HeaderBrokenOverTwoLinesIsInvalid) {
  EXPECT_FALSE(Parse("32,32,16,16,4\n1,4,2,2\n"));
  EXPECT_FALSE(Parse("\n32,32,16,16,4,1,4\n2,2,2,2\n"));  // blank first line
  EXPECT_FALSE(Parse("32,32,16,16,4,1"));                 // ends inside the header
  EXPECT_FALSE(Parse(""));
}

TEST(AnimeTable, HeaderAtTheEndOfTheFileIsComplete) {
  const auto t = Parse("8,8,4,4,2,1,2");
  ASSERT_TRUE(t);
  EXPECT_EQ(Durations(*t), (std::vector<int>{-1, -1}));
}

TEST(AnimeTable, CommentsBeforeTheHeaderAndCrLfEndings) {
  const auto t = Parse("// ship glow\r\n/ w,h,ox,oy,cols,rows,count\r\n8,8,4,4,2,1,2\r\n7,9\r\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->cellCount, 2);
  EXPECT_EQ(Durations(*t), (std::vector<int>{7, 9}));
}

TEST(AnimeTable, CommentRestartsTheDurationsAtCellZero) {
  const auto t = Parse("8,8,4,4,4,1,4\n1,2,3,4\n// again\n9,8\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(Durations(*t), (std::vector<int>{9, 8, 3, 4}));
  // A comment after values on the same line drops the cut field too.
  const auto u = Parse("8,8,4,4,4,1,4\n1,2,3/x\n6\n");
  ASSERT_TRUE(u);
  EXPECT_EQ(Durations(*u), (std::vector<int>{6, 2, -1, -1}));
}

TEST(AnimeTable, CommentInsideTheHeaderStartsTheHeaderOver) {
  const auto t = Parse("1,2,3/not yet\n8,8,4,4,2,1,2\n5,6\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->cellWidth, 8);
  EXPECT_EQ(Durations(*t), (std::vector<int>{5, 6}));
}

TEST(AnimeTable, FewerOrMoreDurationsThanCells) {
  const auto few = Parse("8,8,4,4,4,1,4\n5,6\n");
  ASSERT_TRUE(few);
  EXPECT_EQ(Durations(*few), (std::vector<int>{5, 6, -1, -1}));
  const auto many = Parse("8,8,4,4,2,1,2\n5,6,7,8,9\n");
  ASSERT_TRUE(many);
  EXPECT_EQ(Durations(*many), (std::vector<int>{5, 6}));
}

TEST(AnimeTable, DataMayFollowTheHeaderOnItsLine) {
  const auto t = Parse("8,8,4,4,2,1,2,3\n4\n");
  ASSERT_TRUE(t);
  EXPECT_EQ(Durations(*t), (std::vector<int>{3, 4}));
}

TEST(AnimeTable, CellCountOutOfRangeIsInvalid) {
  EXPECT_FALSE(Parse("8,8,4,4,2,1,0\n"));
  EXPECT_FALSE(Parse("8,8,4,4,2,1,-5\n"));
  EXPECT_FALSE(Parse("8,8,4,4,2,1,2000000000\n"));
}

// LoadAnimation with the sheet loader replaced: each cell k gets handle 100+k.
int g_loadCellsCalls = 0;
int g_lastTotal = 0;
bool g_sheetFails = false;
int FakeLoadCells(const char*, int total, int, int, int, int, int* handles) {
  ++g_loadCellsCalls;
  g_lastTotal = total;
  if (g_sheetFails) return -1;
  for (int k = 0; k < total; ++k) handles[k] = 100 + k;
  return 0;
}

class AnimeLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = gImageCalls;
    gImageCalls.loadCells = FakeLoadCells;
    g_loadCellsCalls = 0;
    g_sheetFails = false;
    ASSERT_TRUE(dir_.ok());
  }
  void TearDown() override { gImageCalls = saved_; }
  ImageEngineCalls saved_{};
  TempWorkDir dir_;
};

TEST_F(AnimeLoad, FramesTakeCellImagesOnlyWhereADurationWasGiven) {
  WriteBytes("Graphics/anime3.csv", "16,16,8,9,4,1,4\n6,7\n");
  const auto anim = LoadAnimation(3);
  ASSERT_TRUE(anim);
  EXPECT_EQ(g_lastTotal, 4);
  EXPECT_EQ(anim->id, 3);
  EXPECT_EQ(anim->originX, 8);
  EXPECT_EQ(anim->originY, 9);
  ASSERT_EQ(anim->frames.size(), 4u);
  EXPECT_EQ(anim->frames[0].image, 100);
  EXPECT_EQ(anim->frames[0].duration, 6);
  EXPECT_EQ(anim->frames[1].image, 101);
  EXPECT_EQ(anim->frames[1].duration, 7);
  EXPECT_EQ(anim->frames[2].image, 0);
  EXPECT_EQ(anim->frames[3].duration, 0);
}

TEST_F(AnimeLoad, MissingOrBrokenTablesGiveNoAnimation) {
  EXPECT_FALSE(LoadAnimation(1));
  WriteBytes("Graphics/anime2.csv", "16,16,8,8,4\n1,4,5,5\n");
  EXPECT_FALSE(LoadAnimation(2));
  EXPECT_EQ(g_loadCellsCalls, 0);  // no sheet is loaded for a broken table
}

TEST_F(AnimeLoad, MissingSheetKeepsTheTimingsWithoutImages) {
  g_sheetFails = true;
  WriteBytes("Graphics/anime4.csv", "16,16,8,8,2,1,2\n3,3\n");
  const auto anim = LoadAnimation(4);
  ASSERT_TRUE(anim);
  EXPECT_EQ(anim->frames[0].image, 0);
  EXPECT_EQ(anim->frames[1].duration, 3);
}

TEST_F(AnimeLoad, SpritesFindTableNModuloThirty) {
  WriteBytes("Graphics/anime1.csv", "16,16,8,8,1,1,1\n5\n");
  Animations[0] = LoadAnimation(1);
  ASSERT_TRUE(Animations[0]);
  EXPECT_EQ(FindAnimation(1), Animations[0].get());
  EXPECT_EQ(FindAnimation(31), Animations[0].get());
  EXPECT_EQ(FindAnimation(2), nullptr);
  EXPECT_EQ(FindAnimation(0), Animations[29].get());  // wraps, never out of the table
  EXPECT_EQ(FindAnimation(-29), Animations[0].get());
  Animations[0].reset();
}

}  // namespace
