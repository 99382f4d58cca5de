// The playtest bot through the real stage scene with stage 1's built data:
// the game it plays is recorded through the keyboard as a player's would
// be, saved as a replay file and played back in step; a hit it cannot get
// out of is bombed away; a lost game is continued through the game-over
// menu, or given up; and the report's counts are the game's own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/EnemyTable.h"
#include "persist/ReplayFile.h"
#include "playtest/PlaytestReport.h"
#include "playtest/PlaytestRun.h"
#include "scenes/ReplayCheck.h"
#include "stage/Scene_Stage.h"
#include "stage/StageScript.h"
#include "stage/StageScriptLink.h"
#include "stage/StageSeams.h"
#include "support/TempWorkDir.h"

namespace {

// Script clocks from which the test's additions to the stage script
// strike, once, at the first frame the ship is out in the open (no
// conversation, not hit already); negative: never.
int32_t gTrapAt = -1;
int32_t gKillAt = -1;
int32_t gHitAt = -1;
bool gTrapped = false;
bool gKilled = false;
bool gHit = false;

// Bullets a few pixels round the ship, closing in: no way out but a bomb.
void CloseInOnTheShip(Stage_Field& f) {
  for (int i = 0; i < 24; ++i) {
    Object_Bullet* b = Object_Bullet::Spawn(f.enemyBullets, 1);
    if (!b) return;
    const float a = static_cast<float>(i) * 6.2832f / 24.0f;
    b->setPosition(f.player.x + 14.0f * std::cos(a), f.player.y + 14.0f * std::sin(a));
    b->vx = -3.0f * std::cos(a);
    b->vy = -3.0f * std::sin(a);
  }
}

bool Strikes(const Scene_Stage& stage, int32_t from, bool& done) {
  const Stage_Field& f = *stage.field;
  if (done || from < 0 || f.scriptClock < from || stage.inConversation) return false;
  if (f.player.state != PLAYER_NORMAL) return false;
  done = true;
  return true;
}

// The stage's own script, plus the trap, a hit and the loss of every life.
void ScriptWithTraps(Scene_Stage& stage) {
  StepStageScriptOf(stage);
  Stage_Field& f = *stage.field;
  if (Strikes(stage, gTrapAt, gTrapped)) CloseInOnTheShip(f);
  if (Strikes(stage, gKillAt, gKilled)) {
    f.player.lives = 0;
    f.player.die();
  }
  if (Strikes(stage, gHitAt, gHit)) f.player.hit();
}

StageLinks TrapLinks() {
  StageLinks links = DefaultStageLinks();
  links.stepScript = &ScriptWithTraps;
  return links;
}

class PlaytestRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.ok());
    // The built data only: pictures and sounds the stage misses are drawn
    // and played as nothing.
    std::filesystem::copy(std::filesystem::path(VELMORA_GAME_DIR) / "Data", dir.path() / "Data",
                          std::filesystem::copy_options::recursive);
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    gGame = Module_Game();
    gInput = Module_Input();
    gEnemyTable.clear();
    saved = gStageLinks;
    gStageLinks = TrapLinks();
    gTrapAt = gKillAt = gHitAt = -1;
    gTrapped = gKilled = gHit = false;
  }
  void TearDown() override {
    gStageLinks = saved;
    gCurrentScene = nullptr;
    EngineEnd();
  }

  static PlaytestOptions Options(int32_t difficulty, uint32_t frames) {
    PlaytestOptions o;
    o.difficulty = difficulty;
    o.chargeType = CHARGE_LASER;
    o.seed = 77;
    o.frameLimit = frames;
    return o;
  }

  // The game played again from its record, traps and all.
  static ReplayCheckReport PlayBack(const ReplayRecord& record) {
    gTrapped = gKilled = gHit = false;
    return CheckReplay(record, TrapLinks(), &engine::headless::ClearDraws);
  }

  TempWorkDir dir;
  StageLinks saved;
};

