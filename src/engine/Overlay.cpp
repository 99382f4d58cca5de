// The debug text layer: PrintOverlay appends, ClearOverlay empties,
// PresentFrame draws it on top of the picture, white with a dark shadow.
#include "Overlay.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "Backend.h"
#include "Engine.h"

namespace engine {
namespace {

// Lines that fit on the screen; older lines scroll away.
constexpr int kMaxLines = 480 / kOverlayCellHeight;
constexpr int kAtlasColumns = 16;
constexpr int kAtlasRows = 6;  // 96 cells: ' '..'~' and the unknown box
constexpr int kAtlasWidth = kAtlasColumns * kOverlayCellWidth;
constexpr int kAtlasHeight = kAtlasRows * kOverlayCellHeight;

struct OverlayState {
  std::string text;
  void* atlas = nullptr;
};

OverlayState& overlay() {
  static OverlayState s;
  return s;
}

void dropOldLines(std::string& text) {
  int lines = 1;
  for (char c : text) lines += c == '\n';
  while (lines > kMaxLines) {
    text.erase(0, text.find('\n') + 1);
    --lines;
  }
}

int atlasCell(unsigned char c) { return c >= 0x20 && c <= 0x7E ? c - 0x20 : 95; }

void* makeAtlas() {
  std::vector<uint32_t> pixels(static_cast<size_t>(kAtlasWidth) * kAtlasHeight, 0);
  for (int cell = 0; cell < 96; ++cell) {
    const uint8_t* rows = OverlayGlyph(static_cast<unsigned char>(cell == 95 ? 0 : cell + 0x20));
    const int ox = cell % kAtlasColumns * kOverlayCellWidth;
    const int oy = cell / kAtlasColumns * kOverlayCellHeight;
    for (int y = 0; y < kOverlayGlyphHeight; ++y) {
      for (int x = 0; x < kOverlayGlyphWidth; ++x) {
        if (rows[y] >> (kOverlayGlyphWidth - 1 - x) & 1) {
          pixels[static_cast<size_t>(oy + y) * kAtlasWidth + ox + x] = 0xFFFFFFFFu;
        }
      }
    }
  }
  return CurrentBackend().video->createTexture(kAtlasWidth, kAtlasHeight, pixels.data());
}

void addGlyph(std::vector<Vertex>& v, std::vector<int>& idx, int cell, float x, float y,
              uint8_t shade) {
  const float u0 = static_cast<float>(cell % kAtlasColumns * kOverlayCellWidth) / kAtlasWidth;
  const float v0 = static_cast<float>(cell / kAtlasColumns * kOverlayCellHeight) / kAtlasHeight;
  const float du = static_cast<float>(kOverlayGlyphWidth) / kAtlasWidth;
  const float dv = static_cast<float>(kOverlayGlyphHeight) / kAtlasHeight;
  const float w = kOverlayGlyphWidth, h = kOverlayGlyphHeight;
  const int base = static_cast<int>(v.size());
  v.push_back({x, y, u0, v0, shade, shade, shade, 255});
  v.push_back({x + w, y, u0 + du, v0, shade, shade, shade, 255});
  v.push_back({x + w, y + h, u0 + du, v0 + dv, shade, shade, shade, 255});
  v.push_back({x, y + h, u0, v0 + dv, shade, shade, shade, 255});
  for (int i : {0, 1, 2, 0, 2, 3}) idx.push_back(base + i);
}

}  // namespace

const std::string& OverlayText() { return overlay().text; }

void ReleaseOverlay() {
  OverlayState& s = overlay();
  if (s.atlas && EngineIsUp()) CurrentBackend().video->destroyTexture(s.atlas);
  s.atlas = nullptr;
  s.text.clear();
}

void DrawOverlay() {
  OverlayState& s = overlay();
  if (s.text.empty() || !EngineIsUp()) return;
  if (!s.atlas) s.atlas = makeAtlas();
  if (!s.atlas) return;
  std::vector<Vertex> v;
  std::vector<int> idx;
  for (const uint8_t shade : {uint8_t{0}, uint8_t{255}}) {  // shadow first, then the text
    const float offset = shade == 0 ? 1.0f : 0.0f;
    int column = 0, line = 0;
    for (unsigned char c : s.text) {
      if (c == '\n') {
        column = 0;
        ++line;
        continue;
      }
      if (c != ' ') {
        addGlyph(v, idx, atlasCell(c), static_cast<float>(column * kOverlayCellWidth) + offset,
                 static_cast<float>(line * kOverlayCellHeight) + offset, shade);
      }
      ++column;
    }
  }
  if (idx.empty()) return;
  // The layer ignores the game's clip rectangle, then puts it back.
  VideoDevice& video = *CurrentBackend().video;
  const DrawState& d = CurrentDrawState();
  video.setClip(false, 0, 0, 640, 480);
  video.drawGeometry(s.atlas, v.data(), static_cast<int>(v.size()), idx.data(),
                     static_cast<int>(idx.size()), BLEND_NONE);
  video.setClip(d.clipOn, d.clip[0], d.clip[1], d.clip[2], d.clip[3]);
}

}  // namespace engine

void PrintOverlay(const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length > 0) {
    std::string piece(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(piece.data(), piece.size(), format, args);
    piece.resize(static_cast<size_t>(length));
    engine::overlay().text += piece;
    engine::dropOldLines(engine::overlay().text);
  }
  va_end(args);
}

void ClearOverlay() { engine::overlay().text.clear(); }
