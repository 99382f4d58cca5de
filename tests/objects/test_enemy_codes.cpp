// Enemies: spawning from the table, their own action codes, parts linked to
// an owner, damage passed along the chain, destruction with items and score.
#include <array>
#include <utility>
#include <vector>

#include "objects/FieldFixture.h"

namespace {

class EnemyTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(192.0f, 400.0f);
    gEnemyTable.resize(3);
  }

  // Table row n (1-based) with the given hit points, radius, drops and actions.
  void setRow(int32_t n, int32_t hitPoints, int32_t radius, std::vector<Action> actions,
              std::array<uint8_t, 4> drops = {0, 0, 0, 0}, uint8_t graphic = 1) {
    EnemyRecord& r = gEnemyTable[static_cast<size_t>(n - 1)];
    r.graphic = graphic;
    r.hitPoints = hitPoints;
    r.radius = radius;
    for (int k = 0; k < 4; ++k) r.drops[k] = drops[static_cast<size_t>(k)];
    r.actions = std::move(actions);
  }

  // Runs one action on the enemy right now.
  static void run(Object_Enemy& e, int32_t op, float p1, float p2) {
    Action a(0, 1, op, p1, p2);
    e.doAction(a);
  }

  int32_t enemiesInPlay() { return field().enemies.activeCount(); }
  Object_Enemy& newest() { return field().enemies.objects[field().enemies.activeIndices().back()]; }
};

TEST_F(EnemyTest, SpawnOutsideTheTableOrIntoAFullPoolGivesNothing) {
  setRow(1, 10, 8, {});
  EXPECT_EQ(SpawnEnemyFromTable(field(), 0, 10, 10), nullptr);
  EXPECT_EQ(SpawnEnemyFromTable(field(), 4, 10, 10), nullptr);
  EXPECT_EQ(SpawnEnemyFromTable(field(), -1, 10, 10), nullptr);
  EXPECT_EQ(enemiesInPlay(), 0);
  for (int i = 0; i < kEnemyCapacity; ++i)
    ASSERT_NE(SpawnEnemyFromTable(field(), 1, 10, 10), nullptr);
  EXPECT_EQ(SpawnEnemyFromTable(field(), 1, 10, 10), nullptr);
}

TEST_F(EnemyTest, SpawnTakesTheRowAndResetsTheSlotButNotItsHeading) {
  setRow(2, 40, 12, {Action(5, 1, 11, 2.0f, 0.0f)}, {1, 2, 3, 4}, 9);
  // The slot handed out next still holds an old enemy's state.
  Object_Enemy& slot = field().enemies.objects[kEnemyCapacity - 1];
  slot.angle = 1.25f;
  slot.speed = 3.0f;
  slot.muzzleX = 40;
  slot.counter = 7;
  slot.linked = 1;
  slot.clock = 99;
  slot.vx = 5.0f;

  Object_Enemy* e = SpawnEnemyFromTable(field(), 2, 100.0f, 50.0f);
  ASSERT_EQ(e, &slot);
  EXPECT_EQ(e->graphic, 9);
  EXPECT_EQ(e->hitPoints, 40);
  EXPECT_EQ(e->radius, 12);
  EXPECT_EQ(e->drops[3], 4);
  ASSERT_EQ(e->actions.size(), 1u);
  EXPECT_EQ(e->actions[0].time, 5);
  EXPECT_EQ(e->clock, 0);
  EXPECT_FLOAT_EQ(e->vx, 0.0f);
  EXPECT_EQ(e->muzzleX, 0);
  EXPECT_EQ(e->counter, 0);
  EXPECT_EQ(e->linked, 0);
  EXPECT_FLOAT_EQ(e->x, 100.0f);
  EXPECT_FLOAT_EQ(e->y, 50.0f);
  // Scripts set these before they use them.
  EXPECT_FLOAT_EQ(e->angle, 1.25f);
  EXPECT_FLOAT_EQ(e->speed, 3.0f);
}

