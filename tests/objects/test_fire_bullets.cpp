// Enemy firing settings and the round-bullet patterns: which bullets come
// out, in what order, where they point, when they start, and exactly which
// random numbers they use.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/Engine.h"
#include "test_fire_support.h"

namespace {

using FiringSettings = FireTest;
using BulletPatterns = FireTest;
using FiringRandom = FireTest;

TEST_F(FiringSettings, CodesSetTheEnemysFiringFields) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 1.25f);
  run(*e, 101, 0.5f);
  EXPECT_FLOAT_EQ(e->aimAngle, 1.75f);
  e->angle = -0.75f;
  run(*e, 103);
  EXPECT_FLOAT_EQ(e->aimAngle, -0.75f);
  run(*e, 104, 3.5f);
  run(*e, 105, 4.9f);
  run(*e, 106, 0.2f);
  run(*e, 107, -0.1f);
  run(*e, 108, -2.7f);
  EXPECT_FLOAT_EQ(e->shotSpeed, 3.5f);
  EXPECT_EQ(e->delayStep, 4);
  EXPECT_FLOAT_EQ(e->spread, 0.2f);
  EXPECT_FLOAT_EQ(e->angleOffset, -0.1f);
  EXPECT_EQ(e->shotType, -2) << "counts truncate toward zero";
  run(*e, 120, 250.9f);
  run(*e, 121, 6.2f);
  run(*e, 122, -12.8f, 7.9f);
  run(*e, 123, 0.4f);
  EXPECT_EQ(e->laserLength, 250);
  EXPECT_EQ(e->laserWidth, 6);
  EXPECT_EQ(e->muzzleX, -12);
  EXPECT_EQ(e->muzzleY, 7);
  EXPECT_EQ(e->attachShots, 0) << "0.4 truncates to 0";
  run(*e, 123, -1.0f);
  EXPECT_EQ(e->attachShots, 1);
  EXPECT_TRUE(field().enemyBullets.activeCount() == 0) << "settings fire nothing";
}

TEST_F(FiringSettings, AimAtTheShipIsTakenFromTheMuzzle) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 122, 0.0f, 20.0f);
  placePlayer(200.0f, 120.0f);  // level with the muzzle, not with the enemy
  run(*e, 102);
  EXPECT_FLOAT_EQ(e->aimAngle, 0.0f);
}

TEST_F(FiringSettings, MuzzleRotatesAroundTheEnemyAndTurnsTheAim) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 122, 10.0f, 0.0f);
  run(*e, 128, 0.5f, 0.0f);  // keeps its distance of 10
  EXPECT_EQ(e->muzzleX, 8);
  EXPECT_EQ(e->muzzleY, 4);
  EXPECT_FLOAT_EQ(e->aimAngle, 0.5f);
  // The next turn starts from the truncated offsets (8, 4), at a new distance.
  run(*e, 128, 0.5f, 20.0f);
  EXPECT_EQ(e->muzzleX, 11);
  EXPECT_EQ(e->muzzleY, 16);
  EXPECT_FLOAT_EQ(e->aimAngle, 1.0f);
}

TEST_F(FiringSettings, OtherCodesAreLeftToTheEnemy) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  for (int code : {1, 5, 9, 109, 115, 124, 140, 150, 161, 205, 215}) {
    Action a(0, 1, code, 0.0f, 0.0f);
    EXPECT_FALSE(DoFiringAction(*e, a)) << code;
  }
  Action fire(0, 1, 110 + 256, 0.0f, 0.0f);  // only the low byte counts
  EXPECT_TRUE(DoFiringAction(*e, fire));
  EXPECT_EQ(field().enemyBullets.activeCount(), 1);
}

TEST_F(BulletPatterns, SingleBulletWaitsForNothing) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 122, 3.0f, 4.0f);
  run(*e, 100, 0.6f);
  run(*e, 104, 2.5f);
  run(*e, 108, 260.0f);  // low byte: type 4
  run(*e, 110);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  Object_Bullet& b = *shots[0];
  EXPECT_FLOAT_EQ(b.x, 103.0f);
  EXPECT_FLOAT_EQ(b.y, 104.0f);
  EXPECT_EQ(b.bulletType, 4);
  EXPECT_EQ(b.radius, 5);
  EXPECT_EQ(b.parent, nullptr);
  EXPECT_EQ(b.damage, 1);
  EXPECT_EQ(b.active, 0);
  EXPECT_EQ(b.noDelay, 0);
  EXPECT_EQ(b.delay, 0);
  EXPECT_FLOAT_EQ(b.angle, 0.6f);
  EXPECT_FLOAT_EQ(b.vx, std::cos(0.6f) * 2.5f);
  EXPECT_FLOAT_EQ(b.vy, std::sin(0.6f) * 2.5f);
  b.update();
  EXPECT_EQ(b.active, 1) << "a delay of 0 starts on the first update";
  EXPECT_FLOAT_EQ(b.x, 103.0f + b.vx);
}

