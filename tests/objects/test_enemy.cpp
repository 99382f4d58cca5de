// Enemies and the boss as the frame pass meets them: damage passed along
// links, destruction with drops and score, script jumps, and the boss's
// once-per-frame damage, defeat and bonus.
#include <gtest/gtest.h>

#include "FieldFixture.h"

namespace {

class Enemies : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(150.0f, 420.0f);
  }
  // A part attached to `holder` at an offset, passing damage on times factor.
  Object_Enemy* part(Object_Enemy& holder, float ox, float oy, float factor, bool shell) {
    Object_Enemy* p = SpawnEnemyBare(field(), 0);
    p->resetEnemy();
    p->owner = &holder;
    p->parent = &holder;
    p->linked = 1;
    p->shell = shell;
    p->damageFactor = factor;
    p->radius = 10;
    p->hitPoints = 1000;
    for (auto& d : p->drops) d = 0;
    p->setPosition(ox, oy);
    return p;
  }
  static void Run(Object_Enemy& e, int32_t code, float p1, float p2) {
    Action a(0, 1, code, p1, p2);
    e.doAction(a);
  }
};

TEST_F(Enemies, ShellPassesScaledDamageToItsOwner) {
  Object_Enemy* body = enemy(100.0f, 100.0f, 1000, 20);
  Object_Enemy* shell = part(*body, 40.0f, 0.0f, 0.5f, true);
  Object_Bullet* shot = playerShot(0.0f, 0.0f, 100);
  shell->takeHit(*shot, 1.0f);
  EXPECT_EQ(shell->hitPoints, 1000);
  EXPECT_EQ(body->hitPoints, 950);
  Object_Enemy* linked = part(*body, -40.0f, 0.0f, 2.0f, false);
  linked->takeHit(*shot, 1.0f);
  EXPECT_EQ(linked->hitPoints, 900);
  EXPECT_EQ(body->hitPoints, 750);
}

TEST_F(Enemies, DestroyDropsItemsInKindOrderAndPays) {
  Object_Enemy* e = enemy(100.0f, 100.0f, 10, 10);
  e->drops[0] = 2;
  e->drops[1] = 4;
  SeedRandom(3);
  Run(*e, 1, 1.0f, 0.0f);
  EXPECT_EQ(e->dead, 1);
  EXPECT_EQ(gGame.score, 500);
  EXPECT_TRUE(Requested(13));
  std::vector<int> kinds;
  field().items.walk([&](Object_Item& item, int32_t) { kinds.push_back(item.kind); });
  EXPECT_EQ(kinds, (std::vector<int>{1, 1, 2, 2, 2, 2}));
  // Two random numbers per item, nothing else.
  const int next = RandomUpTo(1000000);
  SeedRandom(3);
  for (int k = 0; k < 12; ++k) RandomUpTo(5);
  EXPECT_EQ(RandomUpTo(1000000), next);
}

TEST_F(Enemies, VanishingWithoutDestructionPaysNothing) {
  Object_Enemy* e = enemy(100.0f, 100.0f, 10, 10);
  e->drops[0] = 1;
  Run(*e, 1, 0.0f, 0.0f);
  EXPECT_EQ(e->dead, 1);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(field().items.activeCount(), 0);
}

TEST_F(Enemies, ScriptJumpsOnCounterHitPointsAndChance) {
  Object_Enemy* e = enemy(100.0f, 100.0f, 40, 10);
  Run(*e, 5, 3.0f, 0.0f);
  Run(*e, 7, 4.0f, 500.0f);
  EXPECT_EQ(e->clock, 0);
  Run(*e, 6, 1.0f, 0.0f);
  Run(*e, 7, 4.0f, 500.0f);
  EXPECT_EQ(e->clock, 500);
  Run(*e, 8, 39.0f, 900.0f);
  EXPECT_EQ(e->clock, 500);
  Run(*e, 8, 40.0f, 900.0f);
  EXPECT_EQ(e->clock, 900);
  for (int seed = 1; seed <= 20; ++seed) {
    SeedRandom(seed);
    const int n = RandomUpTo(100000);
    SeedRandom(seed);
    e->clock = 0;
    Run(*e, 9, 0.5f, 77.0f);
    EXPECT_EQ(e->clock, 50000.0f > n ? 77 : 0) << seed;
  }
}

TEST_F(Enemies, LinkedPartsDieSilentlyWithTheirOwner) {
  Object_Enemy* body = enemy(100.0f, 100.0f, 10, 20);
  Object_Enemy* p = part(*body, 30.0f, 0.0f, 1.0f, true);
  p->drops[0] = 3;
  body->dead = 1;
  field().framePass();
  EXPECT_EQ(p->dead, 1);
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().items.activeCount(), 0);
  EXPECT_EQ(gGame.score, 0);
}