TEST_F(EnemyTest, DestroyReleasesPowerThenPointItemsWithTwoDrawsEach) {
  setRow(1, 10, 8, {}, {2, 4, 0, 0});
  Object_Enemy* e = SpawnEnemyFromTable(field(), 1, 100.0f, 120.0f);
  SeedRandom(77);
  float headings[6];
  for (float& h : headings) {
    RandomUpTo(400);
    h = static_cast<float>(RandomUpTo(62832)) / 10000.0f;
  }
  SeedRandom(77);
  e->loseHitPoints(10);

  EXPECT_EQ(e->dead, 1);
  EXPECT_EQ(gGame.score, 500);
  EXPECT_TRUE(Requested(13));
  ASSERT_FALSE(stage->effects.empty());
  EXPECT_EQ(stage->effects[0].kind, 1);
  EXPECT_DOUBLE_EQ(stage->effects[0].scale, 2.0);
  const auto items = field().items.activeIndices();
  ASSERT_EQ(items.size(), 6u);
  for (size_t i = 0; i < items.size(); ++i) {
    const Object_Item& item = field().items.objects[items[i]];
    EXPECT_EQ(item.kind, i < 2 ? ITEM_POWER : ITEM_POINT);
    EXPECT_FLOAT_EQ(item.heading, headings[i]);
    EXPECT_FLOAT_EQ(item.x, 100.0f);
  }
}

TEST_F(EnemyTest, VanishingCodeOnlyScoresWhenItDestroys) {
  setRow(1, 10, 8, {Action(0, 1, 1, 0.0f, 0.0f)}, {1, 0, 0, 0});
  setRow(2, 10, 8, {Action(0, 1, 1, 1.0f, 0.0f)}, {1, 0, 0, 0});
  Object_Enemy* quiet = SpawnEnemyFromTable(field(), 1, 100, 100);
  quiet->update();
  EXPECT_EQ(quiet->dead, 1);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(field().items.activeCount(), 0);
  EXPECT_TRUE(stage->effects.empty());

  Object_Enemy* loud = SpawnEnemyFromTable(field(), 2, 100, 100);
  loud->update();
  EXPECT_EQ(loud->dead, 1);
  EXPECT_EQ(gGame.score, 500);
  EXPECT_EQ(field().items.activeCount(), 1);
}

TEST_F(EnemyTest, HitPartPassesScaledDamageAndNeverLosesItsOwn) {
  setRow(1, 100, 16, {Action(0, 1, 122, 20.0f, -10.0f), Action(0, 1, 140, 6.0f, 0.5f)});
  Object_Enemy* owner = SpawnEnemyFromTable(field(), 1, 100.0f, 100.0f);
  owner->update();
  ASSERT_EQ(enemiesInPlay(), 2);
  Object_Enemy& part = newest();
  EXPECT_EQ(part.owner, owner);
  EXPECT_EQ(part.parent, owner);
  EXPECT_EQ(part.linked, 1);
  EXPECT_EQ(part.shell, 1);
  EXPECT_EQ(part.radius, 6);
  EXPECT_EQ(part.graphic, 0);
  EXPECT_EQ(part.hitPoints, 500);
  EXPECT_FLOAT_EQ(part.x, 120.0f);
  EXPECT_FLOAT_EQ(part.y, 90.0f);

  Object_Bullet* shot = playerShot(120.0f, 90.0f, 10);
  part.takeHit(*shot, 1.0f);
  part.takeHit(*shot, 1.0f);
  EXPECT_EQ(owner->hitPoints, 90);
  EXPECT_EQ(part.hitPoints, 500);

  // The part follows its owner.
  owner->vx = 3.0f;
  owner->update();
  part.update();
  EXPECT_FLOAT_EQ(part.x, owner->x + 20.0f);
}

TEST_F(EnemyTest, DamageRunsUpAChainOfLinkedEnemies) {
  // A child (code 143, factor 2) of an owner: it loses its own hit points and
  // passes twice the damage on; a hit part on the child halves that again.
  setRow(1, 1000, 16, {Action(0, 1, 143, 2.0f, 2.0f)});
  setRow(2, 50, 8, {Action(0, 1, 140, 4.0f, 0.5f)});
  Object_Enemy* owner = SpawnEnemyFromTable(field(), 1, 100.0f, 100.0f);
  owner->update();
  Object_Enemy& child = newest();
  child.update();
  Object_Enemy& part = newest();
  ASSERT_EQ(enemiesInPlay(), 3);
  ASSERT_EQ(part.owner, &child);

  Object_Bullet* shot = playerShot(0, 0, 10);
  child.takeHit(*shot, 1.0f);
  EXPECT_EQ(child.hitPoints, 40);
  EXPECT_EQ(owner->hitPoints, 980);
  part.takeHit(*shot, 1.0f);  // shell: 5 to the child, 10 to the owner
  EXPECT_EQ(child.hitPoints, 35);
  EXPECT_EQ(owner->hitPoints, 970);
}

