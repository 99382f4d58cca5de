// Pure mappings behind the SDL input device: SDL keyboard scancodes to the
// game's 256-entry key numbering, and controller readings to the joypad mask.
// Kept free of device calls so that they can be tested without hardware.
#pragma once

#include <cstdint>

namespace engine {

// Key code (1..255) of an SDL scancode, 0 when the game has no number for it.
int GameKeyFromScancode(int sdlScancode);

// Fills keys256 (1 down, 0 up) from SDL's keyboard state array of count
// entries, indexed by SDL scancode.
void MapKeyboardState(const uint8_t* sdlState, int count, uint8_t* keys256);

// Joypad mask bits.
enum JoypadBit : int {
  PAD_DOWN = 1 << 0,
  PAD_LEFT = 1 << 1,
  PAD_RIGHT = 1 << 2,
  PAD_UP = 1 << 3,
};

// Stick deflection beyond which a direction counts, and trigger travel beyond
// which a trigger counts as pressed (SDL axes run -32768..32767, triggers
// 0..32767).
constexpr int kStickDeadZone = 8000;
constexpr int kTriggerThreshold = 16000;

// Buttons in the order of their bits, from bit 4 upwards.
enum PadButton : int {
  PADBTN_SOUTH,
  PADBTN_EAST,
  PADBTN_WEST,
  PADBTN_NORTH,
  PADBTN_LEFT_SHOULDER,
  PADBTN_START,
  PADBTN_RIGHT_SHOULDER,
  PADBTN_BACK,
  PADBTN_LEFT_STICK,
  PADBTN_RIGHT_STICK,
  PADBTN_LEFT_TRIGGER,
  PADBTN_RIGHT_TRIGGER,
  PADBTN_COUNT
};

// One reading of a controller. The trigger entries of buttons are ignored:
// triggers come from their axes.
struct PadReading {
  bool dpadUp = false, dpadDown = false, dpadLeft = false, dpadRight = false;
  int stickX = 0, stickY = 0;  // y grows downwards, as SDL reports it
  int leftTrigger = 0, rightTrigger = 0;
  bool buttons[PADBTN_COUNT] = {};
};

// Direction bits of a stick position alone (each axis against the dead zone).
int StickDirectionBits(int x, int y);

// The full joypad mask of a reading: d-pad or stick directions, then buttons.
int JoypadMaskFrom(const PadReading& pad);

}  // namespace engine
