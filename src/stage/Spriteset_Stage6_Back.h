// Stage 6, close over the azure planet: the deep sea below, bands of still
// cloud that thin out as the guardian wakes, currents of cold light that
// show from the middle of the stage and run faster after the cruiser, and
// the guardian's image over the sea while it speaks.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Spriteset_Stage6_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* sea = nullptr;
  Sprite_BackGround_Scroll* cloud = nullptr;
  Sprite_BackGround_Scroll* currents = nullptr;
  Sprite* guardian = nullptr;

  Spriteset_Stage6_Back();
  ~Spriteset_Stage6_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
};
