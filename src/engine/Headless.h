// Test controls of the headless backend: draws are recorded instead of
// shown, the clock is simulated (sleeping advances it at once), keyboard and
// joypad are scripted, and audio is pulled by the test instead of a device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine::headless {

// Switches the layer to the headless realisation (before EngineInit), or
// back to SDL (rendering tests use SDL with SDL_VIDEODRIVER=offscreen).
void Use();
void UseSdl();
bool Active();

// Every facade draw call made while headless, in order, with the state that
// applied to it.
enum class DrawOp {
  Clear,
  Image,
  Stretched,
  Quad,
  Rect,
  Rotated,
  Rectangle,
  Segment,
  Circle,
  Text,
  Model,
  Present,
};
struct DrawCall {
  DrawOp op;
  int handle = 0;          // image, font or model handle
  int args[8] = {};        // coordinates in the order the facade takes them
  double scale = 1.0;
  double angle = 0.0;
  bool transparent = false;
  bool flip = false;
  bool filled = false;
  int color = 0;
  int blendMode = 0;
  int blendParam = 255;
  int bright[3] = {255, 255, 255};
  bool clipOn = false;
  int clip[4] = {};
  std::string text;        // CP932 bytes, for text draws
};
const std::vector<DrawCall>& Draws();
void ClearDraws();
void Record(const DrawCall& call);  // used by the facade's draw functions

// Simulated clock.
int64_t Now();
void Advance(int64_t micro);

// Scripted input.
void SetKey(int scanCode, bool down);
void ReleaseAllKeys();
void SetJoypad(int mask);

// Start-up question answer and window close.
void SetAnswer(bool yes);
void RequestQuit();

// Mixer output pulled by the test (interleaved stereo), as the device would.
void PullAudio(float* stereo, int frames);

}  // namespace engine::headless
