// Face-name resolution through the game's font configuration, and fonts made
// from damaged or missing files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/Font.h"
#include "engine/FontConfig.h"
#include "engine/FontFace.h"
#include "engine/Headless.h"

namespace {

const std::string kGameConfig = std::string(VELMORA_SOURCE_DIR) + "/content/fonts/fonts.conf";

// The face names the game passes, as the CP932 bytes it passes them in.
constexpr const char* kGothicCp932 = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr const char* kPGothicCp932 =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
constexpr const char* kPMinchoCp932 = "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9";

std::string familyOf(const std::string& nameUtf8, bool japanese, int weight = 400,
                     bool italic = false) {
  engine::FaceChoice choice;
  if (!engine::ResolveFontFace(nameUtf8, weight, italic, japanese, choice)) return "<none>";
  return choice.family;
}

std::string resolvedFile(const std::string& nameUtf8) {
  engine::FaceChoice choice;
  return engine::ResolveFontFace(nameUtf8, 400, false, false, choice) ? choice.file : "";
}

std::vector<char> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const char* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data, static_cast<std::streamsize>(size));
}

class FontResolveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::SetFontConfigFile(kGameConfig);
    engine::headless::Use();
  }
  void TearDown() override {
    EngineEnd();
    engine::SetFontConfigFile("");
  }
};

TEST_F(FontResolveTest, GameFaceNamesMapToTheInstalledFaces) {
  char real[PATH_MAX];
  ASSERT_NE(realpath(kGameConfig.c_str(), real), nullptr);
  EXPECT_EQ(engine::FontConfigFileInUse(), real);
  EXPECT_EQ(familyOf("ＭＳ ゴシック", true), "IPAGothic");
  EXPECT_EQ(familyOf("ＭＳ Ｐゴシック", true), "IPAPGothic");
  EXPECT_EQ(familyOf("ＭＳ Ｐ明朝", true), "IPAPMincho");
  EXPECT_EQ(familyOf("Trebuchet MS", false), "DejaVu Sans");
  EXPECT_EQ(familyOf("Franklin Gothic Medium", false), "Liberation Sans");
  // The HUD's face is the narrow cut, so that ten digits fit the panel.
  engine::FaceChoice hud;
  ASSERT_TRUE(engine::ResolveFontFace("Trebuchet MS", 400, false, false, hud));
  EXPECT_NE(hud.file.find("Condensed"), std::string::npos) << hud.file;
  // Asking for the Japanese faces must not drag the Latin ones away.
  EXPECT_EQ(familyOf("Trebuchet MS", true), "DejaVu Sans");
  // Weight and slant choose among the family's files, never another family.
  EXPECT_EQ(familyOf("Trebuchet MS", false, 800, true), "DejaVu Sans");
  EXPECT_EQ(familyOf("ＭＳ Ｐ明朝", true, 800), "IPAPMincho");
}

TEST_F(FontResolveTest, FontsCreatedByCp932NamesUseTheMappedFaces) {
  ASSERT_EQ(EngineInit(), 0);
  const struct {
    const char* name;
    int charset;
    const char* family;
  } cases[] = {{kGothicCp932, -1, "IPAGothic"},
               {kPGothicCp932, -1, "IPAPGothic"},
               {kPMinchoCp932, -1, "IPAPMincho"},
               {"Trebuchet MS", 0, "DejaVu Sans"},
               {"Franklin Gothic Medium", 0, "Liberation Sans"}};
  for (const auto& c : cases) {
    const int handle = CreateFontToHandle(c.name, 20, 4, 2, c.charset, -1, false);
    ASSERT_GT(handle, 0) << c.family;
    ASSERT_NE(engine::FindFont(handle), nullptr);
    EXPECT_EQ(engine::FindFont(handle)->familyName(), c.family);
  }
}

TEST_F(FontResolveTest, WorkingDirectoryConfigurationIsFoundAndSystemOneServesWithoutIt) {
  char previous[PATH_MAX];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(VELMORA_GAME_DIR), 0);
  engine::SetFontConfigFile("");
  const std::string inUse = engine::FontConfigFileInUse();
  const std::string family = familyOf("ＭＳ Ｐ明朝", true);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_NE(inUse.find("/Fonts/fonts.conf"), std::string::npos) << inUse;
  EXPECT_EQ(family, "IPAPMincho");

  // No game configuration: the machine's own, and still a Japanese face for
  // a Japanese name.
  engine::SetFontConfigFile("/nonexistent/fonts.conf");
  EXPECT_EQ(engine::FontConfigFileInUse(), "");
  engine::FaceChoice choice;
  ASSERT_TRUE(engine::ResolveFontFace("ＭＳ ゴシック", 400, false, true, choice));
  engine::FontFace face;
  ASSERT_TRUE(face.open(choice.file, choice.index, {}));
  EXPECT_TRUE(face.hasGlyph(U'漢'));
}

TEST_F(FontResolveTest, UnknownFaceFallsBackToOneWithTheGlyphs) {
  engine::FaceChoice choice;
  ASSERT_TRUE(engine::ResolveFontFace("No Such Face At All", 400, false, true, choice));
  engine::FontFace face;
  ASSERT_TRUE(face.open(choice.file, choice.index, {}));
  EXPECT_TRUE(face.hasGlyph(U'漢'));
  EXPECT_TRUE(face.hasGlyph(U'A'));

  // A Western unknown face may be Latin-only; its font borrows the kanji.
  ASSERT_EQ(EngineInit(), 0);
  const int font = CreateFontToHandle("No Such Face At All", 20, 4, 2, 0, -1, false);
  ASSERT_GT(font, 0);
  const engine::Glyph& kanji = engine::FindFont(font)->glyph(U'漢');
  EXPECT_GT(kanji.width, 8);
  EXPECT_GT(kanji.height, 8);
  EXPECT_GE(kanji.advance, 18);
}

