// Measuring, decoding and recording text on the headless backend: FreeType
// needs no screen, so widths are the real ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Resources.h"
#include "engine/Backend.h"
#include "engine/DataFiles.h"
#include "engine/Engine.h"
#include "engine/Font.h"
#include "engine/FontConfig.h"
#include "engine/Headless.h"
#include "engine/ImageDecode.h"
#include "engine/TextDecode.h"

namespace {

constexpr const char* kGothicCp932 = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr const char* kPGothicCp932 =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr const char* kPMinchoCp932 = "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9";
// "漢字テスト" and "漢字" in CP932.
constexpr const char* kKanjiLine = "\x8a\xbf\x8e\x9a\x83\x65\x83\x58\x83\x67";
constexpr const char* kKanjiPair = "\x8a\xbf\x8e\x9a";

class TextMeasureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::SetFontConfigFile(std::string(VELMORA_SOURCE_DIR) + "/content/fonts/fonts.conf");
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    engine::headless::ClearDraws();
  }
  void TearDown() override {
    EngineEnd();
    engine::SetFontConfigFile("");
  }
  static int font(const char* face, int size, int charset = -1) {
    return CreateFontToHandle(face, size, 4, 2, charset, -1, false);
  }
};

TEST_F(TextMeasureTest, WidthGrowsWithTextAndWithSize) {
  const int small = font("Trebuchet MS", 18, 0);
  const int large = font("Trebuchet MS", 25, 0);
  const int mincho = font(kPMinchoCp932, 30);
  ASSERT_GT(small, 0);
  ASSERT_GT(large, 0);
  ASSERT_GT(mincho, 0);
  const int shortWidth = MeasureText("SCORE", small);
  const int longWidth = MeasureText("SCORE 0001234500", small);
  EXPECT_GT(shortWidth, 20);
  EXPECT_GT(longWidth, shortWidth * 2);
  EXPECT_GT(MeasureText("SCORE", large), shortWidth);
  EXPECT_GT(MeasureText(kKanjiLine, mincho), MeasureText(kKanjiPair, mincho));
  // Full-width kanji are about one em each.
  EXPECT_NEAR(MeasureText(kKanjiPair, mincho), 60, 4);
}

// A font's size is its character cell, so a 25-pixel face sits in the
// score board's 28-pixel rows, and the ten-digit score starting 90 pixels
// into the 210-pixel panel (at x 430) ends inside the screen.
TEST_F(TextMeasureTest, SizeIsTheCellHeightAndScoreBoardTextFits) {
  for (const char* face : {"Trebuchet MS", "Franklin Gothic Medium"}) {
    const int handle = font(face, 25, 0);
    ASSERT_GT(handle, 0) << face;
    const engine::Font* f = engine::FindFont(handle);
    ASSERT_NE(f, nullptr);
    EXPECT_GE(f->lineHeight(), 24) << face;
    EXPECT_LE(f->lineHeight(), 27) << face;
  }
  const int hud = font("Trebuchet MS", 25, 0);
  EXPECT_LE(MeasureText("0000000000", hud), 120);  // 520 + 120 = the screen edge
  EXPECT_GE(MeasureText("0000000000", hud), 90);
  EXPECT_LT(MeasureText("HiScore", hud), 88);
}

// Rows from the top of a text line that its letters cover: [top, bottom).
struct InkRows {
  int top = 1 << 20;
  int bottom = 0;
};
InkRows InkOf(const char* text, int handle) {
  engine::Font* font = engine::FindFont(handle);
  InkRows ink;
  if (font == nullptr) return ink;
  for (const char32_t c : engine::DecodeCp932(text)) {
    const engine::Glyph& g = font->glyph(c);
    if (g.width == 0) continue;
    ink.top = std::min(ink.top, g.offsetY);
    ink.bottom = std::max(ink.bottom, g.offsetY + g.height);
  }
  return ink;
}

engine::DecodedImage ReadPicture(const std::string& path) {
  engine::DecodedImage image;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return image;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  engine::DecodeImage(bytes.data(), bytes.size(), image);
  return image;
}

// Mean brightness (0..765) of row y of a picture between x0 and x1.
double RowBrightness(const engine::DecodedImage& image, int y, int x0, int x1) {
  double sum = 0;
  for (int x = x0; x < x1; ++x) {
    const uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
    sum += (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);
  }
  return sum / (x1 - x0);
}

