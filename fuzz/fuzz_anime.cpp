// Any bytes as an animation table: the reader must not crash, and a table it
// accepts has a sane cell count with one duration slot per cell.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/AnimeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto table = ParseAnimeTable(data, size);
  if (table) {
    if (table->cellCount < 1 || table->cellCount > kAnimeMaxCells) std::abort();
    if (table->durations.size() != static_cast<size_t>(table->cellCount)) std::abort();
  }
  return 0;
}
