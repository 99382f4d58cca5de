// A stage without a stage scene: a scene that serves gameplay objects as
// their stage, records what they ask of the sprite pools, and a fixture that
// makes it the current scene with the global modules reset.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Scene.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "objects/EnemyTable.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

struct EffectCall {
  int32_t x, y, kind, blendMode, blendParam;
  double scale;
  int32_t frameStep;
};

class TestStage : public Scene, public StageHost {
 public:
  std::unique_ptr<Stage_Field> field = std::make_unique<Stage_Field>();
  bool talking = false;
  int32_t bossTitle = 0;
  std::function<void(Stage_Field&)> script;  // one step of a scripted timeline
  std::vector<EffectCall> effects;
  std::vector<int32_t> spritesLetGo;  // ids of bullets whose sprite was let go
  int32_t scriptSteps = 0;

  Stage_Field* stageField() override { return field.get(); }
  bool conversationMode() const override { return talking; }
  int32_t bossTitleNumber() const override { return bossTitle; }
  void stepStageScript() override {
    ++scriptSteps;
    if (script) script(*field);
  }
  void letBulletSpriteGo(Object_Bullet& bullet) override { spritesLetGo.push_back(bullet.id); }
  void startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode, int32_t blendParam,
                   double scale, int32_t frameStep) override {
    effects.push_back({x, y, kind, blendMode, blendParam, scale, frameStep});
  }
};

class FieldTest : public ::testing::Test {
 protected:
  std::unique_ptr<TestStage> stage;

  void SetUp() override {
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    gInput = Module_Input();  // no button held
    gEnemyTable.clear();
    SeedRandom(12345);
    stage = std::make_unique<TestStage>();
    gCurrentScene = stage.get();
  }
  void TearDown() override {
    gCurrentScene = nullptr;
    gEnemyTable.clear();
  }

  Stage_Field& field() { return *stage->field; }
  Object_Player& player() { return stage->field->player; }

  // The ship parked at (px, py) in state 0, standing still.
  void placePlayer(float px, float py) {
    player().resetMotion();
    player().setPosition(px, py);
    player().state = PLAYER_NORMAL;
    player().stateCounter = 0;
  }

  // An enemy bullet already in flight (active, no delay) at (bx, by).
  Object_Bullet* enemyBullet(float bx, float by, int8_t type = 1) {
    Object_Bullet* b = Object_Bullet::Spawn(field().enemyBullets, type);
    if (!b) return nullptr;
    b->setPosition(bx, by);
    b->noDelay = 1;
    b->delay = 0;
    return b;
  }

  // A laser of the given half width and length from (bx, by) along angle.
  Object_Bullet* enemyLaser(float bx, float by, float angle, int32_t width, int32_t length) {
    Object_Bullet* b = enemyBullet(bx, by, 7);
    b->laser = 1;
    b->angle = angle;
    b->radius = width;
    b->length = length;
    return b;
  }

  Object_Bullet* playerShot(float sx, float sy, int32_t damage, int8_t type = 9) {
    Object_Bullet* s = Object_Bullet::Spawn(field().playerShots, type);
    if (!s) return nullptr;
    s->setPosition(sx, sy);
    s->noDelay = 1;
    s->damage = damage;
    return s;
  }

  // A still enemy with no script.
  Object_Enemy* enemy(float ex, float ey, int32_t hitPoints, int32_t radius) {
    Object_Enemy* e = field().enemies.acquire();
    e->id = NextObjectId();
    e->resetMotion();
    e->resetEnemy();
    e->setPosition(ex, ey);
    e->hitPoints = hitPoints;
    e->radius = radius;
    for (auto& d : e->drops) d = 0;
    return e;
  }

  static bool Requested(int slot) { return gSound.seRequested[slot]; }
};
