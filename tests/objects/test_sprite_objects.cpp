// Object sprites: enemies, bullets and lasers, items and effects follow
// their objects, pick their pictures, and return to their pools.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "objects/Object_Item.h"
#include "objects/Sprite_3DModel.h"
#include "test_sprite_support.h"

using engine::headless::DrawOp;

namespace {

TEST_F(SpriteTest, EnemyRowFollowsVelocity) {
  struct Case {
    float vx, vy;
    int row;
  };
  const Case cases[] = {{2.0f, 0.0f, 2},  {3.5f, -4.0f, 2}, {-2.0f, 0.0f, 1}, {-1.9f, 1.0f, 0},
                        {1.9f, -0.5f, 3}, {0.0f, -0.1f, 3}, {0.0f, 0.0f, 0}};
  for (const Case& c : cases) {
    Object_Enemy* e = spawnEnemy(100.0f, 120.0f, 1);
    e->vx = c.vx;
    e->vy = c.vy;
    Sprite_Enemy* sprite = sprites().enemySprites.sprites[0];
    ASSERT_EQ(sprite->enemy, e);
    sprites().update();
    EXPECT_EQ(sprite->image, EnemyImages[0][4 * c.row]) << c.vx << "," << c.vy;
    EXPECT_EQ(sprite->x, 100);
    EXPECT_EQ(sprite->y, 120);
    e->dead = 1;
    field().enemies.release(e);
    sprites().update();
  }
}

TEST_F(SpriteTest, EnemyFramesCycleAtItsPeriodAndTakeItsLook) {
  Object_Enemy* e = spawnEnemy(50.5f, 60.9f, 1);
  e->animationPeriod = 3;
  e->drawDepth = 7;
  e->blendMode = BLEND_ADD;
  e->alpha = 90;
  Sprite_Enemy* sprite = sprites().enemySprites.sprites[0];
  std::vector<int> frames;
  for (int i = 0; i < 12; ++i) {
    sprites().update();
    for (int f = 0; f < 4; ++f) {
      if (sprite->image == EnemyImages[0][f]) frames.push_back(f);
    }
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0}));
  EXPECT_EQ(sprite->z, 7);
  EXPECT_EQ(sprite->blendMode, BLEND_ADD);
  EXPECT_EQ(sprite->blendParam, 90);
  EXPECT_EQ(sprite->x, 50);
  EXPECT_EQ(sprite->y, 60);
  // Centred on the 32 x 32 cell.
  EXPECT_EQ(sprite->ox, 16);
  EXPECT_EQ(sprite->oy, 16);

  // A period of 0 holds the frame instead of dividing by zero.
  e->animationPeriod = 0;
  const int held = sprite->image;
  for (int i = 0; i < 5; ++i) sprites().update();
  EXPECT_EQ(sprite->image, held);
}

TEST_F(SpriteTest, EnemyGraphicsOutsideTheSetsShowNothing) {
  Object_Enemy* zero = spawnEnemy(10, 10, 0);
  Object_Enemy* far = spawnEnemy(20, 20, 51);
  (void)zero, (void)far;
  sprites().update();
  // Graphic 0 is the spare player set 7.
  EXPECT_EQ(sprites().enemySprites.sprites[0]->image, PlayerImages[6][0]);
  EXPECT_EQ(sprites().enemySprites.sprites[1]->image, 0);
}

TEST_F(SpriteTest, EnemySpriteLetsGoOfADeadOrReplacedEnemy) {
  Object_Enemy* first = spawnEnemy(10, 10, 1);
  Sprite_Enemy* oldSprite = sprites().enemySprites.sprites[0];
  // The slot goes to a new enemy before the sprite looks again.
  first->dead = 1;
  field().enemies.release(first);
  Object_Enemy* second = spawnEnemy(30, 40, 5);
  ASSERT_EQ(second, first);
  sprites().update();
  EXPECT_TRUE(oldSprite->idle);
  EXPECT_FALSE(oldSprite->visible);
  Sprite_Enemy* newSprite = sprites().enemySprites.sprites[1];
  EXPECT_FALSE(newSprite->idle);
  EXPECT_TRUE(newSprite->visible);
  EXPECT_EQ(newSprite->image, EnemyImages[4][0]);
  // The freed sprite is the first one handed out again.
  Object_Enemy* third = spawnEnemy(0, 0, 1);
  (void)third;
  EXPECT_FALSE(oldSprite->idle);
  EXPECT_EQ(sprites().enemySprites.inUse(), 2);
}

class EnemyAnimationTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    auto anim = std::make_unique<Animation>();
    anim->id = 5;
    anim->originX = 20;
    anim->originY = 30;
    for (int i = 0; i < 3; ++i) anim->frames.push_back({testimage::Make(40, 40), 2});
    Animations[4] = std::move(anim);
  }
  void TearDown() override {
    Animations[4].reset();
    SpriteTest::TearDown();
  }
  // The animation frame the sprite draws, or -1 for the set's picture.
  int shownFrame(Sprite_Enemy& sprite) {
    DrawLayer(sprites().enemyLayer);
    const auto draws = DrawsOf(DrawOp::Image);
    if (draws.size() != 1) return -2;
    for (int i = 0; i < 3; ++i) {
      if (draws[0].handle == Animations[4]->frames[static_cast<size_t>(i)].image) {
        EXPECT_EQ(draws[0].args[0], 32 + sprite.x - 20);
        EXPECT_EQ(draws[0].args[1], 16 + sprite.y - 30);
        return i;
      }
    }
    return -1;
  }
};

TEST_F(EnemyAnimationTest, PlaysOnceFirstFrameOneLonger) {
  Object_Enemy* e = spawnEnemy(100, 100, 1);
  Sprite_Enemy& sprite = *sprites().enemySprites.sprites[0];
  e->animationRequest = 5;
  std::vector<int> shown;
  for (int i = 0; i < 9; ++i) {
    sprites().update();
    shown.push_back(shownFrame(sprite));
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 2, 2, -1, -1}));
  // The request stays satisfied: the finished animation does not start again.
  EXPECT_EQ(e->animationRequest, 5);
}

TEST_F(EnemyAnimationTest, RepeatedRequestRestartsIt) {
  Object_Enemy* e = spawnEnemy(100, 100, 1);
  Sprite_Enemy& sprite = *sprites().enemySprites.sprites[0];
  e->animationRequest = 5;
  for (int i = 0; i < 5; ++i) sprites().update();
  ASSERT_EQ(shownFrame(sprite), 1);
  e->animationRequest = 100005;
  sprites().update();
  EXPECT_EQ(e->animationRequest, 5);
  EXPECT_EQ(shownFrame(sprite), 0);
  EXPECT_EQ(sprite.cursor.index, 0);
  // Request 0 stops it.
  e->animationRequest = 0;
  sprites().update();
  EXPECT_EQ(shownFrame(sprite), -1);
}

TEST_F(SpriteTest, BulletSlotReusedInOneFrameLeavesTheOldSpriteIdle) {
  Object_Bullet* a = spawnBullet(10, 10, 1);
  Sprite_Bullet* first = sprites().bulletSprites.sprites[0];
  ASSERT_EQ(a->sprite, first);
  a->dead = 1;
  field().enemyBullets.release(a);
  Object_Bullet* b = spawnBullet(200, 300, 2);
  ASSERT_EQ(b, a);  // the same pool slot
  Sprite_Bullet* second = sprites().bulletSprites.sprites[1];
  EXPECT_EQ(b->sprite, second);
  sprites().update();
  EXPECT_TRUE(first->idle);
  EXPECT_FALSE(first->visible);
  EXPECT_FALSE(second->idle);
  EXPECT_EQ(second->x, 200);
  EXPECT_EQ(second->y, 300);
  EXPECT_EQ(second->image, BulletImages[1]);
  // Only the live bullet is drawn.
  DrawLayer(sprites().bulletLayer);
  const auto draws = DrawsOf(DrawOp::Rotated);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].handle, BulletImages[1]);
  EXPECT_EQ(draws[0].args[0], 232);
}

TEST_F(SpriteTest, LettingABulletGoFreesItsSpriteAtTheNextUpdate) {
  Object_Bullet* a = spawnBullet(10, 10, 1);
  Sprite_Bullet* sprite = a->sprite;
  stage->letBulletSpriteGo(*a);
  EXPECT_EQ(a->sprite, nullptr);
  EXPECT_FALSE(sprite->idle);
  sprites().update();
  EXPECT_TRUE(sprite->idle);
  EXPECT_FALSE(sprite->visible);
}

TEST_F(SpriteTest, BulletWaitingOutItsDelayIsNotDrawn) {
  Object_Bullet* b = spawnBullet(50, 50, 3);
  b->active = 0;
  sprites().update();
  DrawLayer(sprites().bulletLayer);
  EXPECT_TRUE(DrawsOf(DrawOp::Rotated).empty());
  b->active = 1;
  sprites().update();
  DrawLayer(sprites().bulletLayer);
  EXPECT_EQ(DrawsOf(DrawOp::Rotated).size(), 1u);
}

