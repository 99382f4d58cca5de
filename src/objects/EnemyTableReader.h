// Reading the enemy files ("Data/EnemyDB/enemy%d.csv") into the enemy table.
// The format is loose on purpose: fields a row leaves out are carried over
// from the row before, even from the previous file, so the readers keep that
// carried state between files of one load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "objects/EnemyTable.h"

inline constexpr int32_t kEnemyTableSize = 499;
inline constexpr size_t kEnemyFieldMax = 64;  // a longer field splits in two

// Values of the last action row read, handed on to rows that leave fields out.
struct EnemyRowCarry {
  int32_t time = 0;
  int32_t duration = 0;
  int32_t op = 0;
  float p1 = 0.0f;
  float p2 = 0.0f;
  int32_t qualifier = 0;
};

// Parses one enemy file into `record` (which starts with the header
// defaults), keeping only the action rows meant for `difficulty`.
void ParseEnemyFile(const uint8_t* data, size_t size, int32_t difficulty, EnemyRowCarry& carry,
                    EnemyRecord& record);

// Rebuilds gEnemyTable from enemy1.csv to enemy499.csv for the difficulty.
// A missing file gives a record with the header defaults and no actions.
void LoadEnemyTable(int32_t difficulty);

// The leading decimal number of a field: leading blanks, a sign, digits with
// an optional fraction and exponent; no number reads as 0. Values beyond the
// float range stop at its ends, so data never yields infinities.
double DecimalFloatValue(std::string_view text);
