#include "display/Sprite_Bar.h"

#include "engine/Engine.h"

int32_t Sprite_Bar::fillExtent() const {
  // An empty scale has nothing to fill (and must not divide by zero).
  if (maximum == 0) return 0;
  const double w = static_cast<double>(value) * fillWidth / maximum;
  if (w >= fillWidth) return fillWidth;
  if (w <= 0.0) return 0;
  return static_cast<int32_t>(w);
}

void Sprite_Bar::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(red, green, blue);
  const int32_t left = baseX + x - ox;
  const int32_t top = baseY + y - oy;
  const int32_t w = fillExtent();
  DrawImage(left, top, backImage, true);
  DrawImageStretched(left + fillX, top + fillY, left + fillX + w, top + fillY + fillHeight, image,
                     true);
  DrawImage(left, top, frontImage, true);
}

void Sprite_IconBar::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(255, 255, 255);
  // Past maxSlots the icons close up so the row keeps its width.
  const float step = count <= maxSlots ? static_cast<float>(spacing)
                                       : static_cast<float>(spacing) * maxSlots / count;
  const int32_t left = baseX + x - ox;
  const int32_t top = baseY + y - oy;
  for (int32_t i = 0; i < count; ++i) {
    DrawImage(left + static_cast<int32_t>(static_cast<float>(i) * step), top, image, transparent);
  }
}
