// Parts of the SDL video device that are plain arithmetic, kept apart so
// tests can reach them without a window.
#pragma once

namespace engine {

constexpr int kLogicalWidth = 640;
constexpr int kLogicalHeight = 480;

struct LetterboxRect {
  int x, y, width, height;
  bool integerScale;
};

// Where the 640 x 480 picture goes in a window of that size: centred, as
// large as fits, in whole-number steps when such a step fills nearly as
// much of the window as a fractional one would.
LetterboxRect ComputeLetterbox(int outputWidth, int outputHeight);

}  // namespace engine
