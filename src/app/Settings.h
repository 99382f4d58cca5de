// "setting.dat": the music and effect volumes, two little-endian 32-bit
// integers, nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr size_t kSettingsFileSize = 8;

struct VolumeSettings {
  int32_t bgmVolume = 255;
  int32_t seVolume = 255;
};

// The volumes of an 8-byte image; none for any other size. Values outside
// 0..255 are brought into that range so no later volume sum can overflow.
std::optional<VolumeSettings> DecodeSettings(const uint8_t* data, size_t size);
void EncodeSettings(const VolumeSettings& settings, uint8_t out[kSettingsFileSize]);

// Reads and writes the file in the working directory. Reading gives none
// when the file is missing or not exactly 8 bytes; writing is skipped
// (false) when the directory cannot be written.
std::optional<VolumeSettings> ReadSettingsFile(const char* path);
bool WriteSettingsFile(const char* path, const VolumeSettings& settings);
