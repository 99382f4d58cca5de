// Image decoding from memory: PNG and JPEG into straight-alpha RGBA pixels
// (one uint32_t each, R in the lowest byte). Pure code, no device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, rows top to bottom
};

// Pictures beyond these bounds are refused before any pixel memory is taken,
// so a damaged header cannot ask for gigabytes.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{32} * 1024 * 1024;

// Each returns false (and leaves out empty) for anything it cannot read.
bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out);
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out);
// Chooses the decoder by the file's signature, not by its name.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage& out);

inline bool ImageSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

}  // namespace engine
