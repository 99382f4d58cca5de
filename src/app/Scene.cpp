#include "app/Scene.h"

#include "app/Module_Graphics.h"
#include "app/Module_Sound.h"

void Scene::BeginLeaving(Scene* successor) {
  next = successor;
  gSound.RequestEffect(SE_OK);
  leaving = true;
  gGraphics.fade->startClosing();
}

bool Scene::ContinueLeaving() {
  if (!leaving) return false;
  if (gGraphics.fade->finished) running = false;
  return true;
}

void Scene::BeginOpeningFade() { gGraphics.fade->startOpening(); }
