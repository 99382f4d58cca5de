// The ship's life: hits, the counter-bomb window, death, re-entry from the
// bottom, invulnerability, and the bookkeeping of bombs and lives.
#include <gtest/gtest.h>

#include "test_player_fixture.h"

namespace {

class PlayerStates : public PlayerTest {
 protected:
  // An enemy bullet right on the ship: the next frame pass hits it.
  void shootShip() { enemyBullet(player().x + 1.0f, player().y, 2); }
};

// Hit by a bullet, then Bomb pressed on the given frame after the hit.
struct CounterBombCase {
  int pressFrame;
  bool survives;
};

class CounterBombWindow : public PlayerStates,
                          public ::testing::WithParamInterface<CounterBombCase> {};

TEST_P(CounterBombWindow, BombAnswersTheHitOnlyWithinSevenFrames) {
  const CounterBombCase c = GetParam();
  player().lives = 2;
  player().bombs = 2;
  shootShip();
  frame();
  ASSERT_EQ(player().state, PLAYER_COUNTER_BOMB);
  EXPECT_TRUE(Requested(8));
  frames(c.pressFrame - 1);
  ASSERT_EQ(player().state, PLAYER_COUNTER_BOMB);
  tap(BUTTON_BOMB);
  if (c.survives) {
    EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
    EXPECT_EQ(player().bombing, 1);
    EXPECT_EQ(player().bombs, 1);
    EXPECT_EQ(player().lives, 2);
    EXPECT_EQ(player().controllable, 1);
    EXPECT_EQ(gGame.bombsUsed, 1);
    EXPECT_EQ(gGame.misses, 0);
  } else {
    EXPECT_EQ(player().state, PLAYER_EXPLODED);
    EXPECT_EQ(player().bombing, 0);
    EXPECT_EQ(player().bombs, 2) << "a death refills the bombs";
    EXPECT_EQ(player().lives, 1);
    EXPECT_EQ(gGame.bombsUsed, 0);
    EXPECT_EQ(gGame.misses, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Frames, CounterBombWindow,
                         ::testing::Values(CounterBombCase{1, true}, CounterBombCase{7, true},
                                           CounterBombCase{8, false}));

TEST_F(PlayerStates, TheFieldStandsStillDuringTheWindow) {
  Object_Bullet* mover = enemyBullet(50.0f, 50.0f, 2);
  mover->vy = 1.0f;
  shootShip();
  frame();
  const float y = mover->y;
  const int32_t steps = stage->scriptSteps;
  frames(5);
  EXPECT_EQ(mover->y, y);
  EXPECT_EQ(stage->scriptSteps, steps);
  EXPECT_EQ(player().stateCounter, 5);
}

TEST_F(PlayerStates, HitWithoutBombsDiesAtOnceAndDeathCostsPowerAndALife) {
  player().bombs = 0;
  player().lives = 1;
  player().power = 115;
  player().switchOptions();
  placePlayer(100.0f, 200.0f);
  player().hit();
  EXPECT_EQ(player().state, PLAYER_EXPLODED);
  EXPECT_EQ(player().lives, 0);
  EXPECT_EQ(player().bombs, 2);
  EXPECT_EQ(player().power, 95);
  EXPECT_EQ(player().controllable, 0);
  EXPECT_EQ(gGame.misses, 1);
  EXPECT_TRUE(Requested(8));
  // Power 95: the laser options switch off, the homing pair stays.
  EXPECT_EQ(option(1).dead, 0);
  EXPECT_EQ(option(2).dead, 0);
  EXPECT_EQ(option(3).dead, 1);
  EXPECT_EQ(option(4).dead, 1);
  ASSERT_EQ(stage->effects.size(), 1u);
  EXPECT_EQ(stage->effects[0].kind, 2);
  EXPECT_EQ(stage->effects[0].blendMode, BLEND_ADD);
  EXPECT_EQ(stage->effects[0].scale, 2.5);
  EXPECT_EQ(stage->effects[0].frameStep, 2);
  EXPECT_EQ(stage->effects[0].x, 100);
  EXPECT_EQ(stage->effects[0].y, 200);

  player().bombs = 0;
  player().hit();  // a second death with no lives left takes lives below 0
  EXPECT_EQ(player().lives, -1);
  EXPECT_EQ(player().power, 75);
}

TEST_F(PlayerStates, PowerNeverDropsBelowZero) {
  player().power = 12;
  player().die();
  EXPECT_EQ(player().power, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(option(i + 1).dead, 1) << i;
}

TEST_F(PlayerStates, WreckLeavesABulletClearingDisc) {
  placePlayer(100.0f, 200.0f);
  Object_Bullet* near = enemyBullet(100.0f, 260.0f, 1);  // 60 pixels below the wreck
  Object_Bullet* far = enemyBullet(100.0f, 40.0f, 1);    // 160 pixels above
  player().die();
  const std::vector<Object_Bullet*> discs = shotsOfType(0);
  ASSERT_EQ(discs.size(), 1u);
  Object_Bullet* disc = discs[0];
  EXPECT_EQ(disc->parent, nullptr);
  EXPECT_EQ(disc->cancelsBullets, 1);
  EXPECT_EQ(disc->damage, 0);
  EXPECT_EQ(disc->alpha, 0);
  frames(10);
  EXPECT_EQ(disc->radius, 100);
  EXPECT_EQ(near->dead, 1);
  EXPECT_EQ(far->dead, 0);
  frames(30);
  EXPECT_TRUE(shotInPlay(disc));
  EXPECT_EQ(disc->radius, 400) << "grows for 40 frames";
  frame();
  EXPECT_FALSE(shotInPlay(disc)) << "gone after 40 frames of growth";
  EXPECT_EQ(far->dead, 1);
  EXPECT_EQ(gGame.bulletsCancelled, 2);
}

TEST_F(PlayerStates, ReentersFromTheBottomThenStaysInvulnerable) {
  placePlayer(100.0f, 200.0f);
  player().chargeGauge = 0;
  player().die();
  hold(BUTTON_SHOT);
  holdKey(KEY_LEFT);
  frames(59);
  EXPECT_EQ(player().state, PLAYER_EXPLODED);
  EXPECT_EQ(player().x, 100.0f) << "the wreck does not move";
  EXPECT_EQ(player().chargeGauge, 59 * 80);
  EXPECT_TRUE(shotsOfType(9).empty()) << "no shooting while exploded";

  frame();  // 60th: back at the bottom edge, already rising
  EXPECT_EQ(player().state, PLAYER_REENTERING);
  EXPECT_EQ(player().x, 192.0f);
  EXPECT_EQ(player().y, 446.0f);
  frames(33);
  EXPECT_EQ(player().y, 380.0f);
  frame();
  EXPECT_EQ(player().y, 380.0f) << "the rise stops 68 pixels up";
  EXPECT_EQ(player().x, 192.0f) << "no steering while re-entering";
  EXPECT_EQ(player().state, PLAYER_REENTERING);
  EXPECT_TRUE(shotsOfType(9).empty());

  frame();  // 35 frames of re-entry: control comes back
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  EXPECT_EQ(player().controllable, 1);
  EXPECT_EQ(player().x, 187.0f);
  EXPECT_EQ(shotsOfType(9).size(), 2u);

  releaseAll();
  // A bullet on the ship while invulnerable is only grazed.
  Object_Bullet* grazed = enemyBullet(player().x, player().y, 2);
  frame();
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  EXPECT_EQ(gGame.grazes, 1);
  grazed->dead = 1;
  frames(238);
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  frame();  // 240 frames after re-entry ended
  EXPECT_EQ(player().state, PLAYER_NORMAL);
  shootShip();
  frame();
  EXPECT_EQ(player().state, PLAYER_COUNTER_BOMB);
}

class PlayerBombs : public PlayerTest {};

TEST_F(PlayerBombs, BombSpendsOneAndFillsTheSkyWithRingsAndDiscs) {
  SeedRandom(777);
  int expected[18];
  for (int& e : expected) e = RandomUpTo(62832);
  SeedRandom(777);
  player().bombs = 3;
  tap(BUTTON_BOMB);
  EXPECT_EQ(player().bombs, 2);
  EXPECT_EQ(player().bombing, 1);
  EXPECT_EQ(player().state, PLAYER_INVULNERABLE);
  EXPECT_EQ(gGame.bombsUsed, 1);
  EXPECT_TRUE(Requested(12));

  const std::vector<Object_Bullet*> rings = shotsOfType(10);
  const std::vector<Object_Bullet*> discs = shotsOfType(0);
  ASSERT_EQ(rings.size(), 18u);
  ASSERT_EQ(discs.size(), 19u);  // 18 damaging discs and the clearing one
  for (int i = 0; i < 18; ++i) {
    EXPECT_FLOAT_EQ(rings[i]->angle, static_cast<float>(expected[i]) / 10000.0f) << i;
    EXPECT_EQ(rings[i]->parent, &player());
    EXPECT_EQ(rings[i]->damage, 100);
    EXPECT_EQ(rings[i]->ringWidth, 40);
    EXPECT_EQ(discs[i]->damage, 14);
    EXPECT_EQ(discs[i]->uncancelable, 1);
    // Wave i starts 8 * i frames after the bomb; the bomb frame is wave 0's first.
    EXPECT_EQ(rings[i]->active, i == 0 ? 1 : 0) << i;
    EXPECT_EQ(discs[i]->active, i == 0 ? 1 : 0) << i;
  }
  EXPECT_EQ(discs[18]->active, 1);
  EXPECT_EQ(discs[18]->cancelsBullets, 1);
  EXPECT_EQ(discs[18]->damage, 0);

  frames(8);
  EXPECT_EQ(rings[1]->active, 1);
  EXPECT_EQ(rings[2]->active, 0);
  EXPECT_EQ(rings[0]->radius, 90);
  EXPECT_EQ(discs[0]->alpha, 200);
  // The rings and discs ride with the ship.
  EXPECT_EQ(rings[0]->x, player().x);
  EXPECT_EQ(rings[0]->y, player().y);
}

TEST_F(PlayerBombs, OneBombAtATimeAndNoneWithoutStock) {
  player().bombs = 2;
  tap(BUTTON_BOMB);
  tap(BUTTON_BOMB);  // still bombing
  EXPECT_EQ(player().bombs, 1);
  frames(238);
  EXPECT_EQ(player().bombing, 1);
  frame();
  EXPECT_EQ(player().bombing, 0) << "the bomb ends with the invulnerability, 240 frames on";
  EXPECT_EQ(player().state, PLAYER_NORMAL);
  tap(BUTTON_BOMB);
  EXPECT_EQ(player().bombs, 0);
  EXPECT_EQ(gGame.bombsUsed, 2);
  frames(240);
  clearSounds();
  tap(BUTTON_BOMB);
  EXPECT_EQ(player().bombs, 0);
  EXPECT_EQ(player().bombing, 0);
  EXPECT_EQ(gGame.bombsUsed, 2);
  EXPECT_FALSE(Requested(12));
  EXPECT_TRUE(shotsOfType(10).empty()) << "the last bomb's rings are long gone, no new ones";
  EXPECT_TRUE(shotsOfType(0).empty());
}

TEST_F(PlayerBombs, NoBombDuringAConversation) {
  stage->talking = true;
  tap(BUTTON_BOMB);
  EXPECT_EQ(player().bombs, 2);
  EXPECT_EQ(player().bombing, 0);
}

TEST_F(PlayerBombs, FullShotPoolDropsBombShotsAndTheirRandomDraws) {
  // Leave room for five shots: ring, disc, ring, disc, ring.
  while (field().playerShots.freeCount() > 5) playerShot(-500.0f, 0.0f, 1)->parent = &player();
  SeedRandom(99);
  for (int i = 0; i < 3; ++i) RandomUpTo(62832);
  const int next = RandomUpTo(62832);
  SeedRandom(99);
  player().bomb();
  EXPECT_EQ(field().playerShots.freeCount(), 0);
  EXPECT_EQ(shotsOfType(10).size(), 3u);
  EXPECT_EQ(RandomUpTo(62832), next) << "one draw per ring actually made";
  EXPECT_EQ(player().bombs, 1);
  EXPECT_EQ(gGame.bombsUsed, 1);
}

TEST_F(PlayerBombs, BombClearsBulletsAroundTheShip) {
  Object_Bullet* b = enemyBullet(player().x + 60.0f, player().y, 1);
  player().bomb();
  frames(6);
  EXPECT_EQ(b->dead, 1);
  EXPECT_EQ(gGame.bulletsCancelled, 1);
}

}  // namespace