TEST_F(BulletPatterns, LineLeavesTheMuzzleOfTheMomentOfFiring) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 1.5708f);
  run(*e, 104, 3.0f);
  run(*e, 105, 4.0f);
  run(*e, 107, 0.25f);
  run(*e, 111, 5.0f);
  // The enemy moves and turns while the bullets wait.
  e->setPosition(250.0f, 40.0f);
  run(*e, 100, 0.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 5u);
  for (size_t i = 0; i < shots.size(); ++i) {
    EXPECT_EQ(shots[i]->delay, static_cast<int32_t>(4 * i));
    EXPECT_FLOAT_EQ(shots[i]->angle, 1.5708f + 0.25f) << "stored angle carries the offset";
    EXPECT_FLOAT_EQ(shots[i]->vx, std::cos(1.5708f) * 3.0f) << "flight does not";
    EXPECT_FLOAT_EQ(shots[i]->vy, 3.0f * std::sin(1.5708f));
  }
  // Each starts from (100, 100), four frames after the one before it.
  for (int frame = 0; frame <= 16; ++frame) {
    stepBullets();
    for (size_t i = 0; i < shots.size(); ++i) {
      const int started = frame - 4 * static_cast<int>(i);
      if (started < 0) {
        EXPECT_EQ(shots[i]->active, 0);
        EXPECT_FLOAT_EQ(shots[i]->y, 100.0f);
      } else {
        EXPECT_NEAR(shots[i]->y, 100.0f + 3.0f * static_cast<float>(started + 1), 1e-3f);
        EXPECT_NEAR(shots[i]->x, 100.0f, 1e-3f);
      }
    }
  }
}

TEST_F(BulletPatterns, AttachedLineStartsWhereTheMuzzleIsWhenEachDelayEnds) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 122, 0.0f, 10.0f);
  run(*e, 123, 1.0f);
  run(*e, 105, 3.0f);
  run(*e, 111, 2.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 2u);
  EXPECT_EQ(shots[0]->parent, e);
  EXPECT_FLOAT_EQ(shots[0]->baseY, 10.0f);
  stepBullets();  // the first starts and lets go at once
  EXPECT_EQ(shots[0]->parent, nullptr);
  EXPECT_NEAR(shots[0]->y, 110.0f + shots[0]->vy, 1e-4f);
  e->setPosition(150.0f, 100.0f);
  stepBullets(3);  // the second starts on the third of these frames
  EXPECT_EQ(shots[1]->parent, nullptr);
  EXPECT_NEAR(shots[1]->x, 150.0f + shots[1]->vx, 1e-4f);
  EXPECT_NEAR(shots[1]->y, 110.0f + shots[1]->vy, 1e-4f);
}

TEST_F(BulletPatterns, FanLinesAreCentredOnTheAim) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 1.0f);
  run(*e, 106, 0.1f);
  run(*e, 105, 5.0f);
  run(*e, 112, 4.0f, 2.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 8u);
  const float directions[] = {0.85f, 0.95f, 1.05f, 1.15f};
  for (size_t j = 0; j < 4; ++j) {
    for (size_t i = 0; i < 2; ++i) {
      const Object_Bullet& b = *shots[j * 2 + i];
      EXPECT_NEAR(b.angle, directions[j], 1e-6f) << "line " << j;
      EXPECT_EQ(b.delay, static_cast<int32_t>(5 * i)) << "lines start together";
    }
  }
}

TEST_F(BulletPatterns, SweepingFanStartsOneBulletEveryStep) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 1.5708f);
  run(*e, 106, 0.2f);
  run(*e, 105, 2.0f);
  run(*e, 113, 3.0f, 4.0f);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 12u);
  // Fired line by line; line j's bullet i waits (j + 3 i) * 2.
  const int32_t delays[] = {0, 6, 12, 18, 2, 8, 14, 20, 4, 10, 16, 22};
  for (size_t n = 0; n < shots.size(); ++n) {
    EXPECT_EQ(shots[n]->delay, delays[n]) << n;
    EXPECT_NEAR(shots[n]->angle, 1.5708f - 0.2f + 0.2f * static_cast<float>(n / 4), 1e-6f);
  }
  // Watched frame by frame: one bullet starts at 0, 2, 4, 6, ... 22.
  std::vector<int> startFrames;
  std::vector<float> startAngles;
  for (int frame = 0; frame < 30; ++frame) {
    std::vector<uint8_t> before;
    for (Object_Bullet* b : shots) before.push_back(b->active);
    stepBullets();
    for (size_t n = 0; n < shots.size(); ++n) {
      if (!before[n] && shots[n]->active) {
        startFrames.push_back(frame);
        startAngles.push_back(shots[n]->angle);
      }
    }
  }
  EXPECT_EQ(startFrames, (std::vector<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}));
  // The sweep goes left, middle, right, again and again.
  for (size_t n = 3; n < startAngles.size(); ++n)
    EXPECT_FLOAT_EQ(startAngles[n], startAngles[n - 3]);
  EXPECT_LT(startAngles[0], startAngles[1]);
  EXPECT_LT(startAngles[1], startAngles[2]);
}

