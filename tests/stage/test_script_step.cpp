// The stage script on its clock: row windows, jumps, every command, the boss
// brought in and waited for, and a small stage played to its end.
#include <gtest/gtest.h>

#include <algorithm>

#include "stage/ScriptFixture.h"

namespace {

using ScriptStep = ScriptTest;

TEST_F(ScriptStep, RowWindowsOnceForeverAndNever) {
  // Command 6 writes its x down, so every run of a row is seen.
  load("100,1,6,1,0,0\n100,-1,6,2,0,0\n100,0,6,3,0,0\n");
  step(100);
  EXPECT_TRUE(host->bossNames.empty());
  step(1);  // clock 100
  EXPECT_EQ(host->bossNames, (std::vector<int32_t>{1, 2}));
  step(50);
  EXPECT_EQ(std::count(host->bossNames.begin(), host->bossNames.end(), 1), 1);
  EXPECT_EQ(std::count(host->bossNames.begin(), host->bossNames.end(), 2), 51);
  EXPECT_EQ(std::count(host->bossNames.begin(), host->bossNames.end(), 3), 0);
  EXPECT_EQ(field().scriptClock, 151);
}

TEST_F(ScriptStep, JumpForwardSkipsTheRowsInBetween) {
  load("300,1,4,500,0,0\n350,1,6,1,0,0\n499,1,6,2,0,0\n500,1,6,3,0,0\n");
  step(301);
  EXPECT_EQ(field().scriptClock, 501);
  // The row for 500 was tested after the jump, in the same frame.
  EXPECT_EQ(host->bossNames, (std::vector<int32_t>{3}));
  step(200);
  EXPECT_EQ(host->bossNames, (std::vector<int32_t>{3}));
}

TEST_F(ScriptStep, RowsAfterAJumpAreTestedAgainstTheNewClock) {
  addEnemyRow(10, 8);
  load("50,1,4,10,0,0\n20,1,0,100,100,1\n");
  field().scriptClock = 50;
  step();
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().scriptClock, 11);
}

TEST_F(ScriptStep, SpawnCommandPlacesTheTableRowAndIgnoresBadRows) {
  addEnemyRow(30, 12);
  load("0,1,0,120,-20,1\n0,1,0,10,10,2\n0,1,0,10,10,0\n");
  step();
  ASSERT_EQ(field().enemies.activeCount(), 1);
  const Object_Enemy& e = field().enemies.objects[field().enemies.first()];
  EXPECT_FLOAT_EQ(e.x, 120.0f);
  EXPECT_FLOAT_EQ(e.y, -20.0f);
  EXPECT_EQ(e.hitPoints, 30);
}

TEST_F(ScriptStep, ClearingCommands) {
  enemy(100, 100, 10, 8);
  enemyBullet(50, 50);
  load("0,1,2,0,0,0\n1,1,1,0,0,0\n");
  step();
  EXPECT_EQ(field().enemies.activeCount(), 1);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  enemyBullet(50, 50);
  step();
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  EXPECT_EQ(gGame.score, 0);
}

TEST_F(ScriptStep, ConversationStartsWithoutStoppingTheClock) {
  load("10,1,3,105.9,0,0\n");
  step(11);
  EXPECT_EQ(host->conversations, (std::vector<int32_t>{105}));
  EXPECT_TRUE(host->talking);
  field().framePass();
  field().framePass();
  EXPECT_EQ(field().scriptClock, 13);
}

TEST_F(ScriptStep, TitleResumeFrameAndStageEnd) {
  load("0,1,7,0,0,0\n0,1,8,2400,0,0\n5,1,9,0,0,0\n");
  step();
  EXPECT_EQ(host->stageTitles, 1);
  EXPECT_EQ(field().resumeFrame, 2400);
  step(4);
  EXPECT_EQ(field().stageFinished, 0);
  step();
  EXPECT_EQ(field().stageFinished, 1);
}

TEST_F(ScriptStep, FadesTakeTheirFrameCountAndAtLeastOneFrame) {
  load("0,1,100,30,0,0\n0,1,101,45.7,0,0\n1,1,100,0,0,0\n1,1,101,-5,0,0\n");
  step();
  ASSERT_EQ(host->fades.size(), 2u);
  EXPECT_EQ(host->fades[0].from, 255);
  EXPECT_EQ(host->fades[0].to, 0);
  EXPECT_EQ(host->fades[0].frames, 30);
  EXPECT_EQ(host->fades[1].from, 0);
  EXPECT_EQ(host->fades[1].to, 255);
  EXPECT_EQ(host->fades[1].frames, 45);
  step();
  ASSERT_EQ(host->fades.size(), 4u);
  EXPECT_EQ(host->fades[2].frames, 1);
  EXPECT_EQ(host->fades[3].frames, 1);
}

TEST_F(ScriptStep, MusicFadeStepsDownOverItsFramesAndAtLeastOneFrame) {
  load("0,1,110,30,0,0\n1,1,110,0,0,0\n");
  step();
  EXPECT_EQ(gSound.fadeFrames, 30);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -8.5f);
  step();
  EXPECT_EQ(gSound.fadeFrames, 1);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -255.0f);
}

class ScriptBoss : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    addEnemyRow(10, 8);    // row 1: a plain enemy
    addEnemyRow(500, 20);  // row 2: the boss
  }
};

