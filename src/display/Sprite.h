// The drawable leaf of the display tree: one image with position, origin,
// scale, rotation, flip, blend and brightness.
#pragma once

#include <cstdint>

#include "display/GObject.h"

class Sprite : public GObject {
 public:
  int32_t image = 0;  // 0 draws nothing; text sprites keep their font here
  double scale = 1.0;
  double angle = 0.0;
  bool transparent = true;
  bool flip = false;
  int32_t blendMode = 0;
  int32_t blendParam = 255;
  uint8_t red = 255;
  uint8_t green = 255;
  uint8_t blue = 255;
  bool idle = true;

  // Registers in the default viewport of the root.
  Sprite();
  // Registers in the given viewport; a null viewport leaves the sprite out
  // of the tree (its owner draws it, as the root does with its fade).
  explicit Sprite(Viewport* viewport);
  ~Sprite() override = default;
  void draw(int32_t baseX, int32_t baseY) override;
  virtual void update();
  virtual void reset();
};
