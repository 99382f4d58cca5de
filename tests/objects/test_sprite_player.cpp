// The ship and option sprites: flicker, explosion and re-entry, rows from
// the steering direction, the bombing picture, hit point and glow.
#include "test_sprite_support.h"

using engine::headless::DrawOp;

namespace {

class ShipSpriteTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    sprites().connectShip(field());
    sprites().playerSprite->reset();
    ship().setPosition(192.6f, 400.2f);
  }
  Object_Player& ship() { return field().player; }
  Sprite_Player& sprite() { return *sprites().playerSprite; }
};

TEST_F(ShipSpriteTest, FlickersWhileInvulnerable) {
  ship().state = PLAYER_INVULNERABLE;
  std::vector<int> alpha;
  for (int c = 0; c <= 15; ++c) {
    ship().stateCounter = c;
    sprite().update();
    alpha.push_back(sprite().blendParam);
  }
  // 100 at 0, 6, 12; 255 at 3, 9, 15; unchanged in between.
  EXPECT_EQ(alpha, (std::vector<int>{100, 100, 100, 255, 255, 255, 100, 100, 100, 255, 255, 255,
                                     100, 100, 100, 255}));
  ship().state = PLAYER_NORMAL;
  ship().stateCounter = 6;
  sprite().update();
  EXPECT_EQ(sprite().blendParam, 255);
  EXPECT_EQ(sprite().x, 192);
  EXPECT_EQ(sprite().y, 400);
}

TEST_F(ShipSpriteTest, SwellsAndFadesWhenExploding) {
  sprite().update();
  ship().state = PLAYER_EXPLODED;
  ship().stateCounter = 10;
  ship().setPosition(10, 10);
  sprite().update();
  EXPECT_EQ(sprite().blendParam, 255 - 85);
  EXPECT_DOUBLE_EQ(sprite().scale, 2.0);
  EXPECT_EQ(sprite().x, 192);  // stays where it was hit
  ship().stateCounter = 30;
  sprite().update();
  EXPECT_FALSE(sprite().visible);
  EXPECT_DOUBLE_EQ(sprite().scale, 1.0);
  EXPECT_EQ(sprite().blendParam, 0);
  EXPECT_EQ(sprite().image, PlayerImages[0][12]);
  EXPECT_EQ(sprite().counter, 0);

  // Re-entering: it follows the ship and fades in.
  ship().state = PLAYER_REENTERING;
  ship().stateCounter = 4;
  sprite().update();
  EXPECT_TRUE(sprite().visible);
  EXPECT_EQ(sprite().blendParam, 34);
  EXPECT_EQ(sprite().x, 10);
}

TEST_F(ShipSpriteTest, RowFromSteeringAndBombingPicture) {
  struct Case {
    uint8_t direction;
    int row;
  };
  for (const Case c : {Case{4, 1}, Case{7, 1}, Case{1, 1}, Case{6, 2}, Case{9, 2}, Case{3, 2},
                       Case{5, 0}, Case{8, 0}, Case{2, 0}}) {
    ship().direction = c.direction;
    sprite().update();
    EXPECT_EQ(sprite().row, c.row) << int{c.direction};
    EXPECT_EQ(sprite().image, PlayerImages[0][4 * c.row + sprite().frame]);
  }
  ship().bombing = 1;
  sprite().update();
  EXPECT_EQ(sprite().image, PlayerImages[1][4 * sprite().row + sprite().frame]);
}

TEST_F(ShipSpriteTest, FrameAdvancesEverySixUpdates) {
  std::vector<int> frames;
  for (int i = 0; i < 13; ++i) {
    sprite().update();
    frames.push_back(sprite().frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 3}));
}

TEST_F(ShipSpriteTest, DrawsHitPointWhileSlowAndTheGlowBelow) {
  sprite().update();
  DrawLayer(sprites().playerLayer);
  auto rotated = DrawsOf(DrawOp::Rotated);
  // The ship and the glow; the options are off at power 0 but still drawn
  // by their own sprites only when visible.
  ASSERT_GE(rotated.size(), 2u);
  EXPECT_EQ(rotated[0].args[0], 32 + 192);
  EXPECT_EQ(rotated[0].args[2], 16);  // centred on the 32 x 48 cell
  EXPECT_EQ(rotated[1].args[1], 16 + 400 + 10);
  EXPECT_EQ(rotated[1].blendMode, BLEND_ADD);
  EXPECT_TRUE(DrawsOf(DrawOp::Circle).empty());

  ship().slowFormation = 1;
  DrawLayer(sprites().playerLayer);
  const auto circles = DrawsOf(DrawOp::Circle);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].args[2], 1);
  EXPECT_EQ(circles[0].color, MakeColor(255, 0, 0));
}

TEST_F(ShipSpriteTest, OptionsFollowTheirOptionAndHideWhenSwitchedOff) {
  Sprite_PlayerOption& first = *sprites().optionSprites[0];
  Sprite_PlayerOption& third = *sprites().optionSprites[2];
  EXPECT_EQ(first.cells, PlayerImages[2]);
  EXPECT_EQ(third.cells, PlayerImages[3]);
  ship().power = 100;
  ship().switchOptions();
  field().options[0].x = 150.0f;
  field().options[0].y = 380.0f;
  sprites().update();
  EXPECT_TRUE(first.visible);
  EXPECT_EQ(first.x, 150);
  ship().power = 0;
  ship().switchOptions();
  sprites().update();
  EXPECT_FALSE(first.visible);
  // While the ship is exploding the options stay where they were.
  ship().state = PLAYER_EXPLODED;
  ship().stateCounter = 10;
  field().options[0].x = 10.0f;
  sprites().update();
  EXPECT_EQ(first.x, 150);
}

}  // namespace
