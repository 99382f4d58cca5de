#include "scenes/Spriteset_Logo.h"

#include <cstdio>

#include "display/Sprite.h"
#include "engine/Engine.h"

namespace {

struct LogoPlacement {
  int32_t ox, oy;  // the picture's point that lands on (x, y) and that it turns about
  int32_t x, y;
  int32_t z;
};

// Parts 1 and 3 share the emblem's centre; 4 to 6 are the lettering layers,
// 4 darkening what lies under it.
constexpr LogoPlacement kPlacement[kLogoParts] = {
    {66, 66, 289, 136, 10},   {46, 46, 409, 145, 11},   {102, 101, 289, 136, 12},
    {256, 128, 340, 140, 13}, {256, 128, 340, 140, 14}, {256, 128, 340, 140, 15},
};
constexpr int kMultiplyPart = 3;  // part 4
constexpr int kOuterRing = 1;     // part 2
constexpr int kLargeRing = 2;     // part 3
constexpr double kOuterRingTurn = 0.018;
constexpr double kLargeRingTurn = -0.008;

}  // namespace

Spriteset_Logo::Spriteset_Logo() {
  for (Sprite*& p : part) p = new Sprite();
}

Spriteset_Logo::~Spriteset_Logo() {
  for (Sprite* p : part) DeleteImage(p->image);
  for (Sprite*& p : part) {
    delete p;
    p = nullptr;
  }
}

void Spriteset_Logo::loadImages() {
  for (int i = 0; i < kLogoParts; ++i) {
    Sprite& p = *part[i];
    DeleteImage(p.image);
    char path[32];
    std::snprintf(path, sizeof path, "Graphics/logo%d.png", i + 1);
    // A missing picture keeps the failure handle and simply draws nothing.
    p.image = LoadImageFile(path);
    const LogoPlacement& at = kPlacement[i];
    p.ox = at.ox;
    p.oy = at.oy;
    p.x = at.x;
    p.y = at.y;
    p.z = at.z;
  }
  part[kMultiplyPart]->blendMode = BLEND_MUL;
  part[kMultiplyPart]->blendParam = 255;
  counter = 0;
}

void Spriteset_Logo::update() {
  part[kOuterRing]->angle += kOuterRingTurn;
  part[kLargeRing]->angle += kLargeRingTurn;
}
