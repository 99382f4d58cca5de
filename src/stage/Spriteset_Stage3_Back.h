// Stage 3, over the Moon: one slow strip of the far side, halted twice by the
// timeline, and the artifact's silhouette shown for a moment before its fight.
#pragma once

#include "stage/Spriteset_Stage_Back.h"

class Spriteset_Stage3_Back : public Spriteset_Stage_Back {
 public:
  Sprite_BackGround_Scroll* layer1 = nullptr;
  Sprite* still1 = nullptr;

  Spriteset_Stage3_Back();
  ~Spriteset_Stage3_Back() override;
  void update() override;
  void setup() override;
};
