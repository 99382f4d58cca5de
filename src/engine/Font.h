// Fonts of the text operations: a face at one size and style, its glyphs
// rasterised once into an atlas, and the table of font handles.
#pragma once

#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <unordered_map>

#include "FontAtlas.h"
#include "FontFace.h"

namespace engine {

struct FaceChoice;

// Where a glyph sits in its font's atlas and how it is placed on a line.
struct Glyph {
  int advance = 0;
  int offsetX = 0;  // from the pen to the bitmap's left edge
  int offsetY = 0;  // from the line's top to the bitmap's top row
  int width = 0;    // 0: nothing to draw (space, control, missing)
  int height = 0;
  int page = 0;
  int atlasX = 0;
  int atlasY = 0;
};

struct FontOptions {
  FaceStyle style;
  bool edge = false;  // outline in the edge colour
  int edgeSize = 1;
  bool japanese = false;  // prefer a Japanese face when the name is unknown
};

class Font {
 public:
  // Opens the face of a resolved name; null when it cannot be used.
  static std::unique_ptr<Font> Open(const FaceChoice& face, const FontOptions& options);

  const Glyph& glyph(char32_t codePoint);
  // Width of the widest line (lines end at '\n').
  int measure(const std::u32string& text);

  int ascent() const { return face_.ascent(); }
  int lineHeight() const { return face_.lineHeight(); }
  const FontOptions& options() const { return options_; }
  std::string familyName() const { return face_.familyName(); }
  const FontFace& face() const { return face_; }
  FontAtlas& atlas() { return atlas_; }

 private:
  Glyph build(char32_t codePoint);
  FontFace* fallback();

  FontOptions options_;
  FontFace face_;
  std::unique_ptr<FontFace> fallback_;
  bool fallbackTried_ = false;
  std::array<Glyph, 256> latin_{};
  std::bitset<256> latinReady_;
  std::unordered_map<char32_t, Glyph> others_;
  FontAtlas atlas_;
};

// Handle table. Handles count from 1; -1 never names a font.
int AddFont(std::unique_ptr<Font> font);
Font* FindFont(int handle);
// The layer's own font (a Japanese gothic at 16 pixels), made on first use;
// null only when no face at all can be opened.
Font* DefaultFont();

// A font straight from a font file (tests and tools): a handle, or -1 when
// the file cannot be used.
int CreateFontFromFile(const std::string& file, int index, const FontOptions& options);

}  // namespace engine
