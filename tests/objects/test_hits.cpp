// The geometric tests at their boundaries.
#include <gtest/gtest.h>

#include "FieldFixture.h"
#include "objects/HitTest.h"

namespace {

class HitTests : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(150.0f, 100.0f);  // hit radius 4, graze radius 20
  }
  // Whether exactly `n` random numbers were drawn since SeedRandom(seed).
  static bool DrewSince(int seed, int n) {
    const int next = RandomUpTo(1000000);
    SeedRandom(seed);
    for (int k = 0; k < n; ++k) RandomUpTo(5);
    return RandomUpTo(1000000) == next;
  }
};

TEST_F(HitTests, RoundBulletBoundariesAreStrict) {
  Object_Bullet* b = enemyBullet(0.0f, 0.0f, 2);  // radius 3: hit within 7, graze within 23
  ASSERT_EQ(b->radius, 3);
  const struct {
    float dx, dy;
    HitResult expected;
  } cases[] = {
      {6.9f, 0.0f, HIT_HIT},    {7.0f, 0.0f, HIT_GRAZE},  // exactly h + r away grazes
      {0.0f, -7.0f, HIT_GRAZE}, {22.9f, 0.0f, HIT_GRAZE},
      {23.0f, 0.0f, HIT_MISS},  {17.0f, 17.0f, HIT_MISS},  // in the box, out of the circle
      {0.0f, 23.5f, HIT_MISS},
  };
  for (const auto& c : cases) {
    b->setPosition(150.0f + c.dx, 100.0f + c.dy);
    EXPECT_EQ(TestBulletPlayer(*b, player()), c.expected) << c.dx << "," << c.dy;
  }
}

TEST_F(HitTests, GrazedBulletCanOnlyHit) {
  Object_Bullet* b = enemyBullet(160.0f, 100.0f, 2);
  EXPECT_EQ(TestBulletPlayer(*b, player()), HIT_GRAZE);
  b->grazed = 1;
  EXPECT_EQ(TestBulletPlayer(*b, player()), HIT_MISS);
  b->setPosition(156.0f, 100.0f);
  EXPECT_EQ(TestBulletPlayer(*b, player()), HIT_HIT);
}

TEST_F(HitTests, LaserAcrossItsWidth) {
  // Along +x from (100, 100): radius 5, length 200; the ship sits 50 along it.
  Object_Bullet* b = enemyLaser(100.0f, 100.0f, 0.0f, 5, 200);
  const struct {
    float perp;
    HitResult expected;
  } cases[] = {{9.0f, HIT_HIT}, {9.5f, HIT_GRAZE}, {25.0f, HIT_GRAZE}, {25.5f, HIT_MISS}};
  for (const auto& c : cases) {
    placePlayer(150.0f, 100.0f + c.perp);
    EXPECT_EQ(TestBulletPlayer(*b, player()), c.expected) << c.perp;
  }
  b->radius = 0;  // a warning line never touches
  placePlayer(150.0f, 100.0f);
  EXPECT_EQ(TestBulletPlayer(*b, player()), HIT_MISS);
}

TEST_F(HitTests, LaserEndsOnlyGraze) {
  // Margin m = 0.05 * 200 + 0.05 * 5 = 10.25.
  Object_Bullet* b = enemyLaser(100.0f, 100.0f, 0.0f, 5, 200);
  const struct {
    float along;
    HitResult expected;
  } cases[] = {{190.0f, HIT_HIT}, {195.0f, HIT_GRAZE}, {219.0f, HIT_GRAZE}, {221.0f, HIT_MISS},
               {7.0f, HIT_HIT},   {6.0f, HIT_GRAZE},   {-19.0f, HIT_GRAZE}, {-20.0f, HIT_MISS}};
  for (const auto& c : cases) {
    placePlayer(100.0f + c.along, 100.0f);
    EXPECT_EQ(TestBulletPlayer(*b, player()), c.expected) << c.along;
  }
}

