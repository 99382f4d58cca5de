// The pure parts of the SDL input device: the key table and the joypad mask.
#include <SDL_keyboard.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/KeyMap.h"

namespace {

using namespace engine;

TEST(KeyMapTest, GameKeysHaveTheirNumbers) {
  struct Case {
    SDL_Scancode sdl;
    int game;
  } cases[] = {
      {SDL_SCANCODE_ESCAPE, 0x01},    {SDL_SCANCODE_LCTRL, 0x1D},    {SDL_SCANCODE_LSHIFT, 0x2A},
      {SDL_SCANCODE_Z, 0x2C},         {SDL_SCANCODE_X, 0x2D},        {SDL_SCANCODE_C, 0x2E},
      {SDL_SCANCODE_O, 0x18},         {SDL_SCANCODE_P, 0x19},        {SDL_SCANCODE_UP, 0xC8},
      {SDL_SCANCODE_LEFT, 0xCB},      {SDL_SCANCODE_RIGHT, 0xCD},    {SDL_SCANCODE_DOWN, 0xD0},
      {SDL_SCANCODE_RETURN, 0x1C},    {SDL_SCANCODE_SPACE, 0x39},    {SDL_SCANCODE_A, 0x1E},
      {SDL_SCANCODE_Q, 0x10},         {SDL_SCANCODE_M, 0x32},        {SDL_SCANCODE_1, 0x02},
      {SDL_SCANCODE_0, 0x0B},         {SDL_SCANCODE_F1, 0x3B},       {SDL_SCANCODE_F10, 0x44},
      {SDL_SCANCODE_F11, 0x57},       {SDL_SCANCODE_F12, 0x58},      {SDL_SCANCODE_RCTRL, 0x9D},
      {SDL_SCANCODE_RSHIFT, 0x36},    {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_TAB, 0x0F},
      {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_DELETE, 0xD3},   {SDL_SCANCODE_HOME, 0xC7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GameKeyFromScancode(c.sdl), c.game) << SDL_GetScancodeName(c.sdl);
  }
}

TEST(KeyMapTest, EveryLetterAndDigitIsMappedAndNoNumberIsShared) {
  std::set<int> seen;
  int mapped = 0;
  for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
    const int game = GameKeyFromScancode(sc);
    if (game == 0) continue;
    ++mapped;
    EXPECT_LT(game, 256);
    EXPECT_TRUE(seen.insert(game).second) << "number " << game << " used twice";
  }
  EXPECT_GT(mapped, 100);
  for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_0; ++sc) {
    EXPECT_NE(GameKeyFromScancode(sc), 0) << SDL_GetScancodeName(static_cast<SDL_Scancode>(sc));
  }
  EXPECT_EQ(GameKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(GameKeyFromScancode(-1), 0);
  EXPECT_EQ(GameKeyFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST(KeyMapTest, KeyboardStateBecomesTheGameArray) {
  uint8_t sdl[SDL_NUM_SCANCODES] = {};
  sdl[SDL_SCANCODE_Z] = 1;
  sdl[SDL_SCANCODE_UP] = 1;
  sdl[SDL_SCANCODE_MUTE] = 1;  // no number: ignored
  uint8_t keys[256];
  std::memset(keys, 7, sizeof keys);
  MapKeyboardState(sdl, SDL_NUM_SCANCODES, keys);
  for (int k = 0; k < 256; ++k) EXPECT_EQ(keys[k], k == 0x2C || k == 0xC8 ? 1 : 0) << k;

  // A shorter state array is read only as far as it goes.
  MapKeyboardState(sdl, SDL_SCANCODE_Z + 1, keys);
  EXPECT_EQ(keys[0x2C], 1);
  EXPECT_EQ(keys[0xC8], 0);
  MapKeyboardState(nullptr, 0, keys);
  EXPECT_EQ(keys[0x2C], 0);
}

TEST(JoypadTest, StickNeedsToLeaveTheDeadZone) {
  EXPECT_EQ(StickDirectionBits(0, 0), 0);
  EXPECT_EQ(StickDirectionBits(kStickDeadZone, -kStickDeadZone), 0);
  EXPECT_EQ(StickDirectionBits(kStickDeadZone + 1, 0), PAD_RIGHT);
  EXPECT_EQ(StickDirectionBits(-kStickDeadZone - 1, 0), PAD_LEFT);
  EXPECT_EQ(StickDirectionBits(0, 32767), PAD_DOWN);  // y grows downwards
  EXPECT_EQ(StickDirectionBits(0, -32768), PAD_UP);
  EXPECT_EQ(StickDirectionBits(-20000, 20000), PAD_LEFT | PAD_DOWN);
  EXPECT_EQ(StickDirectionBits(32767, -32768), PAD_RIGHT | PAD_UP);
  EXPECT_EQ(StickDirectionBits(0, 20000), 1);  // bit 0 is down
}

TEST(JoypadTest, DpadAndStickCombine) {
  PadReading pad;
  pad.dpadUp = true;
  EXPECT_EQ(JoypadMaskFrom(pad), PAD_UP);
  pad.stickX = 30000;
  EXPECT_EQ(JoypadMaskFrom(pad), PAD_UP | PAD_RIGHT);
  pad = PadReading{};
  pad.dpadDown = pad.dpadLeft = true;
  EXPECT_EQ(JoypadMaskFrom(pad), PAD_DOWN | PAD_LEFT);
}

TEST(JoypadTest, ButtonsTakeBitsFromFourInTheirOrder) {
  const struct {
    PadButton button;
    int bit;
  } order[] = {
      {PADBTN_SOUTH, 0x10},           {PADBTN_EAST, 0x20},           {PADBTN_WEST, 0x40},
      {PADBTN_NORTH, 0x80},           {PADBTN_LEFT_SHOULDER, 0x100}, {PADBTN_START, 0x200},
      {PADBTN_RIGHT_SHOULDER, 0x400}, {PADBTN_BACK, 0x800},          {PADBTN_LEFT_STICK, 0x1000},
      {PADBTN_RIGHT_STICK, 0x2000},
  };
  int all = 0;
  PadReading every;
  for (const auto& o : order) {
    PadReading pad;
    pad.buttons[o.button] = true;
    EXPECT_EQ(JoypadMaskFrom(pad), o.bit) << "button " << o.button;
    every.buttons[o.button] = true;
    all |= o.bit;
  }
  EXPECT_EQ(JoypadMaskFrom(every), all);
}

TEST(JoypadTest, TriggersCountPastTheirThreshold) {
  PadReading pad;
  pad.buttons[PADBTN_LEFT_TRIGGER] = true;  // only the axis counts
  pad.leftTrigger = kTriggerThreshold;
  EXPECT_EQ(JoypadMaskFrom(pad), 0);
  pad.leftTrigger = kTriggerThreshold + 1;
  EXPECT_EQ(JoypadMaskFrom(pad), 0x4000);
  pad.rightTrigger = 32767;
  EXPECT_EQ(JoypadMaskFrom(pad), 0x4000 | 0x8000);
}

}  // namespace
