// Small signal-processing building blocks shared by the effect generator and
// the music synthesizer. Everything is deterministic: noise comes from a seeded
// generator and sines from a table, so two builds give identical samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace audio {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// xorshift32: tiny, fast and the same on every platform.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [-1, 1).
  float Bipolar() { return static_cast<float>(Next() >> 8) * (2.0f / 16777216.0f) - 1.0f; }

 private:
  uint32_t state_;
};

// Mixes a few integers into one seed.
uint32_t HashSeed(uint32_t a, uint32_t b, uint32_t c = 0);

// Sine of a phase given in turns (0..1), from a table with linear interpolation.
float SinTurns(float phase);

// Band-limit correction for a step at phase 0 (PolyBLEP); dt is the phase step.
inline float PolyBlep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

enum class Wave { kSine, kTriangle, kSquare, kSaw, kNoise, kFm };

// Returns false when the name is unknown.
bool ParseWave(const char* name, Wave* out);

// A band-limited oscillator: phase in turns, one call per sample.
struct Oscillator {
  float phase = 0.0f;
  // duty is the pulse width of the square (0.5 = square).
  float Step(Wave wave, float dt, float duty) {
    float out = 0.0f;
    switch (wave) {
      case Wave::kSine:
      case Wave::kFm:
      case Wave::kNoise:
        out = SinTurns(phase);
        break;
      case Wave::kSaw:
        out = 2.0f * phase - 1.0f - PolyBlep(phase, dt);
        break;
      case Wave::kTriangle:
        // Harmonics of a triangle fall fast enough that the naive shape is clean.
        out = 4.0f * std::fabs(phase - 0.5f) - 1.0f;
        break;
      case Wave::kSquare: {
        float t2 = phase - duty;
        if (t2 < 0.0f) t2 += 1.0f;
        // Centred so that narrow pulses carry no DC.
        out = (phase < duty ? 1.0f : -1.0f) + PolyBlep(phase, dt) - PolyBlep(t2, dt) + 1.0f -
              2.0f * duty;
        break;
      }
    }
    phase += dt;
    if (phase >= 1.0f) phase -= 1.0f;
    return out;
  }
};

// Topology-preserving state-variable filter; coefficients are recomputed only
// when asked (every few samples) because tan() is the expensive part.
class Svf {
 public:
  void Set(float cutoffHz, float resonance);
  float Low(float x) {
    Tick(x);
    return low_;
  }
  float High(float x) {
    Tick(x);
    return x - k_ * band_ - low_;
  }
  float Band(float x) {
    Tick(x);
    return band_;
  }

 private:
  void Tick(float x) {
    const float v3 = x - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    band_ = v1;
    low_ = v2;
  }
  float a1_ = 1.0f, a2_ = 0.0f, a3_ = 0.0f, k_ = 1.4f;
  float ic1_ = 0.0f, ic2_ = 0.0f, band_ = 0.0f, low_ = 0.0f;
};

// Attack (linear), decay (exponential toward sustain), release (exponential).
// Times in seconds; the release starts when Release() is called.
class Envelope {
 public:
  Envelope(float attack, float decay, float sustain, float release);
  float Step();
  void Release();
  bool Finished() const { return released_ && level_ < 1.0e-4f; }

 private:
  float level_ = 0.0f;
  float attackStep_, decayCoef_, sustain_, releaseCoef_;
  bool attacking_ = true, released_ = false;
};

// Stereo reverb: parallel damped combs into series allpasses, one set per side
// with slightly different lengths for width.
class Reverb {
 public:
  // size 0..1 scales the comb feedback (room size); damp 0..1 darkens the tail.
  Reverb(float size, float damp);
  void Process(float in, float* left, float* right);

 private:
  struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0.0f;
  };
  struct Allpass {
    std::vector<float> buf;
    size_t pos = 0;
  };
  Comb combs_[2][8];
  Allpass allpasses_[2][4];
  float feedback_, damp_;
};

// Ping-pong echo with a darkening feedback path.
class PingPongDelay {
 public:
  PingPongDelay(int samples, float feedback);
  void Process(float inL, float inR, float* outL, float* outR);

 private:
  std::vector<float> left_, right_;
  size_t pos_ = 0;
  float feedback_;
  float lpL_ = 0.0f, lpR_ = 0.0f;
};

inline float MidiToHz(float note) { return 440.0f * std::exp2((note - 69.0f) / 12.0f); }

// Equal-power pan, pan in -1..1.
inline void PanGains(float pan, float* left, float* right) {
  const float angle = (pan + 1.0f) * 0.25f * static_cast<float>(kPi);
  *left = std::cos(angle);
  *right = std::sin(angle);
}

}  // namespace audio