// Every fixed text of the menus, the score panel and the headings against
// the box it must stay in, measured with the game's own fonts: the faces
// standing in for the designed ones run wider, and text that spills over a
// frame or a rule is what a player sees first.
TEST_F(TextMeasureTest, GameTextsStayInsideTheirBoxes) {
  LoadFonts();
  // Stage menus and selection menus: 200-pixel tables with 8-pixel margins.
  constexpr int kMenuInner = 200 - 2 * 8;
  for (const char* row :
       {"PAUSE", "GAME OVER", "CONTINUE 99", "RETURN TO TITLE", "GIVE UP", "RESTART FROM FIRST"}) {
    EXPECT_LT(MeasureText(row, FontTrebuchet25), kMenuInner) << row;
  }
  for (const char* heading : {"Select Difficulty", "Select Charge type"}) {
    EXPECT_LT(MeasureText(heading, FontFranklin25), kMenuInner) << heading;
  }
  // The stage menu (y 124: margin, heading and two 25-pixel rows above its
  // last row) ends its last row's letters above the "OK?" box at y 234.
  const InkRows lastRow = InkOf("RESTART FROM FIRST", FontTrebuchet25);
  EXPECT_LE(124 + 8 + 25 + 2 * 25 + lastRow.bottom, 234);
  // The score digits start 90 pixels into the panel at x 430 and end
  // before its rules do, at x 628.
  EXPECT_LE(430 + 90 + MeasureText("0000000000", FontTrebuchet25), 628);
  EXPECT_LT(MeasureText("HiScore", FontTrebuchet25), 88);

  // Headings on the menu backdrop, centred in 320 pixels from x 160: the
  // rows their letters cover hold no border or rule of the picture.
  const engine::DecodedImage backdrop =
      ReadPicture(std::string(VELMORA_GAME_DIR) + "/Graphics/demo4.png");
  ASSERT_EQ(backdrop.width, 640);
  ASSERT_EQ(backdrop.height, 480);
  const struct {
    const char* text;
    int y;
  } headings[] = {{"Replay", 16}, {"Scores", 48}, {"Result", 56}};
  for (const auto& heading : headings) {
    const int width = MeasureText(heading.text, FontMincho30);
    const int left = 160 + (320 - width) / 2;
    const InkRows ink = InkOf(heading.text, FontMincho30);
    ASSERT_LT(ink.top, ink.bottom) << heading.text;
    for (int y = heading.y + ink.top; y < heading.y + ink.bottom; ++y) {
      const double here = RowBrightness(backdrop, y, left, left + width);
      const double around = (RowBrightness(backdrop, y - 1, left, left + width) +
                             RowBrightness(backdrop, y + 1, left, left + width)) /
                            2;
      EXPECT_LT(std::abs(here - around), 6.0) << heading.text << ": a line across row " << y;
    }
  }
}

TEST_F(TextMeasureTest, FixedPitchGothicAlignsColumns) {
  const int gothic = font(kGothicCp932, 20);
  const int proportional = font(kPGothicCp932, 20);
  ASSERT_GT(gothic, 0);
  ASSERT_GT(proportional, 0);
  const int narrow = MeasureText("iiiiiiii", gothic);
  EXPECT_EQ(narrow, 80);  // half an em per half-width character
  EXPECT_EQ(MeasureText("WWWWWWWW", gothic), narrow);
  EXPECT_EQ(MeasureText("1. ABC    9999", gothic), MeasureText("10.XYZ .. 1111", gothic));
  // Half-width katakana are half-width too; kanji take two columns.
  EXPECT_EQ(MeasureText("\xb1\xb2\xb3\xb4", gothic), MeasureText("abcd", gothic));
  EXPECT_EQ(MeasureText(kKanjiPair, gothic), MeasureText("abcd", gothic));
  // The proportional face does not line up, which is why the table avoids it.
  EXPECT_LT(MeasureText("iiiiiiii", proportional), MeasureText("WWWWWWWW", proportional));
}

TEST_F(TextMeasureTest, InvalidHandlesUseTheDefaultFont) {
  const int gothic16 = font(kGothicCp932, 16);
  ASSERT_GT(gothic16, 0);
  const int expected = MeasureText("Default 123", gothic16);
  ASSERT_GT(expected, 0);
  for (int handle : {-1, 0, 12345}) {
    EXPECT_EQ(MeasureText("Default 123", handle), expected) << handle;
  }
  // A font that could not be created measures like the default one as well.
  const int failed = CreateFontToHandle(kGothicCp932, 0, 4, 2, -1, -1, false);
  EXPECT_EQ(failed, -1);
  EXPECT_EQ(MeasureText("Default 123", failed), expected);
}

TEST_F(TextMeasureTest, FontsEndWithTheEngine) {
  const int big = font(kPMinchoCp932, 30);
  ASSERT_GT(big, 0);
  const int bigWidth = MeasureText("Velmora", big);
  EngineEnd();
  EXPECT_EQ(engine::FindFont(big), nullptr);
  ASSERT_EQ(EngineInit(), 0);
  EXPECT_NE(MeasureText("Velmora", big), bigWidth);  // the default font now answers
}

