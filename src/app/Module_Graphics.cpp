#include "app/Module_Graphics.h"

#include "engine/Engine.h"

// Built before the entry point runs, so that every viewport and sprite has
// its root.
Module_Graphics gGraphics;

Module_Graphics::Module_Graphics() : saveScreen(SaveDrawScreen) {
  sortByZ = true;
  children.reserve(20);
  defaultViewport = new Viewport();
  lastFrameEnd = GetTimeMicro();
  fpsWindowStart = GetTimeMicro();
  // The fade belongs to no viewport: endDraw puts it over everything.
  fade = new Sprite_Transition(nullptr);
  fade->level = 0.0f;
  fade->target = 255;
  fade->speed = 1.0f;
  fade->visible = false;
  fade->finished = false;
}

Module_Graphics::~Module_Graphics() {
  delete fade;
  fade = nullptr;
}

void Module_Graphics::endDraw() {
  SetClipRect(0, 0, 640, 480);
  if (fade) fade->draw(0, 0);
}
