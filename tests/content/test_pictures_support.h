// Reading built pictures for the content tests (RGBA, 8 bits a channel).
#pragma once

#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace picture_test {

struct Picture {
  int w = 0, h = 0;
  std::vector<uint8_t> px;  // RGBA rows
  bool ok() const { return w > 0 && h > 0; }
  const uint8_t* at(int x, int y) const { return &px[(size_t(y) * size_t(w) + size_t(x)) * 4]; }
  int alpha(int x, int y) const { return at(x, y)[3]; }
  float luma(int x, int y) const {
    const uint8_t* p = at(x, y);
    return (0.2126f * p[0] + 0.7152f * p[1] + 0.0722f * p[2]) / 255.0f;
  }
};

inline std::string GraphicsPath(const std::string& name) {
  return std::string(VELMORA_GAME_DIR) + "/Graphics/" + name;
}

inline Picture ReadPngFile(const std::string& path) {
  Picture pic;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return pic;
  image.format = PNG_FORMAT_RGBA;
  pic.px.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pic.px.data(), 0, nullptr)) return pic;
  pic.w = int(image.width);
  pic.h = int(image.height);
  return pic;
}

inline Picture ReadJpegFile(const std::string& path) {
  Picture pic;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return pic;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  pic.w = int(cinfo.output_width);
  pic.h = int(cinfo.output_height);
  pic.px.resize(size_t(pic.w) * size_t(pic.h) * 4);
  std::vector<uint8_t> row(size_t(pic.w) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    size_t y = cinfo.output_scanline;
    JSAMPROW p = row.data();
    jpeg_read_scanlines(&cinfo, &p, 1);
    for (int x = 0; x < pic.w; ++x) {
      uint8_t* d = &pic.px[(y * size_t(pic.w) + size_t(x)) * 4];
      d[0] = row[size_t(x) * 3];
      d[1] = row[size_t(x) * 3 + 1];
      d[2] = row[size_t(x) * 3 + 2];
      d[3] = 255;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(f);
  return pic;
}

inline Picture ReadGraphic(const std::string& name) {
  std::string path = GraphicsPath(name);
  if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") return ReadJpegFile(path);
  return ReadPngFile(path);
}

// Pixels of the cell (cx, cy) of size cw x ch whose alpha is at least `min`.
inline int OpaqueIn(const Picture& p, int x0, int y0, int cw, int ch, int min = 64) {
  int n = 0;
  for (int y = y0; y < y0 + ch; ++y)
    for (int x = x0; x < x0 + cw; ++x) n += p.alpha(x, y) >= min;
  return n;
}

}  // namespace picture_test
