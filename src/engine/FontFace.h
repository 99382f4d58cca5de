// One FreeType face at one pixel size, rasterising glyphs as coverage masks.
// Weight and slant the face lacks are synthesised on the outline.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FT_FaceRec_;

namespace engine {

struct FaceStyle {
  int size = 16;     // pixels per em
  int weight = 400;  // 100..900
  bool italic = false;
  double widthScale = 1.0;  // glyphs and advances narrowed (< 1) or widened
  bool antialias = true;
};

// A glyph's coverage (0..255 per pixel, rows of `width` bytes) and its
// placement relative to the pen on the baseline, y growing downwards.
struct RasterGlyph {
  int advance = 0;
  int left = 0;
  int top = 0;  // distance from the baseline up to the first row
  int width = 0;
  int height = 0;
  std::vector<uint8_t> coverage;
};

class FontFace {
 public:
  FontFace() = default;
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;
  ~FontFace();

  // False when the file is missing, not a font, or cannot render at all.
  bool open(const std::string& file, int index, const FaceStyle& style);
  bool hasGlyph(char32_t codePoint) const;
  // Renders the glyph, or the face's missing-glyph mark when it has none.
  // False when even that fails (a damaged face).
  bool render(char32_t codePoint, RasterGlyph& out);

  int ascent() const { return ascent_; }
  int lineHeight() const { return lineHeight_; }
  bool synthesisedBold() const { return emboldenStrength_ != 0; }
  bool synthesisedItalic() const { return shear_; }
  std::string familyName() const;

 private:
  FT_FaceRec_* face_ = nullptr;
  FaceStyle style_;
  long emboldenStrength_ = 0;  // 26.6 pixels
  bool shear_ = false;
  int ascent_ = 0;
  int lineHeight_ = 0;
};

}  // namespace engine
