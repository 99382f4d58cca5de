// Animation tables "Graphics/anime%d.csv": a header line describing the
// companion sheet "Graphics/anime%d.png", then one duration per cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct AnimationFrame {
  int32_t image = 0;     // image handle of the cell, 0 = none
  int32_t duration = 0;  // frames the cell is shown
};

struct Animation {
  std::vector<AnimationFrame> frames;  // one per cell, in cell order
  int32_t originX = 0;                 // point of a frame image placed at the sprite's position
  int32_t originY = 0;
  int32_t id = 0;  // table number, 1..30
};

// What the text of a table says, before its sheet is loaded.
struct AnimeTableText {
  int32_t cellWidth = 0, cellHeight = 0;
  int32_t originX = 0, originY = 0;
  int32_t columns = 0, rows = 0;
  int32_t cellCount = 0;
  // Per cell: the duration given for it, or none (the cell then keeps no
  // image and duration 0).
  std::vector<std::optional<int32_t>> durations;
};

inline constexpr size_t kAnimeFieldMax = 63;
// More cells than any sheet of ours has; a header asking for more (or for
// none) is treated as broken rather than trusted with an allocation.
inline constexpr int32_t kAnimeMaxCells = 4096;

// Empty when the header is incomplete, not on one line, or its cell count is
// out of range.
std::optional<AnimeTableText> ParseAnimeTable(const uint8_t* data, size_t size);

// Reads table n (1..30) and loads its sheet; null when the table is missing
// or broken.
std::unique_ptr<Animation> LoadAnimation(int n);
