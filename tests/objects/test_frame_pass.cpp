// The field's frame pass: order of the steps, bullets against the ship with
// grazing, shots against enemies, cancelling, items, and the conversation
// variant without collisions.
#include <gtest/gtest.h>

#include "FieldFixture.h"

namespace {

class FramePass : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(150.0f, 300.0f);
  }
  bool bulletInPlay(const Object_Bullet* b) {
    return field().enemyBullets.inPlay(field().enemyBullets.indexOf(b));
  }
  bool shotInPlay(const Object_Bullet* s) {
    return field().playerShots.inPlay(field().playerShots.indexOf(s));
  }
};

TEST_F(FramePass, BulletWaitingOutItsDelayIsNeitherHitNorReleased) {
  Object_Bullet* b = enemyBullet(150.0f, 300.0f, 2);
  b->noDelay = 0;
  b->active = 0;
  b->delay = 4;
  b->vy = 1.0f;
  for (int frame = 1; frame <= 3; ++frame) {
    field().framePass();
    EXPECT_EQ(player().state, PLAYER_NORMAL) << frame;
    EXPECT_EQ(b->active, 0) << frame;  // what its sprite reads to stay hidden
    EXPECT_EQ(b->y, 300.0f) << frame;
    EXPECT_TRUE(bulletInPlay(b)) << frame;
  }
  EXPECT_EQ(gGame.grazes, 0);
  b->dead = 1;  // even a finished bullet stays while it waits
  field().framePass();
  EXPECT_TRUE(bulletInPlay(b));
  EXPECT_EQ(b->delay, 0);
  b->dead = 0;
  field().framePass();  // starts, moves one pixel, touches the ship
  EXPECT_EQ(player().state, PLAYER_COUNTER_BOMB);
  EXPECT_FALSE(bulletInPlay(b));
}

TEST_F(FramePass, HitWithBombsOpensTheCounterBombWindow) {
  Object_Bullet* b = enemyBullet(152.0f, 300.0f, 2);
  const int32_t id = b->id;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_COUNTER_BOMB);
  EXPECT_EQ(player().stateCounter, 0);
  EXPECT_EQ(player().controllable, 0);
  EXPECT_TRUE(Requested(8));
  EXPECT_EQ(b->dead, 1);
  EXPECT_FALSE(bulletInPlay(b));
  EXPECT_EQ(stage->spritesLetGo, std::vector<int32_t>{id});
  EXPECT_EQ(gGame.grazes, 0);  // a hit is not also a graze
}

TEST_F(FramePass, HitWithoutBombsKillsAtOnce) {
  player().bombs = 0;
  enemyBullet(150.0f, 303.0f, 2);
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_EXPLODED);
  EXPECT_EQ(player().lives, 1);
  EXPECT_EQ(gGame.misses, 1);
}

TEST_F(FramePass, LaserHurtsAndStays) {
  Object_Bullet* laser = enemyLaser(0.0f, 300.0f, 0.0f, 5, 384);
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_COUNTER_BOMB);
  EXPECT_TRUE(bulletInPlay(laser));
  EXPECT_TRUE(stage->spritesLetGo.empty());
}

TEST_F(FramePass, InvulnerableShipGrazesWhatWouldHit) {
  player().state = PLAYER_INVULNERABLE;
  Object_Bullet* laser = enemyLaser(0.0f, 300.0f, 0.0f, 5, 384);
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  EXPECT_EQ(laser->grazed, 1);
  EXPECT_EQ(gGame.grazes, 1);
  EXPECT_EQ(gGame.score, 100);
}

TEST_F(FramePass, ExplodedShipCannotGraze) {
  player().state = PLAYER_EXPLODED;
  enemyBullet(160.0f, 300.0f, 2);
  field().framePass();
  EXPECT_EQ(gGame.grazes, 0);
}

TEST_F(FramePass, GrazeScoresOncePerBullet) {
  gGame.hiScore = 50;
  Object_Bullet* b = enemyBullet(162.0f, 300.0f, 2);
  field().framePass();
  EXPECT_EQ(gGame.score, 100);
  EXPECT_EQ(gGame.hiScore, 100);  // follows the score once passed
  EXPECT_EQ(gGame.grazes, 1);
  EXPECT_EQ(b->grazed, 1);
  EXPECT_TRUE(Requested(5));
  ASSERT_EQ(stage->effects.size(), 1u);
  EXPECT_EQ(stage->effects[0].kind, 3);
  EXPECT_EQ(stage->effects[0].x, 150);
  // Lasers come back every six frames; a plain bullet staying in the zone never does.
  for (int frame = 0; frame < 30; ++frame) field().framePass();
  EXPECT_EQ(gGame.grazes, 1);
  EXPECT_EQ(gGame.score, 100);
}