TEST_F(HitTests, CircleShapesAreStrictAndNeedARadius) {
  Object_Bullet* shot = playerShot(0.0f, 0.0f, 10);  // radius 5
  Object_Enemy* e = enemy(100.0f, 100.0f, 10, 10);
  shot->setPosition(85.0f, 100.0f);
  EXPECT_FALSE(TestShape(*shot, *e));  // exactly touching
  shot->setPosition(85.5f, 100.0f);
  EXPECT_TRUE(TestShape(*shot, *e));
  e->radius = 0;
  EXPECT_FALSE(TestShape(*shot, *e));
}

TEST_F(HitTests, LaserShapeHitDrawsOneRandomNumber) {
  Object_Bullet* beam = playerShot(100.0f, 300.0f, 10, 7);
  beam->laser = 1;
  beam->angle = -1.5708f;
  beam->radius = 6;
  beam->length = 300;
  Object_Enemy* e = enemy(100.0f, 150.0f, 10, 10);
  SeedRandom(5);
  EXPECT_TRUE(TestShape(*beam, *e));
  EXPECT_TRUE(DrewSince(5, 1));
  e->setPosition(130.0f, 150.0f);  // beside the beam: no spark, no draw
  SeedRandom(5);
  EXPECT_FALSE(TestShape(*beam, *e));
  EXPECT_TRUE(DrewSince(5, 0));
}

TEST_F(HitTests, RingHitsInItsBand) {
  Object_Bullet* ring = playerShot(100.0f, 100.0f, 10, 10);
  ring->ring = 1;
  ring->radius = 50;
  ring->ringWidth = 40;
  Object_Enemy* e = enemy(0.0f, 0.0f, 10, 5);
  const struct {
    float dx, dy;
    bool hit;
  } cases[] = {{0.0f, 0.0f, false}, {5.0f, 0.0f, false},  {6.0f, 0.0f, true},
               {55.0f, 0.0f, true}, {56.0f, 0.0f, false}, {45.0f, 45.0f, true}};
  for (const auto& c : cases) {
    e->setPosition(100.0f + c.dx, 100.0f + c.dy);
    EXPECT_EQ(TestShape(*ring, *e), c.hit) << c.dx << "," << c.dy;
  }
}

TEST_F(HitTests, BodyTouchIsStrictAndTracksTheNearestEnemy) {
  Object_Enemy* far = enemy(150.0f, 150.0f, 10, 10);
  Object_Enemy* near = enemy(164.0f, 100.0f, 10, 10);  // exactly 14 = 10 + 4 away
  Object_Enemy* ghost = enemy(151.0f, 100.0f, 10, 0);
  field().nearestDistance = 1000;
  EXPECT_FALSE(TestEnemyBody(field(), *far, player()));
  EXPECT_EQ(field().nearestEnemy, far);
  EXPECT_FALSE(TestEnemyBody(field(), *near, player()));
  EXPECT_EQ(field().nearestEnemy, near);
  EXPECT_EQ(field().nearestDistance, 14);
  EXPECT_FALSE(TestEnemyBody(field(), *ghost, player()));  // no radius: never touches or homed on
  EXPECT_EQ(field().nearestEnemy, near);
  near->setPosition(163.9f, 100.0f);
  EXPECT_TRUE(TestEnemyBody(field(), *near, player()));
}

TEST_F(HitTests, DiscCutsALaserWhereItEnters) {
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 200);
  Object_Bullet* disc = playerShot(150.0f, 100.0f, 0, 0);
  disc->radius = 20;
  disc->length = 0;
  SeedRandom(9);
  EXPECT_FALSE(TestCancel(*laser, *disc));
  EXPECT_EQ(laser->length, 30);
  EXPECT_TRUE(DrewSince(9, 1));
}

