// Items: the burst out of the enemy, the turn and the straight flight to the
// ship, what each kind gives when collected, and the pick-up by the frame pass.
#include <cmath>

#include "objects/FieldFixture.h"

namespace {

class ItemTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    placePlayer(192.0f, 440.0f);
  }

  bool hasEffect(int32_t kind, int32_t blendParam, double scale) const {
    for (const EffectCall& e : stage->effects) {
      if (e.kind == kind && e.blendMode == 2 && e.blendParam == blendParam && e.scale == scale) {
        return true;
      }
    }
    return false;
  }

  void clearRequests() { std::memset(gSound.seRequested, 0, sizeof gSound.seRequested); }
};

float Length(float x, float y) { return std::sqrt(x * x + y * y); }

TEST_F(ItemTest, LaunchBurstsOutAtTenToFourteenPixelsAgainstItsPull) {
  SeedRandom(99);
  const int s = RandomUpTo(400);
  const float h = static_cast<float>(RandomUpTo(62832)) / 10000.0f;
  SeedRandom(99);
  Object_Item* item = SpawnItem(field(), 100.0f, 100.0f, ITEM_POINT);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->parent, &player());
  EXPECT_EQ(item->age, 0);
  EXPECT_FLOAT_EQ(item->heading, h);
  const float speed = static_cast<float>(s) / 100.0f + 10.0f;
  EXPECT_FLOAT_EQ(item->velocityX, std::cos(h) * speed);
  EXPECT_FLOAT_EQ(item->velocityY, std::sin(h) * speed);
  EXPECT_FLOAT_EQ(item->pullX, -std::cos(h));
  EXPECT_FLOAT_EQ(item->pullY, -std::sin(h));
}

TEST_F(ItemTest, FliesOutElevenFramesTurnsTenThenGoesStraightAtTwelvePixels) {
  for (int seed = 1; seed <= 5; ++seed) {
    SeedRandom(seed);
    Object_Item* item = SpawnItem(field(), 192.0f, 150.0f, ITEM_POINT);
    const float dirX = std::cos(item->heading);
    const float dirY = std::sin(item->heading);
    const float speed0 = Length(item->velocityX, item->velocityY);

    // Out: the speed along the burst drops by one per frame.
    for (int frame = 1; frame <= 11; ++frame) {
      const float beforeX = item->x;
      item->update();
      const float along = item->velocityX * dirX + item->velocityY * dirY;
      EXPECT_NEAR(along, speed0 - static_cast<float>(frame), 1e-4f) << seed << " " << frame;
      EXPECT_NEAR(item->x - beforeX, dirX * (speed0 - static_cast<float>(frame - 1)), 1e-3f);
    }
    // Turning: each frame adds one pixel per frame toward the ship.
    for (int frame = 12; frame <= 21; ++frame) {
      const float vx = item->velocityX;
      const float vy = item->velocityY;
      item->update();
      const float toX = player().x - item->x;
      const float toY = player().y - item->y;
      const float d = Length(toX, toY);
      EXPECT_NEAR(item->velocityX - vx, toX / d, 1e-4f) << seed << " " << frame;
      EXPECT_NEAR(item->velocityY - vy, toY / d, 1e-4f);
    }
    // Straight: twelve pixels a frame along the line to the ship.
    item->update();
    for (int frame = 23; frame <= 26; ++frame) {
      const float before = Length(player().x - item->x, player().y - item->y);
      item->update();
      const float after = Length(player().x - item->x, player().y - item->y);
      EXPECT_NEAR(before - after, 12.0f, 1e-3f) << seed << " " << frame;
      EXPECT_NEAR(Length(item->velocityX, item->velocityY), 12.0f, 1e-4f);
    }
    field().items.releaseAll();
  }
}

TEST_F(ItemTest, ThousandthPointItemGivesAnExtraShip) {
  player().points = 998;
  const int8_t lives = player().lives;
  CollectItem(ITEM_POINT, player());
  EXPECT_EQ(player().points, 999);
  EXPECT_EQ(player().lives, lives);
  EXPECT_EQ(gGame.score, 10000);
  EXPECT_FALSE(Requested(7));
  EXPECT_TRUE(Requested(4));
  EXPECT_TRUE(stage->effects.empty());

  CollectItem(ITEM_POINT, player());
  EXPECT_EQ(player().points, 1000);
  EXPECT_EQ(player().lives, lives + 1);
  EXPECT_EQ(gGame.score, 20000);
  EXPECT_TRUE(Requested(7));
  EXPECT_TRUE(hasEffect(4, 200, 2.0));
  EXPECT_TRUE(hasEffect(3, 150, 2.0));

  // Every thousand, not every hundred.
  player().points = 1099;
  CollectItem(ITEM_POINT, player());
  EXPECT_EQ(player().lives, lives + 1);
}

