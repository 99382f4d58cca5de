// JPEG through libjpeg(-turbo). Its errors long-jump back into decodeInto,
// which therefore holds only plain data; the pixel vector lives in the
// caller's frame so no destructor is ever skipped.
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "ImageDecode.h"

namespace engine {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  bool truncated;
};

void onError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings are silent; a file that ends early counts as unreadable rather
// than as a picture padded with grey.
void onMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
  }
}

void onOutput(j_common_ptr) {}

uint32_t packRgba(unsigned r, unsigned g, unsigned b) { return r | g << 8 | b << 16 | 0xFF000000u; }

// Adobe writes CMYK inverted; both common variants decode to the same idea:
// each channel is the ink's complement multiplied by black's complement.
uint32_t fromCmyk(const JSAMPLE* p) {
  const unsigned k = p[3];
  return packRgba(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
}

bool decodeInto(const uint8_t* data, size_t size, std::vector<uint32_t>& pixels,
                std::vector<JSAMPLE>& row, int* width, int* height) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.emit_message = onMessage;
  errors.base.output_message = onOutput;
  errors.truncated = false;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
      !ImageSizeAcceptable(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_start_decompress(&info);
  const int w = static_cast<int>(info.output_width);
  const int h = static_cast<int>(info.output_height);
  if (!ImageSizeAcceptable(w, h) || info.output_components != 4) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  pixels.resize(static_cast<size_t>(w) * h);
  row.resize(static_cast<size_t>(w) * 4);
  while (info.output_scanline < info.output_height && !errors.truncated) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    uint32_t* dst = pixels.data() + static_cast<size_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      const JSAMPLE* p = row.data() + x * 4;
      dst[x] = cmyk ? fromCmyk(p) : packRgba(p[0], p[1], p[2]);
    }
  }
  const bool complete = info.output_scanline == info.output_height && !errors.truncated;
  if (complete) jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (!complete) return false;
  *width = w;
  *height = h;
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
  out = DecodedImage{};
  if (!data || size == 0) return false;
  std::vector<uint32_t> pixels;
  std::vector<JSAMPLE> row;
  int width = 0;
  int height = 0;
  if (!decodeInto(data, size, pixels, row, &width, &height)) return false;
  out.width = width;
  out.height = height;
  out.pixels = std::move(pixels);
  return true;
}

}  // namespace engine
