// Enemy lasers: how each kind grows, opens, narrows, moves and ends, frame by
// frame, and the bullets the laser bursts leave along their beams.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "test_fire_support.h"

namespace {

using LaserPatterns = FireTest;
using LaserBursts = FireTest;

// The enemy's laser settings in one go.
void Laser(FireTest& t, Object_Enemy& e, int32_t length, int32_t width, float speed, float aim) {
  (void)t;
  e.laserLength = length;
  e.laserWidth = width;
  e.shotSpeed = speed;
  e.aimAngle = aim;
}

TEST_F(LaserPatterns, GrowingLaserGrowsAtItsSpeedThenFlies) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 100, 3, 4.0f, 0.0f);
  e->shotType = 7;
  run(*e, 130);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_EQ(b.laser, 1);
  EXPECT_EQ(b.active, 1) << "no spawn delay for lasers";
  EXPECT_EQ(b.bulletType, 7);
  EXPECT_EQ(b.radius, 3);
  EXPECT_EQ(b.length, 0);
  for (int f = 1; f <= 25; ++f) {
    b.update();
    EXPECT_EQ(b.length, 4 * f);
    EXPECT_FLOAT_EQ(b.x, 100.0f) << "the root stays while it grows";
  }
  b.update();
  EXPECT_EQ(b.length, 100);
  EXPECT_FLOAT_EQ(b.x, 104.0f);
  EXPECT_FLOAT_EQ(b.speed, 4.0f);
}

TEST_F(LaserPatterns, GrowthTimeTruncatesSoTheBeamMayFallShort) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 100, 3, 3.0f, 0.0f);  // 33 frames of 3
  run(*e, 130);
  Object_Bullet& b = *bullets()[0];
  for (int f = 0; f < 40; ++f) b.update();
  EXPECT_EQ(b.length, 99);
}

TEST_F(LaserPatterns, LaserAtSpeedZeroStaysWithoutGrowing) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 100, 3, 0.0f, 0.0f);
  run(*e, 130);
  Object_Bullet& b = *bullets()[0];
  for (int f = 0; f < 10; ++f) b.update();
  EXPECT_EQ(b.length, 0);
  EXPECT_FLOAT_EQ(b.x, 100.0f);
  EXPECT_EQ(b.dead, 0);
}

TEST_F(LaserPatterns, AttachedGrowingLaserFollowsTheEnemyUntilFullGrown) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 40, 3, 4.0f, 1.5708f);  // 10 frames of growth
  run(*e, 122, 0.0f, 10.0f);
  run(*e, 123, 1.0f);
  run(*e, 130);
  Object_Bullet& b = *bullets()[0];
  EXPECT_EQ(b.parent, e);
  for (int f = 1; f <= 10; ++f) {
    e->setPosition(100.0f + 5.0f * static_cast<float>(f), 100.0f);
    b.update();
    EXPECT_EQ(b.parent, e) << f;
    EXPECT_FLOAT_EQ(b.x, e->x);
    EXPECT_FLOAT_EQ(b.y, 110.0f);
  }
  EXPECT_EQ(b.length, 40);
  b.update();  // clock 10: lets go and flies down from where the enemy was
  EXPECT_EQ(b.parent, nullptr);
  EXPECT_NEAR(b.x, 150.0f, 1e-3f);
  EXPECT_NEAR(b.y, 114.0f, 1e-3f);
  e->setPosition(0.0f, 0.0f);
  b.update();
  EXPECT_NEAR(b.x, 150.0f, 1e-3f);
}

TEST_F(LaserPatterns, LaserFanSpreadsAroundTheAimPlusTheOffset) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 60, 2, 3.0f, 1.0f);
  e->spread = 0.2f;
  e->angleOffset = 0.05f;
  run(*e, 131, 3.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 3u);
  const float directions[] = {0.85f, 1.05f, 1.25f};
  for (size_t j = 0; j < 3; ++j) {
    EXPECT_NEAR(shots[j]->angle, directions[j], 1e-6f);
    EXPECT_EQ(shots[j]->laser, 1);
  }
}

TEST_F(LaserPatterns, AttachedBeamHangsOnTheEnemyAndDiesWithIt) {
  Object_Enemy* e = shooter(50.0f, 60.0f);
  Laser(*this, *e, 200, 6, 3.0f, 0.7f);
  e->shotType = 4;
  run(*e, 122, 10.0f, -5.0f);
  run(*e, 145);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_EQ(b.bulletType, 0) << "no image: neither grazed nor cancelled";
  EXPECT_EQ(b.laser, 1);
  EXPECT_EQ(b.length, 200);
  EXPECT_EQ(b.radius, 6);
  EXPECT_FLOAT_EQ(b.angle, 0.7f);
  EXPECT_EQ(b.parent, e);
  EXPECT_TRUE(b.actions.empty());
  b.update();
  EXPECT_FLOAT_EQ(b.x, 60.0f);
  EXPECT_FLOAT_EQ(b.y, 55.0f);
  e->setPosition(-500.0f, 60.0f);  // far outside: still there, attached
  b.update();
  EXPECT_FLOAT_EQ(b.x, -490.0f);
  EXPECT_EQ(b.dead, 0);
  e->dead = 1;
  b.update();
  EXPECT_EQ(b.dead, 1);
}