TEST_F(ItemTest, PowerStepsSwitchOptionsAndFullPowerTurnsPowerItemsIntoPoints) {
  player().power = 48;
  CollectItem(ITEM_POWER, player());  // 48 -> 49: no step
  EXPECT_FALSE(Requested(6));
  CollectItem(ITEM_POWER, player());  // 49 -> 50: options 1 and 2 join
  EXPECT_EQ(player().power, 50);
  EXPECT_TRUE(Requested(6));
  EXPECT_TRUE(hasEffect(4, 150, 1.0));
  EXPECT_EQ(gGame.score, 20);

  SeedRandom(4);
  Object_Item* inFlight = SpawnItem(field(), 100.0f, 100.0f, ITEM_POWER);
  inFlight->update();
  EXPECT_EQ(inFlight->kind, ITEM_POWER);

  player().power = 249;
  clearRequests();
  CollectItem(ITEM_POWER, player());
  EXPECT_EQ(player().power, 250);
  EXPECT_TRUE(Requested(6));
  inFlight->update();
  EXPECT_EQ(inFlight->kind, ITEM_POINT);

  // At the cap a power item still pays its 10 points but changes nothing.
  clearRequests();
  const int32_t score = gGame.score;
  CollectItem(ITEM_POWER, player());
  EXPECT_EQ(player().power, 250);
  EXPECT_EQ(gGame.score, score + 10);
  EXPECT_FALSE(Requested(6));
  EXPECT_TRUE(Requested(4));
}

TEST_F(ItemTest, ExtraLifeAndBombItems) {
  const int8_t lives = player().lives;
  const int8_t bombs = player().bombs;
  CollectItem(ITEM_LIFE, player());
  EXPECT_EQ(player().lives, lives + 1);
  EXPECT_TRUE(Requested(7));
  EXPECT_TRUE(hasEffect(4, 200, 2.0));
  EXPECT_EQ(gGame.score, 100);

  clearRequests();
  stage->effects.clear();
  CollectItem(ITEM_BOMB, player());
  EXPECT_EQ(player().bombs, bombs + 1);
  EXPECT_EQ(gGame.score, 200);
  EXPECT_FALSE(Requested(7));
  EXPECT_TRUE(Requested(4));
  EXPECT_TRUE(stage->effects.empty());
}

TEST_F(ItemTest, ScoreStopsAtTheTopAndTheHiScoreFollows) {
  gGame.score = kScoreMax - 5000;
  gGame.hiScore = 0;
  CollectItem(ITEM_POINT, player());
  EXPECT_EQ(gGame.score, kScoreMax);
  EXPECT_EQ(gGame.hiScore, kScoreMax);
}

TEST_F(ItemTest, ItemNextToTheShipIsCollectedByTheNextFramePass) {
  SeedRandom(8);
  SpawnItem(field(), player().x, player().y, ITEM_BOMB);
  const int8_t bombs = player().bombs;
  field().framePass();
  EXPECT_EQ(field().items.activeCount(), 0);
  EXPECT_EQ(player().bombs, bombs + 1);
  EXPECT_EQ(gGame.itemsCollected, 1);
}

TEST_F(ItemTest, ItemsFarAwayStayUntilTheyReachTheShip) {
  SeedRandom(8);
  SpawnItem(field(), 192.0f, -90.0f, ITEM_POINT);
  int frames = 0;
  while (field().items.activeCount() > 0 && frames < 200) {
    field().framePass();
    ++frames;
  }
  EXPECT_EQ(field().items.activeCount(), 0);
  EXPECT_GT(frames, 21);
  EXPECT_EQ(player().points, 1);
}

TEST_F(ItemTest, FullPoolLosesTheDropWithoutDrawingNumbers) {
  for (int i = 0; i < kItemCapacity; ++i) ASSERT_NE(SpawnItem(field(), 0, 0, ITEM_POINT), nullptr);
  SeedRandom(21);
  const int expected = RandomUpTo(1000);
  SeedRandom(21);
  EXPECT_EQ(SpawnItem(field(), 0, 0, ITEM_POINT), nullptr);
  EXPECT_EQ(RandomUpTo(1000), expected);
}

}  // namespace
