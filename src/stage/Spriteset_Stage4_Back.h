// Stage 4, above the blue Earth: the planet below, a subtractive veil of
// cloud shadow and a drifting haze that both thin out in the last part, and
// the orbital gate turning behind the guardian while it is shown.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Sprite_3DModel;

class Spriteset_Stage4_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* layer1 = nullptr;
  Sprite_BackGround_Scroll* layer2 = nullptr;
  Sprite_BackGround_Scroll* layer3 = nullptr;
  Sprite* still1 = nullptr;
  Sprite_3DModel* model = nullptr;

  Spriteset_Stage4_Back();
  ~Spriteset_Stage4_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
};
