#include "objects/EnemyTable.h"

#include "objects/Object_Enemy.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

std::vector<EnemyRecord> gEnemyTable;

namespace {

const EnemyRecord* FindRow(int32_t row) {
  if (row < 1 || row > static_cast<int32_t>(gEnemyTable.size())) return nullptr;
  return &gEnemyTable[static_cast<size_t>(row - 1)];
}

void TakeRecord(Object_Enemy& enemy, const EnemyRecord& record) {
  enemy.graphic = record.graphic;
  enemy.hitPoints = record.hitPoints;
  enemy.radius = record.radius;
  for (int k = 0; k < 4; ++k) enemy.drops[k] = record.drops[k];
  enemy.setActions(record.actions);
}

// What every spawn does first: id, no parent, placed, script and motion cleared.
void Restart(Object_Enemy& enemy, float x, float y) {
  enemy.id = NextObjectId();
  enemy.parent = nullptr;
  enemy.setPosition(x, y);
  enemy.actions.clear();
  enemy.vx = enemy.vy = 0.0f;
  enemy.accelX = enemy.accelY = 0.0f;
  enemy.clock = 0;
}

void AttachSprite(Object_Enemy& enemy) {
  if (StageHost* host = CurrentStage()) host->attachEnemySprite(enemy);
}

}  // namespace

Object_Enemy* SpawnEnemyFromTable(Stage_Field& field, int32_t row, float x, float y) {
  const EnemyRecord* record = FindRow(row);
  if (!record) return nullptr;
  Object_Enemy* enemy = field.enemies.acquire();
  if (!enemy) return nullptr;
  Restart(*enemy, x, y);
  enemy->resetEnemy();
  TakeRecord(*enemy, *record);
  AttachSprite(*enemy);
  return enemy;
}

Object_Enemy* SpawnEnemyBare(Stage_Field& field, uint8_t graphic) {
  Object_Enemy* enemy = field.enemies.acquire();
  if (!enemy) return nullptr;
  enemy->id = NextObjectId();
  enemy->graphic = graphic;
  enemy->parent = nullptr;
  enemy->setPosition(0.0f, 0.0f);
  enemy->actions.clear();
  enemy->vx = enemy->vy = 0.0f;
  enemy->accelX = enemy->accelY = 0.0f;
  enemy->clock = 0;
  enemy->hitPoints = 500;
  enemy->drops[0] = 2;
  enemy->drops[1] = 4;
  AttachSprite(*enemy);
  return enemy;
}

bool BringInBoss(Stage_Field& field, int32_t row, float x, float y, int32_t stageNumber) {
  const EnemyRecord* record = FindRow(row);
  if (!record) return false;
  // The Extra stage keeps what is in play when its bosses come in.
  if (stageNumber != 7) field.clearEnemiesAndBullets();
  Object_Boss& boss = field.boss;
  boss.dead = 0;
  Restart(boss, x, y);
  boss.resetEnemy();
  TakeRecord(boss, *record);
  boss.maxHitPoints = boss.hitPoints;
  field.bossActive = 1;
  AttachSprite(boss);
  // Its actions at time 0 run on entry.
  boss.update();
  return true;
}