TEST_F(PlaytestRunTest, ThePlayedGameIsSavedAsAReplayThatPlaysBackInStep) {
  const PlaytestResult r = PlayStage(Options(DIFFICULTY_NORMAL, 1500));
  EXPECT_TRUE(r.hitFrameLimit);
  EXPECT_EQ(r.frames, 1500u);
  EXPECT_FALSE(r.stats.cleared());
  // The bullets came, and the counts are the game's own.
  EXPECT_GT(r.stats.wholeStage().max, 0);
  EXPECT_TRUE(r.stats.agreesWithGame());

  // The recorder took the bot's keys down: one sample at the stage's start,
  // then one per frame of play, shooting and steering.
  ReplayRecord record = r.replay;
  ASSERT_EQ(record.stages.size(), 1u);
  EXPECT_EQ(record.stages[0].frames.size(), r.stats.playFrames + 1);
  int shooting = 0;
  int steering = 0;
  for (const InputSample& s : record.stages[0].frames) {
    if (s.buttons & (1u << BUTTON_SHOT)) ++shooting;
    if (s.directions) ++steering;
  }
  EXPECT_GT(shooting, 1400);
  EXPECT_GT(steering, 50);
  EXPECT_EQ(record.header.difficulty, DIFFICULTY_NORMAL);
  EXPECT_EQ(record.header.chargeType, CHARGE_LASER);
  EXPECT_EQ(record.header.score, r.stats.score);

  // Written and read back as the game does, it plays back in step.
  ASSERT_TRUE(WriteReplay("bot.vmr", record));
  ReplayRecord loaded;
  ASSERT_TRUE(ReadReplay("bot.vmr", loaded));
  const ReplayCheckReport check = PlayBack(loaded);
  ASSERT_EQ(check.stages.size(), 1u);
  EXPECT_TRUE(check.inStep());
  EXPECT_EQ(check.stages[0].endScore, r.stats.score);

  // A second game with another seed is another game; the same seed the same.
  const PlaytestResult again = PlayStage(Options(DIFFICULTY_NORMAL, 1500));
  EXPECT_EQ(again.stats.score, r.stats.score);
  EXPECT_EQ(ReplayToBytes(again.replay), ReplayToBytes(r.replay));
  PlaytestOptions other = Options(DIFFICULTY_NORMAL, 1500);
  other.seed = 78;
  EXPECT_NE(ReplayToBytes(PlayStage(other).replay), ReplayToBytes(r.replay));
}

TEST_F(PlaytestRunTest, AHitThatCannotBeEscapedIsBombedAway) {
  gTrapAt = 400;
  const PlaytestResult r = PlayStage(Options(DIFFICULTY_EASY, 700));
  EXPECT_GE(r.stats.bombs, 1);
  EXPECT_EQ(r.stats.counterBombs, 0);  // bombed before the bullets landed
  EXPECT_EQ(r.stats.misses, 0);
  EXPECT_EQ(r.stats.gameBombs, r.stats.bombs);
  EXPECT_TRUE(PlayBack(r.replay).inStep());
}

TEST_F(PlaytestRunTest, AHitTakenIsAnsweredWithABombInTime) {
  gHitAt = 400;
  const PlaytestResult r = PlayStage(Options(DIFFICULTY_EASY, 700));
  EXPECT_EQ(r.stats.bombs, 1);
  EXPECT_EQ(r.stats.counterBombs, 1);
  EXPECT_EQ(r.stats.misses, 0);
  EXPECT_TRUE(r.stats.agreesWithGame());
  EXPECT_TRUE(PlayBack(r.replay).inStep());
}

TEST_F(PlaytestRunTest, ALostGameIsContinuedThroughTheMenuWhenAllowed) {
  gKillAt = 300;
  PlaytestOptions o = Options(DIFFICULTY_NORMAL, 800);
  o.takeContinues = true;
  const PlaytestResult r = PlayStage(o);
  EXPECT_EQ(r.stats.gameOvers, 1);
  EXPECT_EQ(r.stats.continues, 1);
  EXPECT_GE(r.stats.misses, 1);
  EXPECT_TRUE(r.stats.agreesWithGame()) << ReportText(r);
  EXPECT_GT(r.stats.menuFrames, 0u);
  EXPECT_EQ(r.frames, 800u);  // play went on after the menu
  EXPECT_EQ(r.replay.header.continuesUsed, 1);
  // Playback takes the continue without a menu, and stays in step.
  const ReplayCheckReport check = PlayBack(r.replay);
  EXPECT_TRUE(check.inStep());
  EXPECT_EQ(check.continuesUsed, 1);
  EXPECT_EQ(check.misses, r.stats.misses);
}