TEST_F(LaserPatterns, WarningLaserDrawsOutOpensAndCloses) {
  Object_Enemy* e = shooter(192.0f, 50.0f);
  Laser(*this, *e, 400, 8, 3.0f, 1.5708f);
  run(*e, 200, 2.0f, 100.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_EQ(b.uncancelable, 1);
  EXPECT_EQ(b.active, 1);
  EXPECT_EQ(b.radius, 0);
  std::vector<int32_t> lengths;
  std::vector<int32_t> radii;
  for (int f = 0; f < 104; ++f) {
    b.update();
    lengths.push_back(b.length);
    radii.push_back(b.radius);
  }
  EXPECT_EQ(lengths[48], 392);
  EXPECT_EQ(lengths[49], 400) << "400 pixels in 50 frames";
  EXPECT_EQ(lengths[103], 400);
  EXPECT_EQ(radii[59], 0) << "a thin warning line until frame 60";
  EXPECT_EQ(radii[60], 2);
  EXPECT_EQ(radii[63], 8);
  EXPECT_EQ(radii[99], 8);
  EXPECT_EQ(radii[100], 4);
  EXPECT_EQ(radii[101], 1) << "closes to a thin line, not below";
  EXPECT_EQ(b.dead, 1) << "gone at frame 103";
  EXPECT_FLOAT_EQ(b.x, 192.0f) << "it never moves";
}

TEST_F(LaserPatterns, AttachedWarningLaserNeverLetsGo) {
  Object_Enemy* e = shooter(192.0f, 50.0f);
  Laser(*this, *e, 80, 4, 3.0f, 1.5708f);
  e->attachShots = 1;
  run(*e, 200, 1.0f, 300.0f);
  Object_Bullet& b = *bullets()[0];
  for (int f = 0; f < 200; ++f) {
    e->setPosition(192.0f + static_cast<float>(f % 50), 50.0f);
    b.update();
  }
  EXPECT_EQ(b.parent, e);
  EXPECT_FLOAT_EQ(b.x, e->x);
}

TEST_F(LaserPatterns, ShortBurstRetreatsTowardItsHeadAndEnds) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 36, 4, 9.0f, 0.0f);
  e->shotType = 5;
  e->attachShots = 1;  // bursts are never attached
  run(*e, 210, 10.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_EQ(b.parent, nullptr);
  EXPECT_EQ(b.bulletType, 5);
  EXPECT_EQ(b.radius, 4);
  EXPECT_EQ(b.uncancelable, 1);
  for (int f = 0; f < 3; ++f) b.update();
  EXPECT_EQ(b.length, 36) << "out in three frames";
  for (int f = 3; f < 10; ++f) b.update();
  EXPECT_FLOAT_EQ(b.x, 100.0f);
  for (int f = 10; f < 16; ++f) {
    b.update();
    EXPECT_NEAR(b.x + static_cast<float>(b.length), 136.0f, 1e-3f) << "the head stays";
  }
  EXPECT_EQ(b.length, 0);
  b.update();  // frame 16
  EXPECT_EQ(b.dead, 0);
  b.update();  // frame 17 = 10 + 36 / 6 + 1
  EXPECT_EQ(b.dead, 1);
}

