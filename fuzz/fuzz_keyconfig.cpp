// The key configuration reader on arbitrary file contents: only a 32-byte
// file is taken, it round-trips exactly, and every mask has a letter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/KeyConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t masks[8] = {0x10, 0x20, 0x10, 0x20, 0x40, 0x80, 0x200, 0x100};
  uint32_t before[8];
  std::memcpy(before, masks, sizeof masks);
  const bool taken = DecodeKeyConfig(data, size, masks);
  if (taken != (size == kKeyConfigFileSize)) std::abort();
  if (!taken) {
    if (std::memcmp(before, masks, sizeof masks) != 0) std::abort();
    return 0;
  }
  uint8_t again[kKeyConfigFileSize];
  EncodeKeyConfig(masks, again);
  if (std::memcmp(again, data, kKeyConfigFileSize) != 0) std::abort();
  for (uint32_t mask : masks) {
    const char letter = ButtonLetter(mask);
    if (letter != ' ' && (letter < 'A' || letter > 'Z')) std::abort();
  }
  return 0;
}
