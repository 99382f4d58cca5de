// The built game tables (build/game/Data): Shift-JIS text with CR LF line
// ends that says exactly what the UTF-8 sources say, and that the game's own
// readers take in as a complete stage.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/BgmList.h"
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

std::vector<ScriptRow> StageScript(int32_t stage) {
  const std::vector<uint8_t> bytes =
      Bytes(ReadAll(kBuilt / "Stage" / ("stage" + std::to_string(stage) + ".csv")));
  return ParseStageScript(bytes.data(), bytes.size());
}

// The stages that are built, each with its mid-boss and boss rows, their
// boss title numbers, its range of enemy rows and the boss's music. The
// Extra stage's boss comes in two forms, the second over the first's bullets.
struct BuiltStage {
  int32_t number;
  int32_t midBoss, boss;
  float midBossTitle, bossTitle;
  int32_t firstRow, lastRow;
  int bossMusic;
  int32_t secondForm = 0;

  bool extra() const { return number == 7; }
  // The boss rows whose patterns make up the stage's boss fight.
  std::vector<int32_t> bossForms() const {
    return secondForm ? std::vector<int32_t>{boss, secondForm} : std::vector<int32_t>{boss};
  }
};
const BuiltStage kStages[] = {{1, 10, 11, 1, 2, 1, 60, 3},
                              {2, 68, 69, 3, 4, 61, 120, 5},
                              {3, 128, 129, 5, 6, 121, 180, 7},
                              {4, 188, 189, 7, 8, 181, 240, 9},
                              {5, 248, 249, 9, 10, 241, 300, 12},
                              {6, 308, 309, 11, 12, 301, 360, 14},
                              {7, 368, 369, 11, 14, 361, 420, 17, 370}};
constexpr int32_t kExtraDifficulty = 6;
// The conversations after a game: cleared with continues, cleared without,
// lost. Each shows its own pictures (demo<10n + k> for conversation 100 + n).
// The Extra stage's clear has its own.
const int32_t kEndings[] = {10, 11, 12, 20};

