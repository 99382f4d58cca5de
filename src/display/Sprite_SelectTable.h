// A framed menu: an optional heading, rows, a highlighted cursor row moved by
// the up and down directions, and scrolling when only some rows are shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/Sprite_String.h"

class Sprite_SelectTable : public Sprite_String {
 public:
  bool moved = false;
  int32_t rowStepX = 0;
  int32_t rowHeight = 25;
  bool framed = true;
  bool active = false;  // which of several tables a scene is operating
  int32_t cursor = -1;
  int32_t margin = 8;
  int32_t visibleRows = -1;  // 0 or less: all rows
  int32_t firstVisible = 0;
  TextColour dimColour{150, 150, 150};
  std::vector<std::string> rows;

  using Sprite_String::Sprite_String;
  void draw(int32_t baseX, int32_t baseY) override;
  // Moves the cursor from this frame's input; called by the owning scene
  // while the menu takes input.
  void update() override;
  void addRow(const std::string& row) { rows.push_back(row); }
};