TEST_F(PlaytestRunTest, ALostGameEndsTheRunWhenContinuesAreRefused) {
  gKillAt = 300;
  const PlaytestResult r = PlayStage(Options(DIFFICULTY_NORMAL, 5000));
  EXPECT_FALSE(r.hitFrameLimit);
  EXPECT_FALSE(r.stats.cleared());
  EXPECT_EQ(r.stats.gameOvers, 1);
  EXPECT_EQ(r.stats.continues, 0);
  EXPECT_GT(r.stats.gameOverFrame, 0u);
  EXPECT_EQ(Outcome(r), "game over");
  EXPECT_NE(ReportText(r).find("NOT cleared: game over at frame"), std::string::npos);
  EXPECT_EQ(r.replay.header.continuesUsed, 0);
  EXPECT_TRUE(PlayBack(r.replay).inStep());
}

TEST(PlaytestReport, BulletsOverTheWholeStageWeighEveryFrameAlike) {
  StageStats s;
  s.buckets.resize(2);
  s.buckets[0] = {600, 600, 3};   // mean 1
  s.buckets[1] = {300, 1500, 9};  // mean 5, a short last bucket
  const BulletBucket all = s.wholeStage();
  EXPECT_EQ(all.frames, 900u);
  EXPECT_NEAR(all.mean(), 2100.0 / 900.0, 1e-9);
  EXPECT_EQ(all.max, 9);

  PlaytestResult r;
  r.stats = s;
  r.stats.playFrames = 900;
  r.stats.endCommandFrame = 870;
  const std::string text = ReportText(r);
  EXPECT_NE(text.find("cleared: end command at frame 870 (0:14)"), std::string::npos) << text;
  EXPECT_NE(text.find("0:10-0:15"), std::string::npos) << text;
  EXPECT_NE(text.find("whole stage     2.3     9"), std::string::npos) << text;
}

TEST(PlaytestReport, CountsThatDisagreeWithTheGameAreShown) {
  PlaytestResult r;
  r.stats.misses = 2;
  r.stats.gameMisses = 3;
  EXPECT_FALSE(r.stats.agreesWithGame());
  EXPECT_NE(ReportText(r).find("MISMATCH"), std::string::npos);
  EXPECT_EQ(MinutesSeconds(59), "0:00");
  EXPECT_EQ(MinutesSeconds(4812), "1:20");
  EXPECT_EQ(MinutesSeconds(60 * 60 * 61), "61:00");
}

}  // namespace

namespace {

// The skills through the real stage, with stage 1's built data.
class PlaytestSkillTest : public PlaytestRunTest {};

TEST_F(PlaytestSkillTest, ANewcomersLostGamesAreContinuedReportedAndPlayBackInStep) {
  PlaytestOptions o = Options(DIFFICULTY_APOCRYPHA, 6000);
  o.skill = Skill::Newcomer;
  o.takeContinues = true;
  const PlaytestResult r = PlayStage(o);
  // On Apocrypha a newcomer loses lives within the first minute and a half.
  EXPECT_GE(r.stats.misses, 3);
  EXPECT_GE(r.stats.continues, 1);
  EXPECT_TRUE(r.stats.agreesWithGame()) << ReportText(r);
  const std::string text = ReportText(r);
  EXPECT_NE(text.find("newcomer bot, continues taken"), std::string::npos) << text;
  const ReplayCheckReport check = PlayBack(r.replay);
  EXPECT_TRUE(check.inStep());
  EXPECT_EQ(check.misses, r.stats.misses);
  EXPECT_EQ(check.continuesUsed, r.stats.continues);
  // The same seed, the same game; the expert on it dies less.
  EXPECT_EQ(ReplayToBytes(PlayStage(o).replay), ReplayToBytes(r.replay));
  o.skill = Skill::Expert;
  EXPECT_LT(PlayStage(o).stats.misses, r.stats.misses);
}

}  // namespace

