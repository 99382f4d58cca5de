// The Extra stage, the heavens above the open door: a starless vault with the
// floors of the heavens as faint domes, a slow lilac mist, halo rings that
// wake past the gate and brighten at the fourth heaven, and the Regulator's
// image over the vault while it speaks.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Spriteset_Stage7_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* vault = nullptr;
  Sprite_BackGround_Scroll* mist = nullptr;
  Sprite_BackGround_Scroll* halos = nullptr;
  Sprite* regulator = nullptr;

  Spriteset_Stage7_Back();
  ~Spriteset_Stage7_Back() override;
  void update() override;
  void setup() override;

 private:
  void releasePictures();
};
