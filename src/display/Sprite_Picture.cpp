#include "display/Sprite_Picture.h"

#include <cstdio>

#include "engine/Engine.h"

void Sprite_Picture::update() {
  if (highlighted) {
    level += 8;
    if (level >= 256) level = 255;
  } else {
    level -= 8;
    if (level < 130) level = 130;
  }
  red = green = blue = static_cast<uint8_t>(level);
}

void Sprite_Picture::showPicture(int n) {
  if (image >= 0) {
    DeleteImage(image);
    image = 0;
  }
  if (n < 1) return;
  char path[64];
  std::snprintf(path, sizeof path, "Graphics/picture%d.png", n);
  image = LoadImageFile(path);
  if (image < 0) image = 0;  // a missing portrait simply shows nothing
  int w = 0;
  int h = 0;
  if (image > 0 && GetImageSize(image, &w, &h) == 0) {
    ox = w / 2;
    oy = h;
  }
}
