#include "app/KeyConfig.h"

#include <vector>

#include "app/Module_Input.h"
#include "app/SafeFile.h"

bool DecodeKeyConfig(const uint8_t* data, size_t size, uint32_t masks[8]) {
  if (!data || size != kKeyConfigFileSize) return false;
  for (int i = 0; i < 8; ++i) {
    const uint8_t* p = data + 4 * i;
    masks[i] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
               static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
  return true;
}

void EncodeKeyConfig(const uint32_t masks[8], uint8_t out[kKeyConfigFileSize]) {
  for (int i = 0; i < 8; ++i) {
    for (int b = 0; b < 4; ++b) out[4 * i + b] = static_cast<uint8_t>(masks[i] >> (8 * b));
  }
}

char ButtonLetter(uint32_t mask) {
  // Letter by bit number; the direction bits and a few others have none.
  static constexpr char kLetters[32] = {' ', ' ', ' ', ' ', 'A', 'B', 'C', 'X', 'Y', 'Z', 'L',
                                        'R', ' ', 'M', 'D', 'F', 'G', 'H', 'I', 'J', 'K', ' ',
                                        'N', 'O', 'P', ' ', 'S', 'T', 'U', 'V', 'W', ' '};
  if (mask == 0 || (mask & (mask - 1)) != 0) return ' ';
  int bit = 0;
  while (!(mask & (1u << bit))) ++bit;
  return kLetters[bit];
}

void Module_Input::LoadKeyConfig() {
  // The player's own file lives in the working directory, never in the data
  // archives. Nothing is written here: a bad file stays until the next save.
  std::vector<uint8_t> bytes;
  if (LocalFileSize(kKeyConfigPath) != static_cast<int64_t>(kKeyConfigFileSize)) return;
  if (!ReadLocalFile(kKeyConfigPath, bytes, kKeyConfigFileSize)) return;
  DecodeKeyConfig(bytes.data(), bytes.size(), buttonMask);
}

void Module_Input::SaveKeyConfig() const {
  // Watching a replay never changes the player's files.
  if (replayMode == REPLAY_PLAYING) return;
  uint8_t bytes[kKeyConfigFileSize];
  EncodeKeyConfig(buttonMask, bytes);
  // A temporary file renamed over the old one: an interrupted save keeps the
  // previous configuration whole. An unwritable directory skips the save.
  WriteLocalFileAtomic(kKeyConfigPath, bytes, sizeof bytes);
}
