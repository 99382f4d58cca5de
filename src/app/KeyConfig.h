// "keyconfig.dat": the joypad mask of each virtual button, eight
// little-endian 32-bit integers in storage order, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr size_t kKeyConfigFileSize = 32;

// The eight masks of a 32-byte image; false (masks untouched) for any other size.
bool DecodeKeyConfig(const uint8_t* data, size_t size, uint32_t masks[8]);
void EncodeKeyConfig(const uint32_t masks[8], uint8_t out[kKeyConfigFileSize]);

// The letter the configuration screen shows for a single-bit joypad mask;
// a blank for no bit, several bits, or a bit no button letter belongs to.
char ButtonLetter(uint32_t mask);
