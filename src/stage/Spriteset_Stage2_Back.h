// Stage 2, Saturn's rings: the ring plane scrolling below, two drifting veils
// of ice that fade in and out with the timeline, the planet's limb, and the
// weapon platform with its animated lights, which changes once it is broken.
#pragma once

#include <cstdint>

#include "stage/Spriteset_Stage_Back.h"

inline constexpr int kStage2Frames = 12;

// The platform's light animation keeps running from one stage 2 to the next
// (they belong to the program, not to one scenery).
extern int32_t gStage2AnimeCounter;
extern int32_t gStage2AnimeIndex;

class Spriteset_Stage2_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* layer1 = nullptr;
  Sprite_BackGround_Scroll* layer2 = nullptr;
  Sprite_BackGround_Scroll* layer3 = nullptr;
  Sprite* still1 = nullptr;
  Sprite* still2 = nullptr;
  Sprite* still3 = nullptr;
  int32_t frames[kStage2Frames] = {};

  Spriteset_Stage2_Back();
  ~Spriteset_Stage2_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
  void animate(int32_t t);
  void showBrokenPlatform();
};