TEST_F(TextMeasureTest, EmptyBrokenAndMultiLineText) {
  const int gothic = font(kGothicCp932, 20);
  EXPECT_EQ(MeasureText("", gothic), 0);
  EXPECT_EQ(MeasureText(nullptr, gothic), 0);
  // A lead byte cut off at the end and bytes CP932 does not define are drawn
  // as replacement marks and take room.
  EXPECT_GT(MeasureText("AB\x82", gothic), MeasureText("AB", gothic));
  EXPECT_GT(MeasureText("\xa0\xfd\xfe\xff", gothic), 0);
  // Control characters take none; a line break measures the widest line.
  EXPECT_EQ(MeasureText("ab\tc", gothic), MeasureText("abc", gothic));
  EXPECT_EQ(MeasureText("abcdef\nab", gothic), MeasureText("abcdef", gothic));
  EXPECT_EQ(MeasureText("ab\nabcdef", gothic), MeasureText("abcdef", gothic));
}

TEST(TextDecodeTest, Cp932BecomesUnicodeWithReplacementsForBadBytes) {
  EXPECT_EQ(engine::DecodeCp932Uncached("Velmora"), U"Velmora");
  EXPECT_EQ(engine::DecodeCp932Uncached(kKanjiLine), U"漢字テスト");
  // Characters the plain Shift-JIS table lacks or maps elsewhere.
  EXPECT_EQ(engine::DecodeCp932Uncached("\x81\x60\x87\x40"), U"\uFF5E\u2460");
  EXPECT_EQ(engine::DecodeCp932Uncached("\xb1"), U"\uFF71");
  EXPECT_EQ(engine::DecodeCp932Uncached("A\x82"), U"A\uFFFD");
  EXPECT_EQ(engine::DecodeCp932Uncached("\xff"
                                        "B\x82\xa0"),
            U"\uFFFDB\u3042");
  EXPECT_EQ(engine::DecodeCp932Uncached(std::string("a\0b", 3)), std::u32string(U"a\0b", 3));
  EXPECT_EQ(engine::DecodeCp932Uncached(""), U"");
  // The cached path gives the same answers, repeatedly.
  EXPECT_EQ(engine::DecodeCp932(kKanjiLine), U"漢字テスト");
  EXPECT_EQ(engine::DecodeCp932(kKanjiLine), U"漢字テスト");
  EXPECT_EQ(engine::DecodeCp932("A\x82"), U"A\uFFFD");
}

TEST(TextDecodeTest, PathsTitlesAndFaceNamesKeepCharactersOnlyCp932Has) {
  // Wave dash and circled one: plain Shift-JIS has no such codes.
  EXPECT_EQ(engine::Cp932ToUtf8("\x81\x60\x87\x40"), "\uFF5E\u2460");
  std::string path;
  ASSERT_TRUE(engine::NormaliseDataPath("Graphics/\x87\x40\x81\x60.png", path));
  EXPECT_EQ(path, "Graphics/\u2460\uFF5E.png");
}

TEST_F(TextMeasureTest, DrawsAreRecordedWithTheirState) {
  const int gothic = font(kGothicCp932, 20);
  SetBlendMode(BLEND_ALPHA, 128);
  SetDrawBrightness(10, 20, 30);
  SetClipRect(5, 6, 300, 400);
  DrawTextWithFont(12, 34, kKanjiLine, MakeColor(255, 128, 0), gothic, MakeColor(0, 0, 1));
  SetBlendMode(BLEND_NONE, 255);
  SetDrawBrightness(255, 255, 255);
  DrawTextDefault(56, 78, "default", MakeColor(1, 2, 3), 0);
  DrawTextWithFont(0, 0, "", MakeColor(1, 2, 3), gothic, 0);

  const auto& draws = engine::headless::Draws();
  ASSERT_EQ(draws.size(), 3u);
  const auto& first = draws[0];
  EXPECT_EQ(first.op, engine::headless::DrawOp::Text);
  EXPECT_EQ(first.handle, gothic);
  EXPECT_EQ(first.args[0], 12);
  EXPECT_EQ(first.args[1], 34);
  EXPECT_EQ(first.text, kKanjiLine);
  EXPECT_EQ(first.color, MakeColor(255, 128, 0));
  EXPECT_EQ(first.blendMode, BLEND_ALPHA);
  EXPECT_EQ(first.blendParam, 128);
  EXPECT_EQ(first.bright[2], 30);
  EXPECT_TRUE(first.clipOn);
  EXPECT_EQ(first.clip[2], 300);
  EXPECT_EQ(draws[1].handle, 0);
  EXPECT_EQ(draws[1].args[0], 56);
  EXPECT_EQ(draws[1].text, "default");
  EXPECT_EQ(draws[1].blendMode, BLEND_NONE);
  EXPECT_EQ(draws[2].text, "");

  // Nothing is drawn or recorded without an engine.
  EngineEnd();
  engine::headless::ClearDraws();
  DrawTextDefault(0, 0, "late", 0, 0);
  EXPECT_TRUE(engine::headless::Draws().empty());
}

}  // namespace
