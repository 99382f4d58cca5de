// The game's only source of random numbers. Replays store nothing but seeds,
// so this must stay bit-for-bit the same: a 32-bit Mersenne Twister seeded
// the original (1998) way, and one output per RandomUpTo call.
#include <cstdint>

#include "Engine.h"

namespace {

constexpr int kWords = 624;
constexpr int kShift = 397;
constexpr uint32_t kMatrixA = 0x9908b0dfU;
constexpr uint32_t kUpper = 0x80000000U;
constexpr uint32_t kLower = 0x7fffffffU;

struct Twister {
  uint32_t words[kWords];
  int next = kWords + 1;  // past the end and beyond: never seeded
};

Twister twister;

void seedWords(uint32_t seed) {
  // The early seeding: each word takes the high halves of two successive
  // steps of a linear congruential generator.
  for (uint32_t& word : twister.words) {
    word = seed & 0xffff0000U;
    seed = 69069U * seed + 1U;
    word |= seed >> 16;
    seed = 69069U * seed + 1U;
  }
  twister.next = kWords;
}

uint32_t mix(uint32_t upperOf, uint32_t lowerOf, uint32_t far) {
  const uint32_t y = (upperOf & kUpper) | (lowerOf & kLower);
  return far ^ (y >> 1) ^ ((y & 1U) ? kMatrixA : 0U);
}

void refill() {
  uint32_t* w = twister.words;
  int k = 0;
  for (; k < kWords - kShift; ++k) w[k] = mix(w[k], w[k + 1], w[k + kShift]);
  for (; k < kWords - 1; ++k) w[k] = mix(w[k], w[k + 1], w[k + kShift - kWords]);
  w[kWords - 1] = mix(w[kWords - 1], w[0], w[kShift - 1]);
  twister.next = 0;
}

uint32_t nextOutput() {
  if (twister.next > kWords) seedWords(4357U);
  if (twister.next >= kWords) refill();
  uint32_t y = twister.words[twister.next++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680U;
  y ^= (y << 15) & 0xefc60000U;
  y ^= y >> 18;
  return y;
}

}  // namespace

void SeedRandom(int seed) { seedWords(static_cast<uint32_t>(seed)); }

int RandomUpTo(int max) {
  const uint32_t r = nextOutput();
  // Scaling by multiplication keeps the result in range without a modulo
  // bias; a negative max is treated as 0 so the call still consumes one draw.
  const uint64_t span = max > 0 ? static_cast<uint64_t>(max) + 1U : 1U;
  return static_cast<int>((uint64_t{r} * span) >> 32);
}
