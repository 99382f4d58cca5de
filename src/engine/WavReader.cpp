// WAV reader for the sound effects. Only what a RIFF/WAVE file of PCM
// samples needs: the "fmt " and "data" chunks, everything else skipped.
#include <cstring>

#include "SoundData.h"

namespace engine {
namespace {

uint32_t le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

struct Format {
  uint16_t tag = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
  int blockAlign = 0;
};

bool readFormat(const uint8_t* p, uint32_t size, Format& f) {
  if (size < 16) return false;
  f.tag = le16(p);
  f.channels = le16(p + 2);
  f.rate = static_cast<int>(le32(p + 4) & 0x7FFFFFFF);
  f.blockAlign = le16(p + 12);
  f.bits = le16(p + 14);
  if (f.tag == kFormatExtensible) {
    // The real format is the first two bytes of the sub-format GUID.
    if (size < 26) return false;
    f.tag = le16(p + 24);
  }
  if (f.channels < 1 || f.channels > 2) return false;
  if (f.rate < 1000 || f.rate > 384000) return false;
  if (f.tag == kFormatPcm) {
    if (f.bits != 8 && f.bits != 16 && f.bits != 24) return false;
  } else if (f.tag == kFormatFloat) {
    if (f.bits != 32) return false;
  } else {
    return false;
  }
  return f.blockAlign == f.channels * f.bits / 8;
}

float sampleAt(const uint8_t* p, const Format& f) {
  switch (f.bits) {
    case 8:
      return (static_cast<int>(p[0]) - 128) / 128.0f;
    case 16:
      return static_cast<int16_t>(le16(p)) / 32768.0f;
    case 24: {
      int32_t v =
          static_cast<int32_t>((p[0] << 8) | (p[1] << 16) | (static_cast<uint32_t>(p[2]) << 24));
      return static_cast<float>(v >> 8) / 8388608.0f;
    }
    default: {
      uint32_t bits = le32(p);
      float v;
      std::memcpy(&v, &bits, sizeof v);
      if (!(v == v)) return 0.0f;  // NaN would poison the whole mix
      return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
    }
  }
}

}  // namespace

bool DecodeWav(const uint8_t* data, size_t size, PcmBuffer& out) {
  if (!data || size < 12) return false;
  if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;
  Format format;
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint8_t* chunk = data + pos;
    uint32_t chunkSize = le32(chunk + 4);
    size_t bodyStart = pos + 8;
    size_t available = size - bodyStart;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (chunkSize > available || !readFormat(chunk + 8, chunkSize, format)) return false;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return false;
      // Writers that stream their output leave the size 0 or all ones.
      size_t bytes = chunkSize;
      if (chunkSize == 0 || chunkSize == 0xFFFFFFFFu) {
        bytes = available;
      } else if (bytes > available) {
        return false;  // truncated file
      }
      size_t frames = bytes / format.blockAlign;
      if (frames == 0) return false;
      out.rate = format.rate;
      out.samples.resize(frames * 2);
      const uint8_t* p = data + bodyStart;
      const int bytesPerSample = format.bits / 8;
      for (size_t i = 0; i < frames; ++i, p += format.blockAlign) {
        float left = sampleAt(p, format);
        float right = format.channels == 2 ? sampleAt(p + bytesPerSample, format) : left;
        out.samples[2 * i] = left;
        out.samples[2 * i + 1] = right;
      }
      return true;
    }
    // Chunks are padded to an even size.
    uint64_t next = static_cast<uint64_t>(bodyStart) + chunkSize + (chunkSize & 1);
    if (next > size) return false;
    pos = static_cast<size_t>(next);
  }
  return false;
}

}  // namespace engine
