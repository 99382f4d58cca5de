// Full-screen layers: the screen fade every scene opens and closes with, and
// the darkening behind menus.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Sprite_Transition : public Sprite {
 public:
  float level = 0.0f;
  int32_t target = 255;
  float speed = 1.0f;  // > 0 fades towards cover, < 0 uncovers
  uint8_t fadeRed = 0;
  uint8_t fadeGreen = 0;
  uint8_t fadeBlue = 0;
  bool finished = false;

  using Sprite::Sprite;
  void update() override;
  void draw(int32_t baseX, int32_t baseY) override;

  // The values every menu scene uses: covering (closing) and uncovering
  // (opening) at 17 per frame, finishing on the 16th update.
  void startClosing();
  void startOpening();
};

class Sprite_MenuBack : public Sprite {
 public:
  int32_t counter = 0;

  using Sprite::Sprite;
  void update() override;
  void draw(int32_t baseX, int32_t baseY) override;
};
