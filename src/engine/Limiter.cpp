// Gain follower and soft clip at the end of the mix.
#include "Limiter.h"

#include <algorithm>
#include <cmath>

#include "SoundData.h"

namespace engine {

namespace {

// Per-frame smoothing factors of one-pole followers with these time constants.
double Smoothing(double seconds) { return 1.0 - std::exp(-1.0 / (seconds * kMixRate)); }

const double kAttack = Smoothing(0.0003);
const double kRelease = Smoothing(0.150);
// Longer than a period of the lowest bass note, so the gain does not ride
// the waveform itself.
constexpr int kHoldFrames = kMixRate / 40;
// Close enough to unity to be unity: quiet sound after a loud burst is
// again passed untouched (the follower alone would creep up forever).
constexpr double kUnitySnap = 0.99999;

}  // namespace

float Limiter::KneeCurve(float level) {
  if (level <= kKnee) return level;
  const float room = kTarget - kKnee;
  return kKnee + room * (1.0f - std::exp(-(level - kKnee) / room));
}

float Limiter::SoftClip(float sample) {
  const float size = std::fabs(sample);
  if (size <= kTarget) return sample;
  const float room = kCeiling - kTarget;
  const float rounded = kTarget + room * std::tanh((size - kTarget) / room);
  return sample < 0 ? -rounded : rounded;
}

void Limiter::process(float* stereo, int frames) {
  for (int i = 0; i < frames; ++i) {
    float& left = stereo[2 * i];
    float& right = stereo[2 * i + 1];
    // A broken decoder's NaN or infinity would otherwise stick in the gain.
    if (!std::isfinite(left)) left = 0.0f;
    if (!std::isfinite(right)) right = 0.0f;
    // Both sides share one gain, so the stereo picture does not wander.
    const float peak = std::max(std::fabs(left), std::fabs(right));
    const double wanted = peak > kKnee ? KneeCurve(peak) / peak : 1.0;
    if (wanted <= held_) {
      held_ = wanted;
      holdLeft_ = kHoldFrames;
    } else if (holdLeft_ > 0) {
      --holdLeft_;
    } else {
      held_ = wanted;
    }
    gain_ += (held_ - gain_) * (held_ < gain_ ? kAttack : kRelease);
    if (gain_ > kUnitySnap) gain_ = 1.0;
    if (gain_ == 1.0 && peak <= kTarget) continue;
    const float gain = static_cast<float>(gain_);
    left = SoftClip(left * gain);
    right = SoftClip(right * gain);
  }
}

void Limiter::reset() {
  gain_ = 1.0;
  held_ = 1.0;
  holdLeft_ = 0;
}

}  // namespace engine
