// Fonts, their glyph cache and the handle table.
#include "Font.h"

#include <algorithm>
#include <vector>

#include "Backend.h"
#include "FontConfig.h"

namespace engine {

std::unique_ptr<Font> Font::Open(const FaceChoice& face, const FontOptions& options) {
  auto font = std::make_unique<Font>();
  font->options_ = options;
  // Glyphs borrowed from the fallback face are narrowed alike.
  font->options_.style.widthScale = face.widthScale;
  if (!font->face_.open(face.file, face.index, font->options_.style)) return nullptr;
  return font;
}

FontFace* Font::fallback() {
  if (!fallbackTried_) {
    fallbackTried_ = true;
    FaceChoice choice;
    if (ResolveFallbackFace(options_.style.weight, options_.style.italic, choice)) {
      fallback_ = std::make_unique<FontFace>();
      if (!fallback_->open(choice.file, choice.index, options_.style)) fallback_.reset();
    }
  }
  return fallback_.get();
}

Glyph Font::build(char32_t codePoint) {
  Glyph g;
  if (codePoint < 0x20 || codePoint == 0x7F) return g;  // controls take no room
  FontFace* source = &face_;
  if (!face_.hasGlyph(codePoint)) {
    // A face lacking the character borrows it from one that has it; when
    // none has it the face's own missing-glyph mark is drawn.
    FontFace* other = fallback();
    if (other != nullptr && other->hasGlyph(codePoint)) source = other;
  }
  RasterGlyph raster;
  if (!source->render(codePoint, raster)) return g;
  g.advance = raster.advance;
  g.offsetX = raster.left;
  // Fallback glyphs share this face's baseline.
  g.offsetY = face_.ascent() - raster.top;
  if (raster.width > 0 && raster.height > 0 &&
      atlas_.place(raster.coverage.data(), raster.width, raster.height, g.page, g.atlasX,
                   g.atlasY)) {
    g.width = raster.width;
    g.height = raster.height;
  }
  return g;
}

const Glyph& Font::glyph(char32_t codePoint) {
  if (codePoint < 256) {
    if (!latinReady_[codePoint]) {
      latin_[codePoint] = build(codePoint);
      latinReady_[codePoint] = true;
    }
    return latin_[codePoint];
  }
  auto it = others_.find(codePoint);
  if (it != others_.end()) return it->second;
  return others_.emplace(codePoint, build(codePoint)).first->second;
}

int Font::measure(const std::u32string& text) {
  int widest = 0;
  int width = 0;
  for (char32_t c : text) {
    if (c == U'\n') {
      widest = std::max(widest, width);
      width = 0;
      continue;
    }
    width += glyph(c).advance;
  }
  return std::max(widest, width);
}

namespace {

struct FontTable {
  std::vector<std::unique_ptr<Font>> fonts;  // handle = index + 1
  std::unique_ptr<Font> defaultFont;
  bool defaultTried = false;
};

FontTable& table() {
  static FontTable t;
  return t;
}

}  // namespace

int AddFont(std::unique_ptr<Font> font) {
  if (!font) return -1;
  FontTable& t = table();
  t.fonts.push_back(std::move(font));
  return static_cast<int>(t.fonts.size());
}

Font* FindFont(int handle) {
  FontTable& t = table();
  if (handle < 1 || handle > static_cast<int>(t.fonts.size())) return nullptr;
  return t.fonts[static_cast<size_t>(handle) - 1].get();
}

Font* DefaultFont() {
  FontTable& t = table();
  if (!t.defaultTried) {
    t.defaultTried = true;
    FontOptions options;
    options.style.size = 16;
    options.japanese = true;
    FaceChoice choice;
    if (ResolveFontFace("IPAGothic", options.style.weight, false, true, choice)) {
      t.defaultFont = Font::Open(choice, options);
    }
  }
  return t.defaultFont.get();
}

int CreateFontFromFile(const std::string& file, int index, const FontOptions& options) {
  FaceChoice choice;
  choice.file = file;
  choice.index = index;
  return AddFont(Font::Open(choice, options));
}

void ReleaseFonts() {
  FontTable& t = table();
  for (auto& font : t.fonts) {
    if (font) font->atlas().releaseTextures();
  }
  if (t.defaultFont) t.defaultFont->atlas().releaseTextures();
  t.fonts.clear();
  t.defaultFont.reset();
  t.defaultTried = false;
}

}  // namespace engine
