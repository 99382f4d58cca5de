// Deterministic hashing, random numbers and tileable value noise for the
// procedural pictures. Nothing here depends on the platform's rand().
#pragma once

#include <cmath>
#include <cstdint>

namespace pictures {

inline uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

inline float Hash01(uint32_t a, uint32_t b = 0, uint32_t c = 0) {
  return float(Hash(a, b, c) >> 8) / 16777216.0f;
}

// A small sequential generator (xorshift) for placing things.
class Rng {
 public:
  explicit Rng(uint32_t seed) : s_(seed ? seed : 1u) {}
  uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  float Uniform() { return float(Next() >> 8) / 16777216.0f; }
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint32_t s_;
};

inline float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

inline int Wrap(int v, int period) {
  int m = v % period;
  return m < 0 ? m + period : m;
}

// Value noise on an integer lattice that repeats every periodX x periodY
// lattice cells, so pictures built from it tile seamlessly.
inline float TileNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = Smooth(x - float(x0)), fy = Smooth(y - float(y0));
  auto v = [&](int i, int j) {
    return Hash01(uint32_t(Wrap(i, periodX)), uint32_t(Wrap(j, periodY)), seed);
  };
  float a = v(x0, y0) + (v(x0 + 1, y0) - v(x0, y0)) * fx;
  float b = v(x0, y0 + 1) + (v(x0 + 1, y0 + 1) - v(x0, y0 + 1)) * fx;
  return a + (b - a) * fy;
}

// Fractal sum of TileNoise; the period doubles with each octave so that every
// octave tiles too. Result roughly 0..1.
inline float TileFbm(float x, float y, int periodX, int periodY, uint32_t seed, int octaves) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * TileNoise(x, y, periodX, periodY, seed + uint32_t(o) * 101u);
    norm += amp;
    x *= 2;
    y *= 2;
    periodX *= 2;
    periodY *= 2;
    amp *= 0.5f;
  }
  return sum / norm;
}

}  // namespace pictures
