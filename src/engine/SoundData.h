// Decoded sound data shared by the decoders and the mixer: interleaved
// stereo float frames, and a pull interface for sounds decoded while they
// play.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace engine {

// The rate everything is mixed at; memory sounds are converted to it on load.
constexpr int kMixRate = 44100;

struct PcmBuffer {
  int rate = kMixRate;
  std::vector<float> samples;  // interleaved left, right
  int64_t frames() const { return static_cast<int64_t>(samples.size() / 2); }
};

// A sound decoded bit by bit while it plays, at its own rate, as stereo.
class StreamDecoder {
 public:
  virtual ~StreamDecoder() = default;
  virtual int rate() const = 0;
  virtual int64_t length() const = 0;  // frames; -1 when unknown
  // Up to `frames` frames into `stereo`; 0 at the end, -1 when the data is broken.
  virtual int read(float* stereo, int frames) = 0;
  virtual bool seek(int64_t frame) = 0;
};

// Linear resampling of a whole buffer to `rate`; a copy when the rates match.
PcmBuffer Resample(const PcmBuffer& in, int rate);

// Plays a decoded buffer as a stream (a WAV loaded for streaming).
std::unique_ptr<StreamDecoder> MakePcmDecoder(std::shared_ptr<const PcmBuffer> pcm);

// WAV: PCM 8/16/24-bit or 32-bit float, mono or stereo, any rate from 1000 to
// 384000 Hz. False for anything else, truncated or corrupt.
bool DecodeWav(const uint8_t* data, size_t size, PcmBuffer& out);

// Ogg Vorbis held compressed in memory and decoded on demand. Null when the
// data is not a readable Vorbis stream.
std::unique_ptr<StreamDecoder> OpenOgg(std::shared_ptr<const std::vector<uint8_t>> data);

// Decodes a whole stream; false when it breaks or would exceed maxFrames.
bool DecodeAll(StreamDecoder& decoder, PcmBuffer& out, int64_t maxFrames);

}  // namespace engine
