#include "stage/Spriteset_Stage_Back.h"

#include "app/Resources.h"
#include "display/GObject.h"
#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"
#include "stage/Spriteset_Stage1_Back.h"
#include "stage/Spriteset_Stage2_Back.h"
#include "stage/Spriteset_Stage3_Back.h"
#include "stage/Spriteset_Stage4_Back.h"
#include "stage/Spriteset_Stage5_Back.h"
#include "stage/Spriteset_Stage6_Back.h"
#include "stage/Spriteset_Stage7_Back.h"

namespace {
constexpr int32_t kFieldX = 32, kFieldY = 16, kFieldWidth = 384, kFieldHeight = 448;
// Below the stage's own layers (enemies start at 10).
constexpr int32_t kSceneryDepth = 5;
}  // namespace

Spriteset_Stage_Back::Spriteset_Stage_Back()
    : viewport(new Viewport(kFieldX, kFieldY, kFieldWidth, kFieldHeight, kSceneryDepth)) {}

// The viewport takes every sprite still in it along.
Spriteset_Stage_Back::~Spriteset_Stage_Back() { delete viewport; }

Sprite_BackGround_Scroll* Spriteset_Stage_Back::makeLayer(int32_t period, int32_t start) {
  auto* layer = new Sprite_BackGround_Scroll(viewport);
  layer->srcX = 0;
  layer->srcWidth = kFieldWidth;
  layer->srcHeight = kFieldHeight;
  layer->wrapLength = period;
  layer->srcY = start;
  layer->scrollPos = static_cast<float>(start);
  return layer;
}

Sprite* Spriteset_Stage_Back::makeStill(int32_t x, int32_t y) {
  auto* still = new Sprite(viewport);
  still->x = x;
  still->y = y;
  return still;
}

void Spriteset_Stage_Back::release(int32_t& handle) {
  if (handle > 0) DeleteImage(handle);
  handle = 0;
}

void Spriteset_Stage_Back::loadLayer(Sprite_BackGround_Scroll* layer, const char* path) {
  release(layer->image);
  layer->image = LoadImageFile(path);
  layer->srcY = layer->wrapLength - kFieldHeight;
  layer->scrollPos = static_cast<float>(layer->srcY);
}

void Spriteset_Stage_Back::releaseLayers(std::initializer_list<Sprite_BackGround_Scroll*> layers) {
  for (Sprite_BackGround_Scroll* layer : layers) release(layer->image);
}

void Spriteset_Stage_Back::placeEnemyStill(Sprite* still, int set, int32_t x, int32_t y) {
  still->image = EnemyImages[set - 1][0];
  centreOrigin(still);
  still->x = x;
  still->y = y;
  still->visible = false;
}

void Spriteset_Stage_Back::loadInto(Sprite* sprite, const char* path) {
  release(sprite->image);
  sprite->image = LoadImageFile(path);
}

void Spriteset_Stage_Back::centreOrigin(Sprite* sprite) {
  int w = 0, h = 0;
  if (sprite->image > 0 && GetImageSize(sprite->image, &w, &h) == 0) {
    sprite->ox = w / 2;
    sprite->oy = h / 2;
  }
}

std::unique_ptr<Spriteset_Stage_Back> MakeStageBack(int32_t stage) {
  switch (stage) {
    case 1:
      return std::make_unique<Spriteset_Stage1_Back>();
    case 2:
      return std::make_unique<Spriteset_Stage2_Back>();
    case 3:
      return std::make_unique<Spriteset_Stage3_Back>();
    case 4:
      return std::make_unique<Spriteset_Stage4_Back>();
    case 5:
      return std::make_unique<Spriteset_Stage5_Back>();
    case 6:
      return std::make_unique<Spriteset_Stage6_Back>();
    case 7:
      return std::make_unique<Spriteset_Stage7_Back>();
    default:
      return std::make_unique<Spriteset_Stage_Back>();
  }
}

std::unique_ptr<Spriteset> MakeStageScenery(int32_t stage, const int32_t* scriptClock) {
  std::unique_ptr<Spriteset_Stage_Back> back = MakeStageBack(stage);
  back->setup();
  back->scriptClock = scriptClock;
  return back;
}
