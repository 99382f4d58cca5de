// Stage 1, near Pluto: a slow star field, the same field mirrored and added
// over it at another speed for depth, fast dust, and Pluto's limb sinking
// into view until the field stops for the boss.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Spriteset_Stage1_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* layer1 = nullptr;
  Sprite_BackGround_Scroll* layer2 = nullptr;
  Sprite_BackGround_Scroll* layer3 = nullptr;
  Sprite* still1 = nullptr;

  Spriteset_Stage1_Back();
  ~Spriteset_Stage1_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
};