TEST_F(ScriptBoss, BossComesInClearingTheFieldAndIsWaitedFor) {
  enemy(100, 100, 10, 8);
  enemyBullet(50, 50);
  load("0,1,5,192,80,2\n0,1,6,1,0,0\n0,1,8,700,0,0\n10,-1,11,0,0,0\n10,-1,4,10,0,0\n");
  step();
  Object_Boss& boss = field().boss;
  EXPECT_EQ(boss.dead, 0);
  EXPECT_EQ(field().bossActive, 1);
  EXPECT_EQ(field().bossFinished, 0);
  EXPECT_EQ(boss.hitPoints, 500);
  EXPECT_EQ(boss.maxHitPoints, 500);
  EXPECT_FLOAT_EQ(boss.x, 192.0f);
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  EXPECT_EQ(host->bossTitle, 1);

  // The clock stands at 10 while the boss lives.
  step(9);
  for (int i = 0; i < 5; ++i) {
    step();
    EXPECT_EQ(field().scriptClock, 10);
  }

  // Beaten in a frame pass: the timeline resumes at 700.
  boss.loseHitPoints(500);
  field().framePass();
  EXPECT_EQ(field().bossFinished, 1);
  EXPECT_EQ(field().scriptClock, 700);
  EXPECT_EQ(gGame.enemiesDestroyed, 1);
}

TEST_F(ScriptBoss, ExtraStageBossLeavesWhatIsInPlay) {
  enemy(100, 100, 10, 8);
  load("0,1,5,192,80,2\n", 7);
  step();
  EXPECT_EQ(field().bossActive, 1);
  EXPECT_EQ(field().enemies.activeCount(), 1);
}

TEST_F(ScriptBoss, BossRowOutsideTheTableBringsNothingIn) {
  load("0,1,5,192,80,9\n5,1,11,0,0,0\n");
  step();
  EXPECT_EQ(field().boss.dead, 1);
  EXPECT_EQ(field().bossActive, 0);
  step(6);
  EXPECT_EQ(field().scriptClock, 7);  // nothing to wait for
}

TEST_F(ScriptBoss, EndingTheFightPaysTheBonusOnlyForALiveBoss) {
  enemy(100, 100, 10, 8);
  load("0,1,5,192,80,2\n0,1,6,1,0,0\n1,1,0,50,50,1\n2,1,10,0,0,0\n");
  step(2);
  EXPECT_EQ(field().enemies.activeCount(), 1);
  step();
  EXPECT_EQ(field().boss.dead, 1);
  EXPECT_EQ(field().bossActive, 0);
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(gGame.score, 100000);  // boss title 1 on Normal
  EXPECT_TRUE(Requested(21));

  // A second end with no boss in play pays nothing.
  load("0,1,10,0,0,0\n");
  step();
  EXPECT_EQ(gGame.score, 100000);
}

TEST_F(ScriptBoss, BossActionsAtTimeZeroRunOnEntryAndAgainInTheSamePass) {
  gEnemyTable[1].actions = {Action(0, -1, 6, 1.0f, 0.0f)};  // counter + 1 every frame
  load("0,1,5,192,80,2\n");
  field().framePass();
  EXPECT_EQ(field().boss.counter, 2);
  EXPECT_EQ(field().boss.clock, 2);
}

TEST_F(ScriptBoss, TestStagePlaysFromItsScriptToItsEnd) {
  // Row 3: an enemy drifting down; row 4: a boss that blows itself up once
  // beaten and leaves three point items.
  addEnemyRow(20, 10, {Action(0, 1, 11, 2.0f, 1.5707964f)});
  addEnemyRow(300, 20, {Action(100000, 1, 1, 1.0f, 0.0f)});
  gEnemyTable[3].drops[1] = 3;
  load(
      "/ opening\n"
      "0,1,7,0,0,0\n"
      "30,1,0,100,-10,3\n"
      "40,1,0,280,-10,3\n"
      "200,1,5,192,100,4\n"
      "200,1,6,2,0,0\n"
      "200,1,8,400,0,0\n"
      "201,1,11,0,0,0\n"
      "400,1,10,0,0,0\n"
      "460,1,9,0,0,0\n");
  int frames = 0;
  int32_t mostEnemies = 0;
  int32_t clockWhenHit = 0;
  while (!field().stageFinished && frames < 2000) {
    if (frames == 260) {
      // The ship's shot lands on the boss while the script holds at 201.
      clockWhenHit = field().scriptClock;
      playerShot(192.0f, 100.0f, 300);
    }
    field().framePass();
    mostEnemies = std::max(mostEnemies, field().enemies.activeCount());
    ++frames;
  }
  EXPECT_EQ(field().stageFinished, 1);
  EXPECT_EQ(clockWhenHit, 201);
  EXPECT_EQ(mostEnemies, 2);
  EXPECT_EQ(host->stageTitles, 1);
  EXPECT_EQ(host->bossNames, (std::vector<int32_t>{2}));
  EXPECT_EQ(field().boss.dead, 1);
  EXPECT_EQ(field().bossActive, 0);
  // 10 for the hit, 70,000 for boss title 2 on Normal, and the three point
  // items collected before the end.
  EXPECT_EQ(gGame.score, 10 + 70000 + 3 * 10000);
  EXPECT_EQ(player().points, 3);
  EXPECT_EQ(gGame.enemiesDestroyed, 1);  // the beaten boss, counted on resuming
  EXPECT_EQ(frames, 261 + 61);           // clock 400 on frame 261, 460 sixty frames later
}

}  // namespace
