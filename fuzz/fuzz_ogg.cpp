// Fuzz target: Ogg Vorbis opening, decoding, and seeking as a looping stream does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/SoundData.h"

// libvorbisfile 1.3.7 loses a few bytes inside its header reading on some
// damaged streams (it clears the file itself when opening fails, so nothing
// is left for the caller to free). The fuzzer hunts memory errors, not that.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  auto decoder = engine::OpenOgg(bytes);
  if (!decoder) return 0;
  float buffer[2 * 1024];
  for (int i = 0; i < 64 && decoder->read(buffer, 1024) > 0; ++i) {
  }
  if (decoder->length() > 0) decoder->seek(decoder->length() / 2);
  decoder->read(buffer, 1024);
  decoder->seek(0);
  engine::PcmBuffer pcm;
  engine::DecodeAll(*decoder, pcm, 1 << 18);
  return 0;
}