TEST_F(Enemies, EnemyLeavingTheFieldVanishes) {
  Object_Enemy* e = enemy(100.0f, 548.0f, 10, 10);
  e->addAction(10, 0, 1, 0.0f, 2.0f);
  field().framePass();
  EXPECT_EQ(e->dead, 1);
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(gGame.enemiesDestroyed, 0);  // only counted during conversations
}

class Bosses : public Enemies {
 protected:
  void SetUp() override {
    Enemies::SetUp();
    EnemyRecord record;
    record.graphic = 3;
    record.hitPoints = 10000;
    record.radius = 20;
    gEnemyTable.push_back(record);
  }
};

TEST_F(Bosses, EntryClearsTheFieldOutsideTheExtraStage) {
  enemy(10.0f, 10.0f, 5, 5);
  enemyBullet(20.0f, 20.0f, 2);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 100.0f, 3));
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  EXPECT_EQ(field().boss.maxHitPoints, 10000);
  EXPECT_EQ(field().boss.clock, 1);  // updated once on entry
  EXPECT_EQ(field().bossActive, 1);
  enemy(10.0f, 10.0f, 5, 5);
  ASSERT_TRUE(BringInBoss(field(), 1, 192.0f, 100.0f, 7));
  EXPECT_EQ(field().enemies.activeCount(), 1);
  EXPECT_FALSE(BringInBoss(field(), 2, 192.0f, 100.0f, 3));
}

TEST_F(Bosses, LaserAcrossBossAndPartsHurtsTheBossOncePerFrame) {
  ASSERT_TRUE(BringInBoss(field(), 1, 200.0f, 100.0f, 3));
  Object_Boss& boss = field().boss;
  part(boss, -30.0f, 0.0f, 1.0f, true);
  part(boss, 30.0f, 0.0f, 1.0f, true);
  Object_Bullet* laser = playerShot(50.0f, 100.0f, 10, 7);
  laser->laser = 1;
  laser->angle = 0.0f;
  laser->radius = 6;
  laser->length = 300;
  for (int frame = 0; frame < 10; ++frame) field().framePass();
  EXPECT_EQ(boss.hitPoints, 10000 - 10 * 10);
}

TEST_F(Bosses, BeatenBossJumpsToItsDefeatAndResumesTheScript) {
  ASSERT_TRUE(BringInBoss(field(), 1, 200.0f, 100.0f, 3));
  Object_Boss& boss = field().boss;
  boss.hitPoints = 5;
  field().resumeFrame = 700;
  playerShot(200.0f, 100.0f, 10);
  field().framePass();
  EXPECT_EQ(boss.beaten, 1);
  EXPECT_EQ(boss.dead, 0);  // beaten, not killed
  EXPECT_EQ(boss.clock, 100000);
  EXPECT_EQ(field().bossFinished, 1);
  EXPECT_EQ(field().scriptClock, 700);
  EXPECT_EQ(field().resumeFrame, 0);
  EXPECT_EQ(gGame.enemiesDestroyed, 1);
  // From now on shots pass through it.
  Object_Bullet* later = playerShot(200.0f, 100.0f, 10);
  field().framePass();
  EXPECT_TRUE(field().playerShots.inPlay(field().playerShots.indexOf(later)));
}

TEST_F(Bosses, BombImmunityHoldsOnlyWhileBombing) {
  ASSERT_TRUE(BringInBoss(field(), 1, 200.0f, 100.0f, 3));
  Object_Boss& boss = field().boss;
  Run(boss, 220, 1.0f, 0.0f);
  Object_Bullet* shot = playerShot(0.0f, 0.0f, 100);
  player().bombing = 1;
  boss.takeHit(*shot, 1.0f);
  EXPECT_EQ(boss.hitPoints, 10000);
  player().bombing = 0;
  boss.takeHit(*shot, 1.0f);
  EXPECT_EQ(boss.hitPoints, 9900);
}

TEST_F(Bosses, DefeatBonusByTitleAndDifficulty) {
  EXPECT_EQ(BossDefeatBonus(1, DIFFICULTY_EASY), 10000);
  EXPECT_EQ(BossDefeatBonus(3, DIFFICULTY_NORMAL), 500000);
  EXPECT_EQ(BossDefeatBonus(12, DIFFICULTY_EXTRA), 3000000);
  EXPECT_EQ(BossDefeatBonus(13, DIFFICULTY_APOCRYPHA), kScoreMax);  // beyond 32 bits
  EXPECT_EQ(BossDefeatBonus(14, DIFFICULTY_NORMAL), 0);
  ASSERT_TRUE(BringInBoss(field(), 1, 200.0f, 100.0f, 3));
  stage->bossTitle = 2;
  field().boss.destroy(true);  // silent, but still paid
  EXPECT_EQ(gGame.score, 70000);
  EXPECT_EQ(field().boss.dead, 1);
  EXPECT_FALSE(Requested(21));
}

}  // namespace
