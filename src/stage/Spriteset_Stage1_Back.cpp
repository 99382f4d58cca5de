#include "stage/Spriteset_Stage1_Back.h"

#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

Spriteset_Stage1_Back::Spriteset_Stage1_Back() {
  layer1 = makeLayer(3200, 3200 - 448);
  layer2 = makeLayer(2500, 2500 - 448);
  layer3 = makeLayer(450, 450 - 448);
  still1 = makeStill(0, -430);
}

Spriteset_Stage1_Back::~Spriteset_Stage1_Back() { releasePictures(); }

void Spriteset_Stage1_Back::releasePictures() {
  release(layer1->image);
  layer2->image = 0;  // shares layer 1's picture
  release(layer3->image);
  release(still1->image);
}

void Spriteset_Stage1_Back::setup() {
  releasePictures();
  layer1->image = LoadImageFile("Graphics/stage1-1.jpg");
  layer2->image = layer1->image;
  layer3->image = LoadImageFile("Graphics/stage2-3.png");
  still1->image = LoadImageFile("Graphics/stage1-2.png");

  for (auto* layer : {layer1, layer2, layer3}) {
    layer->srcY = layer->wrapLength - 448;
    layer->scrollPos = static_cast<float>(layer->srcY);
    layer->blendMode = BLEND_NONE;
    layer->blendParam = 255;
  }
  layer2->blendMode = BLEND_ADD;
  layer2->blendParam = 180;
  layer2->red = layer2->green = layer2->blue = 100;
  layer2->flip = true;
  layer3->blendMode = BLEND_ADD;
  layer3->blendParam = 70;
  layer3->red = 100;
  layer3->green = 100;
  layer3->blue = 150;
  still1->x = 0;
  still1->y = -430;
}

void Spriteset_Stage1_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;
  if (t <= 5499) {
    layer1->scroll(0.333f);
    layer2->scroll(0.2f);
    layer3->scroll(9.0f);
    if (t > 1500 && t % 10 == 0) still1->y += 1;
    return;
  }
  // The boss: only the dust moves on, thinning out.
  layer3->scroll(9.0f);
  if (t % 10 != 0) layer3->blendParam -= 1;
}