TEST_F(EnemyTest, LinkedEnemiesDieSilentlyWithTheirOwner) {
  setRow(1, 10, 16, {Action(0, 1, 143, 2.0f, 1.0f), Action(0, 1, 205, 3.0f, 1.0f)}, {1, 0, 0, 0});
  setRow(2, 50, 8, {}, {0, 3, 0, 0});
  Object_Enemy* owner = SpawnEnemyFromTable(field(), 1, 100.0f, 100.0f);
  owner->update();
  ASSERT_EQ(enemiesInPlay(), 3);

  Object_Bullet* shot = playerShot(0, 0, 10);
  owner->takeHit(*shot, 1.0f);
  ASSERT_EQ(owner->dead, 1);
  EXPECT_EQ(gGame.score, 500);
  EXPECT_EQ(field().items.activeCount(), 1);

  field().framePass();
  EXPECT_EQ(enemiesInPlay(), 0);
  EXPECT_EQ(gGame.score, 500);  // no score for the parts
  EXPECT_EQ(field().items.activeCount(), 1);
}

TEST_F(EnemyTest, OverlayPartIsAnUnhittableAdditiveShellAboveItsOwner) {
  setRow(1, 10, 16, {Action(0, 1, 45, 4.0f, 0.0f), Action(0, 1, 205, 300.0f, 0.25f)});
  Object_Enemy* owner = SpawnEnemyFromTable(field(), 1, 80.0f, 60.0f);
  owner->update();
  Object_Enemy& overlay = newest();
  EXPECT_EQ(overlay.graphic, 300 % 256);
  EXPECT_EQ(overlay.radius, 0);
  EXPECT_EQ(overlay.drawDepth, 5);
  EXPECT_EQ(overlay.blendMode, 2);
  EXPECT_EQ(overlay.shell, 1);
  EXPECT_FLOAT_EQ(overlay.damageFactor, 0.25f);
  EXPECT_FLOAT_EQ(overlay.x, 80.0f);
  EXPECT_FLOAT_EQ(overlay.baseX, 0.0f);
}

TEST_F(EnemyTest, SpawnedEnemiesStartAtTheMuzzle) {
  setRow(2, 20, 8, {});
  Object_Enemy* e = enemy(100.0f, 100.0f, 100, 10);
  e->muzzleX = 10;
  e->muzzleY = -20;
  run(*e, 141, 2.0f, 0.0f);
  Object_Enemy& free = newest();
  EXPECT_FLOAT_EQ(free.x, 110.0f);
  EXPECT_FLOAT_EQ(free.y, 80.0f);
  EXPECT_EQ(free.linked, 0);

  run(*e, 142, 2.0f, 0.5f);
  Object_Enemy& tied = newest();
  EXPECT_EQ(tied.owner, e);
  EXPECT_EQ(tied.parent, nullptr);
  EXPECT_EQ(tied.linked, 1);
  EXPECT_FLOAT_EQ(tied.damageFactor, 0.5f);

  // Code 146 launches it along the aim at the shot speed.
  e->shotSpeed = 2.0f;
  e->aimAngle = 1.5707964f;
  run(*e, 146, 2.0f, 0.0f);
  Object_Enemy& thrown = newest();
  EXPECT_EQ(thrown.linked, 0);
  EXPECT_NEAR(thrown.vy, 2.0f, 1e-5f);
  EXPECT_NEAR(thrown.vx, 0.0f, 1e-5f);
  e->attachShots = 1;
  run(*e, 146, 2.0f, 0.0f);
  EXPECT_EQ(newest().owner, e);
  EXPECT_EQ(newest().linked, 1);

  // An unknown row spawns nothing and the script goes on.
  run(*e, 141, 9.0f, 0.0f);
  EXPECT_EQ(enemiesInPlay(), 5);
}

TEST_F(EnemyTest, CounterAndHitPointJumps) {
  // Loops over clock 1..2 counting up by 2 from -1, and leaves the loop for
  // 50 once the counter reaches 5.
  setRow(1, 30, 8,
         {Action(0, 1, 5, -1.0f, 0.0f), Action(1, 2, 6, 2.0f, 0.0f), Action(1, 2, 7, 5.0f, 50.0f),
          Action(2, 1, 4, 1.0f, 0.0f), Action(50, 1, 150, 25.0f, 0.0f),
          Action(51, 1, 8, 25.0f, 80.0f), Action(52, 1, 151, 1000.0f, 0.0f)});
  Object_Enemy* e = SpawnEnemyFromTable(field(), 1, 100, 100);
  for (int i = 0; i < 4; ++i) e->update();
  EXPECT_EQ(e->counter, 5);
  EXPECT_EQ(e->clock, 51);      // jumped to 50 at the counter test, then stepped
  EXPECT_EQ(e->hitPoints, 25);  // the row at 50 ran in the same walk
  e->update();                  // clock 51: 25 >= 25, jump to 80
  EXPECT_EQ(e->clock, 81);
  EXPECT_EQ(e->hitPoints, 25);  // the 151 at 52 was jumped over
}

