// The first scene until the title exists: the loading picture behind a
// small menu; OK on any row ends the program through the normal shutdown.
#pragma once

#include "app/Scene.h"

class Sprite;
class Sprite_SelectTable;

class Scene_Boot : public Scene {
 public:
  Scene_Boot() = default;
  void update() override;
  void start() override;
  void terminate() override;

 private:
  int loadingImage = 0;
  Sprite* picture = nullptr;
  Sprite_SelectTable* menu = nullptr;
};
