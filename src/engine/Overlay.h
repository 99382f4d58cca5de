// The debug text layer: lines printed with PrintOverlay, drawn over the
// picture by PresentFrame in a small bitmap font of our own.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

constexpr int kOverlayGlyphWidth = 5;
constexpr int kOverlayGlyphHeight = 7;
constexpr int kOverlayCellWidth = 6;   // glyph plus one column of spacing
constexpr int kOverlayCellHeight = 9;  // glyph plus shadow and spacing

// Seven rows of five bits (bit 4 is the left column) for a printable ASCII
// character; other bytes get a hollow box.
const uint8_t* OverlayGlyph(unsigned char c);

// The text currently on the layer, lines separated by '\n'.
const std::string& OverlayText();

// Draws the layer into the current picture (called by PresentFrame).
void DrawOverlay();

}  // namespace engine
