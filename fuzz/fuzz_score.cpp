// Any 3944 bytes as "score.dat" go through the record and back unchanged,
// apart from the reserved bytes, which always go out as zero.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "persist/ScoreData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t in[kScoreFileSize] = {};
  std::memcpy(in, data, size < kScoreFileSize ? size : kScoreFileSize);
  ScoreData d;
  d.FromBytes(in);
  uint8_t out[kScoreFileSize];
  d.ToBytes(out);
  if (std::memcmp(in, out, kScoreFileSize - 3) != 0) std::abort();
  for (size_t i = kScoreFileSize - 3; i < kScoreFileSize; ++i) {
    if (out[i] != 0) std::abort();
  }
  // Ranking insertions with whatever the file held never leave the table.
  if (size >= 2) d.InsertRanking(data[0] % 16 - 2, data[1] % 14 - 2, 1, 1, "FUZZ");
  return 0;
}
