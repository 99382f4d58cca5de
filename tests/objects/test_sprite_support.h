// Object sprites under test: a stage that serves the gameplay objects with a
// real Spriteset_Stage (so spawning takes sprites from its pools), headless
// drawing, and image tables filled with real, distinct pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Resources.h"
#include "app/Scene.h"
#include "app/SceneRunner.h"
#include "display/TestImage.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"
#include "stage/Spriteset_Stage.h"

class SpriteStage : public Scene, public StageHost {
 public:
  std::unique_ptr<Stage_Field> field = std::make_unique<Stage_Field>();
  std::unique_ptr<Spriteset_Stage> sprites = std::make_unique<Spriteset_Stage>();

  Stage_Field* stageField() override { return field.get(); }
  bool conversationMode() const override { return false; }
  void attachBulletSprite(Object_Bullet& bullet, bool playerShot) override {
    sprites->attachBullet(bullet, playerShot);
  }
  void attachEnemySprite(Object_Enemy& enemy) override { sprites->attachEnemy(enemy); }
  void attachItemSprite(Object_Item& item) override { sprites->attachItem(item); }
  void letBulletSpriteGo(Object_Bullet& bullet) override { sprites->letBulletGo(bullet); }
  void startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode, int32_t blendParam,
                   double scale, int32_t frameStep) override {
    sprites->startEffect(x, y, kind, blendMode, blendParam, scale, frameStep);
  }
};

class SpriteTest : public ::testing::Test {
 protected:
  std::unique_ptr<SpriteStage> stage;

  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    SeedRandom(777);
    for (auto& set : PlayerImages) FillSet(set, 16, 32, 48);
    FillSet(EnemyImages[0], 16, 32, 32);
    FillSet(EnemyImages[4], 16, 64, 64);
    FillSet(ItemImages, kItemImages, 16, 16);
    FillSet(BulletImages, kBulletImages, 16, 16);
    FillSet(EffectImages[0], kEffectCells, 128, 128);
    stage = std::make_unique<SpriteStage>();
    gCurrentScene = stage.get();
    engine::headless::ClearDraws();
  }

  void TearDown() override {
    gCurrentScene = nullptr;
    stage.reset();
    std::memset(PlayerImages, 0, sizeof PlayerImages);
    std::memset(EnemyImages, 0, sizeof EnemyImages);
    std::memset(ItemImages, 0, sizeof ItemImages);
    std::memset(BulletImages, 0, sizeof BulletImages);
    std::memset(EffectImages, 0, sizeof EffectImages);
    DeleteAllImages();
    EngineEnd();
  }

  static void FillSet(int* cells, int count, int width, int height) {
    for (int i = 0; i < count; ++i) cells[i] = testimage::Make(width, height);
  }

  Stage_Field& field() { return *stage->field; }
  Spriteset_Stage& sprites() { return *stage->sprites; }

  // A bullet in flight, spawned the way the patterns do (with a sprite).
  Object_Bullet* spawnBullet(float x, float y, int8_t type) {
    Object_Bullet* b = Object_Bullet::Spawn(field().enemyBullets, type);
    if (!b) return nullptr;
    b->setPosition(x, y);
    b->noDelay = 1;
    b->delay = 0;
    stage->attachBulletSprite(*b, false);
    return b;
  }

  // A still enemy of graphic g with a sprite.
  Object_Enemy* spawnEnemy(float x, float y, uint8_t graphic) {
    Object_Enemy* e = field().enemies.acquire();
    e->id = NextObjectId();
    e->resetMotion();
    e->resetEnemy();
    e->graphic = graphic;
    e->setPosition(x, y);
    stage->attachEnemySprite(*e);
    return e;
  }

  // The recorded draws of one kind since the last ClearDraws.
  static std::vector<engine::headless::DrawCall> DrawsOf(engine::headless::DrawOp op) {
    std::vector<engine::headless::DrawCall> out;
    for (const auto& call : engine::headless::Draws()) {
      if (call.op == op) out.push_back(call);
    }
    return out;
  }

  // Draws only the given layer, as the tree would (offsets of the field).
  static void DrawLayer(Viewport* layer) {
    engine::headless::ClearDraws();
    layer->draw(0, 0);
  }
};
