// PNG through libpng's simplified reading interface, which reports errors
// by its return value instead of a long jump through our frames.
#include <png.h>

#include <bit>

#include "ImageDecode.h"

namespace engine {

static_assert(std::endian::native == std::endian::little,
              "pixels are stored as RGBA bytes read as little-endian words");

bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
  out = DecodedImage{};
  if (!data || size == 0) return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    png_image_free(&image);
    return false;
  }
  if (!ImageSizeAcceptable(image.width, image.height)) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
  const png_int_32 stride = static_cast<png_int_32>(image.width) * 4;
  if (!png_image_finish_read(&image, nullptr, pixels.data(), stride, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels = std::move(pixels);
  png_image_free(&image);
  return true;
}

}  // namespace engine
