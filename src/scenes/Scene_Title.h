// The title screen: the title picture, the turning logo, the version line
// and the main menu. Every way back from the rest of the front end ends
// here, always in a fresh title.
#pragma once

#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;
class Spriteset_Logo;

class Scene_Title : public Scene {
 public:
  Sprite* titlePicture = nullptr;
  Spriteset_Logo* logo = nullptr;
  Sprite_String* versionLine = nullptr;
  Sprite_SelectTable* menu = nullptr;
  bool fadeInAtStart = false;

  explicit Scene_Title(bool fadeIn);
  ~Scene_Title() override;
  void update() override;
  void start() override;
  void terminate() override;

 private:
  void handleInput();
  void release();
};
