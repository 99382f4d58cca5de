#include "app/Scene_Boot.h"

#include "app/Module_Input.h"
#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "engine/Engine.h"

void Scene_Boot::start() {
  loadingImage = LoadImageFile("Graphics/loading.png");
  if (loadingImage < 0) loadingImage = 0;
  picture = new Sprite();
  picture->image = loadingImage;

  menu = new Sprite_SelectTable();
  menu->image = FontTrebuchet25;
  menu->x = 440;
  // Low in the corner, clear of the loading picture's middle.
  menu->y = 396;
  menu->width = 160;
  menu->align = 1;
  menu->rowHeight = 30;
  menu->addRow("Start");
  menu->addRow("Exit");
  menu->cursor = 0;
  menu->active = true;

  BeginOpeningFade();
}

void Scene_Boot::update() {
  if (ContinueLeaving()) return;
  menu->update();
  if (gInput.Pressed(BUTTON_OK)) BeginLeaving(nullptr);
}

void Scene_Boot::terminate() {
  delete menu;
  menu = nullptr;
  delete picture;
  picture = nullptr;
  if (loadingImage > 0) DeleteImage(loadingImage);
  loadingImage = 0;
}
