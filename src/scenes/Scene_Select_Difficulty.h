// The difficulty choice after the title's "Start": Easy, Normal, Apocrypha,
// and Extra once the records say it has been earned. The name and a line
// about the difficulty under the cursor are shown above the menu.
#pragma once

#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;

class Scene_Select_Difficulty : public Scene {
 public:
  Sprite* background = nullptr;
  Sprite_SelectTable* menu = nullptr;
  Sprite_String* nameLine = nullptr;
  Sprite_String* descriptionLine = nullptr;

  Scene_Select_Difficulty();
  ~Scene_Select_Difficulty() override;
  void update() override;
  void start() override;
  void terminate() override;

 private:
  void handleInput();
  void showCursorRow();
  void release();
};
