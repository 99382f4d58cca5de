// A bullet frame by frame: the spawn delay, parents, homing on an enemy and
// on the ship, trails, leaving the field, laser re-grazing and the bullet's
// own action codes.
#include <gtest/gtest.h>

#include <cmath>

#include "test_fire_support.h"

namespace {

using BulletUpdate = FireTest;

// A round enemy bullet waiting `delay` frames, still, at (bx, by).
Object_Bullet* Delayed(FireTest& t, Object_Bullet* b, int32_t delay) {
  (void)t;
  b->noDelay = 0;
  b->active = 0;
  b->delay = delay;
  return b;
}

TEST_F(BulletUpdate, WaitsOutItsDelayStillThenMovesOnTheFrameItStarts) {
  Object_Bullet* b = Delayed(*this, enemyBullet(100.0f, 100.0f), 3);
  b->speed = 2.0f;
  b->angle = 0.0f;
  b->velocityFromAngle();
  b->addAction(14, 0, 1, 1.5708f, 0.0f);  // turns down at its first motion step
  for (int f = 0; f < 3; ++f) {
    b->update();
    EXPECT_EQ(b->active, 0);
    EXPECT_FLOAT_EQ(b->x, 100.0f);
    EXPECT_EQ(b->clock, 0) << "the clock stands still while waiting";
  }
  EXPECT_EQ(b->delay, 0);
  b->update();
  EXPECT_EQ(b->active, 1);
  EXPECT_EQ(b->clock, 1);
  EXPECT_NEAR(b->y, 102.0f, 1e-3f);
  EXPECT_NEAR(b->x, 100.0f, 1e-3f);
}

TEST_F(BulletUpdate, NoDelayBulletIgnoresAStaleDelay) {
  Object_Bullet* b = enemyBullet(100.0f, 100.0f);
  b->noDelay = 1;
  b->active = 0;  // even inactive: without a delay phase it just moves
  b->delay = 50;
  b->vx = 1.0f;
  b->update();
  EXPECT_FLOAT_EQ(b->x, 101.0f);
  EXPECT_EQ(b->delay, 50);
}

TEST_F(BulletUpdate, InSpawnDelayNeitherHitsNorIsReleasedEvenWhenDead) {
  Object_Bullet* b = Delayed(*this, enemyBullet(192.0f, 420.0f), 2);  // on the ship
  b->dead = 1;  // e.g. cleared by a hit of its own parent meanwhile
  const int32_t id = b->id;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_NORMAL);
  EXPECT_EQ(field().enemyBullets.activeCount(), 1) << "dead but inactive: not released yet";
  EXPECT_EQ(b->id, id);
  b->dead = 0;
  field().framePass();
  EXPECT_EQ(player().state, PLAYER_NORMAL) << "still waiting on its second frame";
  field().framePass();  // the delay has run out: now it hits
  EXPECT_NE(player().state, PLAYER_NORMAL);
  EXPECT_EQ(field().enemyBullets.activeCount(), 0) << "a round bullet is spent on the ship";
}

TEST_F(BulletUpdate, DiesWithItsParentButNeverForLeavingTheField) {
  Object_Enemy* e = shooter(-300.0f, -300.0f);
  Object_Bullet* b = enemyBullet(0.0f, 0.0f);
  b->parent = e;
  b->setPosition(5.0f, 0.0f);
  b->update();
  EXPECT_EQ(b->dead, 0) << "far outside, but attached";
  EXPECT_FLOAT_EQ(b->x, -295.0f);
  e->dead = 1;
  b->update();
  EXPECT_EQ(b->dead, 1);
}

