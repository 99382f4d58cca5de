// FreeType faces and glyph rasterising.
#include "FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  return lib;
}

bool faceIsBold(FT_Face face) {
  if (face->style_flags & FT_STYLE_FLAG_BOLD) return true;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  return os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 600;
}

int roundPixels(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

}  // namespace

FontFace::~FontFace() {
  if (face_ != nullptr) FT_Done_Face(face_);
}

bool FontFace::open(const std::string& file, int index, const FaceStyle& style) {
  if (face_ != nullptr) {
    FT_Done_Face(face_);
    face_ = nullptr;
  }
  FT_Library lib = library();
  if (lib == nullptr || file.empty()) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, file.c_str(), index, &face) != 0) return false;
  face_ = face;
  style_ = style;
  // A font's size is the height of its character cell (ascender plus
  // descender), as the game's text layouts were measured with, not the em
  // square: faces with tall ascenders would otherwise spill out of the rows.
  FT_Size_RequestRec request{};
  request.type = FT_SIZE_REQUEST_TYPE_CELL;
  request.height = static_cast<FT_Long>(style.size) * 64;
  if (!FT_IS_SCALABLE(face) || FT_Request_Size(face, &request) != 0) {
    FT_Done_Face(face);
    face_ = nullptr;
    return false;
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  // Narrowing keeps the cell height, so rows stay where they are; FreeType
  // scales the outlines and the advances alike.
  if (style.widthScale != 1.0) {
    FT_Matrix narrow = {static_cast<FT_Fixed>(style.widthScale * 0x10000), 0, 0, 0x10000};
    FT_Set_Transform(face, &narrow, nullptr);
  }
  emboldenStrength_ =
      style.weight >= 600 && !faceIsBold(face) ? std::max<long>(32, style.size * 64L / 24) : 0;
  shear_ = style.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
  ascent_ = roundPixels(face->size->metrics.ascender);
  lineHeight_ = std::max(1, roundPixels(face->size->metrics.height));
  // A damaged file can open and still fail every glyph: refuse it now
  // rather than draw nothing later.
  RasterGlyph probe;
  if (!render(U'A', probe)) {
    FT_Done_Face(face);
    face_ = nullptr;
    return false;
  }
  return true;
}

bool FontFace::hasGlyph(char32_t codePoint) const {
  return face_ != nullptr && FT_Get_Char_Index(face_, codePoint) != 0;
}

std::string FontFace::familyName() const {
  return face_ != nullptr && face_->family_name != nullptr ? face_->family_name : "";
}

bool FontFace::render(char32_t codePoint, RasterGlyph& out) {
  out = RasterGlyph();
  if (face_ == nullptr) return false;
  const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
  const FT_Int32 target = style_.antialias ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO;
  if (FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP | target) != 0) return false;
  FT_GlyphSlot slot = face_->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (emboldenStrength_ != 0) FT_Outline_Embolden(&slot->outline, emboldenStrength_);
  if (shear_) {
    // Lean the upright outline about its baseline, as an oblique cut would.
    FT_Matrix shear = {0x10000, 0x3800, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  const FT_Render_Mode mode = style_.antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
  if (FT_Render_Glyph(slot, mode) != 0) return false;
  out.advance = roundPixels(slot->advance.x + emboldenStrength_);
  out.left = slot->bitmap_left;
  out.top = slot->bitmap_top;
  const FT_Bitmap& bitmap = slot->bitmap;
  out.width = static_cast<int>(bitmap.width);
  out.height = static_cast<int>(bitmap.rows);
  if (out.width <= 0 || out.height <= 0) {
    out.width = out.height = 0;
    return true;
  }
  out.coverage.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (int row = 0; row < out.height; ++row) {
    const uint8_t* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    uint8_t* dst = out.coverage.data() + static_cast<size_t>(row) * out.width;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      std::memcpy(dst, src, static_cast<size_t>(out.width));
    } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (int col = 0; col < out.width; ++col) {
        dst[col] = (src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
      }
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace engine
