#include "stage/Spriteset_Stage6_Back.h"

#include <algorithm>

#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

namespace {
constexpr int kGuardianSet = 27;  // enemy image set shown over the sea
// Clock marks of the stage's timeline.
constexpr int32_t kCurrentsWake = 3000;
constexpr int32_t kCloudThins = 5000;
constexpr int32_t kCruiserFrom = 6500, kCruiserTo = 6600;
constexpr int32_t kSeaStops = 7550;
constexpr int32_t kGuardianFrom = 8300, kGuardianTo = 8799;
constexpr int32_t kCloudAlpha = 120, kThinCloudAlpha = 50;
constexpr int32_t kCurrentsAlpha = 40, kAwakeCurrentsAlpha = 70;
}  // namespace

Spriteset_Stage6_Back::Spriteset_Stage6_Back() {
  sea = makeLayer(2880, 2880 - 448);
  cloud = makeLayer(560, 560 - 448);
  currents = makeLayer(337, 337 - 448);
  guardian = makeStill(192, 250);
  guardian->visible = false;
}

Spriteset_Stage6_Back::~Spriteset_Stage6_Back() { releasePictures(); }

void Spriteset_Stage6_Back::releasePictures() {
  releaseLayers({sea, cloud, currents});
  guardian->image = 0;  // a shared enemy picture, not ours to release
}

void Spriteset_Stage6_Back::setup() {
  releasePictures();
  loadLayer(sea, "Graphics/stage6-1.png");
  loadLayer(cloud, "Graphics/stage6-2.png");
  loadLayer(currents, "Graphics/stage6-3.png");
  sea->blendMode = BLEND_NONE;
  sea->blendParam = 255;
  cloud->blendMode = BLEND_ALPHA;
  cloud->blendParam = kCloudAlpha;
  currents->blendMode = BLEND_ADD;
  currents->blendParam = kCurrentsAlpha;
  currents->visible = false;

  placeEnemyStill(guardian, kGuardianSet, 192, 250);
}

void Spriteset_Stage6_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  const bool seaMoves = t < kCruiserFrom || (kCruiserTo < t && t < kSeaStops);
  if (seaMoves) sea->scroll(0.6f);
  cloud->scroll(seaMoves ? 1.4f : 0.3f);
  if (t > kCloudThins && t % 4 == 0)
    cloud->blendParam = std::max(kThinCloudAlpha, cloud->blendParam - 1);
  currents->visible = t >= kCurrentsWake;
  currents->scroll(t > kCruiserTo ? 4.0f : 2.0f);
  currents->blendParam = t >= kSeaStops ? kAwakeCurrentsAlpha : kCurrentsAlpha;
  guardian->visible = kGuardianFrom <= t && t <= kGuardianTo;
}