TEST_F(SpriteTest, BulletLookByKind) {
  Object_Bullet* plain = spawnBullet(0, 0, 3);
  Object_Bullet* glowing = spawnBullet(0, 0, 12);
  Object_Bullet* ring = spawnBullet(0, 0, 10);
  plain->angle = 1.25f;
  plain->alpha = 77;
  plain->scale = 2.0;
  ring->ring = 1;
  ring->angle = 3.0f;
  sprites().update();
  sprites().update();
  const auto& pool = sprites().bulletSprites.sprites;
  EXPECT_EQ(pool[0]->blendMode, BLEND_ALPHA);
  EXPECT_EQ(pool[0]->blendParam, 77);
  EXPECT_DOUBLE_EQ(pool[0]->scale, 2.0);
  EXPECT_FLOAT_EQ(static_cast<float>(pool[0]->angle), 1.25f);
  EXPECT_EQ(pool[0]->z, 0);
  EXPECT_EQ(pool[1]->blendMode, BLEND_ADD);
  // The ring spins on its own (reset ran one update, then two more).
  EXPECT_NEAR(pool[2]->angle, 3 * 0.21, 1e-9);
  EXPECT_EQ(pool[2]->z, 30);
  (void)glowing;
}

TEST_F(SpriteTest, PictureLessShotIsAWhiteDisc) {
  Object_Bullet* disc = spawnBullet(100, 100, 0);
  disc->radius = 10;
  disc->scale = 1.55;
  sprites().update();
  DrawLayer(sprites().bulletLayer);
  const auto circles = DrawsOf(DrawOp::Circle);
  ASSERT_EQ(circles.size(), 1u);
  EXPECT_EQ(circles[0].args[0], 132);
  EXPECT_EQ(circles[0].args[2], 15);
  EXPECT_EQ(circles[0].color, MakeColor(255, 255, 255));
  EXPECT_TRUE(circles[0].filled);
}

TEST_F(SpriteTest, WideLaserIsItsPictureStretchedAlongTheBeam) {
  Object_Bullet* laser = spawnBullet(100, 200, 7);
  laser->laser = 1;
  laser->radius = 4;
  laser->length = 100;
  laser->angle = 0.0f;
  sprites().update();
  EXPECT_EQ(sprites().bulletSprites.sprites[0]->z, 10);
  EXPECT_EQ(sprites().bulletSprites.sprites[0]->blendMode, BLEND_ADD);
  DrawLayer(sprites().bulletLayer);
  const auto quads = DrawsOf(DrawOp::Quad);
  ASSERT_EQ(quads.size(), 1u);
  const int expected[8] = {132, 210, 232, 210, 232, 222, 132, 222};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(quads[0].args[i], expected[i]) << i;

  // Pointing straight down, the beam runs down the screen.
  laser->angle = static_cast<float>(M_PI / 2);
  sprites().update();
  DrawLayer(sprites().bulletLayer);
  const auto down = DrawsOf(DrawOp::Quad);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].args[0], 138);       // O - wN with N = (-1, 0)
  EXPECT_NEAR(down[0].args[5], 316, 1);  // far end (truncated)
}

TEST_F(SpriteTest, WarningLinesAreBlueForType11AndRedOtherwise) {
  Object_Bullet* red = spawnBullet(10, 20, 7);
  Object_Bullet* blue = spawnBullet(10, 20, 11);
  Object_Bullet* thin = spawnBullet(10, 20, 7);
  for (Object_Bullet* b : {red, blue, thin}) {
    b->laser = 1;
    b->radius = 0;
    b->length = 50;
    b->angle = 0.0f;
  }
  thin->thinAllowed = 1;
  sprites().update();
  DrawLayer(sprites().bulletLayer);
  const auto lines = DrawsOf(DrawOp::Segment);
  // Two lines each (3 px, then 1 px) for the warnings, one for the thin beam.
  ASSERT_EQ(lines.size(), 5u);
  int redCount = 0;
  int blueCount = 0;
  for (const auto& line : lines) {
    EXPECT_EQ(line.args[0], 42);
    EXPECT_EQ(line.args[2], 92);
    if (line.color == MakeColor(255, 0, 0)) ++redCount;
    if (line.color == MakeColor(0, 0, 255)) ++blueCount;
  }
  EXPECT_EQ(redCount, 3);
  EXPECT_EQ(blueCount, 2);
  EXPECT_EQ(lines[0].args[4] + lines[1].args[4], 4);  // a 3 px line and a 1 px line
}

TEST_F(SpriteTest, ItemChangesPictureWhenItsKindChanges) {
  field().player.setPosition(192, 400);
  Object_Item* item = SpawnItem(field(), 100, 100, ITEM_POWER);
  ASSERT_NE(item, nullptr);
  Sprite_Item* sprite = sprites().itemSprites.sprites[0];
  EXPECT_EQ(sprite->image, ItemImages[0]);
  EXPECT_EQ(sprite->blendMode, BLEND_ALPHA);
  EXPECT_EQ(sprite->blendParam, 130);
  item->kind = ITEM_POINT;
  item->x = 150.7f;
  sprites().update();
  EXPECT_EQ(sprite->image, ItemImages[1]);
  EXPECT_EQ(sprite->x, 150);
  EXPECT_EQ(sprite->blendParam, 130);
  DrawLayer(sprites().itemLayer);
  const auto draws = DrawsOf(DrawOp::Image);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].args[0], 32 + 150 - 8);
}

