// The text operations of the facade: fonts by face name, measuring, and
// drawing as textured quads from each font's glyph atlas.
#include <algorithm>
#include <string>
#include <vector>

#include "Backend.h"
#include "Draw.h"
#include "Engine.h"
#include "Font.h"
#include "FontConfig.h"
#include "Headless.h"
#include "TextDecode.h"

namespace engine {
namespace {

constexpr int kMaxFontSize = 256;

struct Rgb {
  int r, g, b;
};

// The one place that knows how MakeColor packs a colour.
Rgb unpackColor(int color) { return {(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF}; }

// Quads of one draw, gathered per atlas page; kept between calls so that a
// frame of text allocates nothing once warm.
struct Batch {
  std::vector<Vertex> vertices;
  std::vector<int> indices;
};
std::vector<Batch>& batches() {
  static std::vector<Batch> b;
  return b;
}

void addQuads(Font& font, const std::u32string& text, int x, int y, uint8_t r, uint8_t g, uint8_t b,
              uint8_t a) {
  const float scale = 1.0f / FontAtlas::kPageSize;
  std::vector<Batch>& out = batches();
  int penX = x;
  int lineTop = y;
  for (char32_t c : text) {
    if (c == U'\n') {
      penX = x;
      lineTop += font.lineHeight();
      continue;
    }
    const Glyph& glyph = font.glyph(c);
    if (glyph.width > 0) {
      if (static_cast<int>(out.size()) <= glyph.page) out.resize(glyph.page + 1);
      Batch& batch = out[glyph.page];
      const int base = static_cast<int>(batch.vertices.size());
      const float x1 = static_cast<float>(penX + glyph.offsetX);
      const float y1 = static_cast<float>(lineTop + glyph.offsetY);
      const float x2 = x1 + glyph.width;
      const float y2 = y1 + glyph.height;
      const float u1 = glyph.atlasX * scale;
      const float v1 = glyph.atlasY * scale;
      const float u2 = (glyph.atlasX + glyph.width) * scale;
      const float v2 = (glyph.atlasY + glyph.height) * scale;
      batch.vertices.push_back({x1, y1, u1, v1, r, g, b, a});
      batch.vertices.push_back({x2, y1, u2, v1, r, g, b, a});
      batch.vertices.push_back({x2, y2, u2, v2, r, g, b, a});
      batch.vertices.push_back({x1, y2, u1, v2, r, g, b, a});
      for (int i : {0, 1, 2, 0, 2, 3}) batch.indices.push_back(base + i);
    }
    penX += glyph.advance;
  }
}

uint8_t modulate(int channel, int bright) {
  return static_cast<uint8_t>(std::clamp(channel, 0, 255) * std::clamp(bright, 0, 255) / 255);
}

void drawText(Font& font, int x, int y, const std::u32string& text, int color, int edgeColor) {
  const DrawState& state = CurrentDrawState();
  // Glyphs carry their coverage in alpha, so even an unblended draw must
  // blend or it would stamp boxes.
  const int blend = state.blendMode == BLEND_NONE ? BLEND_ALPHA : state.blendMode;
  const uint8_t alpha = BlendAlpha();

  for (Batch& batch : batches()) {
    batch.vertices.clear();
    batch.indices.clear();
  }
  if (font.options().edge) {
    const Rgb e = unpackColor(edgeColor);
    const int d = std::clamp(font.options().edgeSize, 1, 4);
    for (int dy = -d; dy <= d; dy += d) {
      for (int dx = -d; dx <= d; dx += d) {
        if (dx == 0 && dy == 0) continue;
        addQuads(font, text, x + dx, y + dy, modulate(e.r, state.bright[0]),
                 modulate(e.g, state.bright[1]), modulate(e.b, state.bright[2]), alpha);
      }
    }
  }
  const Rgb c = unpackColor(color);
  addQuads(font, text, x, y, modulate(c.r, state.bright[0]), modulate(c.g, state.bright[1]),
           modulate(c.b, state.bright[2]), alpha);

  VideoDevice& video = *CurrentBackend().video;
  std::vector<Batch>& all = batches();
  for (size_t page = 0; page < all.size(); ++page) {
    Batch& batch = all[page];
    if (batch.indices.empty()) continue;
    void* texture = font.atlas().texture(static_cast<int>(page));
    if (texture == nullptr) continue;
    video.drawGeometry(texture, batch.vertices.data(), static_cast<int>(batch.vertices.size()),
                       batch.indices.data(), static_cast<int>(batch.indices.size()), blend);
  }
}

void recordDraw(int x, int y, const char* text, int color, int font, int edgeColor) {
  headless::DrawCall call;
  call.op = headless::DrawOp::Text;
  call.handle = font;
  call.args[0] = x;
  call.args[1] = y;
  call.args[2] = edgeColor;
  call.transparent = true;
  call.color = color;
  call.text = text;
  RecordDraw(call);
}

Font* fontOrDefault(int handle) {
  Font* font = FindFont(handle);
  return font != nullptr ? font : DefaultFont();
}

void drawWith(int x, int y, const char* text, int color, int handle, int edgeColor) {
  if (!EngineIsUp() || text == nullptr) return;
  recordDraw(x, y, text, color, handle, edgeColor);
  // Headless runs still lay the text out and fill the atlas, so tests and
  // benchmarks exercise the same path; only the device draws nothing.
  if (*text == '\0' || (!headless::Active() && !DeviceDrawWanted())) return;
  Font* font = fontOrDefault(handle);
  if (font == nullptr) return;
  drawText(*font, x, y, DecodeCp932(text), color, edgeColor);
}

}  // namespace
}  // namespace engine

int CreateFontToHandle(const char* faceName, int size, int thickness, int typeFlags, int charset,
                       int edgeSize, bool italic) {
  if (size <= 0 || size > engine::kMaxFontSize) return -1;
  engine::FontOptions options;
  options.style.size = size;
  // Thickness counts hundreds of weight; a negative one asks for the usual.
  options.style.weight = thickness < 0 ? 400 : std::clamp(thickness * 100, 100, 900);
  options.style.italic = italic;
  options.style.antialias = (typeFlags & 2) != 0;
  options.edge = (typeFlags & 1) != 0;
  options.edgeSize = edgeSize <= 0 ? 1 : edgeSize;
  // The Western selector is 0; anything else is the Japanese default set.
  options.japanese = charset != 0;
  const std::string name = engine::Cp932ToUtf8(faceName != nullptr ? faceName : "");
  engine::FaceChoice choice;
  if (engine::ResolveFontFace(name, options.style.weight, italic, options.japanese, choice)) {
    if (auto font = engine::Font::Open(choice, options)) return engine::AddFont(std::move(font));
  }
  // The chosen file is unusable: any face with the glyphs serves better than none.
  if (engine::ResolveFallbackFace(options.style.weight, italic, choice)) {
    return engine::AddFont(engine::Font::Open(choice, options));
  }
  return -1;
}

int MeasureText(const char* text, int font) {
  if (text == nullptr || *text == '\0') return 0;
  engine::Font* f = engine::fontOrDefault(font);
  return f != nullptr ? f->measure(engine::DecodeCp932(text)) : 0;
}

void DrawTextWithFont(int x, int y, const char* text, int color, int font, int edgeColor) {
  engine::drawWith(x, y, text, color, font, edgeColor);
}

void DrawTextDefault(int x, int y, const char* text, int color, int edgeColor) {
  // Recorded with handle 0: the layer's own font.
  engine::drawWith(x, y, text, color, 0, edgeColor);
}