TEST_F(BulletUpdate, LeavesTheFieldByTheLargerOfRadiusAnd35) {
  struct Case {
    float x, y;
    int32_t radius;
    bool gone;
  };
  const Case cases[] = {
      {-35.0f, 200.0f, 3, false},  {-35.01f, 200.0f, 3, true},  {419.0f, 200.0f, 3, false},
      {419.01f, 200.0f, 3, true},  {200.0f, -35.0f, 3, false},  {200.0f, -35.01f, 3, true},
      {200.0f, 483.0f, 3, false},  {200.0f, 483.01f, 3, true},  {-50.0f, 200.0f, 50, false},
      {-50.01f, 200.0f, 50, true}, {200.0f, 498.0f, 50, false}, {200.0f, 498.5f, 50, true},
  };
  for (const Case& c : cases) {
    Object_Bullet* b = enemyBullet(c.x, c.y);
    b->radius = c.radius;
    b->update();
    EXPECT_EQ(b->dead, c.gone ? 1 : 0) << c.x << "," << c.y << " r" << c.radius;
  }
}

TEST_F(BulletUpdate, LaserLeavesByItsOriginOnly) {
  Object_Bullet* reaching = enemyLaser(190.0f, 200.0f, 0.0f, 4, 1000);  // beam far outside
  Object_Bullet* rootOut = enemyLaser(-40.0f, 200.0f, 0.0f, 4, 1000);   // beam crosses the field
  reaching->update();
  rootOut->update();
  EXPECT_EQ(reaching->dead, 0);
  EXPECT_EQ(rootOut->dead, 1);
}

TEST_F(BulletUpdate, HomingShotSteersAtTenPerFrameUntilTheTargetIsGone) {
  Object_Enemy* target = shooter(100.0f, 300.0f);
  Object_Bullet* s = playerShot(100.0f, 100.0f, 1);
  s->homesOnTarget = 1;
  s->target = target;
  s->addAction(1, 0, -1, 0.0f, 0.0f);  // actions never run while homing
  s->update();
  EXPECT_NEAR(s->vx, 0.0f, 1e-4f);
  EXPECT_NEAR(s->vy, 10.0f, 1e-4f);
  EXPECT_NEAR(s->y, 110.0f, 1e-4f);
  EXPECT_EQ(s->clock, 1);
  EXPECT_EQ(s->dead, 0);
  EXPECT_FLOAT_EQ(s->baseY, 100.0f) << "the base position is not used";

  target->setPosition(300.0f, 110.0f);  // now straight to the right
  s->update();
  EXPECT_NEAR(s->vx, 10.0f, 1e-4f);
  EXPECT_NEAR(s->x, 110.0f, 1e-4f);

  target->dead = 1;
  s->update();
  EXPECT_EQ(s->target, nullptr);
  EXPECT_NEAR(s->vx, 10.0f, 1e-4f) << "keeps its last velocity";
  EXPECT_NEAR(s->x, 120.0f, 1e-4f);
}

TEST_F(BulletUpdate, HomingShotLetsGoOfCloseOrHarmlessTargets) {
  Object_Enemy* close = shooter(105.0f, 105.0f);  // squared distance 50
  Object_Bullet* s = playerShot(100.0f, 100.0f, 1);
  s->homesOnTarget = 1;
  s->target = close;
  s->vx = 1.0f;
  s->update();
  EXPECT_EQ(s->target, nullptr);
  EXPECT_FLOAT_EQ(s->x, 101.0f);

  Object_Enemy* harmless = shooter(300.0f, 100.0f);
  harmless->radius = 0;
  s->target = harmless;
  s->update();
  EXPECT_EQ(s->target, nullptr);
}

// An enemy bullet at (100, 100) heading along `heading`, homing and trailing.
Object_Bullet* Homing(FireTest& t, Object_Bullet* b, float heading) {
  (void)t;
  b->speed = 2.0f;
  b->angle = heading;
  b->velocityFromAngle();
  b->homesOnPlayer = 1;
  b->trail = 1;
  return b;
}

