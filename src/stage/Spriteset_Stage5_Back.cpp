#include "stage/Spriteset_Stage5_Back.h"

#include <algorithm>

#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

namespace {
// The streaks' strength is a function of the clock alone (not a running
// sum), so a jump of the clock lands on the strength of its new moment.
constexpr int32_t kStreaksBase = 60, kStreaksFlare = 150;
constexpr int32_t kVeilFrom = 2400, kVeilAlpha = 150;

int32_t StreakStrength(int32_t t) {
  if (t < 7200) return kStreaksBase;
  if (t <= 7600) return kStreaksBase + (t - 7200) * (kStreaksFlare - kStreaksBase) / 400;
  return kStreaksFlare;
}
}  // namespace

Spriteset_Stage5_Back::Spriteset_Stage5_Back() {
  layer1 = makeLayer(2400, 2400 - 448);
  layer2 = makeLayer(512, 512 - 448);
  layer3 = makeLayer(704, 704 - 448);
  layer3->visible = false;
}

Spriteset_Stage5_Back::~Spriteset_Stage5_Back() { releasePictures(); }

void Spriteset_Stage5_Back::releasePictures() { releaseLayers({layer1, layer2, layer3}); }

void Spriteset_Stage5_Back::setup() {
  releasePictures();
  loadLayer(layer1, "Graphics/stage5-1.jpg");
  loadLayer(layer2, "Graphics/stage5-2.png");
  loadLayer(layer3, "Graphics/stage5-3.png");
  layer1->blendMode = BLEND_NONE;
  layer1->blendParam = 255;
  layer2->blendMode = BLEND_ADD;
  layer2->blendParam = kStreaksBase;
  layer3->blendMode = BLEND_ALPHA;
  layer3->blendParam = 0;
  layer3->visible = false;
}

void Spriteset_Stage5_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  // The shaft runs, halts for the rift cruiser, and slows before the blade.
  if (t < 6000 || (6100 < t && t < 6900)) {
    layer1->scroll(1.0f);
  } else if (t >= 6900) {
    layer1->scroll(0.25f);
  }
  layer2->scroll(t < 6900 ? 7.0f : 3.0f);
  layer2->blendParam = StreakStrength(t);
  layer3->visible = t >= kVeilFrom;
  if (layer3->visible) {
    layer3->scroll(2.0f);
    layer3->blendParam = std::min(kVeilAlpha, (t - kVeilFrom) / 2);
  }
}
