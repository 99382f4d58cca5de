// A boss's life as its own script writes it: entry actions, bomb immunity
// through linked parts, the defeat sequence from clock 100000, the defeat
// bonus in single precision and the score's ceiling.
#include <gtest/gtest.h>

#include <vector>

#include "FieldFixture.h"

namespace {

constexpr int32_t kDefeatClock = 100000;

class BossLife : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(192.0f, 420.0f);
  }
  // Row 1: immune to bombs from entry, 500 hit points, radius 20, and a
  // defeat sequence that blows it up (p1 = 1) or just ends it (p1 = 0).
  static void addBossRow(float endMode, int32_t hitPoints = 500) {
    EnemyRecord r;
    r.graphic = 2;
    r.hitPoints = hitPoints;
    r.radius = 20;
    r.actions = {Action(0, 1, 220, 1.0f, 0.0f), Action(kDefeatClock, 1, 1, endMode, 0.0f)};
    gEnemyTable.push_back(r);
  }
  Object_Enemy* linkedPart(float ox) {
    Object_Enemy* p = SpawnEnemyBare(field(), 0);
    p->resetEnemy();
    p->owner = &field().boss;
    p->parent = &field().boss;
    p->linked = 1;
    p->shell = 1;
    p->radius = 12;
    for (auto& d : p->drops) d = 0;
    p->setPosition(ox, 0.0f);
    return p;
  }
  Object_Bullet* laserAcross(float y) {
    Object_Bullet* laser = playerShot(20.0f, y, 10, 7);
    laser->laser = 1;
    laser->angle = 0.0f;
    laser->radius = 6;
    laser->length = 360;
    return laser;
  }
};

TEST_F(BossLife, EntryActionsRunAtOnceAndBombsDoNothingThroughParts) {
  addBossRow(1.0f);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 2));
  Object_Boss& boss = field().boss;
  EXPECT_EQ(boss.bombImmune, 1);  // its time-0 action ran on entry
  linkedPart(-40.0f);
  linkedPart(40.0f);
  laserAcross(120.0f);
  player().bombing = 1;
  for (int i = 0; i < 5; ++i) field().framePass();
  EXPECT_EQ(boss.hitPoints, 500);
  player().bombing = 0;
  for (int i = 0; i < 5; ++i) field().framePass();
  // Three shapes under the laser, one hit per frame.
  EXPECT_EQ(boss.hitPoints, 500 - 5 * 10);
}

TEST_F(BossLife, DefeatSequenceBlowsItUpAndPaysTheBonusOnce) {
  gGame.difficulty = DIFFICULTY_EASY;
  stage->bossTitle = 1;
  addBossRow(1.0f, 10);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 1));
  Object_Boss& boss = field().boss;
  playerShot(192.0f, 120.0f, 50);
  field().framePass();
  EXPECT_EQ(boss.beaten, 1);
  EXPECT_EQ(boss.clock, kDefeatClock);
  EXPECT_EQ(boss.dead, 0);
  // Further damage while beaten changes nothing.
  boss.loseHitPoints(1000);
  EXPECT_EQ(boss.hitPoints, -40);

  const int32_t before = gGame.score;
  stage->effects.clear();
  field().framePass();  // the script reaches its defeat row
  EXPECT_EQ(gGame.score - before, 10000);
  EXPECT_EQ(boss.dead, 1);
  EXPECT_TRUE(Requested(21));
  ASSERT_FALSE(stage->effects.empty());
  const EffectCall& blast = stage->effects.back();
  EXPECT_EQ(blast.kind, 1);
  EXPECT_DOUBLE_EQ(blast.scale, 5.0);
  EXPECT_EQ(blast.frameStep, 2);
  EXPECT_EQ(blast.x, 192);
  // Gone: reset for the next boss of the stage.
  EXPECT_EQ(boss.beaten, 0);
  EXPECT_EQ(boss.bombImmune, 0);
  const int32_t after = gGame.score;
  for (int i = 0; i < 3; ++i) field().framePass();
  EXPECT_EQ(gGame.score, after);
}

TEST_F(BossLife, QuietEndingLeavesWithoutBonus) {
  addBossRow(0.0f, 10);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 1));
  playerShot(192.0f, 120.0f, 50);
  field().framePass();
  const int32_t before = gGame.score;
  field().framePass();
  EXPECT_EQ(field().boss.dead, 1);
  EXPECT_EQ(field().boss.beaten, 1);
  EXPECT_EQ(gGame.score, before);
  EXPECT_FALSE(Requested(21));
}

TEST_F(BossLife, NeverLeavesByPosition) {
  addBossRow(1.0f);
  ASSERT_TRUE(BringInBoss(field(), 1, -600.0f, 900.0f, 1));
  for (int i = 0; i < 3; ++i) field().framePass();
  EXPECT_EQ(field().boss.dead, 0);
  EXPECT_FALSE(field().boss.isOffScreen());
}

TEST_F(BossLife, ExtraStageEntryKeepsEnemiesAndBullets) {
  addBossRow(1.0f);
  enemy(50.0f, 50.0f, 100, 10);
  enemyBullet(60.0f, 60.0f, 2);
  enemyBullet(70.0f, 60.0f, 2);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 7));
  EXPECT_EQ(field().enemies.activeCount(), 1);
  EXPECT_EQ(field().enemyBullets.activeCount(), 2);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 6));
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
}

TEST_F(BossLife, SecondEntryStartsAfresh) {
  addBossRow(0.0f, 10);
  EnemyRecord big;
  big.hitPoints = 9000;
  big.radius = 30;
  gEnemyTable.push_back(big);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 1));
  playerShot(192.0f, 120.0f, 50);
  field().framePass();
  ASSERT_EQ(field().boss.beaten, 1);
  ASSERT_TRUE(BringInBoss(field(), 2, 100.0f, 80.0f, 1));
  const Object_Boss& boss = field().boss;
  EXPECT_EQ(boss.beaten, 0);
  EXPECT_EQ(boss.bombImmune, 0);
  EXPECT_EQ(boss.maxHitPoints, 9000);
  EXPECT_EQ(boss.hitPoints, 9000);
  EXPECT_EQ(boss.dead, 0);
}

TEST(BossBonus, IsComputedInSinglePrecision) {
  // 1e9 x 0.1f is 100000001.49 exactly, but the nearest float is 1e8.
  EXPECT_EQ(BossDefeatBonus(13, DIFFICULTY_EASY), 100000000);
  EXPECT_EQ(BossDefeatBonus(1, DIFFICULTY_EASY), 10000);
  EXPECT_EQ(BossDefeatBonus(0, 2), 25000);
  EXPECT_EQ(BossDefeatBonus(13, DIFFICULTY_EXTRA), 1500000000);
  EXPECT_EQ(BossDefeatBonus(13, 4), 2000000000);
  EXPECT_EQ(BossDefeatBonus(11, DIFFICULTY_APOCRYPHA), 300000000);
}

TEST_F(BossLife, BonusStopsTheScoreAtItsCeiling) {
  gGame.difficulty = DIFFICULTY_NORMAL;
  stage->bossTitle = 13;
  gGame.score = 2000000000;
  addBossRow(1.0f);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 1));
  field().boss.destroy(false);
  EXPECT_EQ(gGame.score, kScoreMax);
  EXPECT_EQ(gGame.hiScore, kScoreMax);
  stage->bossTitle = 11;
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 120.0f, 1));
  field().boss.destroy(true);
  EXPECT_EQ(gGame.score, kScoreMax);
}

}  // namespace
