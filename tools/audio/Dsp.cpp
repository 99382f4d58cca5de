#include "Dsp.h"

#include <array>
#include <cstring>

namespace audio {

namespace {

constexpr int kSinSize = 4096;

const std::array<float, kSinSize + 1>& SinTable() {
  static const std::array<float, kSinSize + 1> table = [] {
    std::array<float, kSinSize + 1> t{};
    for (int i = 0; i <= kSinSize; ++i)
      t[i] = static_cast<float>(std::sin(2.0 * kPi * i / kSinSize));
    return t;
  }();
  return table;
}

}  // namespace

uint32_t HashSeed(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = 0x811C9DC5u;
  for (uint32_t v : {a, b, c}) {
    h ^= v;
    h *= 0x01000193u;
    h ^= h >> 15;
  }
  return h ? h : 1u;
}

float SinTurns(float phase) {
  const auto& table = SinTable();
  phase -= std::floor(phase);
  const float pos = phase * kSinSize;
  const int whole = static_cast<int>(pos);
  const float frac = pos - static_cast<float>(whole);
  // A tiny negative phase rounds up to exactly 1.0 after the floor: wrap it to the table's start.
  const int i = whole & (kSinSize - 1);
  return table[i] + (table[i + 1] - table[i]) * frac;
}

bool ParseWave(const char* name, Wave* out) {
  static const struct {
    const char* name;
    Wave wave;
  } kNames[] = {{"sine", Wave::kSine}, {"triangle", Wave::kTriangle}, {"square", Wave::kSquare},
                {"saw", Wave::kSaw},   {"noise", Wave::kNoise},       {"fm", Wave::kFm}};
  for (const auto& n : kNames) {
    if (std::strcmp(n.name, name) == 0) {
      *out = n.wave;
      return true;
    }
  }
  return false;
}

void Svf::Set(float cutoffHz, float resonance) {
  const float maxHz = 0.45f * kRate;
  if (cutoffHz > maxHz) cutoffHz = maxHz;
  if (cutoffHz < 10.0f) cutoffHz = 10.0f;
  const float g = std::tan(static_cast<float>(kPi) * cutoffHz / kRate);
  // resonance 0 gives a gentle Butterworth-like slope, 1 a sharp peak.
  k_ = 1.414f - 1.3f * resonance;
  a1_ = 1.0f / (1.0f + g * (g + k_));
  a2_ = g * a1_;
  a3_ = g * a2_;
}

Envelope::Envelope(float attack, float decay, float sustain, float release) : sustain_(sustain) {
  attackStep_ = attack > 0.0f ? 1.0f / (attack * kRate) : 1.0f;
  // Decay reaches within 1% of the sustain level after `decay` seconds; the
  // release falls by 60 dB in `release` seconds.
  decayCoef_ = decay > 0.0f ? std::exp(-4.6f / (decay * kRate)) : 0.0f;
  releaseCoef_ = release > 0.0f ? std::exp(-6.9f / (release * kRate)) : 0.0f;
}

float Envelope::Step() {
  if (released_) {
    level_ *= releaseCoef_;
  } else if (attacking_) {
    level_ += attackStep_;
    if (level_ >= 1.0f) {
      level_ = 1.0f;
      attacking_ = false;
    }
  } else {
    level_ = sustain_ + (level_ - sustain_) * decayCoef_;
  }
  return level_;
}

void Envelope::Release() { released_ = true; }

Reverb::Reverb(float size, float damp) : feedback_(0.7f + 0.28f * size), damp_(0.4f * damp) {
  static const int kComb[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static const int kAllpass[4] = {556, 441, 341, 225};
  for (int side = 0; side < 2; ++side) {
    const int spread = side * 23;
    for (int i = 0; i < 8; ++i) combs_[side][i].buf.assign(kComb[i] + spread, 0.0f);
    for (int i = 0; i < 4; ++i) allpasses_[side][i].buf.assign(kAllpass[i] + spread, 0.0f);
  }
}

void Reverb::Process(float in, float* left, float* right) {
  const float input = in * 0.015f;
  float out[2];
  for (int side = 0; side < 2; ++side) {
    float sum = 0.0f;
    for (Comb& c : combs_[side]) {
      const float y = c.buf[c.pos];
      c.store = y * (1.0f - damp_) + c.store * damp_;
      c.buf[c.pos] = input + c.store * feedback_;
      if (++c.pos == c.buf.size()) c.pos = 0;
      sum += y;
    }
    for (Allpass& a : allpasses_[side]) {
      const float b = a.buf[a.pos];
      a.buf[a.pos] = sum + b * 0.5f;
      if (++a.pos == a.buf.size()) a.pos = 0;
      sum = b - sum;
    }
    out[side] = sum;
  }
  *left = out[0];
  *right = out[1];
}

PingPongDelay::PingPongDelay(int samples, float feedback)
    : left_(samples > 0 ? samples : 1, 0.0f),
      right_(samples > 0 ? samples : 1, 0.0f),
      feedback_(feedback) {}

void PingPongDelay::Process(float inL, float inR, float* outL, float* outR) {
  const float dl = left_[pos_];
  const float dr = right_[pos_];
  // The repeats lose a little treble each time, like tape.
  lpL_ += 0.45f * (dl - lpL_);
  lpR_ += 0.45f * (dr - lpR_);
  left_[pos_] = 0.5f * (inL + inR) + lpR_ * feedback_;
  right_[pos_] = lpL_ * feedback_;
  if (++pos_ == left_.size()) pos_ = 0;
  *outL = dl;
  *outR = dr;
}

}  // namespace audio
