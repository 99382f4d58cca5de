#include "objects/Sprite_Effect.h"

#include "app/Resources.h"
#include "engine/Engine.h"

namespace {
constexpr int32_t kLastCell = kEffectCells - 1;
}  // namespace

int EffectCell(int32_t kind, int32_t n) {
  if (kind < 1 || kind > kEffectSets || n < 0 || n >= kEffectCells) return 0;
  return EffectImages[kind - 1][n];
}

Sprite_Effect::Sprite_Effect(Viewport* viewport) : Sprite(viewport) { blendMode = BLEND_ALPHA; }

void Sprite_Effect::reset() {
  image = EffectCell(kind, 0);
  if (image <= 0) {
    image = 0;
    return;
  }
  angle = RandomUpTo(62832) / 10000.0;
  ox = 64;
  oy = 64;
  cell = 0;
  counter = 0;
  moving = 0;
  frameStep = 1;
  visible = true;
  velocityX = velocityY = 0.0f;
  accelX = accelY = 0.0f;
}

void Sprite_Effect::update() {
  if (moving == 1) {
    velocityX += accelX;
    x += static_cast<int32_t>(velocityX);
    velocityY += accelY;
    y += static_cast<int32_t>(velocityY);
  }
  // A step below 1 would divide by zero; it plays one cell per frame.
  const int32_t step = frameStep > 0 ? frameStep : 1;
  if (counter % step == 0) {
    const int32_t shown = cell;
    image = EffectCell(kind, shown);
    cell += 1;
    if (shown >= kLastCell || image <= 0) idle = true;
  }
  counter += 1;
}
