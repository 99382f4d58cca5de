// The random generator the replays depend on. The pinned numbers were made
// independently in Python: the 624 state words were filled with the early
// (1998) seeding in plain integer arithmetic, loaded into CPython's own
// Mersenne Twister with random.setstate((3, tuple(words) + (624,), None)),
// and read with getrandbits(32); RandomUpTo(m) is (r * (m + 1)) >> 32.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/Engine.h"

namespace {

// Raw 32-bit outputs can be read through the full range: RandomUpTo(max)
// with max + 1 = 2^31 gives r >> 1.
std::vector<int> draws(int count, int max) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(RandomUpTo(max));
  return out;
}

TEST(RandomTest, FirstDrawWithoutASeedUsesSeed4357) {
  // Runs in a fresh copy of the test program, so no earlier test has drawn.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const std::vector<int> unseeded = draws(10, 100);
        SeedRandom(4357);
        std::exit(unseeded == draws(10, 100) &&
                          unseeded == std::vector<int>{67, 37, 73, 69, 57, 81, 27, 84, 13, 96}
                      ? 0
                      : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(RandomTest, Seed4357MatchesTheReferenceOutputs) {
  SeedRandom(4357);
  // 0xaae64ac3, 0x5e7c47da, 0xb98e8121, 0xb010f327, 0x92da86b4, each >> 1.
  EXPECT_EQ(draws(5, 0x7fffffff),
            (std::vector<int>{0x55732561, 0x2f3e23ed, 0x5cc74090, 0x58087993, 0x496d435a}));
  // The 624th to 626th outputs (0x23219742, 0x3e44719d, 0x7523c1ac): the
  // state is refilled right.
  draws(618, 0);
  EXPECT_EQ(draws(3, 0x7fffffff), (std::vector<int>{0x1190cba1, 0x1f2238ce, 0x3a91e0d6}));
}

TEST(RandomTest, OtherSeedsIncludingNegativeOnes) {
  SeedRandom(12345);
  EXPECT_EQ(draws(6, 1000), (std::vector<int>{813, 129, 255, 776, 26, 595}));
  SeedRandom(-1);  // the seed's bits are used as they are: 0xffffffff
  // 0x4ad3d4d0, 0x4c02dc33, 0x7834ab35.
  EXPECT_EQ(draws(3, 0x7fffffff), (std::vector<int>{0x2569ea68, 0x26016e19, 0x3c1a559a}));
}

TEST(RandomTest, UpToZeroIsZeroAndStillConsumesADraw) {
  SeedRandom(99);
  const std::vector<int> reference = draws(4, 1000);
  SeedRandom(99);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(RandomUpTo(0), 0);
  EXPECT_EQ(draws(2, 1000), std::vector<int>(reference.begin() + 2, reference.end()));
  // A negative bound gives 0 the same way instead of a number out of range.
  SeedRandom(99);
  EXPECT_EQ(RandomUpTo(-5), 0);
  EXPECT_EQ(draws(3, 1000), std::vector<int>(reference.begin() + 1, reference.end()));
}

TEST(RandomTest, SameSeedSameSequenceAndResultsStayInRange) {
  SeedRandom(2024);
  std::vector<int> first;
  for (int i = 0; i < 2000; ++i) first.push_back(RandomUpTo(i % 7));
  SeedRandom(2024);
  for (int i = 0; i < 2000; ++i) {
    const int r = RandomUpTo(i % 7);
    ASSERT_EQ(r, first[static_cast<size_t>(i)]) << "draw " << i;
    ASSERT_GE(r, 0);
    ASSERT_LE(r, i % 7);
  }
  SeedRandom(2024);
  const std::vector<int> wide2024 = draws(100, 1'000'000);
  SeedRandom(2025);
  const std::vector<int> wide2025 = draws(100, 1'000'000);
  int same = 0;
  for (size_t i = 0; i < wide2024.size(); ++i) same += wide2024[i] == wide2025[i];
  EXPECT_LT(same, 5);
  // Every value of a small range turns up.
  std::vector<int> seen(6, 0);
  for (int i = 0; i < 600; ++i) ++seen[static_cast<size_t>(RandomUpTo(5))];
  for (int count : seen) EXPECT_GT(count, 50);
}

}  // namespace
