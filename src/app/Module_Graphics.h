// The root of the display tree: it holds the viewports (drawn in z order),
// the full-screen fade drawn over everything, and the state of the frame
// step (drawing, pacing, FPS read-out, screenshots). One static instance.
#pragma once

#include <cstdint>

#include "display/GObject.h"
#include "display/Sprite_Transition.h"

class Module_Graphics : public GContainer {
 public:
  Viewport* defaultViewport = nullptr;
  uint8_t targetFps = 60;
  uint32_t frameCount = 0;  // every frame step since start, drawn or skipped
  uint8_t fpsSampleCount = 0;
  double measuredFps = 0.0;
  int64_t lastFrameEnd = 0;
  int64_t fpsWindowStart = 0;
  Sprite_Transition* fade = nullptr;
  bool showFps = false;
  int32_t screenshotNumber = 0;  // the number tried first for the next screenshot

  // Saves a rectangle of the drawn picture; SaveDrawScreen, or a recorder in tests.
  int (*saveScreen)(int x1, int y1, int x2, int y2, const char* path);

  Module_Graphics();
  ~Module_Graphics() override;
  void endDraw() override;

  // Once per loop iteration, before input: fade, draw, present, screenshot,
  // wait for the next 1/60 s.
  void frameStep();

 private:
  void takeScreenshot(bool fullScreen);
  void advanceFpsWindowAndWait();
};

extern Module_Graphics gGraphics;
