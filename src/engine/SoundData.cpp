// Conversions between decoded sound forms: resampling to the mix rate,
// playing a buffer as a stream, decoding a stream whole.
#include "SoundData.h"

#include <algorithm>
#include <cstring>

namespace engine {

PcmBuffer Resample(const PcmBuffer& in, int rate) {
  if (in.rate == rate || in.frames() == 0) {
    PcmBuffer copy = in;
    copy.rate = rate;
    return copy;
  }
  PcmBuffer out;
  out.rate = rate;
  const int64_t inFrames = in.frames();
  const int64_t outFrames = (inFrames * rate + in.rate - 1) / in.rate;
  out.samples.resize(static_cast<size_t>(outFrames) * 2);
  const double step = static_cast<double>(in.rate) / rate;
  for (int64_t i = 0; i < outFrames; ++i) {
    double src = i * step;
    int64_t a = static_cast<int64_t>(src);
    int64_t b = std::min(a + 1, inFrames - 1);
    a = std::min(a, inFrames - 1);
    float t = static_cast<float>(src - static_cast<double>(a));
    for (int c = 0; c < 2; ++c) {
      float x = in.samples[2 * a + c];
      float y = in.samples[2 * b + c];
      out.samples[2 * i + c] = x + (y - x) * t;
    }
  }
  return out;
}

namespace {

class PcmDecoder final : public StreamDecoder {
 public:
  explicit PcmDecoder(std::shared_ptr<const PcmBuffer> pcm) : pcm_(std::move(pcm)) {}
  int rate() const override { return pcm_->rate; }
  int64_t length() const override { return pcm_->frames(); }
  int read(float* stereo, int frames) override {
    int64_t n = std::min<int64_t>(frames, pcm_->frames() - pos_);
    if (n <= 0) return 0;
    std::memcpy(stereo, pcm_->samples.data() + 2 * pos_, sizeof(float) * 2 * n);
    pos_ += n;
    return static_cast<int>(n);
  }
  bool seek(int64_t frame) override {
    if (frame < 0 || frame > pcm_->frames()) return false;
    pos_ = frame;
    return true;
  }

 private:
  std::shared_ptr<const PcmBuffer> pcm_;
  int64_t pos_ = 0;
};

}  // namespace

std::unique_ptr<StreamDecoder> MakePcmDecoder(std::shared_ptr<const PcmBuffer> pcm) {
  return std::make_unique<PcmDecoder>(std::move(pcm));
}

bool DecodeAll(StreamDecoder& decoder, PcmBuffer& out, int64_t maxFrames) {
  out.rate = decoder.rate();
  out.samples.clear();
  if (decoder.length() > maxFrames) return false;
  if (decoder.length() > 0) out.samples.reserve(static_cast<size_t>(decoder.length()) * 2);
  float chunk[4096 * 2];
  for (;;) {
    int got = decoder.read(chunk, 4096);
    if (got < 0) return false;
    if (got == 0) break;
    if (out.frames() + got > maxFrames) return false;
    out.samples.insert(out.samples.end(), chunk, chunk + 2 * got);
  }
  return out.frames() > 0;
}

}  // namespace engine
