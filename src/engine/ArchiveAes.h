// WinZip AES members decoded by the engine itself. libzip 1.7 checks a CRC
// that the "AE-2" form leaves at zero (as 7-Zip and other tools write it) and
// so refuses such members, and for deflated members it stops before the
// authentication code; here every member's code is checked instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

// Decrypts a member's stored bytes: salt, 2-byte password verifier, data and
// 10-byte authentication code, for keys of 128, 192 or 256 bits. False (out
// empty) on a wrong key, an authentication code that does not match or
// bytes too short to be a member.
bool DecryptWinZipAes(const std::vector<uint8_t>& stored, int keyBits, const char* password,
                      std::vector<uint8_t>& out);

// Raw deflate data that must inflate to exactly expected bytes and end
// there. False (out empty) otherwise.
bool InflateExactly(const std::vector<uint8_t>& deflated, size_t expected,
                    std::vector<uint8_t>& out);

}  // namespace engine
