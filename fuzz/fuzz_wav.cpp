// Fuzz target: the WAV reader, then the resampling every loaded effect goes through.
#include <cstddef>
#include <cstdint>

#include "engine/SoundData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine::PcmBuffer pcm;
  if (engine::DecodeWav(data, size, pcm) && pcm.frames() < (1 << 18)) {
    engine::Resample(pcm, engine::kMixRate);
  }
  return 0;
}
