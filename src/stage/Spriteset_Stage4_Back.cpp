#include "stage/Spriteset_Stage4_Back.h"

#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"
#include "objects/Sprite_3DModel.h"

namespace {
constexpr int kGuardianSet = 22;  // enemy image set shown with the gate
// The gate's turn per frame: a float step added to the double angle, so the
// angle keeps the float's rounding (0.004999999888241291) on every frame.
constexpr float kModelStep = 0.005f;
}  // namespace

Spriteset_Stage4_Back::Spriteset_Stage4_Back() {
  layer1 = makeLayer(3200, 3200 - 448);
  layer2 = makeLayer(380, 380 - 448);
  layer3 = makeLayer(491, 491 - 448);
  still1 = makeStill(192, 250);
  still1->visible = false;
  model = new Sprite_3DModel(viewport);
  model->visible = false;
}

Spriteset_Stage4_Back::~Spriteset_Stage4_Back() { releasePictures(); }

void Spriteset_Stage4_Back::releasePictures() {
  releaseLayers({layer1, layer2, layer3});
  still1->image = 0;  // a shared enemy picture, not ours to release
  if (model->image > 0) DeleteModel(model->image);
  model->image = 0;
}

void Spriteset_Stage4_Back::setup() {
  releasePictures();
  loadLayer(layer1, "Graphics/stage4-1.png");
  loadLayer(layer2, "Graphics/stage4-2.png");
  loadLayer(layer3, "Graphics/stage4-3.png");
  layer1->blendMode = BLEND_NONE;
  layer1->blendParam = 255;
  layer2->blendMode = BLEND_SUB;
  layer2->blendParam = 50;
  layer3->blendMode = BLEND_ALPHA;
  layer3->blendParam = 150;

  placeEnemyStill(still1, kGuardianSet, 192, 250);

  model->image = LoadModelFile("Graphics/doro.mv1");
  model->x = 192;
  model->y = 180;
  model->z = -50;
  model->scale = 1.3;
  model->angle = 0.0;
  model->visible = false;
}

void Spriteset_Stage4_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  if (t < 6500 || (6600 < t && t < 7550)) layer1->scroll(0.5f);
  layer2->scroll(1.0f);
  layer3->scroll(3.0f);
  if (t > 6500 && t % 2 == 0) {
    layer2->blendParam -= 1;
    layer3->blendParam -= 1;
  }
  const bool guardianShown = 8300 <= t && t <= 8799;
  still1->visible = guardianShown;
  model->visible = guardianShown;
  model->angle += kModelStep;
}
