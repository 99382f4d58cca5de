// The charge-weapon choice: Shield type or Laser type, each with its
// picture lit while it is under the cursor. Confirming fixes the game's
// settings, starts the play clock and hands over to the first cut-scene.
#pragma once

#include "app/Scene.h"

class Sprite;
class Sprite_Picture;
class Sprite_SelectTable;

class Scene_Select_ChargeType : public Scene {
 public:
  Sprite* background = nullptr;
  Sprite_SelectTable* menu = nullptr;
  Sprite_Picture* shieldPicture = nullptr;
  Sprite_Picture* laserPicture = nullptr;

  Scene_Select_ChargeType();
  ~Scene_Select_ChargeType() override;
  void update() override;
  void start() override;
  void terminate() override;

 private:
  void handleInput();
  void release();
};