TEST_F(FontResolveTest, MissingWeightAndSlantAreSynthesised) {
  engine::FaceChoice mincho;
  ASSERT_TRUE(engine::ResolveFontFace("ＭＳ Ｐ明朝", 800, false, true, mincho));
  engine::FaceStyle regular;
  regular.size = 30;
  engine::FaceStyle bold = regular;
  bold.weight = 800;
  engine::FaceStyle italic = regular;
  italic.italic = true;
  engine::FontFace plainFace, boldFace, italicFace;
  ASSERT_TRUE(plainFace.open(mincho.file, mincho.index, regular));
  ASSERT_TRUE(boldFace.open(mincho.file, mincho.index, bold));
  ASSERT_TRUE(italicFace.open(mincho.file, mincho.index, italic));
  EXPECT_FALSE(plainFace.synthesisedBold());
  EXPECT_TRUE(boldFace.synthesisedBold());
  EXPECT_TRUE(italicFace.synthesisedItalic());

  engine::RasterGlyph plainGlyph, boldGlyph, italicGlyph;
  ASSERT_TRUE(plainFace.render(U'l', plainGlyph));
  ASSERT_TRUE(boldFace.render(U'l', boldGlyph));
  ASSERT_TRUE(italicFace.render(U'l', italicGlyph));
  auto ink = [](const engine::RasterGlyph& g) {
    long sum = 0;
    for (uint8_t c : g.coverage) sum += c;
    return sum;
  };
  EXPECT_GT(ink(boldGlyph), ink(plainGlyph) * 5 / 4);
  // A leaning stroke has its top to the right of its foot; an upright one not.
  auto lean = [](const engine::RasterGlyph& g) {
    auto centre = [&g](int fromRow, int toRow) {
      double sum = 0, weight = 0;
      for (int y = fromRow; y < toRow; ++y) {
        for (int x = 0; x < g.width; ++x) {
          sum += (g.left + x) * g.coverage[static_cast<size_t>(y) * g.width + x];
          weight += g.coverage[static_cast<size_t>(y) * g.width + x];
        }
      }
      return weight > 0 ? sum / weight : 0.0;
    };
    return centre(g.height / 8, g.height / 2) - centre(g.height / 2, g.height * 7 / 8);
  };
  EXPECT_NEAR(lean(plainGlyph), 0.0, 0.5);
  EXPECT_GT(lean(italicGlyph), lean(plainGlyph) + 1.4);

  // A family that has a real bold cut uses it instead.
  engine::FaceChoice sans;
  ASSERT_TRUE(engine::ResolveFontFace("Trebuchet MS", 800, false, false, sans));
  engine::FontFace sansBold;
  ASSERT_TRUE(sansBold.open(sans.file, sans.index, bold));
  EXPECT_FALSE(sansBold.synthesisedBold());
}

TEST_F(FontResolveTest, DamagedOrMissingFontFilesFailByResult) {
  const std::string good = resolvedFile("DejaVu Sans");
  ASSERT_FALSE(good.empty());
  const std::vector<char> bytes = readFile(good);
  ASSERT_GT(bytes.size(), 10000u);
  const std::string dir = ::testing::TempDir();
  engine::FontOptions options;

  const std::string truncated = dir + "velmora_truncated.ttf";
  writeFile(truncated, bytes.data(), 600);
  EXPECT_EQ(engine::CreateFontFromFile(truncated, 0, options), -1);

  const std::string garbage = dir + "velmora_garbage.ttf";
  std::string noise(4096, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 + 7);
  writeFile(garbage, noise.data(), noise.size());
  EXPECT_EQ(engine::CreateFontFromFile(garbage, 0, options), -1);

  EXPECT_EQ(engine::CreateFontFromFile(dir + "velmora_absent.ttf", 0, options), -1);
  EXPECT_EQ(engine::CreateFontFromFile("", 0, options), -1);
  EXPECT_EQ(engine::CreateFontFromFile(good, 99, options), -1);  // no such face index

  // Tables scribbled over after an intact header: whatever FreeType makes of
  // it, measuring and drawing must not crash.
  std::vector<char> scribbled = bytes;
  for (size_t i = scribbled.size() / 8; i < scribbled.size(); i += 7) scribbled[i] ^= 0x5A;
  const std::string damaged = dir + "velmora_scribbled.ttf";
  writeFile(damaged, scribbled.data(), scribbled.size());
  ASSERT_EQ(EngineInit(), 0);
  const int handle = engine::CreateFontFromFile(damaged, 0, options);
  if (handle > 0) {
    EXPECT_GE(MeasureText("Velmora \x8a\xbf\x8e\x9a", handle), 0);
    DrawTextWithFont(0, 0, "Velmora", MakeColor(255, 255, 255), handle, 0);
  }
  EXPECT_GT(engine::CreateFontFromFile(good, 0, options), 0);
}

TEST_F(FontResolveTest, ImpossibleSizesGiveMinusOne) {
  EXPECT_EQ(CreateFontToHandle(kGothicCp932, 0, 4, 2, -1, -1, false), -1);
  EXPECT_EQ(CreateFontToHandle(kGothicCp932, -3, 4, 2, -1, -1, false), -1);
  EXPECT_EQ(CreateFontToHandle(kGothicCp932, 100000, 4, 2, -1, -1, false), -1);
  // No name at all still gives a usable font.
  EXPECT_GT(CreateFontToHandle(nullptr, 16, 4, 2, -1, -1, false), 0);
  EXPECT_GT(CreateFontToHandle("", 16, -1, 0, 0, -1, false), 0);
}

}  // namespace
