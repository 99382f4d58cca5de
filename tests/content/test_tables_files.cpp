// The built game tables (build/game/Data): Shift-JIS text with CR LF line
// ends that says exactly what the UTF-8 sources say, and that the game's own
// readers take in as a complete stage.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "objects/EnemyTableReader.h"
#include "stage/EventFile.h"
#include "stage/StageScript.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBuilt = fs::path(VELMORA_GAME_DIR) / "Data";
const fs::path kSources = fs::path(VELMORA_SOURCE_DIR) / "content/Data";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Cp932ToUtf8(const std::string& in, bool& ok) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  std::string out(in.size() * 3 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  ok = cd != reinterpret_cast<iconv_t>(-1) &&
       iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  out.resize(out.size() - dstLeft);
  return out;
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<ScriptRow> Stage1Script() {
  const std::vector<uint8_t> bytes = Bytes(ReadAll(kBuilt / "Stage/stage1.csv"));
  return ParseStageScript(bytes.data(), bytes.size());
}

EnemyRecord LoadRecord(int32_t number, int32_t difficulty) {
  const std::vector<uint8_t> bytes =
      Bytes(ReadAll(kBuilt / "EnemyDB" / ("enemy" + std::to_string(number) + ".csv")));
  EnemyRowCarry carry;
  EnemyRecord record;
  ParseEnemyFile(bytes.data(), bytes.size(), difficulty, carry, record);
  return record;
}

bool HasAction(const EnemyRecord& r, int32_t time, int32_t op) {
  return std::any_of(r.actions.begin(), r.actions.end(),
                     [&](const Action& a) { return a.time == time && (a.op & 255) == op; });
}

TEST(BuiltTables, AreCp932WithCrLfAndMatchTheirSources) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kSources)) {
    if (entry.path().extension() != ".csv") continue;
    ++files;
    const fs::path built = kBuilt / fs::relative(entry.path(), kSources);
    SCOPED_TRACE(built.string());
    const std::string bytes = ReadAll(built);
    ASSERT_FALSE(bytes.empty());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
      }
      if (bytes[i] == '\r') {
        EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
      }
    }
    bool ok = false;
    std::string back = Cp932ToUtf8(bytes, ok);
    ASSERT_TRUE(ok) << "not valid CP932";
    back.erase(std::remove(back.begin(), back.end(), '\r'), back.end());
    EXPECT_EQ(back, ReadAll(entry.path()));
  }
  EXPECT_GE(files, 12);
}

TEST(BuiltTables, Stage1ScriptSpawnsOnlyEnemiesThatExistAndEnds) {
  const std::vector<ScriptRow> script = Stage1Script();
  ASSERT_GT(script.size(), 50u);
  std::set<int32_t> spawned;
  std::set<int32_t> bosses;
  bool ends = false;
  bool title = false;
  for (const ScriptRow& row : script) {
    if (row.command == SCRIPT_SPAWN_ENEMY) spawned.insert(row.number);
    if (row.command == SCRIPT_BRING_IN_BOSS) bosses.insert(row.number);
    if (row.command == SCRIPT_STAGE_END) ends = true;
    if (row.command == SCRIPT_STAGE_TITLE) title = true;
    if (row.command == SCRIPT_BOSS_NAME) {
      EXPECT_EQ(row.x, 2.0f);  // Gram
    }
  }
  EXPECT_TRUE(ends);
  EXPECT_TRUE(title);
  EXPECT_EQ(bosses, (std::set<int32_t>{10, 11}));
  spawned.insert(bosses.begin(), bosses.end());
  for (int32_t n : spawned) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(n >= 1 && n <= 60) << "outside stage 1's range";
    ASSERT_TRUE(fs::exists(kBuilt / "EnemyDB" / ("enemy" + std::to_string(n) + ".csv")));
    for (int32_t difficulty : {1, 3, 5}) {
      const EnemyRecord r = LoadRecord(n, difficulty);
      EXPECT_FALSE(r.actions.empty());
      EXPECT_GT(r.radius, 0);
      // Every enemy fires on every difficulty.
      EXPECT_TRUE(std::any_of(r.actions.begin(), r.actions.end(), [](const Action& a) {
        return (a.op & 255) >= 110 && (a.op & 255) <= 114;
      }));
    }
  }
}

