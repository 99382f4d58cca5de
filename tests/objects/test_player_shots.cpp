// The ship's weapons: main volleys by power, their rhythm and spread, the
// options' homing shots and lasers, and options switching on with power.
#include <gtest/gtest.h>

#include "objects/Object_Item.h"
#include "test_player_fixture.h"

namespace {

struct VolleyCase {
  int32_t power;
  size_t shots;
  int32_t damage;
};

class Volley : public PlayerTest, public ::testing::WithParamInterface<VolleyCase> {};

TEST_P(Volley, PowerSetsTheNumberAndDamageOfShots) {
  const VolleyCase& c = GetParam();
  player().power = c.power;
  player().switchOptions();
  hold(BUTTON_SHOT);
  frame();
  const std::vector<Object_Bullet*> shots = shotsOfType(9);
  ASSERT_EQ(shots.size(), c.shots);
  for (const Object_Bullet* s : shots) {
    EXPECT_EQ(s->damage, c.damage);
    EXPECT_EQ(s->radius, 5);
    EXPECT_EQ(s->parent, nullptr);
  }
  EXPECT_TRUE(Requested(9));
}

INSTANTIATE_TEST_SUITE_P(Thresholds, Volley,
                         ::testing::Values(VolleyCase{0, 2, 100}, VolleyCase{19, 2, 100},
                                           VolleyCase{20, 4, 60}, VolleyCase{49, 4, 60},
                                           VolleyCase{50, 4, 50}, VolleyCase{99, 4, 50},
                                           VolleyCase{100, 4, 40}, VolleyCase{169, 4, 40},
                                           VolleyCase{170, 6, 35}, VolleyCase{249, 6, 35},
                                           VolleyCase{250, 8, 30}));

class PlayerShots : public PlayerTest {
 protected:
  // The full volley after its first frame of flight, relative to the ship.
  void checkFullVolley(const float (&vx)[8]) {
    const float dx[8] = {-6.0f, 6.0f, -12.0f, 12.0f, -18.0f, 18.0f, -24.0f, 24.0f};
    const float dy[8] = {-16.0f, -16.0f, -10.0f, -10.0f, -4.0f, -4.0f, 2.0f, 2.0f};
    const std::vector<Object_Bullet*> shots = shotsOfType(9);
    ASSERT_EQ(shots.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(shots[i]->vx, vx[i]) << i;
      EXPECT_EQ(shots[i]->vy, -12.0f) << i;
      EXPECT_EQ(shots[i]->x, player().x + dx[i] + vx[i]) << i;
      EXPECT_EQ(shots[i]->y, player().y + dy[i] - 12.0f) << i;
      EXPECT_EQ(shots[i]->alpha, 50) << i;
    }
  }
};

TEST_F(PlayerShots, FullVolleySpreadsOutward) {
  player().power = 250;
  placePlayer(192.0f, 300.0f);
  hold(BUTTON_SHOT);
  frame();
  checkFullVolley({0.0f, 0.0f, -1.0f, 1.0f, -2.0f, 2.0f, -3.0f, 3.0f});
}

TEST_F(PlayerShots, SlowFormationVolleyConverges) {
  player().power = 250;
  placePlayer(192.0f, 300.0f);
  hold(BUTTON_SHOT);
  hold(BUTTON_SLOW);
  frame();
  checkFullVolley({0.0f, 0.0f, 0.0f, 0.0f, 0.5f, -0.5f, 1.0f, -1.0f});
  // Back to the normal spread as soon as Slow is let go.
  release(BUTTON_SLOW);
  frames(4);
  frame();
  const std::vector<Object_Bullet*> shots = shotsOfType(9);
  ASSERT_EQ(shots.size(), 16u);
  EXPECT_EQ(shots[15]->vx, 3.0f);
}

TEST_F(PlayerShots, MainShotEveryFifthFrameOnAProgramWideTimer) {
  hold(BUTTON_SHOT);
  gMainShotTimer = 3;  // left over from an earlier stage
  frames(3);
  EXPECT_TRUE(shotsOfType(9).empty());
  frame();
  EXPECT_EQ(shotsOfType(9).size(), 2u);
  frames(4);
  EXPECT_EQ(shotsOfType(9).size(), 2u);
  frame();
  EXPECT_EQ(shotsOfType(9).size(), 4u);
  frames(10);
  EXPECT_EQ(shotsOfType(9).size(), 8u);
  // Letting go keeps the timer running down: the next press fires at once.
  release(BUTTON_SHOT);
  frames(10);
  hold(BUTTON_SHOT);
  const size_t before = shotsOfType(9).size();
  frame();
  EXPECT_EQ(shotsOfType(9).size(), before + 2);
}

TEST_F(PlayerShots, OptionsSwitchOnAtFiftyAndFire) {
  player().power = 49;
  player().switchOptions();
  EXPECT_EQ(option(1).dead, 1);
  EXPECT_EQ(option(2).dead, 1);
  hold(BUTTON_SHOT);
  frame();
  EXPECT_TRUE(shotsOfType(8).empty());
  CollectItem(ITEM_POWER, player());
  EXPECT_EQ(player().power, 50);
  EXPECT_EQ(option(1).dead, 0);
  EXPECT_EQ(option(2).dead, 0);
  EXPECT_EQ(option(3).dead, 1);
  const float ox = option(1).x;
  const float oy = option(1).y;
  frame();
  const std::vector<Object_Bullet*> homing = shotsOfType(8);
  ASSERT_EQ(homing.size(), 2u);
  EXPECT_EQ(homing[0]->damage, 50);
  EXPECT_EQ(homing[0]->alpha, 100);
  EXPECT_EQ(homing[0]->homesOnTarget, 1);
  EXPECT_EQ(homing[0]->x, ox);
  EXPECT_EQ(homing[0]->y, oy - 16.0f - 10.0f);
  EXPECT_EQ(homing[1]->x, option(2).x);
  // Every tenth frame while Shot is held.
  frames(9);
  EXPECT_EQ(shotsOfType(8).size(), 2u);
  frame();
  EXPECT_EQ(shotsOfType(8).size(), 4u);
}

TEST_F(PlayerShots, HomingShotsSteerToTheNearestEnemy) {
  player().power = 60;
  player().switchOptions();
  Object_Enemy* near = enemy(100.0f, 100.0f, 100000, 10);
  enemy(380.0f, 40.0f, 100000, 10);
  frame();  // the field finds its nearest enemy
  ASSERT_EQ(field().nearestEnemy, near);
  hold(BUTTON_SHOT);
  frame();
  const std::vector<Object_Bullet*> homing = shotsOfType(8);
  ASSERT_EQ(homing.size(), 2u);
  EXPECT_EQ(homing[0]->target, near);
  EXPECT_LT(homing[0]->vx, 0.0f);
  EXPECT_LT(homing[0]->vy, 0.0f);
}

TEST_F(PlayerShots, LaserOptionsFireEvery119FramesWithoutShot) {
  player().power = 100;
  player().switchOptions();
  frame();
  std::vector<Object_Bullet*> lasers = shotsOfType(7);
  ASSERT_EQ(lasers.size(), 2u);
  Object_Bullet* l = lasers[0];
  EXPECT_EQ(l->parent, &option(3));
  EXPECT_EQ(lasers[1]->parent, &option(4));
  EXPECT_EQ(l->laser, 1);
  EXPECT_EQ(l->damage, 40);
  EXPECT_EQ(l->alpha, 80);
  EXPECT_EQ(l->radius, 6);
  EXPECT_EQ(l->length, 35);
  EXPECT_FLOAT_EQ(l->angle, -1.5708f);
  EXPECT_EQ(l->x, option(3).x);
  EXPECT_EQ(l->y, option(3).y - 16.0f);
  EXPECT_EQ(option(3).laser, l);

  frames(29);
  EXPECT_EQ(l->length, 615);
  frame();
  EXPECT_EQ(l->length, 615) << "grows for 30 frames only";
  // It follows its option.
  holdKey(KEY_RIGHT);
  frames(5);
  releaseAll();
  EXPECT_EQ(l->x, option(3).x);
  frames(24);  // 60 frames old
  EXPECT_EQ(l->radius, 6);
  frames(4);
  EXPECT_EQ(l->radius, 2);
  frame();
  EXPECT_EQ(l->radius, 1);
  EXPECT_TRUE(shotInPlay(l));
  frame();  // 66th frame
  EXPECT_TRUE(shotsOfType(7).empty());
  frames(53);
  EXPECT_TRUE(shotsOfType(7).empty());
  frame();  // 120th frame: the next pair
  EXPECT_EQ(shotsOfType(7).size(), 2u);
}

TEST_F(PlayerShots, LaserTimerRunsBelowPowerHundredSoTheFirstLasersComeAtOnce) {
  player().power = 99;
  player().switchOptions();
  gOptionLaserTimer = 100;
  frames(150);
  EXPECT_TRUE(shotsOfType(7).empty());
  CollectItem(ITEM_POWER, player());
  EXPECT_EQ(option(3).dead, 0);
  EXPECT_EQ(option(4).dead, 0);
  frame();
  EXPECT_EQ(shotsOfType(7).size(), 2u);
}

TEST_F(PlayerShots, NothingFiresDuringAConversation) {
  player().power = 250;
  player().switchOptions();
  stage->talking = true;
  hold(BUTTON_SHOT);
  frames(10);
  tap(BUTTON_CHARGE);
  EXPECT_EQ(field().playerShots.activeCount(), 0);
  EXPECT_EQ(player().charging, 0);
  EXPECT_EQ(player().chargeGauge, 10000);
  stage->talking = false;
  frame();
  EXPECT_EQ(shotsOfType(9).size(), 8u);
  EXPECT_EQ(shotsOfType(7).size(), 2u);
}

TEST_F(PlayerShots, WreckedShipLeavesItsOptionLasersWhereTheyAre) {
  player().power = 150;
  player().switchOptions();
  frame();
  Object_Bullet* l = shotsOfType(7)[0];
  player().die();
  frame();
  EXPECT_EQ(l->parent, nullptr) << "let go of its option";
  EXPECT_EQ(l->radius, 5);
  const float lx = l->x;
  option(3).baseX = 80.0f;  // the option moves away; the laser stays
  frame();
  EXPECT_EQ(l->x, lx);
  EXPECT_EQ(l->radius, 4);
  frames(3);
  EXPECT_EQ(l->radius, 1);
  EXPECT_TRUE(shotInPlay(l));
  frame();
  EXPECT_FALSE(shotInPlay(l)) << "narrowed and gone six frames after being dropped";
}

TEST_F(PlayerShots, ADroppedLinkToAReusedSlotIsLeftAlone) {
  player().power = 100;
  player().switchOptions();
  frame();
  Object_Bullet* l = option(3).laser;
  ASSERT_NE(l, nullptr);
  // The laser ends and its slot is taken by an unrelated shot.
  l->dead = 1;
  frame();
  Object_Bullet* other = playerShot(50.0f, 50.0f, 1, 7);
  other->laser = 1;
  ASSERT_EQ(other, l);
  option(3).dropLaser(false);
  EXPECT_TRUE(other->actions.empty());
  EXPECT_EQ(other->parent, nullptr);
}

}  // namespace
