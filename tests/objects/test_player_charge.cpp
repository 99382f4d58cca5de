// The charge gauge and both charge attacks: how long a charge lasts, the
// overheat and recharge, the Laser type's beam and the Shield type's ring.
#include <gtest/gtest.h>

#include "test_player_fixture.h"

namespace {

class ChargeDuration : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(ChargeDuration, FullGaugeLasts225FramesThenOverheatsAndTakes170ToRecharge) {
  player().laserType = static_cast<uint8_t>(GetParam());
  hold(BUTTON_CHARGE);
  frame();
  ASSERT_EQ(player().charging, 1);
  EXPECT_EQ(player().chargeGauge, 9000);
  int charged = 1;
  while (player().charging && charged < 1000) {
    frame();
    charged += player().charging;
  }
  EXPECT_EQ(charged, 225);
  EXPECT_EQ(player().chargeGauge, -2400);
  EXPECT_EQ(player().chargeShot, nullptr);

  // Holding on does nothing; a new press needs the gauge back at 1000.
  frames(10);
  release(BUTTON_CHARGE);
  frames(158);  // 168 frames after the overheat
  tap(BUTTON_CHARGE);
  EXPECT_EQ(player().chargeGauge, 980);
  EXPECT_EQ(player().charging, 0);
  const int32_t shotsBefore = field().playerShots.activeCount();
  // The 170th frame; pressed on the joypad, since the key is still down.
  gInput.padNow = gInput.buttonMask[BUTTON_CHARGE];
  frame();
  gInput.padNow = 0;
  EXPECT_GT(field().playerShots.activeCount(), shotsBefore) << "the charge went off";
  EXPECT_EQ(player().chargeGauge, 0);
  // With nothing left it ends on the frame it started.
  EXPECT_EQ(player().charging, 0);
}

INSTANTIATE_TEST_SUITE_P(BothTypes, ChargeDuration, ::testing::Values(0, 1));

class Charge : public PlayerTest {};

TEST_F(Charge, LaserTypeBeamGrowsFollowsAndNarrowsWhenReleased) {
  player().laserType = 1;
  placePlayer(192.0f, 400.0f);
  hold(BUTTON_CHARGE);
  frame();
  EXPECT_TRUE(Requested(11));
  const std::vector<Object_Bullet*> beams = shotsOfType(7);
  ASSERT_EQ(beams.size(), 1u);
  Object_Bullet* beam = beams[0];
  EXPECT_EQ(player().chargeShot, beam);
  EXPECT_EQ(beam->parent, &player());
  EXPECT_EQ(beam->laser, 1);
  EXPECT_EQ(beam->cancelsBullets, 1);
  EXPECT_EQ(beam->thinAllowed, 1);
  EXPECT_EQ(beam->length, 650);
  EXPECT_EQ(beam->damage, 160);
  EXPECT_FLOAT_EQ(beam->angle, -1.5708f);
  EXPECT_EQ(beam->radius, 0);

  holdKey(KEY_RIGHT);
  frames(49);  // 50 frames of charge
  EXPECT_EQ(beam->radius, 60);
  EXPECT_EQ(beam->alpha, 165);
  EXPECT_EQ(beam->x, player().x);
  EXPECT_EQ(player().x, 192.0f + 49 * 2.0f) << "charging holds the ship to slow speed";

  release(BUTTON_CHARGE);
  frame();
  EXPECT_EQ(player().charging, 0) << "letting go ends the charge on the same frame";
  EXPECT_EQ(player().chargeShot, nullptr);
  EXPECT_EQ(beam->radius, 58);
  frames(29);
  EXPECT_EQ(beam->radius, 0) << "a charge beam may narrow to nothing";
  EXPECT_TRUE(shotInPlay(beam));
  frame();
  EXPECT_FALSE(shotInPlay(beam));
}

TEST_F(Charge, BeamCancelsBulletsInItsPath) {
  player().laserType = 1;
  placePlayer(192.0f, 400.0f);
  Object_Bullet* inPath = enemyBullet(200.0f, 150.0f, 1);
  Object_Bullet* beside = enemyBullet(300.0f, 150.0f, 1);
  hold(BUTTON_CHARGE);
  frames(45);
  EXPECT_EQ(inPath->dead, 1);
  EXPECT_EQ(beside->dead, 0);
  EXPECT_EQ(gGame.bulletsCancelled, 1);
}

TEST_F(Charge, ShieldTypeFlashesAndSpreadsARing) {
  player().laserType = 0;
  hold(BUTTON_CHARGE);
  frame();
  EXPECT_TRUE(Requested(10));
  const std::vector<Object_Bullet*> flashes = shotsOfType(0);
  const std::vector<Object_Bullet*> rings = shotsOfType(10);
  ASSERT_EQ(flashes.size(), 1u);
  ASSERT_EQ(rings.size(), 1u);
  Object_Bullet* flash = flashes[0];
  Object_Bullet* ring = rings[0];
  EXPECT_EQ(player().shieldFlash, flash);
  EXPECT_EQ(player().chargeShot, ring);
  EXPECT_EQ(flash->damage, 160);
  EXPECT_EQ(flash->cancelsBullets, 1);
  EXPECT_EQ(flash->uncancelable, 1);
  EXPECT_EQ(ring->damage, 104);
  EXPECT_EQ(ring->ring, 1);
  EXPECT_EQ(ring->ringWidth, 40);
  EXPECT_EQ(ring->cancelsBullets, 1);
  EXPECT_EQ(ring->uncancelable, 1);
  EXPECT_EQ(ring->parent, &player());
  EXPECT_EQ(ring->x, player().x);
  EXPECT_EQ(ring->radius, 5);

  frames(19);
  EXPECT_EQ(ring->radius, 100);
  EXPECT_NEAR(ring->scale, 1.0, 1e-6);
  EXPECT_EQ(flash->radius, 100);
  EXPECT_EQ(flash->alpha, 255 - 4 * 50);
  frames(2);
  EXPECT_TRUE(shotInPlay(flash));
  frame();  // 23rd frame
  EXPECT_FALSE(shotInPlay(flash));
  EXPECT_EQ(ring->radius, 100) << "the ring holds while Charge is held";

  release(BUTTON_CHARGE);
  frame();
  EXPECT_EQ(player().charging, 0);
  EXPECT_EQ(ring->alpha, 205);
  frames(4);
  EXPECT_EQ(ring->alpha, 5);
  EXPECT_NEAR(ring->scale, 1.25, 1e-6);
  frame();
  EXPECT_FALSE(shotInPlay(ring));
}

TEST_F(Charge, ShieldRingClearsBulletsAroundTheShip) {
  Object_Bullet* inside = enemyBullet(player().x + 90.0f, player().y, 1);
  Object_Bullet* outside = enemyBullet(player().x, player().y - 160.0f, 1);
  hold(BUTTON_CHARGE);
  frames(30);
  EXPECT_EQ(inside->dead, 1);
  EXPECT_EQ(outside->dead, 0);
}

TEST_F(Charge, NeedsAThousandInTheGauge) {
  player().chargeGauge = 979;  // 999 after this frame's refill
  tap(BUTTON_CHARGE);
  EXPECT_EQ(player().charging, 0);
  EXPECT_EQ(field().playerShots.activeCount(), 0);
  EXPECT_EQ(player().chargeGauge, 999);
}

TEST_F(Charge, DyingMidChargeLeavesTheChargeWhereTheShipExploded) {
  player().laserType = 0;
  placePlayer(100.0f, 300.0f);
  hold(BUTTON_CHARGE);
  frame();
  Object_Bullet* ring = player().chargeShot;
  Object_Bullet* flash = player().shieldFlash;
  player().die();
  EXPECT_EQ(player().charging, 0);
  frame();
  EXPECT_EQ(ring->parent, nullptr);
  EXPECT_EQ(flash->parent, nullptr);
  EXPECT_EQ(ring->x, 100.0f);
  frames(5);
  EXPECT_FALSE(shotInPlay(ring));
}

TEST_F(Charge, ChargeDropsTheOptionLasersAndTheyReturnWhenItEnds) {
  player().power = 100;
  player().switchOptions();
  player().laserType = 1;
  frame();
  std::vector<Object_Bullet*> lasers = shotsOfType(7);
  ASSERT_EQ(lasers.size(), 2u);
  frames(9);
  hold(BUTTON_CHARGE);
  frame();
  EXPECT_EQ(lasers[0]->radius, 5) << "narrowing at once";
  frames(5);
  EXPECT_FALSE(shotInPlay(lasers[0]));
  EXPECT_FALSE(shotInPlay(lasers[1]));
  hold(BUTTON_SHOT);
  frames(10);
  EXPECT_TRUE(shotsOfType(9).empty()) << "no volleys while charging";
  release(BUTTON_CHARGE);
  frame();  // the charge ends at the end of this frame
  frame();
  EXPECT_EQ(shotsOfType(7).size(), 3u) << "two new option lasers beside the fading beam";
  EXPECT_FALSE(shotsOfType(9).empty());
}

class ChargeGauge : public PlayerTest {};

TEST_F(ChargeGauge, RefillsAndWarns) {
  player().chargeGauge = 9990;
  player().bombing = 1;
  player().state = PLAYER_INVULNERABLE;
  frame();
  EXPECT_EQ(player().chargeGauge, 10005) << "a bomb refills past the top";
  player().bombing = 0;
  frame();
  EXPECT_EQ(player().chargeGauge, 10000);

  // Below 1000 a beep every 20 frames of the state counter.
  player().chargeGauge = 500;
  player().stateCounter = 18;
  clearSounds();
  frame();
  EXPECT_FALSE(Requested(26));
  frame();
  EXPECT_TRUE(Requested(26));
  clearSounds();
  player().chargeGauge = 1001;
  player().stateCounter = 39;
  frame();
  EXPECT_FALSE(Requested(26));

  // While charging the warning starts at 3500.
  player().charging = 1;
  player().chargeGauge = 3540;
  player().stateCounter = 59;
  hold(BUTTON_CHARGE);
  frame();
  EXPECT_TRUE(Requested(26));
}

TEST_F(ChargeGauge, RefillsWhileOutOfPlay) {
  player().chargeGauge = -2400;
  player().die();
  frames(59);
  EXPECT_EQ(player().chargeGauge, -2400 + 59 * 80);
  player().chargeGauge = 9990;
  frame();  // re-entering
  EXPECT_EQ(player().chargeGauge, 10000);
}

}  // namespace
