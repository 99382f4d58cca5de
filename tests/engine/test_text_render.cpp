// Text drawn for real through SDL's offscreen renderer and read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Font.h"
#include "engine/FontConfig.h"
#include "engine/Headless.h"

namespace {

constexpr const char* kGothicCp932 = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr const char* kPMinchoCp932 = "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9";
constexpr const char* kKan = "\x8a\xbf";  // 漢
constexpr const char* kJi = "\x8e\x9a";   // 字
constexpr const char* kTo = "\x93\x8c";   // 東

// One rectangle of the picture as 0..255 intensity (the brightest channel).
struct Patch {
  int width = 0, height = 0;
  std::vector<int> value;
  std::vector<uint32_t> rgba;
  int lit(int threshold = 64) const {
    int n = 0;
    for (int v : value) n += v >= threshold;
    return n;
  }
};

Patch readPatch(int x, int y, int w, int h) {
  Patch p;
  p.width = w;
  p.height = h;
  p.rgba.resize(static_cast<size_t>(w) * h);
  EXPECT_TRUE(engine::CurrentBackend().video->readPixels(x, y, w, h, p.rgba.data()));
  for (uint32_t px : p.rgba) {
    const int r = px & 0xFF, g = (px >> 8) & 0xFF, b = (px >> 16) & 0xFF;
    p.value.push_back(std::max(r, std::max(g, b)));
  }
  return p;
}

int differingPixels(const Patch& a, const Patch& b) {
  int n = 0;
  for (size_t i = 0; i < a.value.size() && i < b.value.size(); ++i) {
    n += (a.value[i] >= 64) != (b.value[i] >= 64);
  }
  return n;
}

class TextRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    engine::SetFontConfigFile(std::string(VELMORA_SOURCE_DIR) + "/content/fonts/fonts.conf");
    engine::headless::UseSdl();
    ChangeWindowMode(true);
    if (EngineInit() != 0) GTEST_SKIP() << "no offscreen video driver";
    SetBlendMode(BLEND_NONE, 255);
    SetDrawBrightness(255, 255, 255);
    SetClipRect(0, 0, 640, 480);
    ClearDrawTarget();
  }
  void TearDown() override {
    EngineEnd();
    engine::headless::Use();
    engine::SetFontConfigFile("");
  }
  const int white_ = MakeColor(255, 255, 255);
};

TEST_F(TextRenderTest, KanjiDrawAsDistinctGlyphsInGothicAndMincho) {
  const int gothic = CreateFontToHandle(kGothicCp932, 30, 4, 2, -1, -1, false);
  const int mincho = CreateFontToHandle(kPMinchoCp932, 30, 8, 2, -1, -1, false);
  ASSERT_GT(gothic, 0);
  ASSERT_GT(mincho, 0);
  DrawTextWithFont(10, 10, kKan, white_, gothic, 0);
  DrawTextWithFont(60, 10, kJi, white_, gothic, 0);
  DrawTextWithFont(110, 10, kTo, white_, gothic, 0);
  DrawTextWithFont(10, 60, kKan, white_, mincho, 0);
  DrawTextWithFont(60, 60, kJi, white_, mincho, 0);
  const Patch gothicKan = readPatch(10, 10, 40, 40);
  const Patch gothicJi = readPatch(60, 10, 40, 40);
  const Patch gothicTo = readPatch(110, 10, 40, 40);
  const Patch minchoKan = readPatch(10, 60, 40, 40);
  const Patch minchoJi = readPatch(60, 60, 40, 40);
  for (const Patch* p : {&gothicKan, &gothicJi, &gothicTo, &minchoKan, &minchoJi}) {
    // Real strokes: plenty of ink, yet far from a filled square.
    EXPECT_GT(p->lit(), 120);
    EXPECT_LT(p->lit(), 900);
  }
  // A missing-glyph box would look the same for every character.
  EXPECT_GT(differingPixels(gothicKan, gothicJi), 100);
  EXPECT_GT(differingPixels(gothicKan, gothicTo), 100);
  EXPECT_GT(differingPixels(minchoKan, minchoJi), 100);
  // And the two faces draw the same character differently.
  EXPECT_GT(differingPixels(gothicKan, minchoKan), 60);
}