TEST_F(FramePass, PlainDiscsCannotBeGrazed) {
  Object_Bullet* disc = enemyBullet(160.0f, 300.0f, 0);
  disc->radius = 3;
  field().framePass();
  EXPECT_EQ(gGame.grazes, 0);
}

TEST_F(FramePass, LaserGrazeComesBackEverySixFrames) {
  enemyLaser(0.0f, 310.0f, 0.0f, 3, 384);  // 10 pixels from the ship: graze zone
  std::vector<int> grazeFrames;
  for (int frame = 1; frame <= 18; ++frame) {
    const int32_t before = gGame.grazes;
    field().framePass();
    if (gGame.grazes != before) grazeFrames.push_back(frame);
  }
  EXPECT_EQ(grazeFrames, (std::vector<int>{1, 7, 13}));
  EXPECT_EQ(player().state, PLAYER_NORMAL);
}

TEST_F(FramePass, ShotThatDestroysAnEnemyEndsItsWalk) {
  Object_Enemy* e = enemy(100.0f, 100.0f, 100, 10);
  Object_Bullet* first = playerShot(100.0f, 100.0f, 100);
  Object_Bullet* second = playerShot(100.0f, 102.0f, 100);
  field().framePass();
  EXPECT_EQ(e->dead, 1);
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_FALSE(shotInPlay(first));
  EXPECT_TRUE(shotInPlay(second));
  EXPECT_EQ(gGame.enemiesDestroyed, 1);
  EXPECT_EQ(gGame.score, 10 + 500);
  EXPECT_TRUE(Requested(22));
  EXPECT_TRUE(Requested(13));
}

TEST_F(FramePass, LastingShotStaysAndScoresEightPerFrame) {
  Object_Enemy* e = enemy(100.0f, 100.0f, 1000, 10);
  Object_Bullet* beam = playerShot(100.0f, 250.0f, 40, 7);
  beam->laser = 1;
  beam->angle = -1.5708f;
  beam->radius = 6;
  beam->length = 300;
  field().framePass();
  field().framePass();
  EXPECT_EQ(e->hitPoints, 920);
  EXPECT_TRUE(shotInPlay(beam));
  EXPECT_EQ(gGame.score, 16);
  EXPECT_TRUE(Requested(25));
}

TEST_F(FramePass, EnemyBodyHurtsOnlyANormalShip) {
  enemy(150.0f, 290.0f, 100, 10);
  player().state = PLAYER_INVULNERABLE;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  player().state = PLAYER_NORMAL;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_COUNTER_BOMB);
}

TEST_F(FramePass, CancellingShotRemovesOnlyCancellableActiveBullets) {
  Object_Bullet* disc = playerShot(60.0f, 60.0f, 0, 0);
  disc->radius = 30;
  disc->cancelsBullets = 1;
  disc->uncancelable = 1;
  Object_Bullet* plain = enemyBullet(60.0f, 60.0f, 2);
  Object_Bullet* hard = enemyBullet(62.0f, 60.0f, 2);
  hard->uncancelable = 1;
  Object_Bullet* typeless = enemyBullet(64.0f, 60.0f, 0);
  typeless->radius = 3;
  Object_Bullet* waiting = enemyBullet(60.0f, 62.0f, 2);
  waiting->noDelay = 0;
  waiting->active = 0;
  waiting->delay = 10;
  field().framePass();
  EXPECT_FALSE(bulletInPlay(plain));
  EXPECT_TRUE(bulletInPlay(hard));
  EXPECT_TRUE(bulletInPlay(typeless));
  EXPECT_TRUE(bulletInPlay(waiting));
  EXPECT_EQ(gGame.bulletsCancelled, 1);
  EXPECT_TRUE(shotInPlay(disc));
  ASSERT_FALSE(stage->effects.empty());
  EXPECT_EQ(stage->effects[0].kind, 3);
  EXPECT_EQ(stage->effects[0].x, 60);
}

TEST_F(FramePass, LaserCutToNothingByADiscCountsAsCancelled) {
  Object_Bullet* disc = playerShot(110.0f, 100.0f, 0, 0);
  disc->radius = 20;
  disc->length = 0;
  disc->cancelsBullets = 1;
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 30);
  field().framePass();
  EXPECT_FALSE(bulletInPlay(laser));
  EXPECT_EQ(gGame.bulletsCancelled, 1);
}

