// Keyboard and joypad read once per frame as eight virtual buttons and four
// directions, the joypad button behind each virtual button (saved in
// "keyconfig.dat"), and the recording and playback of a game's input.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/Module_InputReplay.h"

// Storage order of the key configuration and of the bits of a recorded frame.
enum VirtualButton {
  BUTTON_OK = 0,
  BUTTON_CANCEL = 1,
  BUTTON_SHOT = 2,
  BUTTON_CHARGE = 3,
  BUTTON_BOMB = 4,
  BUTTON_SLOW = 5,
  BUTTON_PAUSE = 6,
  BUTTON_SKIP = 7,
};
inline constexpr int kVirtualButtons = 8;

// Joypad direction bits, also the bits of a recorded frame's second byte.
enum DirectionBit { DIR_DOWN = 0x01, DIR_LEFT = 0x02, DIR_RIGHT = 0x04, DIR_UP = 0x08 };

// Scan codes of the keys the game reads.
enum ScanCode {
  KEY_ESCAPE = 0x01,
  KEY_LCONTROL = 0x1D,
  KEY_O = 0x18,
  KEY_P = 0x19,
  KEY_LSHIFT = 0x2A,
  KEY_Z = 0x2C,
  KEY_X = 0x2D,
  KEY_C = 0x2E,
  KEY_UP = 0xC8,
  KEY_LEFT = 0xCB,
  KEY_RIGHT = 0xCD,
  KEY_DOWN = 0xD0,
};

enum ReplayMode {
  REPLAY_OFF = 0,
  REPLAY_RECORDING = 1,
  REPLAY_PLAYING = 2,
  REPLAY_RECORDING_SUSPENDED = 3,
  REPLAY_PLAYING_SUSPENDED = 4,
};

inline constexpr uint32_t kDefaultButtonMask[kVirtualButtons] = {0x10, 0x20, 0x10,  0x20,
                                                                 0x40, 0x80, 0x200, 0x100};
// The fixed keyboard key of each virtual button.
inline constexpr uint8_t kButtonKey[kVirtualButtons] = {
    KEY_Z, KEY_X, KEY_Z, KEY_X, KEY_C, KEY_LSHIFT, KEY_ESCAPE, KEY_LCONTROL};
inline constexpr const char* kKeyConfigPath = "keyconfig.dat";

class Module_Input {
 public:
  uint32_t buttonMask[kVirtualButtons] = {0x10, 0x20, 0x10, 0x20, 0x40, 0x80, 0x200, 0x100};
  uint32_t padNow = 0;
  uint32_t padPrev = 0;
  uint8_t keysNow[256] = {};
  uint8_t keysPrev[256] = {};
  bool keepPrevOnce = false;
  int32_t replayMode = REPLAY_OFF;
  int32_t skipHeldFrames = 0;
  uint32_t savedPadPrev = 0;
  uint8_t savedKeysPrev[256] = {};
  ReplayRecord replay;

  // Once per frame, and once at start-up before the first scene.
  void update();

  // Newly pressed: down this frame, up in the last one.
  bool PadPressed(uint32_t mask) const { return (padNow & mask) && !(padPrev & mask); }
  bool KeyPressed(int scanCode) const {
    return keysNow[scanCode & 0xFF] && !keysPrev[scanCode & 0xFF];
  }
  // A virtual button, by its joypad mask or its key.
  bool Pressed(int button) const;
  bool Held(int button) const;
  // A direction bit (DIR_*), by the joypad or the arrow key.
  bool DirectionPressed(int direction) const;
  bool DirectionHeld(int direction) const;

  // The pause menu opens or the stage ends: playback or recording pauses.
  void Suspend();
  // Play goes on: the key that closed the pause menu must not pause again.
  void Resume();
  // A new game (stage 1) or the Extra stage starts a fresh record.
  void StartNewRecording();
  // Stage start, after Resume: records the game status the stage starts
  // from and a fresh seed, or restores both from the record being played.
  void BeginStage();

  // Key configuration in the working directory. A file of any size but 32
  // bytes is ignored; a save that cannot be written is skipped.
  void LoadKeyConfig();
  void SaveKeyConfig() const;
  void RestoreDefaultButtons();

 private:
  // Next recorded frame; false when none is left (playback then stops).
  bool PlaybackStep(InputSample& out);
  void RecordFrame();
  void SubstituteRecordedFrame();
};

extern Module_Input gInput;
