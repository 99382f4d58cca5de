// The objects of one stage: the ship and its options, the boss, the four
// pools, the stage script rows and the script clock. Built when a stage
// starts, deleted when it ends; its frame pass updates and collides every
// object once per frame in a fixed order.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/ObjectPool.h"
#include "objects/Object_Boss.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"
#include "objects/Object_Item.h"
#include "objects/Object_Player.h"
#include "objects/Object_PlayerOption.h"

inline constexpr int32_t kEnemyCapacity = 100;
inline constexpr int32_t kItemCapacity = 200;
inline constexpr int32_t kEnemyBulletCapacity = 500;
inline constexpr int32_t kPlayerShotCapacity = 150;

// One row of the stage timeline.
struct ScriptRow {
  int32_t frame = 0;
  int32_t duration = 0;
  int32_t command = 0;
  float x = 0.0f;
  float y = 0.0f;
  int32_t number = 0;
};

class Stage_Field {
 public:
  Object_Player player;
  Object_PlayerOption options[4];
  Object_Enemy* nearestEnemy = nullptr;  // may point at a released slot
  Object_Boss boss;
  ObjectPool<Object_Enemy> enemies{kEnemyCapacity};
  ObjectPool<Object_Item> items{kItemCapacity};
  ObjectPool<Object_Bullet> enemyBullets{kEnemyBulletCapacity};
  ObjectPool<Object_Bullet> playerShots{kPlayerShotCapacity};
  std::vector<ScriptRow> script;
  int8_t stageNumber = 0;
  int32_t scriptClock = 0;
  int32_t nearestDistance = 1000;
  int32_t resumeFrame = 0;  // script clock to jump to when the boss is beaten; 0 none
  uint8_t bossActive = 0;
  uint8_t bossFinished = 0;
  uint8_t stageFinished = 0;

  Stage_Field();
  Stage_Field(const Stage_Field&) = delete;
  Stage_Field& operator=(const Stage_Field&) = delete;

  // Everything of one frame, in order (see Stage_Field.cpp).
  void framePass();
  // Releases every enemy, then every enemy bullet; no explosions, no score.
  void clearEnemiesAndBullets();

 private:
  void updateEnemyBullets(bool talking);
  void updatePlayerShots();
  void cancelBulletsWith(Object_Bullet& shot);
  void updateBossAndEnemies(bool talking);
  void shotsAgainstEnemy(Object_Enemy& enemy);
  void updateItems();
  void letGo(Object_Bullet& bullet);
};