TEST_F(BulletPatterns, HomingBulletTrailsAndHomes) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 0.3f);
  run(*e, 104, 2.0f);
  run(*e, 135);
  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0]->homesOnPlayer, 1);
  EXPECT_EQ(shots[0]->trail, 1);
  EXPECT_EQ(shots[0]->active, 0);
  EXPECT_EQ(shots[0]->delay, 0);
  EXPECT_FLOAT_EQ(shots[0]->speed, 2.0f);
  EXPECT_FLOAT_EQ(shots[0]->angle, 0.3f);
}

TEST_F(BulletPatterns, FullPoolStopsThePatternAndKeepsWhatCameOut) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  fillPool(3);
  const int32_t before = field().enemyBullets.activeCount();
  run(*e, 112, 2.0f, 2.0f);
  EXPECT_EQ(field().enemyBullets.activeCount(), before + 3);
  EXPECT_EQ(field().enemyBullets.freeCount(), 0);
  run(*e, 110);
  run(*e, 135);
  EXPECT_EQ(field().enemyBullets.activeCount(), kEnemyBulletCapacity);
}

TEST_F(FiringRandom, SprayDrawsOneNumberPerBulletInFiringOrder) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 1.0f);
  run(*e, 104, 2.0f);
  run(*e, 105, 4.0f);
  run(*e, 106, 0.5f);  // w = 5000
  SeedRandom(2024);
  run(*e, 114, 3.0f, 2.0f);  // 2 streams of 3
  const int32_t afterFiring = RandomUpTo(1000000);

  SeedRandom(2024);
  std::vector<float> expected;
  for (int n = 0; n < 6; ++n) {
    const int32_t draw = RandomUpTo(5000);
    expected.push_back(1.0f + static_cast<float>(draw - 2500) / 10000.0f);
  }
  EXPECT_EQ(afterFiring, RandomUpTo(1000000)) << "exactly six numbers were drawn";

  const auto shots = bullets();
  ASSERT_EQ(shots.size(), 6u);
  const int32_t delays[] = {0, 4, 8, 0, 4, 8};
  for (size_t n = 0; n < 6; ++n) {
    EXPECT_FLOAT_EQ(shots[n]->angle, expected[n]) << n;
    EXPECT_FLOAT_EQ(shots[n]->vx, std::cos(expected[n]) * 2.0f);
    EXPECT_EQ(shots[n]->delay, delays[n]);
  }
}

TEST_F(FiringRandom, SprayWidthHalvesAsAnInteger) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 106, 0.00035f);  // w = 3, w / 2 = 1
  SeedRandom(99);
  run(*e, 114, 4.0f, 1.0f);
  SeedRandom(99);
  for (Object_Bullet* b : bullets()) {
    const int32_t draw = RandomUpTo(3);
    EXPECT_FLOAT_EQ(b->angle, static_cast<float>(draw - 1) / 10000.0f);
  }
}

TEST_F(FiringRandom, RandomAimAddsAnAngleBetweenTheBounds) {
  Object_Enemy* e = shooter(100.0f, 100.0f);
  run(*e, 100, 2.0f);
  SeedRandom(31337);
  run(*e, 127, -0.25f, 0.25f);
  run(*e, 127, 0.1f, 0.3f);
  run(*e, 127, 0.0f, 0.0f);
  const int32_t afterFiring = RandomUpTo(1000000);

  SeedRandom(31337);
  float aim = 2.0f;
  const int32_t first = RandomUpTo(static_cast<int32_t>((0.25f - -0.25f) * 10000.0f));
  aim += -0.25f + static_cast<float>(first) / 10000.0f;
  const int32_t second = RandomUpTo(static_cast<int32_t>((0.3f - 0.1f) * 10000.0f));
  aim += 0.1f + static_cast<float>(second) / 10000.0f;
  RandomUpTo(0);  // an empty range still draws
  EXPECT_FLOAT_EQ(e->aimAngle, aim);
  EXPECT_EQ(afterFiring, RandomUpTo(1000000));
}

TEST_F(FiringRandom, NoOtherFiringCodeDrawsARandomNumber) {
  Object_Enemy* e = shooter(192.0f, 100.0f);
  SeedRandom(4242);
  const int32_t reference = RandomUpTo(1000000);
  SeedRandom(4242);
  run(*e, 106, 0.3f);
  run(*e, 120, 120.0f);
  run(*e, 121, 4.0f);
  const int codes[] = {100, 101, 102, 103, 104, 105, 107, 108, 110, 111, 112, 113, 120, 121,
                       122, 123, 128, 130, 131, 135, 145, 200, 210, 211, 212, 213, 214};
  for (int code : codes) run(*e, code, 2.0f, 30.0f);
  for (int f = 0; f < 5; ++f) stepBullets();
  EXPECT_GT(field().enemyBullets.activeCount(), 50);
  EXPECT_EQ(RandomUpTo(1000000), reference);
}

}  // namespace
