// Any bytes as an enemy file, read on every difficulty with the values
// carried from one reading to the next: the reader must not crash, keeps
// action codes to 8 bits, and never yields non-finite parameters.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "objects/EnemyTableReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnemyRowCarry carry;
  for (int32_t difficulty : {1, 3, 5, 6}) {
    EnemyRecord record;
    ParseEnemyFile(data, size, difficulty, carry, record);
    for (const Action& a : record.actions) {
      if (a.op < 0 || a.op > 255) std::abort();
      if (!std::isfinite(a.p1) || !std::isfinite(a.p2)) std::abort();
    }
    // Every row holds at least three characters and a separator.
    if (record.actions.size() > size / 3 + 1) std::abort();
  }
  return 0;
}
