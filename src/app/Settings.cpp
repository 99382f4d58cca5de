#include "app/Settings.h"

#include <algorithm>
#include <vector>

#include "app/Module_Sound.h"
#include "app/SafeFile.h"

namespace {

int32_t ReadLe32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                              uint32_t{p[3]} << 24);
}

void WriteLe32(int32_t value, uint8_t* p) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::optional<VolumeSettings> DecodeSettings(const uint8_t* data, size_t size) {
  if (size != kSettingsFileSize) return std::nullopt;
  // 255 is the "never set" value and must survive a round trip; anything
  // beyond it would only overflow the volume arithmetic.
  VolumeSettings s;
  s.bgmVolume = std::clamp(ReadLe32(data), 0, 255);
  s.seVolume = std::clamp(ReadLe32(data + 4), 0, 255);
  return s;
}

void EncodeSettings(const VolumeSettings& settings, uint8_t out[kSettingsFileSize]) {
  WriteLe32(settings.bgmVolume, out);
  WriteLe32(settings.seVolume, out + 4);
}

std::optional<VolumeSettings> ReadSettingsFile(const char* path) {
  std::vector<uint8_t> bytes;
  if (LocalFileSize(path) != static_cast<int64_t>(kSettingsFileSize)) return std::nullopt;
  if (!ReadLocalFile(path, bytes, kSettingsFileSize)) return std::nullopt;
  return DecodeSettings(bytes.data(), bytes.size());
}

bool WriteSettingsFile(const char* path, const VolumeSettings& settings) {
  uint8_t bytes[kSettingsFileSize];
  EncodeSettings(settings, bytes);
  return WriteLocalFileAtomic(path, bytes, sizeof bytes);
}

void Module_Sound::LoadSettings() {
  // A file of the wrong size is ignored and the volumes stay as they are; the
  // next save replaces it with a good one.
  if (auto s = ReadSettingsFile(kSettingsPath)) {
    bgmVolume = s->bgmVolume;
    seVolume = s->seVolume;
  }
  ApplyVolumes();
}

void Module_Sound::SaveSettings() const {
  // An unwritable directory only costs the saved volumes.
  WriteSettingsFile(kSettingsPath, VolumeSettings{bgmVolume, seVolume});
}
