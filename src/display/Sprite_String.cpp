#include "display/Sprite_String.h"

#include "engine/Engine.h"

namespace {

int ToColor(TextColour c) { return MakeColor(c.r, c.g, c.b); }

}  // namespace

void Sprite_String::drawTextLine(int32_t boxWidth, int32_t lineAlign, const std::string& line,
                                 int32_t px, int32_t py, TextColour lineColour) const {
  if (line.empty()) return;
  if (boxWidth > 0 && (lineAlign == 1 || lineAlign == 2)) {
    const int32_t textWidth = MeasureText(line.c_str(), image);
    // A text wider than the box starts left of it when centred.
    px += lineAlign == 1 ? (boxWidth - textWidth) / 2 : boxWidth - textWidth;
  }
  const int edge = ToColor(edgeColour);
  auto put = [&](int32_t tx, int32_t ty, int color) {
    if (image != 0) {
      DrawTextWithFont(tx, ty, line.c_str(), color, image, edge);
    } else {
      DrawTextDefault(tx, ty, line.c_str(), color, edge);
    }
  };
  if (outline) {
    put(px + 1, py + 1, edge);
    put(px - 1, py + 1, edge);
    put(px + 1, py - 1, edge);
    put(px - 1, py - 1, edge);
  } else if (shadow) {
    put(px + 1, py + 1, edge);
  }
  put(px, py, ToColor(lineColour));
}

void Sprite_String::drawBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  SetBlendMode(BLEND_ALPHA, 150);
  DrawRectangle(left, top, right, bottom, MakeColor(0, 0, 0), true);
  SetBlendMode(BLEND_NONE, 0);
  DrawRectangle(left, top, right, bottom, MakeColor(200, 200, 200), false);
}

void Sprite_String::draw(int32_t baseX, int32_t baseY) {
  if (!visible) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(255, 255, 255);
  drawTextLine(width, align, text, baseX + x - ox, baseY + y - oy, colour);
}

Sprite_MessageWindow::Sprite_MessageWindow() : Sprite_String() { setDefaults(); }

Sprite_MessageWindow::Sprite_MessageWindow(Viewport* viewport) : Sprite_String(viewport) {
  setDefaults();
}

void Sprite_MessageWindow::setDefaults() {
  visible = false;
  outline = true;
  x = 16;
  y = 352;
  width = 352;
  colour = {255, 255, 255};
  edgeColour = {0, 0, 0};
  align = 0;
}

void Sprite_MessageWindow::draw(int32_t baseX, int32_t baseY) {
  if (!visible) return;
  const int32_t left = baseX + x - ox;
  const int32_t top = baseY + y - oy;
  if (framed) {
    SetDrawBrightness(255, 255, 255);
    drawBox(left, top, left + width, top + boxHeight);
  }
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(255, 255, 255);
  const int32_t inner = width - 2 * margin;
  drawTextLine(inner, align, text, left + margin, top + margin, colour);
  drawTextLine(inner, align, line2, left + margin, top + margin + lineSpacing, colour);
}