namespace {

// Every stage a few seconds long: a dart, then the end command.
void ShortScript(Stage_Field& field, int32_t stage) {
  field.script.clear();
  field.stageNumber = static_cast<int8_t>(stage);
  field.scriptClock = 0;
  static const char kScript[] =
      "short stage\nframe,duration,command,x,y,number\n10,1,0,192,-20,1\n240,1,9,0,0,0\n";
  field.script = ParseStageScript(reinterpret_cast<const uint8_t*>(kScript), sizeof kScript - 1);
}

class PlaytestGameTest : public PlaytestRunTest {};

TEST_F(PlaytestGameTest, AStageAfterTheFirstStartsWithWhatAShipCarriesIntoIt) {
  // A stage has a script when its file holds at least one row.
  EXPECT_TRUE(StageHasScript(1));
  std::FILE* empty = std::fopen("Data/Stage/stage5.csv", "wb");
  ASSERT_NE(empty, nullptr);
  std::fputs("stage 5\r\nframe,duration,command,x,y,number\r\n", empty);
  std::fclose(empty);
  EXPECT_FALSE(StageHasScript(5));
  std::filesystem::remove(dir.path() / "Data" / "Stage" / "stage6.csv");
  EXPECT_FALSE(StageHasScript(6));

  gStageLinks.loadScript = &ShortScript;
  PlaytestOptions o = Options(DIFFICULTY_NORMAL, 2000);
  o.stage = 2;
  const PlaytestResult r = PlayStage(o);
  EXPECT_TRUE(r.stats.cleared());
  ASSERT_EQ(r.replay.stages.size(), 1u);
  const StageRecord& start = r.replay.stages[0].start;
  EXPECT_EQ(start.stage, 2);
  EXPECT_EQ(start.lives, kCarriedLives);
  EXPECT_EQ(start.bombs, kCarriedBombs);
  EXPECT_EQ(start.power, kCarriedPower);
  EXPECT_EQ(start.score, 0);
}

TEST_F(PlaytestGameTest, AWholeGameRunsThroughTheCutScenesUpToAStageWithoutAScript) {
  std::filesystem::remove(dir.path() / "Data" / "Stage" / "stage3.csv");
  gStageLinks.loadScript = &ShortScript;
  PlaytestOptions o = Options(DIFFICULTY_EASY, 2000);
  o.takeContinues = true;
  const GameResult game = PlayGame(o);
  ASSERT_EQ(game.stages.size(), 2u) << GameReportText(game);
  EXPECT_EQ(game.stages[0].options.stage, 1);
  EXPECT_EQ(game.stages[1].options.stage, 2);
  EXPECT_TRUE(game.stages[0].stats.cleared());
  EXPECT_TRUE(game.stages[1].stats.cleared());
  EXPECT_EQ(game.stageWithoutScript, 3);
  EXPECT_FALSE(game.cleared || game.lost || game.hitFrameLimit);
  // Cut-scenes 102 and 103 were played (the game starts at stage 1 at once,
  // as the menus leave it).
  EXPECT_GT(game.cutSceneFrames, 60u);
  EXPECT_NE(GameReportText(game).find("reached stage 3, which has no script"), std::string::npos);

  // One record holds both stages: the second starts with the score and the
  // ship the first left, and the whole game plays back in step.
  ASSERT_EQ(game.replay.stages.size(), 2u);
  EXPECT_EQ(game.replay.stages[1].start.stage, 2);
  EXPECT_EQ(game.replay.stages[1].start.score, game.stages[0].stats.score);
  EXPECT_EQ(game.replay.header.score, game.stages[1].stats.score);
  const ReplayCheckReport check =
      CheckReplay(game.replay, gStageLinks, &engine::headless::ClearDraws);
  EXPECT_TRUE(check.inStep());
  EXPECT_EQ(check.stages.size(), 2u);
}

}  // namespace