TEST_F(HitTests, DiscAtTheRootMovesTheRootOrRemovesTheLaser) {
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 200);
  Object_Bullet* disc = playerShot(110.0f, 100.0f, 0, 0);
  disc->radius = 20;
  disc->length = 0;
  EXPECT_FALSE(TestCancel(*laser, *disc));
  EXPECT_EQ(laser->length, 170);
  EXPECT_EQ(laser->baseX, 130.0f);

  Object_Bullet* shortLaser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 30);
  EXPECT_TRUE(TestCancel(*shortLaser, *disc));  // nothing left beyond the disc
}

TEST_F(HitTests, DiscUsesItsOwnLengthForTheMargin) {
  // A disc slot keeps a length from its previous user; 500 gives a margin of
  // 26, so a laser whose root is 5 pixels into the disc is left alone.
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 200);
  Object_Bullet* disc = playerShot(105.0f, 100.0f, 0, 0);
  disc->radius = 20;
  disc->length = 500;
  EXPECT_FALSE(TestCancel(*laser, *disc));
  EXPECT_EQ(laser->length, 200);
}

class LaserCut : public HitTests {
 protected:
  Object_Bullet* beam = nullptr;
  void SetUp() override {
    HitTests::SetUp();
    beam = playerShot(200.0f, 400.0f, 160, 7);  // straight up, half width 20
    beam->laser = 1;
    beam->angle = -1.5708f;
    beam->radius = 20;
    beam->length = 650;
  }
};

TEST_F(LaserCut, CrossingLaserLosesItsFarPart) {
  Object_Bullet* laser = enemyLaser(0.0f, 100.0f, 0.0f, 3, 400);
  EXPECT_FALSE(TestCancel(*laser, *beam));
  EXPECT_NEAR(laser->length, 180, 1);  // the crossing at 200 less the beam's half width
  EXPECT_EQ(laser->x, 0.0f);
}

TEST_F(LaserCut, SlantedLaserIsCutByTheWiderStretch) {
  // At 45 degrees the beam's half width spans 20 / sin 45 along the laser.
  Object_Bullet* laser = enemyLaser(0.0f, 0.0f, 0.7853982f, 3, 400);
  EXPECT_FALSE(TestCancel(*laser, *beam));
  EXPECT_NEAR(laser->length, 200.0f * 1.41421356f - 20.0f * 1.41421356f, 1.0f);
}

TEST_F(LaserCut, RootInsideTheBeamMovesPastIt) {
  Object_Bullet* laser = enemyLaser(205.0f, 100.0f, 0.0f, 3, 400);
  EXPECT_FALSE(TestCancel(*laser, *beam));
  EXPECT_NEAR(laser->baseX, 220.0f, 0.01f);
  EXPECT_NEAR(laser->length, 385, 1);
  Object_Bullet* stub = enemyLaser(205.0f, 100.0f, 0.0f, 3, 16);
  EXPECT_TRUE(TestCancel(*stub, *beam));
}

TEST_F(LaserCut, LaserPointingAwayOrBeyondTheBeamIsUntouched) {
  Object_Bullet* away = enemyLaser(100.0f, 100.0f, 3.14159f, 3, 400);
  EXPECT_FALSE(TestCancel(*away, *beam));
  EXPECT_EQ(away->length, 400);
  Object_Bullet* above = enemyLaser(0.0f, -300.0f, 0.0f, 3, 400);  // past the beam's tip
  EXPECT_FALSE(TestCancel(*above, *beam));
  EXPECT_EQ(above->length, 400);
  Object_Bullet* tooShort = enemyLaser(0.0f, 100.0f, 0.0f, 3, 150);
  EXPECT_FALSE(TestCancel(*tooShort, *beam));
  EXPECT_EQ(tooShort->length, 150);
}

TEST_F(LaserCut, ClosedBeamCutsNothing) {
  beam->radius = 0;
  Object_Bullet* laser = enemyLaser(0.0f, 100.0f, 0.0f, 3, 400);
  EXPECT_FALSE(TestCancel(*laser, *beam));
  EXPECT_EQ(laser->length, 400);
}

}  // namespace
