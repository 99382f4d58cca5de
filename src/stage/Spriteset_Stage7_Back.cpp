#include "stage/Spriteset_Stage7_Back.h"

#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

namespace {
constexpr int kRegulatorSet = 28;  // enemy image set shown over the vault
// Clock marks of the stage's timeline.
constexpr int32_t kCruiserFrom = 6500, kCruiserTo = 6600;
constexpr int32_t kFourthHeaven = 8380;  // the field cleared at the threshold
constexpr int32_t kRegulatorFrom = 8500, kRegulatorTo = 8799;
constexpr int32_t kMistAlpha = 100;
constexpr int32_t kHaloAlpha = 45, kFourthHeavenHaloAlpha = 80;
}  // namespace

Spriteset_Stage7_Back::Spriteset_Stage7_Back() {
  vault = makeLayer(3200, 3200 - 448);
  mist = makeLayer(600, 600 - 448);
  halos = makeLayer(409, 409 - 448);
  regulator = makeStill(192, 200);
  regulator->visible = false;
}

Spriteset_Stage7_Back::~Spriteset_Stage7_Back() { releasePictures(); }

void Spriteset_Stage7_Back::releasePictures() {
  releaseLayers({vault, mist, halos});
  regulator->image = 0;  // a shared enemy picture, not ours to release
}

void Spriteset_Stage7_Back::setup() {
  releasePictures();
  loadLayer(vault, "Graphics/stage7-1.png");
  loadLayer(mist, "Graphics/stage7-2.png");
  loadLayer(halos, "Graphics/stage7-3.png");
  vault->blendMode = BLEND_NONE;
  vault->blendParam = 255;
  mist->blendMode = BLEND_ALPHA;
  mist->blendParam = kMistAlpha;
  halos->blendMode = BLEND_ADD;
  halos->blendParam = kHaloAlpha;
  halos->visible = false;

  placeEnemyStill(regulator, kRegulatorSet, 192, 200);
}

void Spriteset_Stage7_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  // The climb stops at the gate while its cruiser is fought, and for good at
  // the fourth heaven.
  const bool climbing = t < kCruiserFrom || (kCruiserTo < t && t < kFourthHeaven);
  if (climbing) vault->scroll(0.5f);
  mist->scroll(climbing ? 1.0f : 0.2f);
  halos->visible = t > kCruiserTo;
  halos->scroll(climbing ? 1.5f : 0.4f);
  halos->blendParam = t >= kFourthHeaven ? kFourthHeavenHaloAlpha : kHaloAlpha;
  regulator->visible = kRegulatorFrom <= t && t <= kRegulatorTo;
}