TEST_F(BulletUpdate, HomingBulletTurnsAtMostTheLimitPerFrame) {
  // The ship 0.5 rad to the right of the heading: within reach, full turn.
  placePlayer(100.0f + 200.0f * std::cos(0.5f), 100.0f + 200.0f * std::sin(0.5f));
  Object_Bullet* b = Homing(*this, enemyBullet(100.0f, 100.0f), 0.0f);
  b->update();
  EXPECT_EQ(b->homesOnPlayer, 1);
  EXPECT_FLOAT_EQ(b->angle, 0.035016667f);
  EXPECT_NEAR(b->vy, 2.0f * std::sin(0.035016667f), 1e-6f);

  // A small difference is taken whole.
  Object_Bullet* c = Homing(*this, enemyBullet(100.0f, 100.0f), 0.49f);
  c->update();
  EXPECT_NEAR(c->angle, 0.5f, 1e-4f);
}

TEST_F(BulletUpdate, HomingGivesUpForGoodPastTheLimit) {
  placePlayer(100.0f + 200.0f * std::cos(0.53f), 100.0f + 200.0f * std::sin(0.53f));
  Object_Bullet* b = Homing(*this, enemyBullet(100.0f, 100.0f), 0.0f);
  b->update();
  EXPECT_EQ(b->homesOnPlayer, 0);
  EXPECT_FLOAT_EQ(b->angle, 0.0f);
  // Straight ahead later: it does not start again.
  placePlayer(300.0f, b->y);
  b->update();
  EXPECT_FLOAT_EQ(b->angle, 0.0f);

  // Just inside the limit it keeps homing.
  placePlayer(100.0f + 200.0f * std::cos(0.52f), 100.0f + 200.0f * std::sin(0.52f));
  Object_Bullet* c = Homing(*this, enemyBullet(100.0f, 100.0f), 0.0f);
  c->update();
  EXPECT_EQ(c->homesOnPlayer, 1);
}

TEST_F(BulletUpdate, HomingDifferenceIsNotWrappedSoAShipAcrossTheSeamEndsIt) {
  // Heading 3.0 rad, the ship at -3.0 rad: 0.28 rad apart on screen, but
  // the raw difference is -6.0.
  placePlayer(100.0f + 100.0f * std::cos(-3.0f), 100.0f + 100.0f * std::sin(-3.0f));
  Object_Bullet* b = Homing(*this, enemyBullet(100.0f, 100.0f), 3.0f);
  b->update();
  EXPECT_EQ(b->homesOnPlayer, 0);
}

TEST_F(BulletUpdate, TrailPuffsEveryThirdFrameOfItsClock) {
  Object_Bullet* b = enemyBullet(100.5f, 200.7f);
  b->trail = 1;
  b->vx = 1.0f;
  b->update();  // clock 0: a puff at the position before moving
  ASSERT_EQ(stage->effects.size(), 1u);
  const EffectCall& puff = stage->effects[0];
  EXPECT_EQ(puff.x, 100);
  EXPECT_EQ(puff.y, 200);
  EXPECT_EQ(puff.kind, 1);
  EXPECT_EQ(puff.blendMode, BLEND_ADD);
  EXPECT_EQ(puff.blendParam, 180);
  EXPECT_DOUBLE_EQ(puff.scale, 0.3);
  b->update();
  b->update();
  EXPECT_EQ(stage->effects.size(), 1u);
  b->update();  // clock 3
  EXPECT_EQ(stage->effects.size(), 2u);
  EXPECT_EQ(stage->effects[1].x, 103);
}

TEST_F(BulletUpdate, GrazedLaserIsGrazeableAgainEverySixFrames) {
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 4, 50);
  laser->grazed = 1;
  laser->regrazeTimer = 6;
  for (int f = 0; f < 5; ++f) laser->update();
  EXPECT_EQ(laser->grazed, 1);
  laser->update();
  EXPECT_EQ(laser->grazed, 0);
  EXPECT_EQ(laser->regrazeTimer, 6);

  Object_Bullet* round = enemyBullet(100.0f, 100.0f);
  round->grazed = 1;
  for (int f = 0; f < 12; ++f) round->update();
  EXPECT_EQ(round->grazed, 1) << "a round bullet grazes once";
}

