// The enemy table: one record per enemy file, referred to by 1-based row.
// Enemies and bosses take their graphic, hit points, radius, drops and
// action list from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objects/Action.h"

class Object_Enemy;
class Stage_Field;

struct EnemyRecord {
  uint8_t graphic = 1;
  int32_t hitPoints = 1;
  int32_t radius = 10;
  uint8_t drops[4] = {};
  std::vector<Action> actions;
};

extern std::vector<EnemyRecord> gEnemyTable;

// A new enemy of row n at (x, y); null when n is outside the table or the
// pool is full.
Object_Enemy* SpawnEnemyFromTable(Stage_Field& field, int32_t row, float x, float y);
// A bare part (graphic g, 500 hit points, drops 2 and 4) that keeps whatever
// else its pool slot held; null when the pool is full.
Object_Enemy* SpawnEnemyBare(Stage_Field& field, uint8_t graphic);
// Brings the boss of row n in at (x, y); false when the row does not exist.
bool BringInBoss(Stage_Field& field, int32_t row, float x, float y, int32_t stageNumber);