TEST_F(LaserPatterns, SweepingBarLiesAcrossTheAimAndNarrowsAway) {
  Object_Enemy* e = shooter(200.0f, 100.0f);
  Laser(*this, *e, 80, 12, 2.0f, 1.5708f);
  run(*e, 214, 20.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_NEAR(b.x, 160.0f, 1e-3f);
  EXPECT_NEAR(b.y, 100.0f, 1e-3f);
  EXPECT_FLOAT_EQ(b.angle, 0.0f);
  EXPECT_EQ(b.length, 80);
  EXPECT_EQ(b.uncancelable, 1);
  EXPECT_NEAR(b.vy, 2.0f, 1e-4f);
  for (int f = 0; f < 20; ++f) b.update();
  EXPECT_EQ(b.radius, 12);
  EXPECT_NEAR(b.y, 140.0f, 1e-2f);
  for (int f = 20; f < 26; ++f) b.update();
  EXPECT_EQ(b.radius, 1);
  EXPECT_EQ(b.dead, 0);
  b.update();
  EXPECT_EQ(b.dead, 1);

  // Without a narrowing time it simply flies on.
  run(*e, 214, 0.0f);
  EXPECT_TRUE(bullets().back()->actions.empty());
}

TEST_F(LaserBursts, RingsAlongTheBeamComeOutAsItRetreats) {
  Object_Enemy* e = shooter(50.0f, 100.0f);
  Laser(*this, *e, 120, 4, 3.0f, 0.0f);
  e->shotType = 3;
  run(*e, 211, 30.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u + 4u * 16u);
  EXPECT_EQ(shots[0]->laser, 1);
  EXPECT_EQ(shots[0]->bulletType, 3);
  EXPECT_EQ(e->shotType, 3) << "the shot type comes back";
  EXPECT_EQ(e->muzzleX, 0) << "and so does the muzzle";
  // Points 35 pixels apart from the muzzle; each waits until the root passes.
  const float pointX[] = {85.0f, 120.0f, 155.0f, 190.0f};
  const int32_t delays[] = {30, 31, 33, 35};
  for (size_t p = 0; p < 4; ++p) {
    for (size_t j = 0; j < 16; ++j) {
      const Object_Bullet& b = *shots[1 + p * 16 + j];
      EXPECT_EQ(b.bulletType, 12);
      EXPECT_FLOAT_EQ(b.x, pointX[p]);
      EXPECT_FLOAT_EQ(b.y, 100.0f);
      EXPECT_EQ(b.delay, delays[p]);
      EXPECT_NEAR(b.angle, 3.1415f - 7.5f * 0.314f + static_cast<float>(j) * 0.314f, 1e-5f);
      EXPECT_FLOAT_EQ(b.speed, 5.0f);
      ASSERT_EQ(b.actions.size(), 1u);
      EXPECT_EQ(b.actions[0].Code(), 1);
      EXPECT_EQ(b.actions[0].time, 15) << "gone 15 frames after it starts";
    }
  }
}

TEST_F(LaserBursts, FanBurstSkipsPointsOffTheScreen) {
  // Points at 600, 640 (on the edge: outside) and 680.
  Object_Enemy* e = shooter(560.0f, 100.0f);
  Laser(*this, *e, 120, 4, 3.0f, 0.0f);
  run(*e, 212, 30.0f);
  auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u + 8u);
  EXPECT_FLOAT_EQ(shots[8]->x, 600.0f);
  EXPECT_NEAR(shots[1]->angle, 3.1415f - 3.5f * 0.314f, 1e-5f);
  EXPECT_TRUE(shots[1]->actions.empty()) << "no lifetime";

  // Two steps in: 630 is inside, 670 not.
  field().enemyBullets.releaseAll();
  e->setPosition(550.0f, 100.0f);
  run(*e, 212, 30.0f);
  shots = bullets();
  ASSERT_EQ(shots.size(), 1u + 2u * 8u);
  EXPECT_FLOAT_EQ(shots[9]->x, 630.0f);
  EXPECT_EQ(shots[9]->delay, 30 + 40 / 20);
}

TEST_F(LaserBursts, ForwardSprayHasNoScreenTest) {
  Object_Enemy* e = shooter(560.0f, 100.0f);
  Laser(*this, *e, 120, 4, 3.0f, 0.0f);
  run(*e, 213, 30.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u + 3u * 8u) << "points at 0, 40 and 80 of 120";
  for (size_t j = 0; j < 8; ++j) {
    EXPECT_NEAR(shots[1 + j]->angle, 6.283f - 1.099f + static_cast<float>(j) * 0.314f, 1e-5f);
    EXPECT_FLOAT_EQ(shots[1 + j]->x, 600.0f);
    EXPECT_EQ(shots[1 + j]->delay, 30);
    EXPECT_EQ(shots[17 + j]->delay, 30 + 80 / 20);
  }
}

TEST_F(LaserBursts, ShortBeamBurstFiresItsOnlyPointWithTheRetreat) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  Laser(*this, *e, 5, 4, 3.0f, 0.0f);  // too short to be split in sixths
  run(*e, 213, 12.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u + 8u);
  EXPECT_EQ(shots[1]->delay, 12);
}

TEST_F(LaserBursts, FullPoolStopsTheBulletsButRestoresTheSettings) {
  Object_Enemy* e = shooter(50.0f, 100.0f);
  Laser(*this, *e, 120, 4, 3.0f, 0.0f);
  e->muzzleX = 3;
  e->shotType = 2;
  fillPool(6);
  run(*e, 211, 30.0f);
  EXPECT_EQ(field().enemyBullets.freeCount(), 0);
  EXPECT_EQ(e->shotType, 2);
  EXPECT_EQ(e->muzzleX, 3);
  EXPECT_EQ(e->muzzleY, 0);
}

}  // namespace
