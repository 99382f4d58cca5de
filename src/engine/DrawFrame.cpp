// Frame-level operations: clearing, presenting and screenshots.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Draw.h"
#include "Engine.h"
#include "Overlay.h"

namespace engine {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// A 24-bit, bottom-up Windows bitmap: the form every viewer reads.
std::vector<uint8_t> encodeBmp(int width, int height, const std::vector<uint32_t>& rgba) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(54 + static_cast<size_t>(pixelBytes));
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + pixelBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // no compression
  put32(out, pixelBytes);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  out.resize(54 + pixelBytes, 0);
  uint8_t* row = out.data() + 54;
  for (int y = height - 1; y >= 0; --y, row += rowBytes) {
    const uint32_t* src = rgba.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<uint8_t>(src[x] >> 16);  // blue first
      row[x * 3 + 1] = static_cast<uint8_t>(src[x] >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(src[x]);
    }
  }
  return out;
}

}  // namespace
}  // namespace engine

void ClearDrawTarget() {
  engine::headless::DrawCall call;
  call.op = engine::headless::DrawOp::Clear;
  engine::RecordDraw(call);
  if (engine::EngineIsUp()) engine::CurrentBackend().video->clear();
}

void PresentFrame() {
  engine::headless::DrawCall call;
  call.op = engine::headless::DrawOp::Present;
  engine::RecordDraw(call);
  if (!engine::EngineIsUp()) return;
  if (!engine::headless::Active()) engine::DrawOverlay();
  engine::CurrentBackend().video->present();
}

int SaveDrawScreen(int x1, int y1, int x2, int y2, const char* path) {
  if (!path || !engine::EngineIsUp()) return -1;
  const int l = std::clamp(std::min(x1, x2), 0, 640), r = std::clamp(std::max(x1, x2), 0, 640);
  const int t = std::clamp(std::min(y1, y2), 0, 480), b = std::clamp(std::max(y1, y2), 0, 480);
  const int width = r - l, height = b - t;
  if (width <= 0 || height <= 0) return -1;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  if (!engine::CurrentBackend().video->readPixels(l, t, width, height, pixels.data())) return -1;
  const std::vector<uint8_t> bmp = engine::encodeBmp(width, height, pixels);
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return -1;
  const bool written = std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
  const bool closed = std::fclose(f) == 0;
  if (!(written && closed)) {
    std::remove(path);  // no half-written picture left behind
    return -1;
  }
  return 0;
}
