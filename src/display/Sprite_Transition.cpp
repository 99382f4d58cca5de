#include "display/Sprite_Transition.h"

#include "engine/Engine.h"

void Sprite_Transition::update() {
  if (!visible) return;
  level += speed;
  if ((speed < 0 && level < static_cast<float>(target)) ||
      (speed > 0 && level > static_cast<float>(target))) {
    level = static_cast<float>(target);
    blendParam = target;
    finished = true;
  } else {
    blendParam = static_cast<int32_t>(level);
  }
}

void Sprite_Transition::draw(int32_t, int32_t) {
  if (!visible) return;
  SetBlendMode(BLEND_ALPHA, blendParam);
  SetDrawBrightness(255, 255, 255);
  DrawRectangle(0, 0, 640, 480, MakeColor(fadeRed, fadeGreen, fadeBlue), true);
}

void Sprite_Transition::startClosing() {
  level = 0.0f;
  blendParam = 0;
  target = 255;
  speed = 17.0f;
  visible = true;
  finished = false;
}

void Sprite_Transition::startOpening() {
  level = 255.0f;
  blendParam = 255;
  target = 0;
  speed = -17.0f;
  visible = true;
  finished = false;
}

void Sprite_MenuBack::update() {
  if (blendParam == 0) counter = 0;
  counter += 1;
  blendParam = counter < 200 ? counter : 200;
}

// Drawn even when not visible: the layer is hidden by keeping it transparent.
void Sprite_MenuBack::draw(int32_t, int32_t) {
  SetBlendMode(BLEND_ALPHA, blendParam);
  SetDrawBrightness(255, 255, 255);
  DrawRectangle(0, 0, 640, 480, MakeColor(0, 0, 0), true);
}
