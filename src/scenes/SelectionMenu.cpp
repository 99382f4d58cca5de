#include "scenes/SelectionMenu.h"

#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "engine/Engine.h"

Sprite* MakeSelectionBackground() {
  Sprite* background = new Sprite();
  background->image = LoadImageFile("Graphics/demo1.png");
  return background;
}

Sprite_SelectTable* MakeSelectionMenu(const char* heading, int y) {
  Sprite_SelectTable* menu = new Sprite_SelectTable();
  menu->image = FontFranklin25;
  menu->colour = {255, 255, 255};
  menu->dimColour = {150, 150, 150};
  menu->width = 200;
  menu->x = 220;
  menu->y = y;
  menu->z = 10;
  menu->framed = true;
  menu->text = heading;
  return menu;
}
