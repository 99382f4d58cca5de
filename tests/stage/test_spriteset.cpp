// The stage's sprite set: its layers in their depths, the pools, the order
// of updates, the white fade over the field and what deleting it leaves.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Module_Graphics.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "stage/Spriteset_Stage.h"

namespace {

class SpritesetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
  }
  void TearDown() override { EngineEnd(); }

  static bool InRoot(const GObject* object) {
    return std::any_of(gGraphics.children.begin(), gGraphics.children.end(),
                       [&](const auto& slot) { return slot->object == object; });
  }
};

// Counts its updates; stands for the scenery.
class CountingScenery : public Spriteset {
 public:
  int* updates;
  explicit CountingScenery(int* counter) : updates(counter) {}
  void update() override { ++*updates; }
};

TEST_F(SpritesetTest, LayersInTheirDepthsOverThePlayField) {
  Spriteset_Stage set;
  struct Layer {
    Viewport* layer;
    int depth;
    bool sorted;
  };
  const Layer layers[] = {{set.enemyLayer, 10, true}, {set.effectLayer, 20, false},
                          {set.shotLayer, 30, true},  {set.playerLayer, 40, false},
                          {set.itemLayer, 50, false}, {set.bulletLayer, 60, true}};
  for (const Layer& l : layers) {
    EXPECT_EQ(l.layer->z, l.depth);
    EXPECT_EQ(l.layer->sortByZ, l.sorted) << l.depth;
    EXPECT_EQ(l.layer->x, 32);
    EXPECT_EQ(l.layer->y, 16);
    EXPECT_EQ(l.layer->width, 384);
    EXPECT_EQ(l.layer->height, 448);
    EXPECT_TRUE(InRoot(l.layer));
  }
  EXPECT_EQ(set.enemySprites.sprites.size(), 100u);
  EXPECT_EQ(set.itemSprites.sprites.size(), 200u);
  EXPECT_EQ(set.bulletSprites.sprites.size(), 500u);
  EXPECT_EQ(set.shotSprites.sprites.size(), 150u);
  EXPECT_EQ(set.effectSprites.sprites.size(), 200u);
  EXPECT_EQ(set.enemySprites.inUse(), 0);
  // Ship and options, and the overlay with the bullets.
  EXPECT_EQ(set.playerLayer->slotCount(), 5u);
  EXPECT_EQ(set.bulletLayer->slotCount(), 501u);
  EXPECT_EQ(set.fieldFade->z, 1000);
  EXPECT_FALSE(set.fieldFade->visible);
  EXPECT_EQ(set.fieldFade->fadeRed, 255);
  EXPECT_EQ(set.fieldFade->fadeBlue, 255);
  EXPECT_TRUE(gGraphics.defaultViewport->slotCount() > 0);
}

TEST_F(SpritesetTest, DeletingItTakesEveryLayerAndTheFrameOut) {
  Viewport* layer = nullptr;
  Sprite* frame = nullptr;
  {
    Spriteset_Stage set;
    layer = set.bulletLayer;
    frame = set.framePicture;
    ASSERT_TRUE(InRoot(layer));
  }
  EXPECT_FALSE(InRoot(layer));
  const auto& frameSlots = gGraphics.defaultViewport->children;
  EXPECT_TRUE(std::none_of(frameSlots.begin(), frameSlots.end(),
                           [&](const auto& slot) { return slot->object == frame; }));
}

TEST_F(SpritesetTest, FieldFadeRunsOverTheGivenFrames) {
  Spriteset_Stage set;
  set.startFieldFade(255, 0, 60.0f);
  EXPECT_TRUE(set.fieldFade->visible);
  EXPECT_EQ(set.fieldFade->blendParam, 255);
  EXPECT_FLOAT_EQ(set.fieldFade->speed, -4.25f);
  int frames = 0;
  while (!set.fieldFade->finished && frames < 100) {
    set.update();
    ++frames;
  }
  EXPECT_EQ(frames, 61);
  EXPECT_EQ(set.fieldFade->blendParam, 0);
  // A fade over no frames at all takes one instead of dividing by zero.
  set.startFieldFade(0, 255, 0.0f);
  EXPECT_FLOAT_EQ(set.fieldFade->speed, 255.0f);
  set.startFieldFade(0, 255, -5.0f);
  EXPECT_FLOAT_EQ(set.fieldFade->speed, 255.0f);
}

TEST_F(SpritesetTest, UpdatesOnlySpritesInUseAndTheScenery) {
  Spriteset_Stage set;
  int sceneryUpdates = 0;
  set.background = std::make_unique<CountingScenery>(&sceneryUpdates);
  // A free effect sprite is left alone even if it could still animate.
  Sprite_Effect* free = set.effectSprites.sprites[3];
  free->counter = 7;
  set.update();
  EXPECT_EQ(free->counter, 7);
  EXPECT_EQ(sceneryUpdates, 1);
  Sprite_Effect* taken = set.effectSprites.take();
  EXPECT_EQ(taken, set.effectSprites.sprites[0]);
  set.update();
  EXPECT_EQ(taken->counter, 1);
  EXPECT_EQ(sceneryUpdates, 2);
}

TEST_F(SpritesetTest, PoolHandsOutTheFirstFreeSpriteInCreationOrder) {
  Spriteset_Stage set;
  auto& pool = set.enemySprites;
  Sprite_Enemy* a = pool.take();
  Sprite_Enemy* b = pool.take();
  EXPECT_EQ(a, pool.sprites[0]);
  EXPECT_EQ(b, pool.sprites[1]);
  a->idle = true;
  EXPECT_EQ(pool.take(), a);
  for (int i = 0; i < 98; ++i) ASSERT_NE(pool.take(), nullptr);
  EXPECT_EQ(pool.take(), nullptr);
  EXPECT_EQ(pool.inUse(), 100);
}

}  // namespace
