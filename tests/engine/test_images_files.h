// Small picture files made by the image tests themselves: PNG through
// libpng's simplified writer, JPEG through libjpeg into memory.
#pragma once

#include <png.h>
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <string>
#include <vector>

namespace test_images {

inline uint32_t Rgba(int r, int g, int b, int a = 255) {
  return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 | static_cast<uint32_t>(b) << 16 |
         static_cast<uint32_t>(a) << 24;
}

// Four solid quadrants: red top-left, green top-right, blue bottom-left,
// white bottom-right.
inline std::vector<uint32_t> Quadrants(int size) {
  std::vector<uint32_t> p(static_cast<size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool right = x >= size / 2, bottom = y >= size / 2;
      p[static_cast<size_t>(y) * size + x] = !bottom
                                                 ? (right ? Rgba(0, 255, 0) : Rgba(255, 0, 0))
                                                 : (right ? Rgba(255, 255, 255) : Rgba(0, 0, 255));
    }
  }
  return p;
}

inline std::vector<uint8_t> PngBytes(int width, int height, const std::vector<uint32_t>& rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<uint8_t> out(size);
  png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
  out.resize(size);
  return out;
}

inline std::vector<uint8_t> JpegBytes(int width, int height, int r, int g, int b) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<JSAMPLE>(r);
    row[x * 3 + 1] = static_cast<JSAMPLE>(g);
    row[x * 3 + 2] = static_cast<JSAMPLE>(b);
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  free(buffer);
  return out;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  int c;
  while ((c = std::fgetc(f)) != EOF) out.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  return out;
}

// A fresh working directory for one test, left and removed afterwards. Data
// files are named relative to the working directory, as the game names them.
class TempDir {
 public:
  TempDir() {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-img-XXXXXX").string();
    if (mkdtemp(pattern.data())) {
      path_ = pattern;
      std::filesystem::current_path(path_, ec);
      if (ec) path_.clear();
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return name; }
  bool Ok() const { return !path_.empty(); }

 private:
  std::filesystem::path previous_;
  std::string path_;
};

}  // namespace test_images
