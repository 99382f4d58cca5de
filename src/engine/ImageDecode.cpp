// Picks the decoder from the first bytes of the file.
#include "ImageDecode.h"

#include <cstring>

namespace engine {

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out) {
  out = DecodedImage{};
  if (!data) return false;
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0) {
    return DecodePng(data, size, out);
  }
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
    return DecodeJpeg(data, size, out);
  }
  return false;
}

}  // namespace engine
