#include "display/Sprite_BackGround.h"

#include "engine/Engine.h"

void Sprite_BackGround_Scroll::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(red, green, blue);
  DrawImageRect(baseX + x, baseY + y, srcX, srcY, srcWidth, srcHeight, image, transparent, flip);
}

void Sprite_BackGround_Scroll::scroll(float speed) {
  scrollPos -= speed;
  srcY = static_cast<int32_t>(scrollPos);
  if (srcY < 0) {
    srcY += wrapLength;
    scrollPos += static_cast<float>(wrapLength);
  }
  if (srcY > wrapLength) {
    srcY -= wrapLength;
    scrollPos -= static_cast<float>(wrapLength);
  }
}
