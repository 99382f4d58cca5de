// Text sprites: one line of text, and the two-line message box. The image
// field holds the font handle (0 = the engine's default font). Texts are
// CP932 byte strings.
#pragma once

#include <cstdint>
#include <string>

#include "display/Sprite.h"

struct TextColour {
  uint8_t r = 255;
  uint8_t g = 255;
  uint8_t b = 255;
};

class Sprite_String : public Sprite {
 public:
  bool outline = false;
  bool shadow = false;  // ignored when outline is set
  std::string text;
  TextColour colour{255, 255, 255};
  TextColour edgeColour{0, 0, 0};
  int32_t align = 0;  // 0 left, 1 centred, 2 right within width
  int32_t width = 200;

  using Sprite::Sprite;
  void draw(int32_t baseX, int32_t baseY) override;

 protected:
  // One line in this sprite's font and edge style, aligned within boxWidth.
  void drawTextLine(int32_t boxWidth, int32_t lineAlign, const std::string& line, int32_t px,
                    int32_t py, TextColour lineColour) const;
  // The translucent black box with a light outline behind menus and messages.
  static void drawBox(int32_t left, int32_t top, int32_t right, int32_t bottom);
};

class Sprite_MessageWindow : public Sprite_String {
 public:
  std::string line2;
  int32_t lineSpacing = 18;
  int32_t boxHeight = 48;
  bool framed = true;
  int32_t margin = 8;

  Sprite_MessageWindow();
  explicit Sprite_MessageWindow(Viewport* viewport);
  void draw(int32_t baseX, int32_t baseY) override;

 private:
  void setDefaults();
};
