// Test images for the headless backend: a plain RGBA PNG written to a
// temporary file and loaded through the facade, so draws are recorded with
// a real handle.
#pragma once

#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/Engine.h"

namespace testimage {

inline void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

inline void PutChunk(std::vector<uint8_t>& out, const char* type,
                     const std::vector<uint8_t>& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// Writes a width x height opaque grey PNG at path.
inline bool WritePng(const std::string& path, int width, int height) {
  std::vector<uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (int x = 0; x < width; ++x) {
      raw.insert(raw.end(), {128, 128, 128, 255});
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
    return false;
  }
  packed.resize(packedSize);
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok;
}

// A loaded image handle (> 0) of the given size, or -1.
inline int Make(int width, int height) {
  // Data paths are relative to the working directory; the process id keeps
  // parallel test processes apart.
  const std::string path = "velmora_test_" + std::to_string(getpid()) + "_" +
                           std::to_string(width) + "x" + std::to_string(height) + ".png";
  if (!WritePng(path, width, height)) return -1;
  const int handle = LoadImageFile(path.c_str());
  std::remove(path.c_str());
  return handle;
}

}  // namespace testimage
