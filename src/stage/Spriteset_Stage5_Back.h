// Stage 5, the corridor between dimensions: the shaft's floor and walls, fast
// streaks of light added over it, and the fold's veil that thickens once the
// ship is deep inside. The shaft halts for the rift cruiser and slows for the
// blade; the streaks flare while the blade tears its way out of the fold.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Spriteset_Stage5_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* layer1 = nullptr;
  Sprite_BackGround_Scroll* layer2 = nullptr;
  Sprite_BackGround_Scroll* layer3 = nullptr;

  Spriteset_Stage5_Back();
  ~Spriteset_Stage5_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
};
