// Shared image tables and fonts, with the engine's image calls recorded.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Resources.h"
#include "app/Sjis.h"
#include "support/TempWorkDir.h"

namespace {

struct FakeImage {
  int w, h;
};
std::map<std::string, FakeImage> g_files;  // images that "exist"
std::map<int, FakeImage> g_handles;
std::vector<std::string> g_cellLoads;
struct SubCall {
  int x, y, w, h, source;
};
std::vector<SubCall> g_subs;
struct FontCall {
  std::string face;
  int size, thickness, type, charset, edge;
  bool italic;
};
std::vector<FontCall> g_fonts;
int g_next = 1;
int g_deleteAll = 0;

int FakeLoadImage(const char* path) {
  auto it = g_files.find(path);
  if (it == g_files.end()) return -1;
  g_handles[g_next] = it->second;
  return g_next++;
}
int FakeLoadCells(const char* path, int total, int, int, int, int, int* handles) {
  g_cellLoads.push_back(path);
  if (!g_files.count(path)) return -1;
  for (int i = 0; i < total; ++i) handles[i] = g_next++;
  return 0;
}
int FakeSub(int x, int y, int w, int h, int source) {
  g_subs.push_back({x, y, w, h, source});
  return g_next++;
}
int FakeSize(int handle, int* w, int* h) {
  auto it = g_handles.find(handle);
  if (it == g_handles.end()) return -1;
  *w = it->second.w;
  *h = it->second.h;
  return 0;
}
int FakeDeleteAll() {
  ++g_deleteAll;
  return 0;
}
int FakeFont(const char* face, int size, int thickness, int type, int charset, int edge,
             bool italic) {
  g_fonts.push_back({face, size, thickness, type, charset, edge, italic});
  return static_cast<int>(g_fonts.size());
}

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.ok());
    saved_ = gImageCalls;
    gImageCalls = {FakeLoadImage, FakeLoadCells, FakeSub, FakeSize, FakeDeleteAll, FakeFont};
    g_files.clear();
    g_handles.clear();
    g_cellLoads.clear();
    g_subs.clear();
    g_fonts.clear();
    g_next = 1;
    g_deleteAll = 0;
  }
  void TearDown() override {
    ReleaseSharedResources();
    gImageCalls = saved_;
  }
  ImageEngineCalls saved_{};
  TempWorkDir dir_;
};