TEST_F(TextRenderTest, TextSitsBelowAndRightOfItsTopLeftCorner) {
  const int gothic = CreateFontToHandle(kGothicCp932, 20, 4, 2, -1, -1, false);
  ASSERT_GT(gothic, 0);
  DrawTextWithFont(200, 200, "Hg\x8a\xbf", white_, gothic, 0);
  const int width = MeasureText("Hg\x8a\xbf", gothic);
  const Patch around = readPatch(180, 180, 100, 60);
  int top = 1000, bottom = -1, left = 1000, right = -1;
  for (int y = 0; y < around.height; ++y) {
    for (int x = 0; x < around.width; ++x) {
      if (around.value[static_cast<size_t>(y) * around.width + x] < 64) continue;
      top = std::min(top, y + 180);
      bottom = std::max(bottom, y + 180);
      left = std::min(left, x + 180);
      right = std::max(right, x + 180);
    }
  }
  ASSERT_GE(bottom, 0) << "nothing drawn";
  EXPECT_GE(top, 200);
  EXPECT_LE(top, 206);  // capitals reach close to the line's top
  EXPECT_LT(bottom, 200 + engine::FindFont(gothic)->lineHeight());
  EXPECT_GT(bottom, 214);  // the descender of g
  EXPECT_GE(left, 200);
  EXPECT_LE(left, 203);
  EXPECT_LE(right, 200 + width);
  EXPECT_GT(right, 200 + width - 6);
}

TEST_F(TextRenderTest, ColourBrightnessAndBlendApply) {
  const int gothic = CreateFontToHandle(kGothicCp932, 30, 4, 2, -1, -1, false);
  DrawTextWithFont(10, 10, kKan, MakeColor(255, 0, 0), gothic, 0);
  SetDrawBrightness(255, 255, 0);
  DrawTextWithFont(60, 10, kKan, MakeColor(0, 255, 255), gothic, 0);
  SetDrawBrightness(255, 255, 255);
  SetBlendMode(BLEND_ALPHA, 128);
  DrawTextWithFont(110, 10, kKan, white_, gothic, 0);
  SetBlendMode(BLEND_NONE, 255);

  int maxRed[3] = {}, maxGreen[3] = {}, maxBlue[3] = {};
  for (int i = 0; i < 3; ++i) {
    const Patch p = readPatch(10 + 50 * i, 10, 40, 40);
    for (uint32_t px : p.rgba) {
      maxRed[i] = std::max<int>(maxRed[i], px & 0xFF);
      maxGreen[i] = std::max<int>(maxGreen[i], (px >> 8) & 0xFF);
      maxBlue[i] = std::max<int>(maxBlue[i], (px >> 16) & 0xFF);
    }
  }
  EXPECT_EQ(maxRed[0], 255);
  EXPECT_EQ(maxGreen[0], 0);
  EXPECT_EQ(maxBlue[0], 0);
  // Cyan text with the blue brightness off is green.
  EXPECT_EQ(maxRed[1], 0);
  EXPECT_EQ(maxGreen[1], 255);
  EXPECT_EQ(maxBlue[1], 0);
  // Half opacity over black is half grey.
  EXPECT_NEAR(maxRed[2], 128, 4);
  EXPECT_NEAR(maxBlue[2], 128, 4);
}

TEST_F(TextRenderTest, InvalidHandleAndDefaultDrawWithTheDefaultFont) {
  DrawTextWithFont(10, 10, kKan, white_, -1, 0);
  DrawTextWithFont(60, 10, kKan, white_, 777, 0);
  DrawTextDefault(110, 10, kKan, white_, 0);
  const Patch a = readPatch(10, 10, 40, 40);
  const Patch b = readPatch(60, 10, 40, 40);
  const Patch c = readPatch(110, 10, 40, 40);
  EXPECT_GT(a.lit(), 40);
  EXPECT_EQ(differingPixels(a, b), 0);
  EXPECT_EQ(differingPixels(a, c), 0);
  // Broken bytes draw a mark instead of nothing.
  DrawTextDefault(10, 100, "\xff", white_, 0);
  EXPECT_GT(readPatch(10, 100, 20, 20).lit(1), 0);
}

TEST_F(TextRenderTest, ClipRectangleCutsText) {
  const int gothic = CreateFontToHandle(kGothicCp932, 30, 4, 2, -1, -1, false);
  SetClipRect(0, 0, 640, 25);
  DrawTextWithFont(10, 10, kKan, white_, gothic, 0);
  SetClipRect(0, 0, 640, 480);
  const Patch inside = readPatch(10, 10, 40, 15);
  const Patch outside = readPatch(10, 25, 40, 25);
  EXPECT_GT(inside.lit(), 20);
  EXPECT_EQ(outside.lit(1), 0);
}

TEST_F(TextRenderTest, OutlinedFontsDrawTheirEdgeColour) {
  const int outlined = CreateFontToHandle(kGothicCp932, 30, 4, 3, -1, 2, false);
  ASSERT_GT(outlined, 0);
  DrawTextWithFont(10, 10, kKan, MakeColor(255, 0, 0), outlined, MakeColor(0, 0, 255));
  const Patch p = readPatch(0, 0, 60, 60);
  int red = 0, blue = 0;
  for (uint32_t px : p.rgba) {
    red += (px & 0xFF) > 200;
    blue += ((px >> 16) & 0xFF) > 200;
  }
  EXPECT_GT(red, 50);
  EXPECT_GT(blue, 50);
}

}  // namespace