TEST_F(FramePass, StepsRunInTheirOrder) {
  // One frame with a graze, a cancel, a shot destroying an enemy at the ship
  // and the enemy's power item collected: their effects come out in the
  // order of the pass.
  int32_t counterDuringScript = -1;
  stage->script = [&](Stage_Field& f) {
    counterDuringScript = f.player.stateCounter;
    stage->effects.push_back({0, 0, 99, 0, 0, 1.0, 0});
  };
  player().power = 19;
  enemyBullet(162.0f, 300.0f, 2);  // grazes
  Object_Bullet* disc = playerShot(60.0f, 60.0f, 0, 0);
  disc->radius = 30;
  disc->cancelsBullets = 1;
  disc->uncancelable = 1;
  enemyBullet(60.0f, 60.0f, 2);  // cancelled
  Object_Enemy* e = enemy(150.0f, 300.0f, 10, 10);
  e->drops[0] = 1;
  playerShot(150.0f, 300.0f, 10);
  player().state = PLAYER_INVULNERABLE;  // the enemy's body must not end the test early
  field().framePass();
  EXPECT_EQ(counterDuringScript, 0);  // the script ran before the ship's update
  EXPECT_EQ(player().stateCounter, 1);
  std::vector<int32_t> kinds;
  for (const auto& fx : stage->effects) kinds.push_back(fx.kind);
  // The enemy explodes as the shot hits it, before the shot's own spark.
  EXPECT_EQ(kinds, (std::vector<int32_t>{99, 3, 3, 1, 3, 3, 4}));
  EXPECT_EQ(stage->effects[2].x, 60);           // the cancel flash
  EXPECT_EQ(stage->effects[4].blendParam, 30);  // the hit spark
  EXPECT_EQ(player().power, 20);
  EXPECT_EQ(gGame.itemsCollected, 1);
  EXPECT_EQ(gGame.score, 100 + 10 + 500 + 10);
}

TEST_F(FramePass, NearestEnemyIsLookedForAfreshEveryFrame) {
  Object_Enemy* e = enemy(150.0f, 200.0f, 100, 10);
  field().nearestDistance = 5;
  field().framePass();
  EXPECT_EQ(field().nearestEnemy, e);
  EXPECT_EQ(field().nearestDistance, 100);
}

TEST_F(FramePass, ConversationFramesHaveNoCollisions) {
  stage->talking = true;
  enemyBullet(150.0f, 300.0f, 2);  // right on the ship
  Object_Bullet* spent = enemyBullet(20.0f, 20.0f, 2);
  spent->dead = 1;
  Object_Enemy* target = enemy(100.0f, 100.0f, 10, 10);
  Object_Bullet* shot = playerShot(100.0f, 100.0f, 100);
  Object_Enemy* leaving = enemy(100.0f, 549.0f, 10, 10);
  Object_Bullet* disc = playerShot(300.0f, 60.0f, 0, 0);
  disc->radius = 30;
  disc->cancelsBullets = 1;
  enemyBullet(300.0f, 60.0f, 2);
  Object_Item* item = SpawnItem(field(), 150.0f, 300.0f, ITEM_BOMB);
  item->velocityX = item->velocityY = item->pullX = item->pullY = 0.0f;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_NORMAL);
  EXPECT_EQ(gGame.grazes, 0);
  EXPECT_EQ(target->hitPoints, 10);
  EXPECT_TRUE(shotInPlay(shot));
  EXPECT_EQ(leaving->dead, 1);  // left the field: counted as destroyed
  EXPECT_EQ(gGame.enemiesDestroyed, 1);
  EXPECT_EQ(gGame.bulletsCancelled, 1);  // cancelling still works
  EXPECT_EQ(gGame.itemsCollected, 1);    // and items are still picked up
  EXPECT_EQ(player().bombs, 3);
  EXPECT_EQ(field().enemyBullets.activeCount(), 1);
}

TEST_F(FramePass, ItemsAreCollectedInABoxAroundTheShip) {
  for (float dx : {24.0f, 24.5f}) {
    Object_Item* item = field().items.acquire();
    item->kind = ITEM_POINT;
    item->parent = &player();
    item->setPosition(150.0f + dx, 300.0f - dx);
  }
  field().framePass();
  EXPECT_EQ(gGame.itemsCollected, 1);
  EXPECT_EQ(field().items.activeCount(), 1);
  EXPECT_EQ(player().points, 1);
  EXPECT_EQ(gGame.score, 10000);
}

TEST_F(FramePass, ClearingTakesEnemiesAndBulletsWithoutScore) {
  enemy(100.0f, 100.0f, 10, 10);
  enemyBullet(10.0f, 10.0f, 2);
  field().clearEnemiesAndBullets();
  EXPECT_EQ(field().enemies.activeCount(), 0);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(gGame.enemiesDestroyed, 0);
}

TEST_F(FramePass, FullBulletPoolStopsAPattern) {
  while (enemyBullet(10.0f, 10.0f, 2)) {
  }
  ASSERT_EQ(field().enemyBullets.activeCount(), kEnemyBulletCapacity);
  Object_Enemy* e = enemy(100.0f, 100.0f, 10, 10);
  Action fire(0, 1, 110, 0.0f, 0.0f);
  const int32_t counter = gObjectCounter;
  e->doAction(fire);
  EXPECT_EQ(field().enemyBullets.activeCount(), kEnemyBulletCapacity);
  EXPECT_EQ(gObjectCounter, counter);
}

}  // namespace