TEST_F(BulletUpdate, VanishCodeFlashesOnlyWhenAsked) {
  Object_Bullet* quiet = enemyBullet(50.0f, 60.0f);
  Action silent(0, 1, 1, 0.0f, 0.0f);
  quiet->doAction(silent);
  EXPECT_EQ(quiet->dead, 1);
  EXPECT_TRUE(stage->effects.empty());

  Object_Bullet* loud = enemyBullet(50.9f, 60.2f);
  Action flash(0, 1, 1, 1.0f, 0.0f);
  loud->doAction(flash);
  EXPECT_EQ(loud->dead, 1);
  ASSERT_EQ(stage->effects.size(), 1u);
  EXPECT_EQ(stage->effects[0].x, 50);
  EXPECT_EQ(stage->effects[0].kind, 3);
  EXPECT_EQ(stage->effects[0].blendMode, BLEND_NONE);
  EXPECT_EQ(stage->effects[0].blendParam, 255);
  EXPECT_DOUBLE_EQ(stage->effects[0].scale, 1.0);
}

TEST_F(BulletUpdate, LengthAndWidthCodes) {
  Object_Bullet* laser = enemyLaser(100.0f, 100.0f, 0.0f, 3, 40);
  Action set(0, 1, 30, 120.7f, 0.0f);
  Action grow(0, 1, 31, -20.9f, 0.0f);
  laser->doAction(set);
  EXPECT_EQ(laser->length, 120);
  laser->doAction(grow);
  EXPECT_EQ(laser->length, 100);

  // A laser narrows to a thin line and stays there, unless allowed thinner.
  Action narrow(0, 1, 33, -2.0f, 0.0f);
  laser->doAction(narrow);
  EXPECT_EQ(laser->radius, 1);
  laser->doAction(narrow);
  EXPECT_EQ(laser->radius, 1);
  laser->thinAllowed = 1;
  laser->doAction(narrow);
  EXPECT_EQ(laser->radius, -1);

  Object_Bullet* round = enemyBullet(100.0f, 100.0f);
  round->radius = 3;
  round->doAction(narrow);
  round->doAction(narrow);
  EXPECT_EQ(round->radius, -1);

  // Widening is never clamped; code 0 starts a waiting bullet.
  Action widen(0, 1, 33, 2.9f, 0.0f);
  laser->doAction(widen);
  EXPECT_EQ(laser->radius, 1);
  round->active = 0;
  Action start(0, 1, 0, 0.0f, 0.0f);
  round->doAction(start);
  EXPECT_EQ(round->active, 1);
}

TEST_F(BulletUpdate, PerSpawnResetKeepsWhatTheSlotsNextUserMustSet) {
  Object_Bullet* b = enemyBullet(10.0f, 10.0f, 3);
  EXPECT_EQ(b->radius, 18);
  b->laser = b->ring = b->trail = b->grazed = b->homesOnPlayer = 1;
  b->length = 77;
  b->regrazeTimer = 2;
  const int32_t index = field().enemyBullets.indexOf(b);
  field().enemyBullets.release(index);
  Object_Bullet* again = Object_Bullet::Spawn(field().enemyBullets, 9);
  ASSERT_EQ(again, b) << "last released, first reused";
  EXPECT_EQ(again->radius, 5);
  EXPECT_EQ(again->laser + again->ring + again->trail + again->grazed + again->homesOnPlayer, 0);
  EXPECT_EQ(again->length, 77);
  EXPECT_EQ(again->regrazeTimer, 2);
  const int8_t types[] = {0, 1, 2, 3, 4, 5, 6, 9, 12, -3};
  const int32_t radii[] = {0, 2, 3, 18, 5, 2, 2, 5, 3, 3};
  for (size_t i = 0; i < std::size(types); ++i) EXPECT_EQ(DefaultBulletRadius(types[i]), radii[i]);
}

}  // namespace