TEST_F(ResourcesTest, GridSheetIsCutIntoSixteenCellsRowMajor) {
  g_files["Graphics/enemy1.png"] = {128, 64};
  int cells[16];
  LoadImageGrid("Graphics/enemy1.png", 4, cells);
  ASSERT_EQ(g_subs.size(), 16u);
  // Cell (row 1, column 2) is index 6, cut from (64, 16) at 32 x 16.
  EXPECT_EQ(g_subs[6].x, 64);
  EXPECT_EQ(g_subs[6].y, 16);
  EXPECT_EQ(g_subs[6].w, 32);
  EXPECT_EQ(g_subs[6].h, 16);
  EXPECT_EQ(g_subs[6].source, 1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(cells[i], 2 + i);
}

TEST_F(ResourcesTest, SheetThatDoesNotDivideIsUsedWholeAndMissingSheetsGiveZeros) {
  g_files["Graphics/enemy2.png"] = {130, 64};  // width not a multiple of 4
  int cells[16];
  LoadImageGrid("Graphics/enemy2.png", 4, cells);
  EXPECT_TRUE(g_subs.empty());
  for (int c : cells) EXPECT_EQ(c, 1);
  int missing[16];
  for (int& c : missing) c = 77;
  LoadImageGrid("Graphics/enemy3.png", 4, missing);
  for (int c : missing) EXPECT_EQ(c, 0);
}

TEST_F(ResourcesTest, SharedImagesLoadIntoTheirTables) {
  g_files["Graphics/player1.png"] = {128, 128};
  g_files["Graphics/enemy50.png"] = {64, 64};
  g_files["Graphics/item.png"] = {64, 16};
  g_files["Graphics/bullet20.png"] = {16, 16};
  g_files["Graphics/effect10.png"] = {640, 640};
  g_files["Graphics/charge_base.png"] = {128, 64};
  g_files["Graphics/guide.png"] = {640, 480};
  LoadSharedImages();
  EXPECT_GT(PlayerImages[0][15], 0);
  EXPECT_EQ(PlayerImages[1][0], 0);
  EXPECT_GT(EnemyImages[49][0], 0);
  EXPECT_EQ(EnemyImages[48][0], 0);
  EXPECT_GT(ItemImages[3], 0);
  EXPECT_GT(BulletImages[19], 0);
  EXPECT_EQ(BulletImages[0], 0);  // a failed load stores 0, not -1
  EXPECT_GT(EffectImages[9][24], 0);
  EXPECT_EQ(EffectImages[0][0], 0);
  EXPECT_GT(ChargeBaseImages[1], 0);
  EXPECT_EQ(ChargeBarImage, 0);
  EXPECT_EQ(HpBarImage, 0);
  EXPECT_GT(GuideImage, 0);
  for (const auto& a : Animations) EXPECT_EQ(a, nullptr);  // no tables here
  // Effects and the charge base are loaded as cell sheets, effects first.
  ASSERT_EQ(g_cellLoads.size(), 11u);
  EXPECT_EQ(g_cellLoads[0], "Graphics/effect1.png");
  EXPECT_EQ(g_cellLoads[10], "Graphics/charge_base.png");
}

TEST_F(ResourcesTest, ReleaseFreesAnimationsAndEveryImage) {
  g_files["Graphics/guide.png"] = {640, 480};
  WriteBytes("Graphics/anime7.csv", "8,8,4,4,1,1,1\n3\n");
  g_files["Graphics/anime7.png"] = {8, 8};
  LoadSharedImages();
  ASSERT_NE(Animations[6], nullptr);
  ASSERT_GT(GuideImage, 0);
  ReleaseSharedResources();
  EXPECT_EQ(Animations[6], nullptr);
  EXPECT_EQ(GuideImage, 0);
  EXPECT_EQ(g_deleteAll, 1);
}

TEST_F(ResourcesTest, SixFontsInOrder) {
  LoadFonts();
  ASSERT_EQ(g_fonts.size(), 6u);
  EXPECT_EQ(g_fonts[0].face, "Trebuchet MS");
  EXPECT_EQ(g_fonts[0].size, 25);
  EXPECT_FALSE(g_fonts[0].italic);
  EXPECT_EQ(g_fonts[1].size, 18);
  EXPECT_EQ(g_fonts[1].thickness, 8);
  EXPECT_TRUE(g_fonts[1].italic);
  EXPECT_EQ(g_fonts[2].face, Sjis("ＭＳ ゴシック"));
  EXPECT_EQ(g_fonts[2].charset, -1);
  EXPECT_EQ(g_fonts[3].face, Sjis("ＭＳ Ｐゴシック"));
  EXPECT_EQ(g_fonts[3].size, 15);
  EXPECT_EQ(g_fonts[4].face, "Franklin Gothic Medium");
  EXPECT_EQ(g_fonts[4].charset, 0);
  EXPECT_EQ(g_fonts[5].face, Sjis("ＭＳ Ｐ明朝"));
  EXPECT_EQ(g_fonts[5].size, 30);
  for (const auto& f : g_fonts) {
    EXPECT_EQ(f.type, 2);
    EXPECT_EQ(f.edge, -1);
  }
  EXPECT_EQ(FontGothic20, 3);
  EXPECT_EQ(FontMincho30, 6);
  // The Japanese faces reach the engine as CP932 bytes, not UTF-8.
  EXPECT_EQ(g_fonts[2].face.substr(0, 2), "\x82\x6c");
}

}  // namespace
