// Feeds arbitrary bytes to the PNG decoder: it must fail cleanly or give
// pixels matching the size it reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/ImageDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine::DecodedImage image;
  if (engine::DecodePng(data, size, image) &&
      image.pixels.size() != static_cast<size_t>(image.width) * image.height) {
    std::abort();
  }
  return 0;
}
