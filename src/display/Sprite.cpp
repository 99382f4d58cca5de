#include "display/Sprite.h"

#include "app/Module_Graphics.h"
#include "engine/Engine.h"

Sprite::Sprite() {
  if (gGraphics.defaultViewport) gGraphics.defaultViewport->registerChild(this);
}

Sprite::Sprite(Viewport* viewport) {
  if (viewport) viewport->registerChild(this);
}

void Sprite::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(red, green, blue);
  // The image point (ox, oy) lands on (x, y): the origin is the rotation
  // centre here, not subtracted from the position.
  DrawImageRotated(baseX + x, baseY + y, ox, oy, scale, angle, image, transparent, flip);
}

void Sprite::update() {}
void Sprite::reset() {}
