// Steering the ship: directions, normal and slow speeds, the field's edges,
// and the options' slow formation.
#include <gtest/gtest.h>

#include <vector>

#include "test_player_fixture.h"

namespace {

struct SteerCase {
  std::vector<int> keys;
  int direction;
  float dx;  // per frame at normal speed
  float dy;
};

class Steering : public PlayerTest, public ::testing::WithParamInterface<SteerCase> {};

TEST_P(Steering, DirectionAndStepOfOneFrame) {
  const SteerCase& c = GetParam();
  placePlayer(192.0f, 300.0f);
  for (int key : c.keys) holdKey(key);
  frame();
  EXPECT_EQ(player().direction, c.direction);
  EXPECT_EQ(player().x, 192.0f + c.dx);
  EXPECT_EQ(player().y, 300.0f + c.dy);
}

constexpr float kDiag = 5.0f * 0.71f;
INSTANTIATE_TEST_SUITE_P(Keys, Steering,
                         ::testing::Values(SteerCase{{}, 5, 0.0f, 0.0f},
                                           SteerCase{{KEY_RIGHT}, 6, 5.0f, 0.0f},
                                           SteerCase{{KEY_LEFT}, 4, -5.0f, 0.0f},
                                           SteerCase{{KEY_UP}, 8, 0.0f, -5.0f},
                                           SteerCase{{KEY_DOWN}, 2, 0.0f, 5.0f},
                                           SteerCase{{KEY_UP, KEY_RIGHT}, 9, kDiag, -kDiag},
                                           SteerCase{{KEY_UP, KEY_LEFT}, 7, -kDiag, -kDiag},
                                           SteerCase{{KEY_DOWN, KEY_RIGHT}, 3, kDiag, kDiag},
                                           SteerCase{{KEY_DOWN, KEY_LEFT}, 1, -kDiag, kDiag},
                                           SteerCase{{KEY_LEFT, KEY_RIGHT}, 5, 0.0f, 0.0f},
                                           SteerCase{{KEY_UP, KEY_DOWN}, 5, 0.0f, 0.0f}));

class ShipMovement : public PlayerTest {};

TEST_F(ShipMovement, JoypadDirectionsSteerToo) {
  placePlayer(192.0f, 300.0f);
  gInput.padNow = DIR_LEFT | DIR_DOWN;
  player().update();
  EXPECT_EQ(player().direction, 1);
  EXPECT_EQ(player().x, 192.0f - kDiag);
}

TEST_F(ShipMovement, SlowButtonAndChargingOrBombingSlowTheShip) {
  placePlayer(192.0f, 300.0f);
  hold(BUTTON_SLOW);
  holdKey(KEY_RIGHT);
  frame();
  EXPECT_EQ(player().x, 194.0f);
  holdKey(KEY_UP);
  frame();
  EXPECT_EQ(player().x, 194.0f + 2.0f * 0.71f);
  EXPECT_EQ(player().y, 300.0f - 2.0f * 0.71f);

  releaseAll();
  placePlayer(192.0f, 300.0f);
  player().bombing = 1;
  holdKey(KEY_LEFT);
  frame();
  EXPECT_EQ(player().x, 190.0f);
  player().bombing = 0;
  player().charging = 1;
  frame();
  EXPECT_EQ(player().x, 188.0f);
}

TEST_F(ShipMovement, TheShipCannotLeaveItsRectangle) {
  const struct {
    int key;
    float x, y;
  } edges[] = {{KEY_LEFT, 16.0f, 300.0f},
               {KEY_RIGHT, 368.0f, 300.0f},
               {KEY_UP, 192.0f, 24.0f},
               {KEY_DOWN, 192.0f, 424.0f}};
  for (const auto& edge : edges) {
    releaseAll();
    placePlayer(192.0f, 300.0f);
    holdKey(edge.key);
    frames(100);
    EXPECT_EQ(player().x, edge.x) << edge.key;
    EXPECT_EQ(player().y, edge.y) << edge.key;
  }
}

TEST_F(ShipMovement, NoSteeringWithoutControl) {
  placePlayer(192.0f, 300.0f);
  player().controllable = 0;
  player().direction = 8;
  holdKey(KEY_LEFT);
  frame();
  EXPECT_EQ(player().x, 192.0f);
  EXPECT_EQ(player().direction, 8);
}

TEST_F(ShipMovement, SlowFormationPullsTheLaserOptionsInFront) {
  placePlayer(192.0f, 300.0f);
  frame();
  EXPECT_EQ(option(3).x, 242.0f);
  EXPECT_EQ(option(3).y, 320.0f);
  hold(BUTTON_SLOW);
  frame();
  EXPECT_EQ(player().slowFormation, 1);
  EXPECT_EQ(option(3).parent, &player());
  frames(29);  // a 30-frame smooth move; float steps leave a few millionths
  EXPECT_NEAR(option(3).baseX, 5.0f, 1e-4f);
  EXPECT_NEAR(option(3).baseY, -20.0f, 1e-4f);
  EXPECT_NEAR(option(4).baseX, -5.0f, 1e-4f);
  EXPECT_NEAR(option(4).baseY, -20.0f, 1e-4f);
  // The homing pair keeps its place.
  EXPECT_EQ(option(1).baseX, 30.0f);
  EXPECT_EQ(option(2).baseY, -16.0f);

  // Moving while in formation: the options follow the ship.
  holdKey(KEY_LEFT);
  frame();
  EXPECT_EQ(option(3).vx, 0.0f) << "the move has come to rest";
  EXPECT_NEAR(option(3).x, player().x + 5.0f, 1e-4f);

  releaseAll();
  frames(30);
  EXPECT_EQ(player().slowFormation, 0);
  EXPECT_NEAR(option(3).baseX, 50.0f, 1e-4f);
  EXPECT_NEAR(option(3).baseY, 20.0f, 1e-4f);
  EXPECT_NEAR(option(4).baseX, -50.0f, 1e-4f);
}

TEST_F(ShipMovement, DeathBreaksTheFormationAndResetsTheOptions) {
  hold(BUTTON_SLOW);
  frames(10);
  player().die();
  EXPECT_EQ(player().slowFormation, 0);
  EXPECT_EQ(option(3).baseX, 50.0f);
  EXPECT_EQ(option(3).baseY, 20.0f);
  EXPECT_TRUE(option(3).actions.empty());
  EXPECT_EQ(option(3).x, player().x + 50.0f);
}

}  // namespace
