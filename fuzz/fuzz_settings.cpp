// Any bytes as "setting.dat": only exactly 8 bytes are taken, and the
// volumes that come out are always in 0..255.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto s = DecodeSettings(data, size);
  if (s.has_value() != (size == kSettingsFileSize)) std::abort();
  if (s) {
    if (s->bgmVolume < 0 || s->bgmVolume > 255 || s->seVolume < 0 || s->seVolume > 255) {
      std::abort();
    }
    uint8_t out[kSettingsFileSize];
    EncodeSettings(*s, out);
    const auto again = DecodeSettings(out, sizeof out);
    if (!again || again->bgmVolume != s->bgmVolume || again->seVolume != s->seVolume) {
      std::abort();
    }
  }
  return 0;
}