TEST_F(SpriteTest, ItemSpriteDoesNotAdoptAReusedSlotOfAnotherKind) {
  Object_Item* first = SpawnItem(field(), 100, 100, ITEM_POWER);
  Sprite_Item* oldSprite = sprites().itemSprites.sprites[0];
  first->dead = 1;
  field().items.release(first);
  Object_Item* second = SpawnItem(field(), 50, 50, ITEM_BOMB);
  ASSERT_EQ(second, first);
  sprites().update();
  EXPECT_TRUE(oldSprite->idle);
  EXPECT_FALSE(oldSprite->visible);
  EXPECT_EQ(oldSprite->image, ItemImages[0]);
  EXPECT_EQ(sprites().itemSprites.inUse(), 1);
}

TEST_F(SpriteTest, EffectPlaysItsCellsOnceThenReturnsToThePool) {
  stage->startEffect(60, 70, 1, BLEND_ADD, 120, 0.5, 2);
  Sprite_Effect* effect = sprites().effectSprites.sprites[0];
  EXPECT_FALSE(effect->idle);
  EXPECT_EQ(effect->x, 60);
  EXPECT_EQ(effect->blendMode, BLEND_ADD);
  EXPECT_EQ(effect->blendParam, 120);
  EXPECT_DOUBLE_EQ(effect->scale, 0.5);
  EXPECT_EQ(effect->ox, 64);
  EXPECT_GE(effect->angle, 0.0);
  EXPECT_LE(effect->angle, 6.2832);
  std::vector<int> cells;
  int frames = 0;
  while (!effect->idle && frames < 100) {
    sprites().update();
    ++frames;
    if (cells.empty() || cells.back() != effect->image) cells.push_back(effect->image);
  }
  // Two frames per cell, 25 cells, and the last picture is kept.
  EXPECT_EQ(frames, 49);
  ASSERT_EQ(cells.size(), 25u);
  EXPECT_EQ(cells.front(), EffectImages[0][0]);
  EXPECT_EQ(effect->image, EffectImages[0][24]);
}

TEST_F(SpriteTest, EffectOfAKindWithoutPicturesDrawsNoRandomNumber) {
  SeedRandom(5);
  const int expected = RandomUpTo(1000);
  SeedRandom(5);
  stage->startEffect(0, 0, 2, BLEND_ADD, 255, 1.0, 0);  // kind 2 has no cells here
  EXPECT_EQ(RandomUpTo(1000), expected);
  Sprite_Effect* effect = sprites().effectSprites.sprites[0];
  EXPECT_EQ(effect->image, 0);
  sprites().update();
  EXPECT_TRUE(effect->idle);
}

TEST_F(SpriteTest, FullSpritePoolLeavesObjectsUndrawn) {
  for (Sprite_Bullet* sprite : sprites().bulletSprites.sprites) sprite->idle = false;
  Object_Bullet* b = spawnBullet(5, 5, 1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->sprite, nullptr);
  // The bullet still flies and is tested; it is only unseen.
  EXPECT_EQ(b->dead, 0);
}

TEST_F(SpriteTest, ModelSpriteDrawsWithItsOwnCamera) {
  const std::string path = "velmora_sprite_model_" + std::to_string(getpid()) + ".mv1";
  {
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("v 0 0 0 9 9 9\nv 1 0 0 9 9 9\nv 0 1 0 9 9 9\nf 1 2 3\n", f);
    std::fclose(f);
  }
  const int handle = LoadModelFile(path.c_str());
  std::remove(path.c_str());
  ASSERT_GT(handle, 0);
  Sprite_3DModel model(sprites().effectLayer);
  model.image = handle;
  model.x = 192;
  model.y = 180;
  engine::headless::ClearDraws();
  model.draw(32, 16);
  ASSERT_EQ(DrawsOf(DrawOp::Model).size(), 1u);
  EXPECT_EQ(DrawsOf(DrawOp::Model)[0].handle, handle);
  // Hidden, or without a model, nothing is drawn.
  model.visible = false;
  engine::headless::ClearDraws();
  model.draw(32, 16);
  model.visible = true;
  model.image = 0;
  model.draw(32, 16);
  EXPECT_TRUE(DrawsOf(DrawOp::Model).empty());
  DeleteModel(handle);
}

}  // namespace
