// Any bytes as a replay file: reading never reads out of bounds nor keeps
// more than the bytes hold, and what was read writes back to an image that
// reads the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "persist/ReplayFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReplayRecord record;
  ReplayFromBytes(data, size, record);
  // Every stage record takes at least one byte of the file, every sample
  // at least one.
  size_t samples = 0;
  for (const ReplayStage& s : record.stages) samples += s.frames.size();
  if (record.stages.size() > size || samples > size) std::abort();
  if (static_cast<int32_t>(record.stages.size()) != ReplayStagesPresent(data, size)) std::abort();

  // What was read is a fixed point: written out and read again, it gives
  // the same image.
  const std::vector<uint8_t> out = ReplayToBytes(record);
  ReplayRecord again;
  ReplayFromBytes(out.data(), out.size(), again);
  if (ReplayToBytes(again) != out) std::abort();
  return 0;
}
