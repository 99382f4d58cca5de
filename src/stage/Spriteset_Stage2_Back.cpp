#include "stage/Spriteset_Stage2_Back.h"

#include <cstdio>

#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "engine/Engine.h"

int32_t gStage2AnimeCounter = 0;
int32_t gStage2AnimeIndex = 0;

namespace {
constexpr int32_t kAnimeStep = 8;  // frames per picture of the light animation
constexpr int kBrokenFrames = 8;
}  // namespace

Spriteset_Stage2_Back::Spriteset_Stage2_Back() {
  layer1 = makeLayer(2688, 2688 - 448);
  layer2 = makeLayer(450, 450 - 448);
  layer3 = makeLayer(450, 450 - 448);
  still1 = makeStill(0, 0);
  still2 = makeStill(0, 0);
  still3 = makeStill(0, 0);
}

Spriteset_Stage2_Back::~Spriteset_Stage2_Back() { releasePictures(); }

void Spriteset_Stage2_Back::releasePictures() {
  for (Sprite* s : {static_cast<Sprite*>(layer1), static_cast<Sprite*>(layer2),
                    static_cast<Sprite*>(layer3), still1, still2}) {
    release(s->image);
  }
  // Still 3 only borrows the frames.
  still3->image = 0;
  for (int32_t& frame : frames) release(frame);
}

void Spriteset_Stage2_Back::setup() {
  releasePictures();
  layer1->image = LoadImageFile("Graphics/stage2-1.jpg");
  layer2->image = LoadImageFile("Graphics/stage2-2.png");
  layer3->image = LoadImageFile("Graphics/stage2-3.png");
  still1->image = LoadImageFile("Graphics/stage2-4.png");
  still2->image = LoadImageFile("Graphics/stage2-5.png");
  char path[64];
  for (int i = 0; i < kStage2Frames; ++i) {
    std::snprintf(path, sizeof path, "Graphics/stage2-%d.png", 6 + i);
    frames[i] = LoadImageFile(path);
  }
  still3->image = frames[0];

  for (auto* layer : {layer1, layer2, layer3}) {
    layer->srcY = layer->wrapLength - 448;
    layer->scrollPos = static_cast<float>(layer->srcY);
    layer->blendParam = 255;
  }
  layer1->blendMode = BLEND_NONE;
  layer2->blendMode = BLEND_ALPHA;
  layer3->blendMode = BLEND_ALPHA;
  layer3->flip = true;
  for (Sprite* still : {still1, still2, still3}) {
    still->x = 0;
    still->y = 0;
    still->blendMode = BLEND_ALPHA;
    still->blendParam = 0;
  }
}

void Spriteset_Stage2_Back::update() {
  if (!scriptClock) return;
  const int32_t t = *scriptClock;

  // The ramps run on even clock values, so a jump back replays them.
  if (t % 2 == 0) {
    if (t < 8000) layer1->scroll(1.0f);
    if (t < 600) layer2->blendParam -= 1;
    if (600 < t && t < 1200) layer3->blendParam -= 1;
    if (7400 < t && t < 7800) layer2->blendParam += 1;
    if (7200 < t && t < 7800) layer3->blendParam += 1;
    if (7800 < t && t < 8400 && still1->blendParam < 200) still1->blendParam += 1;
  }
  // One-frame changes: only on these exact clock values.
  if (t == 7201) layer2->blendParam = layer3->blendParam = 0;
  if (t == 8300) layer2->blendParam = layer3->blendParam = 255;

  if (8500 < t && t < 8800) {
    still1->blendParam -= 1;
    still2->blendParam += 1;
    still3->blendParam += 1;
  }
  if (8600 < t && t < 8900) layer3->blendParam -= 1;

  if (t < 9000) layer3->scroll(10.0f);
  if (t < 8300) layer2->scroll(1.0f);

  if (t > 9200) animate(t);
  if (t == 9900) showBrokenPlatform();
}

void Spriteset_Stage2_Back::animate(int32_t t) {
  if (++gStage2AnimeCounter < kAnimeStep) return;
  gStage2AnimeCounter = 0;
  if (gStage2AnimeIndex >= 0 && gStage2AnimeIndex < kStage2Frames) {
    still3->image = frames[gStage2AnimeIndex];
  }
  gStage2AnimeIndex += 1;
  // The broken platform has eight pictures; the whole one loops over
  // pictures 1 to 11 after its first round.
  if (t > 9900 && gStage2AnimeIndex >= kBrokenFrames) {
    gStage2AnimeIndex = 0;
  } else if (gStage2AnimeIndex >= kStage2Frames) {
    gStage2AnimeIndex = 1;
  }
}

void Spriteset_Stage2_Back::showBrokenPlatform() {
  loadInto(still2, "Graphics/stage2-20.png");
  for (int32_t& frame : frames) release(frame);
  // Still 3 held one of the released pictures: it shows nothing until the
  // animation's next step picks from the new set, rather than keep a handle
  // that no longer names a picture.
  still3->image = 0;
  char path[64];
  for (int i = 0; i < kBrokenFrames; ++i) {
    std::snprintf(path, sizeof path, "Graphics/stage2-%d.png", 21 + i);
    frames[i] = LoadImageFile(path);
  }
}
