// English beside Japanese: every built English conversation pairs with its
// Japanese one command for command, and every English text, measured with
// the game's own fonts and text width, fits the box it is drawn in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/Resources.h"
#include "app/Texts.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"
#include "engine/FontConfig.h"
#include "engine/Headless.h"
#include "scenes/Scene_Demo.h"
#include "stage/Spriteset_ScoreBoard.h"
#include "stage/TalkEvent.h"

namespace {

namespace fs = std::filesystem;

const fs::path kEvents = fs::path(VELMORA_GAME_DIR) / "Data" / "Event";

struct Row {
  int32_t type;
  std::string data;
};

// The game's own conversation reader, noting each command instead of
// running it.
class RowRecorder : public TalkEvent {
 public:
  std::vector<Row> rows;
  void runCommand(int32_t type, const std::string& data) override { rows.push_back({type, data}); }
};

std::vector<Row> ReadRows(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  RowRecorder reader;
  reader.startFromBytes(bytes.data(), bytes.size());
  while (!reader.finished) reader.step();
  return reader.rows;
}

std::vector<std::string> ConversationNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.starts_with("event") && name.ends_with(".csv")) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

int32_t Number(const std::string& name) { return std::stoi(name.substr(5)); }

class EnglishTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::SetFontConfigFile(std::string(VELMORA_SOURCE_DIR) + "/content/fonts/fonts.conf");
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    LoadFonts();
    ASSERT_GT(FontPGothic15, 0);
  }
  void TearDown() override {
    EngineEnd();
    engine::SetFontConfigFile("");
  }
};

// Speaker and message lines share the window's inner width.
TEST_F(EnglishTexts, ConversationsPairWithTheJapaneseAndFitTheMessageWindow) {
  const Sprite_MessageWindow stageWindow;
  const int32_t stageWidth = stageWindow.width - 2 * stageWindow.margin;
  const int32_t cutSceneWidth = kCutSceneWindowWidth - 2 * stageWindow.margin;
  // Which conversations have their English is the next test's business.
  if (!fs::is_directory(kEvents / "en")) GTEST_SKIP() << "no English conversations were built";
  for (const std::string& name : ConversationNames(kEvents / "en")) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::exists(kEvents / name)) << "an English conversation without a Japanese one";
    const std::vector<Row> japanese = ReadRows(kEvents / name);
    const std::vector<Row> english = ReadRows(kEvents / "en" / name);
    ASSERT_EQ(english.size(), japanese.size()) << "rows added or left out";
    // Cut-scenes are numbered from 100; their window spans the screen.
    const int32_t width = Number(name) >= 100 ? cutSceneWidth : stageWidth;
    for (size_t i = 0; i < english.size(); ++i) {
      const Row& en = english[i];
      const Row& ja = japanese[i];
      ASSERT_EQ(en.type, ja.type) << "command row " << i + 1;
      const bool text = en.type == 10 || en.type == 11;
      if (!text) {
        EXPECT_EQ(en.data, ja.data) << "command row " << i + 1 << " (type " << en.type << ")";
        continue;
      }
      // An empty speaker stays empty: it clears the name line.
      EXPECT_EQ(en.data.empty(), ja.data.empty()) << "row " << i + 1;
      EXPECT_LE(MeasureText(en.data.c_str(), FontPGothic15), width)
          << "row " << i + 1 << " runs past the window: " << en.data;
    }
  }
}

// Until every conversation has its English, part of the story stays
// Japanese in an English game.
TEST(EnglishConversations, EveryJapaneseConversationHasAnEnglishOne) {
  for (const std::string& name : ConversationNames(kEvents)) {
    EXPECT_TRUE(fs::exists(kEvents / "en" / name)) << "no English " << name;
  }
}

struct Box {
  std::string text;
  int font;
  int32_t width;
};

// The boxes follow the screens' layouts: the card lines' centring widths,
// the selection's description line, the gap between the result's labels and
// values and between the replay panel's, the save question's line.
TEST_F(EnglishTexts, InterfaceTextsFitTheirBoxes) {
  std::vector<Box> boxes;
  for (int32_t stage = 1; stage <= 7; ++stage) {
    boxes.push_back({StageCardLine(stage, 1, Language::English), FontFranklin25, 200});
    boxes.push_back({StageCardLine(stage, 2, Language::English), FontMincho30, 300});
    boxes.push_back({BossCardLine(stage, 1, Language::English), FontPGothic15, 300});
    // The name line is centred on the field, in the face the card gives it.
    const std::string name = BossCardLine(stage, 2, Language::English);
    boxes.push_back({name, BossCardNameFace(name), 384});
  }
  for (UiText id :
       {UiText::EasyDescription, UiText::NormalDescription, UiText::ApocryphaDescription,
        UiText::ExtraDescription, UiText::ReplaySaveQuestion}) {
    boxes.push_back({GameText(id, Language::English), FontPGothic15, 320});
  }
  for (int id = static_cast<int>(UiText::ResultDifficulty);
       id <= static_cast<int>(UiText::ResultPlayTime); ++id) {
    boxes.push_back({GameText(static_cast<UiText>(id), Language::English), FontPGothic15, 190});
  }
  for (int id = static_cast<int>(UiText::ReplayInfoDifficulty);
       id <= static_cast<int>(UiText::ReplayInfoContinues); ++id) {
    boxes.push_back({GameText(static_cast<UiText>(id), Language::English), FontPGothic15, 116});
  }
  for (const Box& box : boxes) {
    EXPECT_FALSE(box.text.empty());
    EXPECT_LE(MeasureText(box.text.c_str(), box.font), box.width) << box.text;
  }
}

}  // namespace
