#include "stage/Spriteset_Stage3_Back.h"

#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

namespace {
constexpr int32_t kLayerStart = 2612;
constexpr int kArtifactSet = 14;  // enemy image set shown as the silhouette
}  // namespace

Spriteset_Stage3_Back::Spriteset_Stage3_Back() {
  layer1 = makeLayer(3840, kLayerStart);
  still1 = makeStill(192, 200);
  still1->visible = false;
}

Spriteset_Stage3_Back::~Spriteset_Stage3_Back() {
  release(layer1->image);
  still1->image = 0;  // a shared enemy picture, not ours to release
}

void Spriteset_Stage3_Back::setup() {
  release(layer1->image);
  layer1->image = LoadImageFile("Graphics/stage3-1.jpg");
  layer1->srcY = kLayerStart;
  layer1->scrollPos = static_cast<float>(kLayerStart);
  layer1->blendMode = BLEND_NONE;
  layer1->blendParam = 255;

  still1->image = EnemyImages[kArtifactSet - 1][0];
  centreOrigin(still1);
  still1->x = 192;
  still1->y = 200;
  still1->visible = false;
}

void Spriteset_Stage3_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  if (t < 6000 || (6100 < t && t < 6900)) layer1->scroll(0.5f);
  still1->visible = 7200 <= t && t <= 7600;
}
