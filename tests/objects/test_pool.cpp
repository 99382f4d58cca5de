// Pools: acquisition order, recycling, and walks that release as they go.
#include <gtest/gtest.h>

#include <vector>

#include "objects/Object.h"
#include "objects/ObjectPool.h"
#include "objects/Object_Item.h"

namespace {

using Pool = ObjectPool<Object_Item>;

std::vector<int32_t> Acquire(Pool& pool, int n) {
  std::vector<int32_t> got;
  for (int k = 0; k < n; ++k) got.push_back(pool.indexOf(pool.acquire()));
  return got;
}

TEST(ObjectPool, FreshPoolIsDeadAndHandsOutTheHighestIndexFirst) {
  Pool pool(5);
  for (const auto& item : pool.objects) EXPECT_EQ(item.dead, 1);
  EXPECT_EQ(Acquire(pool, 3), (std::vector<int32_t>{4, 3, 2}));
  EXPECT_EQ(pool.objects[4].dead, 0);
  EXPECT_EQ(pool.objects[1].dead, 1);
  // The active list keeps the order of acquisition, not of the array.
  EXPECT_EQ(pool.activeIndices(), (std::vector<int32_t>{4, 3, 2}));
}

TEST(ObjectPool, FullPoolGivesNothingAndChangesNothing) {
  Pool pool(2);
  Acquire(pool, 2);
  EXPECT_EQ(pool.acquire(), nullptr);
  EXPECT_EQ(pool.activeCount(), 2);
}

TEST(ObjectPool, LastReleasedIsReusedFirst) {
  Pool pool(5);
  Acquire(pool, 4);               // 4 3 2 1
  EXPECT_EQ(pool.release(3), 2);  // the position that followed it
  EXPECT_EQ(pool.objects[3].dead, 1);
  pool.release(1);
  EXPECT_EQ(pool.activeIndices(), (std::vector<int32_t>{4, 2}));
  // 1 went last onto the free stack, then 3, then the untouched 0 beneath.
  EXPECT_EQ(Acquire(pool, 3), (std::vector<int32_t>{1, 3, 0}));
  EXPECT_EQ(pool.activeIndices(), (std::vector<int32_t>{4, 2, 1, 3, 0}));
}

TEST(ObjectPool, ReleaseAllGoesFirstToLast) {
  Pool pool(4);
  Acquire(pool, 3);  // 3 2 1
  pool.releaseAll();
  EXPECT_EQ(pool.activeCount(), 0);
  // Released first to last, so the last of the list comes back first.
  EXPECT_EQ(Acquire(pool, 4), (std::vector<int32_t>{1, 2, 3, 0}));
}

TEST(ObjectPool, ReleasingTwiceDoesNotDuplicateTheSlot) {
  Pool pool(3);
  Acquire(pool, 1);
  pool.release(2);
  pool.release(2);
  EXPECT_EQ(pool.freeCount(), 3);
  EXPECT_EQ(Acquire(pool, 3), (std::vector<int32_t>{2, 1, 0}));
}

TEST(ObjectPoolWalk, ReleasingTheCurrentObjectGoesOnWithTheNext) {
  Pool pool(6);
  Acquire(pool, 5);  // 5 4 3 2 1
  std::vector<int32_t> seen;
  pool.walk([&](Object_Item&, int32_t i) {
    seen.push_back(i);
    if (i == 4 || i == 2) pool.release(i);
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{5, 4, 3, 2, 1}));
  EXPECT_EQ(pool.activeIndices(), (std::vector<int32_t>{5, 3, 1}));
}

TEST(ObjectPoolWalk, ReleasingAnotherObjectSkipsIt) {
  Pool pool(6);
  Acquire(pool, 4);  // 5 4 3 2
  std::vector<int32_t> seen;
  pool.walk([&](Object_Item&, int32_t i) {
    seen.push_back(i);
    if (i == 5) pool.release(4);
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{5, 3, 2}));
}

TEST(ObjectPoolWalk, ObjectsAcquiredDuringTheWalkAreVisitedAtTheEnd) {
  Pool pool(6);
  Acquire(pool, 2);  // 5 4
  std::vector<int32_t> seen;
  pool.walk([&](Object_Item&, int32_t i) {
    seen.push_back(i);
    if (i == 5) pool.acquire();  // 3
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{5, 4, 3}));
}

TEST(ObjectPoolWalk, ReleasingEverythingEndsTheWalkButNotLaterSpawns) {
  Pool pool(6);
  Acquire(pool, 4);  // 5 4 3 2
  std::vector<int32_t> seen;
  pool.walk([&](Object_Item&, int32_t i) {
    seen.push_back(i);
    if (i == 4) {
      pool.releaseAll();
      pool.acquire();  // the last released, 2, comes back as a new object
    }
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{5, 4, 2}));
  EXPECT_EQ(pool.activeIndices(), (std::vector<int32_t>{2}));
}

TEST(ObjectPoolWalk, ReleaseThenReuseOfTheCurrentSlotDoesNotSkipTheRest) {
  Pool pool(6);
  Acquire(pool, 3);  // 5 4 3
  std::vector<int32_t> seen;
  pool.walk([&](Object_Item&, int32_t i) {
    seen.push_back(i);
    if (i == 5 && seen.size() == 1) {
      pool.release(5);
      pool.acquire();  // 5 again, now at the end
    }
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{5, 4, 3, 5}));
}

TEST(ObjectPoolWalk, VisitorCanEndTheWalk) {
  Pool pool(4);
  Acquire(pool, 4);
  int visits = 0;
  pool.walk([&](Object_Item&, int32_t) { return ++visits < 2; });
  EXPECT_EQ(visits, 2);
}

TEST(ObjectCounter, EverySpawnTakesTheNextNumber) {
  const int32_t first = NextObjectId();
  EXPECT_GT(first, 0);
  EXPECT_EQ(NextObjectId(), first + 1);
  EXPECT_EQ(gObjectCounter, first + 2);
}

}  // namespace