TEST_F(EnemyTest, AnimationDepthAndEffectCodes) {
  Object_Enemy* e = enemy(100, 100, 10, 8);
  run(*e, 44, 0.0f, 0.0f);
  EXPECT_EQ(e->animationPeriod, 6);
  run(*e, 44, 3.9f, 0.0f);
  EXPECT_EQ(e->animationPeriod, 3);
  run(*e, 45, -2.0f, 0.0f);
  EXPECT_EQ(e->drawDepth, -2);
  run(*e, 49, 7.0f, 0.0f);
  EXPECT_EQ(e->animationRequest, 100007);

  // Code 48 takes the muzzle offsets as a point of the field.
  e->muzzleX = 50;
  e->muzzleY = 60;
  run(*e, 48, 203.0f, 1.5f);
  ASSERT_EQ(stage->effects.size(), 1u);
  EXPECT_EQ(stage->effects[0].x, 50);
  EXPECT_EQ(stage->effects[0].y, 60);
  EXPECT_EQ(stage->effects[0].kind, 3);
  EXPECT_EQ(stage->effects[0].blendMode, 2);
  EXPECT_DOUBLE_EQ(stage->effects[0].scale, 1.5);
}

TEST_F(EnemyTest, ClearingCodeRemovesEveryEnemyAndBullet) {
  Object_Enemy* e = enemy(100, 100, 10, 8);
  enemy(150, 100, 10, 8);
  enemyBullet(10, 10);
  run(*e, 161, 0.0f, 0.0f);
  EXPECT_EQ(enemiesInPlay(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  EXPECT_EQ(gGame.score, 0);
}

TEST_F(EnemyTest, OffScreenLeavesAndLinkedPartsAskTheirOwner) {
  Object_Enemy* e = enemy(100, 100, 10, 8);
  Object_Enemy* part = enemy(600, 100, 10, 8);  // far outside on its own
  part->owner = e;
  part->linked = 1;
  EXPECT_FALSE(part->isOffScreen());
  e->setPosition(-101.0f, 100.0f);
  EXPECT_TRUE(part->isOffScreen());
  e->setPosition(484.0f, 548.0f);
  EXPECT_FALSE(e->isOffScreen());
  e->update();  // moves nowhere, stays at the edge
  EXPECT_EQ(e->dead, 0);
  e->vy = 1.0f;
  e->update();
  EXPECT_EQ(e->dead, 1);
}

TEST_F(EnemyTest, RadiusZeroIsNeitherHitNorTouching) {
  Object_Enemy* ghost = enemy(192.0f, 400.0f, 10, 0);
  playerShot(192.0f, 400.0f, 10);
  field().framePass();
  EXPECT_EQ(ghost->hitPoints, 10);
  EXPECT_EQ(player().state, PLAYER_NORMAL);
  EXPECT_EQ(field().playerShots.activeCount(), 1);
}

TEST_F(EnemyTest, OwnerLinksThatLoopBackEndInsteadOfRecursingForEver) {
  // Reused pool slots can tie two parts to each other.
  Object_Enemy* a = enemy(100, 100, 1000, 8);
  Object_Enemy* b = enemy(120, 100, 1000, 8);
  a->owner = b;
  b->owner = a;
  a->parent = b;
  b->parent = a;
  a->linked = b->linked = 1;
  a->shell = b->shell = 1;
  Object_Bullet* shot = playerShot(0, 0, 10);
  a->takeHit(*shot, 1.0f);
  EXPECT_EQ(a->hitPoints, 1000);
  EXPECT_FALSE(a->isOffScreen());
  EXPECT_FALSE(a->isBossPart());
  a->update();
  EXPECT_EQ(a->dead, 0);
}

TEST_F(EnemyTest, PartsOfTheBossAreBossParts) {
  Object_Enemy* e = enemy(100, 100, 10, 8);
  EXPECT_FALSE(e->isBossPart());
  e->parent = &field().boss;
  EXPECT_TRUE(e->isBossPart());
  Object_Enemy* sub = enemy(100, 100, 10, 8);
  sub->parent = e;
  EXPECT_TRUE(sub->isBossPart());
}

}  // namespace