// A stage's own talks: 10n + 1 to 10n + 3.
std::vector<int32_t> StageTalks() {
  std::vector<int32_t> talks;
  for (const BuiltStage& stage : kStages)
    for (int32_t k = 1; k <= 3; ++k) talks.push_back(10 * stage.number + k);
  return talks;
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

// Rows of the enemy table that enemy n brings in itself (codes 141 to 143
// and 146), on any difficulty.
std::set<int32_t> SpawnedBy(int32_t n) {
  std::set<int32_t> rows;
  for (int32_t difficulty : {1, 3, 5})
    for (const Action& a : LoadRecord(n, difficulty).actions) {
      const int op = a.op & 255;
      if ((op >= 141 && op <= 143) || op == 146) rows.insert(static_cast<int32_t>(a.p1));
    }
  return rows;
}

TEST(BuiltTables, StageScriptsSpawnOnlyTheirOwnEnemiesAndEnd) {
  for (const BuiltStage& stage : kStages) {
    SCOPED_TRACE(stage.number);
    const std::vector<ScriptRow> script = StageScript(stage.number);
    ASSERT_GT(script.size(), 50u);
    std::set<int32_t> spawned;
    std::set<int32_t> bosses;
    std::vector<float> names;
    bool ends = false;
    int32_t titleAt = -1;
    int32_t firstTalkAt = -1;
    for (const ScriptRow& row : script) {
      if (row.command == SCRIPT_SPAWN_ENEMY) spawned.insert(row.number);
      if (row.command == SCRIPT_BRING_IN_BOSS) bosses.insert(row.number);
      if (row.command == SCRIPT_STAGE_END) ends = true;
      if (row.command == SCRIPT_STAGE_TITLE) titleAt = row.frame;
      if (row.command == SCRIPT_CONVERSATION && firstTalkAt < 0) firstTalkAt = row.frame;
      if (row.command == SCRIPT_BOSS_NAME) names.push_back(row.x);
    }
    EXPECT_TRUE(ends);
    ASSERT_GE(titleAt, 0);
    // From stage 2 on, the title card (seven seconds) is gone before the
    // opening talk shows its portraits.
    if (stage.number >= 2) {
      EXPECT_GE(firstTalkAt, titleAt + 7 * 60);
    }
    std::set<int32_t> expectedBosses{stage.midBoss};
    for (int32_t form : stage.bossForms()) expectedBosses.insert(form);
    EXPECT_EQ(bosses, expectedBosses);
    // The mid-boss gets a nameless title (its bar, its bonus), the boss its
    // name, given again with each form.
    std::vector<float> expectedNames{stage.midBossTitle};
    for (size_t i = 0; i < stage.bossForms().size(); ++i) expectedNames.push_back(stage.bossTitle);
    EXPECT_EQ(names, expectedNames);
    spawned.insert(bosses.begin(), bosses.end());
    // Enemies the enemies let go count too, however deep.
    std::vector<int32_t> open(spawned.begin(), spawned.end());
    while (!open.empty()) {
      const int32_t n = open.back();
      open.pop_back();
      if (n < 1 || n > 499) continue;
      for (int32_t child : SpawnedBy(n))
        if (spawned.insert(child).second) open.push_back(child);
    }
    EXPECT_GT(spawned.size(), 8u);
    for (int32_t n : spawned) {
      SCOPED_TRACE(n);
      ASSERT_TRUE(n >= stage.firstRow && n <= stage.lastRow) << "outside the stage's range";
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
}

bool Fires(int op) {
  return (op >= 110 && op <= 114) || op == 130 || op == 131 || op == 135 || op == 200 ||
         (op >= 210 && op <= 214);
}

// A boss's script read as blocks: a block starts at clock 0 and at every
// target of a jump on hit points (code 8) or on the round counter (code 7),
// and runs to the next such start. A pattern is a block that fires.
struct BossScript {
  std::map<int32_t, bool> blockFires;  // block start -> fires
  std::set<int32_t> byHitPoints;       // targets of code 8
  std::set<int32_t> byRounds;          // targets of code 7
  std::set<int32_t> withdrawals;       // blocks that end the boss without a defeat
  std::map<int32_t, std::vector<int>> blockOps;
  std::map<int32_t, std::set<int32_t>> blockShotTypes;  // bullet kinds set by code 108

  std::vector<int32_t> patterns() const {
    std::vector<int32_t> out;
    for (const auto& [start, fires] : blockFires)
      if (fires && start < 100000) out.push_back(start);
    return out;
  }
};

BossScript ReadBossScript(int32_t number, int32_t difficulty) {
  const EnemyRecord r = LoadRecord(number, difficulty);
  BossScript b;
  std::set<int32_t> starts{0};
  for (const Action& a : r.actions) {
    const int op = a.op & 255;
    if (op == 8) b.byHitPoints.insert(static_cast<int32_t>(a.p2));
    if (op == 7) b.byRounds.insert(static_cast<int32_t>(a.p2));
  }
  starts.insert(b.byHitPoints.begin(), b.byHitPoints.end());
  starts.insert(b.byRounds.begin(), b.byRounds.end());
  starts.insert(100000);
  for (int32_t s : starts) {
    b.blockFires[s] = false;
    b.blockShotTypes[s];
  }
  for (const Action& a : r.actions) {
    const int32_t start = *std::prev(starts.upper_bound(a.time));
    const int op = a.op & 255;
    b.blockOps[start].push_back(op);
    if (op == 108) b.blockShotTypes[start].insert(static_cast<int32_t>(a.p1));
    if (Fires(op)) b.blockFires[start] = true;
    if (op == 1 && a.p1 == 0.0f && start < 100000) b.withdrawals.insert(start);
  }
  return b;
}

void ExpectBossScriptEndsEitherWay(int32_t boss, int32_t difficulty) {
  SCOPED_TRACE(boss);
  const EnemyRecord r = LoadRecord(boss, difficulty);
  EXPECT_TRUE(HasAction(r, 100000, 161));
  EXPECT_TRUE(HasAction(r, 100000, 47));
  const bool destroys = std::any_of(r.actions.begin(), r.actions.end(), [](const Action& a) {
    return a.time >= 100000 && (a.op & 255) == 1 && a.p1 != 0.0f;
  });
  EXPECT_TRUE(destroys);
  const BossScript b = ReadBossScript(boss, difficulty);
  const std::vector<int32_t> patterns = b.patterns();
  ASSERT_FALSE(patterns.empty());
  // Every pattern after the first is reached on hit points and, when its
  // rounds run out, from the pattern before; the last one's rounds lead to
  // a withdrawal, so a fight left alone ends.
  for (size_t i = 1; i < patterns.size(); ++i) {
    EXPECT_TRUE(b.byHitPoints.count(patterns[i])) << "pattern at " << patterns[i];
    EXPECT_TRUE(b.byRounds.count(patterns[i])) << "pattern at " << patterns[i];
  }
  ASSERT_EQ(b.withdrawals.size(), 1u);
  EXPECT_TRUE(b.byRounds.count(*b.withdrawals.begin()));
  // Nothing jumps into the void: every target is a pattern or the withdrawal.
  for (int32_t target : b.byHitPoints)
    EXPECT_TRUE(b.blockFires.at(target) || b.withdrawals.count(target)) << target;
  for (int32_t target : b.byRounds)
    EXPECT_TRUE(b.blockFires.at(target) || b.withdrawals.count(target)) << target;
}

TEST(BuiltTables, BossesSwitchByHitPointsAndRoundsAndHaveADefeatSequence) {
  for (const BuiltStage& stage : kStages) {
    SCOPED_TRACE(stage.number);
    if (stage.extra()) continue;  // one difficulty, two forms: checked on its own below
    std::map<int32_t, size_t> bossPatterns;
    std::map<int32_t, size_t> midBossPatterns;
    for (int32_t difficulty : {1, 3, 5}) {
      SCOPED_TRACE(difficulty);
      ExpectBossScriptEndsEitherWay(stage.midBoss, difficulty);
      ExpectBossScriptEndsEitherWay(stage.boss, difficulty);
      bossPatterns[difficulty] = ReadBossScript(stage.boss, difficulty).patterns().size();
      midBossPatterns[difficulty] = ReadBossScript(stage.midBoss, difficulty).patterns().size();
    }
    EXPECT_GE(bossPatterns[1], 3u);
    EXPECT_GE(bossPatterns[3], 5u);
    EXPECT_GE(bossPatterns[5], 6u);
    EXPECT_GT(bossPatterns[5], bossPatterns[3]);
    EXPECT_GT(midBossPatterns[3], midBossPatterns[1]);

    // Apocrypha has a pattern of its own: a block that fires only there.
    const BossScript normal = ReadBossScript(stage.boss, 3);
    const BossScript apocrypha = ReadBossScript(stage.boss, 5);
    const std::vector<int32_t> hard = apocrypha.patterns();
    EXPECT_TRUE(std::any_of(hard.begin(), hard.end(), [&](int32_t start) {
      return !normal.blockFires.count(start) || !normal.blockFires.at(start);
    }));

    // Difficulty shows in the data: Apocrypha's opening fan (the first one,
    // plain or swept) has more lines than Normal's, which has more than Easy's.
    auto fanLines = [](const EnemyRecord& r) {
      for (const Action& a : r.actions)
        if ((a.op & 255) == 112 || (a.op & 255) == 113) return a.p1;
      return 0.0f;
    };
    EXPECT_LT(fanLines(LoadRecord(stage.boss, 1)), fanLines(LoadRecord(stage.boss, 3)));
    EXPECT_LT(fanLines(LoadRecord(stage.boss, 3)), fanLines(LoadRecord(stage.boss, 5)));
  }
}

// The Regulator's dark form hands over to its light form without clearing
// the field, whether shot down or out of time; the light form ends the fight
// like any boss. Together they play the longest fight of the game.
TEST(BuiltTables, TheExtraBossHandsOverBetweenItsFormsWithoutClearing) {
  const BuiltStage& stage = kStages[std::size(kStages) - 1];
  ASSERT_TRUE(stage.extra());
  ExpectBossScriptEndsEitherWay(stage.midBoss, kExtraDifficulty);
  ExpectBossScriptEndsEitherWay(stage.secondForm, kExtraDifficulty);

  const EnemyRecord dark = LoadRecord(stage.boss, kExtraDifficulty);
  const BossScript darkScript = ReadBossScript(stage.boss, kExtraDifficulty);
  ASSERT_EQ(darkScript.withdrawals.size(), 1u);
  // From the withdrawal on (its defeat sequence lies after it) nothing is
  // cleared and nothing explodes: the field is left to the light form.
  const int32_t handOver = *darkScript.withdrawals.begin();
  for (const Action& a : dark.actions) {
    if (a.time < handOver) continue;
    const int op = a.op & 255;
    EXPECT_NE(op, 161) << "clears the field at " << a.time;
    EXPECT_FALSE(op == 1 && a.p1 != 0.0f) << "explodes at " << a.time;
  }
  EXPECT_TRUE(std::any_of(dark.actions.begin(), dark.actions.end(), [](const Action& a) {
    return a.time >= 100000 && (a.op & 255) == 1 && a.p1 == 0.0f;
  }));
  const std::vector<int32_t> darkPatterns = darkScript.patterns();
  for (size_t i = 1; i < darkPatterns.size(); ++i) {
    EXPECT_TRUE(darkScript.byHitPoints.count(darkPatterns[i]));
    EXPECT_TRUE(darkScript.byRounds.count(darkPatterns[i]));
  }
  const size_t patterns =
      darkPatterns.size() + ReadBossScript(stage.secondForm, kExtraDifficulty).patterns().size();
  EXPECT_GE(patterns, 8u);
  // Some patterns come in over the bullets of the one before.
  int keptFields = 0;
  for (int32_t form : stage.bossForms()) {
    const BossScript b = ReadBossScript(form, kExtraDifficulty);
    for (int32_t start : b.patterns()) {
      const std::vector<int>& ops = b.blockOps.at(start);
      if (start > 0 && std::find(ops.begin(), ops.end(), 161) == ops.end()) ++keptFields;
    }
  }
  EXPECT_GE(keptFields, 2);
}

// A pattern told by what it does: its operations and the kinds of bullet it
// fires. No stage's boss plays a pattern of another stage's boss again.
TEST(BuiltTables, EachStagesBossPatternsAreItsOwn) {
  using Signature = std::pair<std::set<int>, std::set<int32_t>>;
  std::map<Signature, int32_t> seen;  // signature -> stage
  for (const BuiltStage& stage : kStages) {
    for (int32_t form : stage.bossForms()) {
      const BossScript b = ReadBossScript(form, stage.extra() ? kExtraDifficulty : 5);
      for (int32_t start : b.patterns()) {
        const std::vector<int>& ops = b.blockOps.at(start);
        const Signature signature{{ops.begin(), ops.end()}, b.blockShotTypes.at(start)};
        const auto [at, added] = seen.emplace(signature, stage.number);
        EXPECT_TRUE(added || at->second == stage.number)
            << "stage " << stage.number << " pattern at " << start << " repeats stage "
            << at->second;
      }
    }
  }
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
  for (const BuiltStage& stage : kStages) {
    SCOPED_TRACE(stage.number);
    const std::vector<ScriptRow> script = StageScript(stage.number);
    std::set<int32_t> frames;
    for (const ScriptRow& row : script) frames.insert(row.frame);
    std::vector<int32_t> talks;
    for (const ScriptRow& row : script) {
      if (row.command != SCRIPT_CONVERSATION) continue;
      const int32_t number = static_cast<int32_t>(row.x);
      talks.push_back(number);
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
    const int32_t first = 10 * stage.number + 1;
    EXPECT_EQ(talks, (std::vector<int32_t>{first, first + 1, first + 2}));
    // The talk before the boss shows its title card and starts its music.
    const Talk boss = ReadTalk(first + 1);
    EXPECT_TRUE(std::any_of(boss.lines.begin(), boss.lines.end(),
                            [](const auto& l) { return l.first == 22; }));
    EXPECT_TRUE(std::any_of(boss.lines.begin(), boss.lines.end(), [&](const auto& l) {
      return l.first == 20 && l.second == std::to_string(stage.bossMusic);
    }));
  }
}

// Width and height of a PNG from its header; zero when it is not one.
std::pair<uint32_t, uint32_t> PngSize(const fs::path& path) {
  const std::string b = ReadAll(path);
  if (b.size() < 24 || b.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

fs::path Picture(const char* pattern, int n) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, n);
  return fs::path(VELMORA_GAME_DIR) / "Graphics" / name;
}

// The message window has no line breaks: a message must fit its one line.
// In Shift-JIS a full-width character takes two bytes and a half-width one
// one byte, so the byte count is the width in half-width characters. At the
// 15-pixel face a full-width character is 15 pixels wide.
constexpr size_t kStageLineBytes = 2 * 336 / 15;     // the stage window's 336 pixels
constexpr size_t kCutSceneLineBytes = 2 * 592 / 15;  // the cut-scene window's 592

TEST(BuiltTables, StageTalksShowTheirPortraitsAndLightTheSpeaker) {
  for (int32_t number : StageTalks()) {
    SCOPED_TRACE(number);
    const Talk talk = ReadTalk(number);
    int shown[2] = {0, 0};  // picture on the left and on the right
    int lit = -1;           // 0 left, 1 right, otherwise none
    int messages = 0;
    for (const auto& [type, data] : talk.lines) {
      const int n = std::atoi(data.c_str());
      if (type == 12 || type == 13) {
        shown[type - 12] = n;
        if (n >= 1) {
          const auto [w, h] = PngSize(Picture("picture%d.png", n));
          EXPECT_GT(w, 0u) << "picture" << n << ".png missing or not a PNG";
          // Anchored at x 80 and 304: wider than 224 would overlap its partner.
          EXPECT_LE(w, 224u);
          EXPECT_LE(h, 448u);
        }
      }
      if (type == 14) lit = n;
      if (type == 11) {
        ++messages;
        ASSERT_TRUE(lit == 0 || lit == 1) << "nobody is lit for: " << data;
        EXPECT_GE(shown[lit], 1) << "the lit side shows no portrait for: " << data;
        EXPECT_LE(data.size(), kStageLineBytes) << data;
      }
    }
    EXPECT_GT(messages, 0);
    // The portraits are taken away at the end.
    EXPECT_EQ(shown[0], 0);
    EXPECT_EQ(shown[1], 0);
  }
}

TEST(BuiltTables, CutScenesShowPicturesThatExistAndLinesThatFit) {
  std::vector<int32_t> cutScenes(std::begin(kEndings), std::end(kEndings));
  for (const BuiltStage& stage : kStages) cutScenes.push_back(stage.number);
  for (int32_t scene : cutScenes) {
    SCOPED_TRACE(scene);
    const Talk demo = ReadTalk(100 + scene);
    EXPECT_TRUE(demo.wellFormed);
    int pictures = 0;
    int messages = 0;
    for (const auto& [type, data] : demo.lines) {
      const int n = std::atoi(data.c_str());
      if (type == 15 && n > 0) {
        ++pictures;
        const auto [w, h] = PngSize(Picture("demo%d.png", n));
        EXPECT_EQ(w, 640u) << "demo" << n;
        EXPECT_EQ(h, 480u) << "demo" << n;
        EXPECT_EQ(n / 10, scene) << "demo" << n << " is another scene's picture";
      }
      if (type == 11) {
        ++messages;
        EXPECT_LE(data.size(), kCutSceneLineBytes) << data;
      }
    }
    EXPECT_GE(pictures, 2);
    EXPECT_GE(messages, 4);
  }
}

TEST(BuiltTables, EveryMusicTheStagesAskForIsInTheList) {
  const std::string list = ReadAll(fs::path(VELMORA_GAME_DIR) / kBgmListPath);
  const std::vector<BgmEntry> entries =
      ParseBgmList(reinterpret_cast<const uint8_t*>(list.data()), list.size());
  std::set<int> asked{2, 4, 6, 8, 11, 13, 16};  // the stages' own music
  std::vector<int32_t> talks = StageTalks();
  for (const BuiltStage& stage : kStages) talks.push_back(100 + stage.number);
  for (int32_t ending : kEndings) talks.push_back(100 + ending);
  for (int32_t number : talks)
    for (const auto& [type, data] : ReadTalk(number).lines)
      if (type == 20) asked.insert(std::atoi(data.c_str()));
  EXPECT_TRUE(asked.count(1));  // the cut-scene's
  for (const BuiltStage& stage : kStages) EXPECT_TRUE(asked.count(stage.bossMusic));
  for (int n : asked) {
    SCOPED_TRACE(n);
    ASSERT_LT(static_cast<size_t>(n), entries.size());
    EXPECT_TRUE(fs::exists(fs::path(VELMORA_GAME_DIR) / entries[static_cast<size_t>(n)].path));
    EXPECT_GT(entries[static_cast<size_t>(n)].loopPoint, 0);
  }
  // The story music is its own, not the title's.
  ASSERT_GT(entries.size(), 1u);
  EXPECT_NE(entries[0].path, entries[1].path);
}

}  // namespace