TEST(BuiltTables, BossesSwitchByHitPointsAndHaveADefeatSequence) {
  for (int32_t difficulty : {1, 3, 5}) {
    SCOPED_TRACE(difficulty);
    for (int32_t boss : {10, 11}) {
      const EnemyRecord r = LoadRecord(boss, difficulty);
      EXPECT_TRUE(HasAction(r, 100000, 161));
      EXPECT_TRUE(HasAction(r, 100000, 47));
      const bool destroys = std::any_of(r.actions.begin(), r.actions.end(), [](const Action& a) {
        return a.time >= 100000 && (a.op & 255) == 1 && a.p1 != 0.0f;
      });
      EXPECT_TRUE(destroys);
    }
    const EnemyRecord gram = LoadRecord(11, difficulty);
    const auto switches = std::count_if(gram.actions.begin(), gram.actions.end(),
                                        [](const Action& a) { return (a.op & 255) == 8; });
    // Three patterns on Easy, a fourth from Normal up; the last switch is the time-out.
    EXPECT_EQ(switches, difficulty == 1 ? 3 : 4);
  }
  // Difficulty shows in the data: Apocrypha's opening fan is wider than Easy's.
  auto fanLines = [](const EnemyRecord& r) {
    for (const Action& a : r.actions)
      if (a.time == 130 && (a.op & 255) == 112) return a.p1;
    return 0.0f;
  };
  EXPECT_LT(fanLines(LoadRecord(11, 1)), fanLines(LoadRecord(11, 3)));
  EXPECT_LT(fanLines(LoadRecord(11, 3)), fanLines(LoadRecord(11, 5)));
}

// Reads a conversation the way TalkEvent does; every line has its type and
// data, and the data never hides a second comma.
struct Talk {
  std::vector<std::pair<int, std::string>> lines;
  bool wellFormed = true;
};

Talk ReadTalk(int32_t number) {
  Talk talk;
  const fs::path path = kBuilt / "Event" / ("event" + std::to_string(number) + ".csv");
  const std::vector<uint8_t> bytes = Bytes(ReadAll(path));
  if (bytes.empty()) {
    talk.wellFormed = false;
    return talk;
  }
  EventFile file;
  file.openBytes(bytes.data(), bytes.size());
  file.skipHeaderLine();
  file.skipHeaderLine();
  while (!file.atEnd()) {
    std::string type;
    std::string data;
    if (file.readColumn(type) != COLUMN_COMMA) talk.wellFormed = false;
    if (file.readColumn(data) != COLUMN_LINE_END) talk.wellFormed = false;
    talk.lines.emplace_back(std::atoi(type.c_str()), data);
  }
  return talk;
}

TEST(BuiltTables, ConversationsParseAndMoveTheHeldClockOn) {
  const std::vector<ScriptRow> script = Stage1Script();
  std::set<int32_t> frames;
  for (const ScriptRow& row : script) frames.insert(row.frame);
  int talks = 0;
  for (const ScriptRow& row : script) {
    if (row.command != SCRIPT_CONVERSATION) continue;
    ++talks;
    const int32_t number = static_cast<int32_t>(row.x);
    SCOPED_TRACE(number);
    const Talk talk = ReadTalk(number);
    EXPECT_TRUE(talk.wellFormed);
    ASSERT_FALSE(talk.lines.empty());
    const auto messages = std::count_if(talk.lines.begin(), talk.lines.end(),
                                        [](const auto& l) { return l.first == 11; });
    EXPECT_GE(messages, 3);
    EXPECT_LE(messages, 12);
    // The script holds its clock during the talk; the last line releases it.
    EXPECT_EQ(talk.lines.back().first, 5);
    EXPECT_TRUE(frames.count(std::atoi(talk.lines.back().second.c_str())));
  }
  EXPECT_EQ(talks, 3);
  const Talk boss = ReadTalk(12);
  EXPECT_TRUE(std::any_of(boss.lines.begin(), boss.lines.end(),
                          [](const auto& l) { return l.first == 22; }));
  EXPECT_TRUE(std::any_of(boss.lines.begin(), boss.lines.end(),
                          [](const auto& l) { return l.first == 20 && l.second == "3"; }));
}

TEST(BuiltTables, CutScene101UsesPicturesAndMessages) {
  const Talk demo = ReadTalk(101);
  EXPECT_TRUE(demo.wellFormed);
  int pictures = 0;
  int messages = 0;
  for (const auto& [type, data] : demo.lines) {
    if (type == 15 && std::atoi(data.c_str()) > 0) ++pictures;
    if (type == 11) ++messages;
  }
  EXPECT_GE(pictures, 2);
  EXPECT_GE(messages, 4);
}

}  // namespace
