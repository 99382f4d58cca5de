// The built pictures: every file the game loads exists with the size and cell
// layout its loader cuts it into, and the art keeps the promises the game's
// readability depends on (bullet sizes, dark scenery, empty last effect cell).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "content/test_pictures_support.h"

using namespace picture_test;

namespace {

std::string N(const char* stem, int n, const char* ext = ".png") {
  return stem + std::to_string(n) + ext;
}

// Whole-screen pictures are drawn at (0, 0) over the whole 640 x 480 screen.
TEST(Pictures, ScreensAreFullScreenAndOpaque) {
  for (const char* name :
       {"loading.png", "title.png", "Title.png", "demo1.png", "demo4.png", "bg.png"}) {
    SCOPED_TRACE(name);
    Picture p = ReadGraphic(name);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.w, 640);
    EXPECT_EQ(p.h, 480);
    EXPECT_EQ(OpaqueIn(p, 0, 0, p.w, p.h, 255), p.w * p.h);
  }
}

// The frame around the play field: the field shows dark stars for stages
// without scenery, the frame around it is lighter than the field.
TEST(Pictures, FrameLeavesTheFieldDark) {
  Picture p = ReadGraphic("bg.png");
  ASSERT_TRUE(p.ok());
  double field = 0, frame = 0;
  int fieldCount = 0, frameCount = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      bool inField = x >= 32 && x < 416 && y >= 16 && y < 464;
      (inField ? field : frame) += p.luma(x, y);
      ++(inField ? fieldCount : frameCount);
    }
  EXPECT_LT(field / fieldCount, 0.06);
  EXPECT_GT(frame / frameCount, field / fieldCount);
}

void ExpectFourByFourSheet(const std::string& name, bool animated, bool posed = true) {
  SCOPED_TRACE(name);
  Picture p = ReadGraphic(name);
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.w % 4, 0);
  ASSERT_EQ(p.h % 4, 0);
  int cw = p.w / 4, ch = p.h / 4;
  for (int cell = 0; cell < 16; ++cell)
    EXPECT_GT(OpaqueIn(p, (cell % 4) * cw, (cell / 4) * ch, cw, ch), cw * ch / 20)
        << "cell " << cell << " is (nearly) empty";
  // Banking rows are a different pose from the straight row.
  auto differs = [&](int cellA, int cellB) {
    int diff = 0;
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) {
        const uint8_t* a = p.at((cellA % 4) * cw + x, (cellA / 4) * ch + y);
        const uint8_t* b = p.at((cellB % 4) * cw + x, (cellB / 4) * ch + y);
        int most = 0;
        for (int c = 0; c < 4; ++c) most = std::max(most, std::abs(a[c] - b[c]));
        diff += most > 40;
      }
    return diff > 4;
  };
  if (posed) {
    EXPECT_TRUE(differs(0, 4)) << "left row looks like the straight row";
    EXPECT_TRUE(differs(0, 8)) << "right row looks like the straight row";
  }
  if (animated) {
    EXPECT_TRUE(differs(0, 1) || differs(0, 2)) << "frames do not animate";
  }
}

TEST(Pictures, ShipSheetsAreFourByFourWithPoses) {
  // Set 5 is the engines' soft glow under every pose: it breathes but has no
  // banking pose of its own.
  for (int n = 1; n <= 7; ++n) ExpectFourByFourSheet(N("player", n), true, n != 5);
}

TEST(Pictures, EnemySheetsAreFourByFourWithPoses) {
  for (int n = 1; n <= 50; ++n) ExpectFourByFourSheet(N("enemy", n), true);
}

TEST(Pictures, ItemsAreOneRowOfFourTiles) {
  Picture p = ReadGraphic("item.png");
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.w % 4, 0);
  int cw = p.w / 4;
  for (int i = 0; i < 4; ++i) EXPECT_GT(OpaqueIn(p, i * cw, 0, cw, p.h), cw * p.h / 2);
}

// Hit radius by bullet type; the picture must look about that big.
int HitRadius(int type) {
  switch (type) {
    case 1:
    case 5:
    case 6:
      return 2;
    case 3:
      return 18;
    case 4:
    case 9:
      return 5;
    default:
      return 3;
  }
}

TEST(Pictures, BulletsHaveWhiteCoresAndTheSizeOfTheirHitRadius) {
  for (int t = 1; t <= 20; ++t) {
    SCOPED_TRACE("bullet " + std::to_string(t));
    Picture p = ReadGraphic(N("bullet", t));
    ASSERT_TRUE(p.ok());
    int cx = p.w / 2, cy = p.h / 2;
    if (t == 10) {
      // The bomb ring: bright at radius 100, open in the middle.
      EXPECT_GE(p.w, 200);
      EXPECT_LT(p.alpha(cx, cy), 20);
      EXPECT_GT(p.alpha(cx + 100, cy), 200);
      continue;
    }
    // A white core: the brightest opaque pixel is (almost) white.
    float core = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x)
        if (p.alpha(x, y) > 200) core = std::max(core, p.luma(x, y));
    EXPECT_GT(core, 0.9f);
    // The body's half width across the flight direction, through the centre
    // (player shots 8 and 9 fly upwards, every other kind points along +x).
    bool vertical = t == 8 || t == 9;
    int half = 0;
    for (int d = 0; d < std::max(p.w, p.h) / 2; ++d) {
      int x = vertical ? cx + d : cx, y = vertical ? cy : cy + d;
      if (x < p.w && y < p.h && p.alpha(x, y) >= 128) half = d + 1;
    }
    int r = HitRadius(t);
    EXPECT_GE(half, r) << "drawn smaller than it hits";
    EXPECT_LE(half, 2 * r + 3) << "drawn much larger than it hits";
  }
}

TEST(Pictures, BulletKindsAreDistinct) {
  struct Look {
    int w, h;
    float r, g, b;
  };
  std::vector<Look> looks;
  for (int t = 1; t <= 20; ++t) {
    Picture p = ReadGraphic(N("bullet", t));
    ASSERT_TRUE(p.ok());
    double r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        const uint8_t* q = p.at(x, y);
        double a = q[3] / 255.0;
        r += q[0] * a, g += q[1] * a, b += q[2] * a, n += a;
      }
    looks.push_back({p.w, p.h, float(r / n), float(g / n), float(b / n)});
  }
  for (size_t i = 0; i < looks.size(); ++i)
    for (size_t j = i + 1; j < looks.size(); ++j) {
      const Look &a = looks[i], &b = looks[j];
      bool sameSize = a.w == b.w && a.h == b.h;
      float colour = std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
      EXPECT_FALSE(sameSize && colour < 30)
          << "bullets " << i + 1 << " and " << j + 1 << " look alike";
    }
}

// An effect sprite keeps its last cell on screen, so that cell must be empty.
TEST(Pictures, EffectSheetsAreFiveByFiveAndEndEmpty) {
  for (int n = 1; n <= 10; ++n) {
    SCOPED_TRACE(N("effect", n));
    Picture p = ReadGraphic(N("effect", n));
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.w, 640);
    ASSERT_EQ(p.h, 640);
    EXPECT_GT(OpaqueIn(p, 0, 0, 128, 128, 16), 20) << "first cell is empty";
    EXPECT_EQ(OpaqueIn(p, 4 * 128, 4 * 128, 128, 128, 1), 0) << "last cell is not empty";
  }
}

TEST(Pictures, GaugesGuideAndLogoHaveTheirSizes) {
  struct Expect {
    const char* name;
    int w, h;
  };
  const Expect sizes[] = {{"charge_base.png", 128, 64}, {"logo1.png", 132, 132},
                          {"logo2.png", 92, 92},        {"logo3.png", 204, 202},
                          {"logo4.png", 512, 256},      {"logo5.png", 512, 256},
                          {"logo6.png", 512, 256}};
  for (const Expect& e : sizes) {
    SCOPED_TRACE(e.name);
    Picture p = ReadGraphic(e.name);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.w, e.w);
    EXPECT_EQ(p.h, e.h);
    EXPECT_GT(OpaqueIn(p, 0, 0, p.w, p.h, 16), 0);
  }
  for (const char* name : {"charge_bar.png", "hp_bar.png", "guide.png"}) {
    Picture p = ReadGraphic(name);
    ASSERT_TRUE(p.ok()) << name;
    EXPECT_GT(OpaqueIn(p, 0, 0, p.w, p.h), 0) << name;
  }
  // The fills are stretched: every column must be fully painted.
  for (const char* name : {"charge_bar.png", "hp_bar.png"}) {
    Picture p = ReadGraphic(name);
    EXPECT_EQ(OpaqueIn(p, 0, 0, p.w, p.h, 255), p.w * p.h) << name;
  }
}

// Logo layers 1 to 3 turn (or sit) about their origins (66, 66), (46, 46)
// and (102, 101): their weight must be centred there or the rings wobble, and
// the rings must be open in the middle so the emblem shows through.
TEST(Pictures, LogoRingsAreCentredOnTheirOrigins) {
  struct Part {
    const char* name;
    int ox, oy;
    bool ring;
  };
  for (const Part& part : {Part{"logo1.png", 66, 66, false}, Part{"logo2.png", 46, 46, true},
                           Part{"logo3.png", 102, 101, true}}) {
    SCOPED_TRACE(part.name);
    Picture p = ReadGraphic(part.name);
    ASSERT_TRUE(p.ok());
    double sx = 0, sy = 0, sum = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        double a = p.alpha(x, y);
        sx += a * (x + 0.5), sy += a * (y + 0.5), sum += a;
      }
    ASSERT_GT(sum, 0);
    EXPECT_NEAR(sx / sum, part.ox, 4.0);
    EXPECT_NEAR(sy / sum, part.oy, 4.0);
    if (part.ring) {
      EXPECT_EQ(OpaqueIn(p, part.ox - 8, part.oy - 8, 16, 16, 32), 0);
    }
  }
}

// The charge-type cards sit at x 96 and x 352, y 64, above the menu at y 360.
TEST(Pictures, ChargeTypeCardsFitSideBySide) {
  for (int n = 1; n <= 2; ++n) {
    Picture p = ReadGraphic(N("type", n));
    ASSERT_TRUE(p.ok());
    EXPECT_LE(96 + p.w, 352);
    EXPECT_LE(352 + p.w, 640);
    EXPECT_LE(64 + p.h, 360);
  }
}

// Scroll layers wrap: the window of 448 rows reads up to `period` + 448, and
// the rows past the period must repeat the first rows for a seamless loop.
void ExpectSeamless(const std::string& name, int period, float tolerance) {
  SCOPED_TRACE(name);
  Picture p = ReadGraphic(name);
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.w, 384);
  ASSERT_EQ(p.h, period + 448);
  double diff = 0;
  for (int y = 0; y < 448; ++y)
    for (int x = 0; x < 384; ++x)
      for (int c = 0; c < 4; ++c) diff += std::abs(p.at(x, y)[c] - p.at(x, y + period)[c]);
  EXPECT_LE(diff / (448.0 * 384 * 4), tolerance);
}

TEST(Pictures, StageOneLayersTileWithTheirPeriods) {
  ExpectSeamless("stage1-1.jpg", 3200, 1.5f);  // JPEG blocks differ slightly
  ExpectSeamless("stage2-3.png", 450, 0.0f);
  Picture still = ReadGraphic("stage1-2.png");
  ASSERT_TRUE(still.ok());
  EXPECT_EQ(still.w, 384);
  // It starts at y -430: its bottom rows must hold something to peek in.
  EXPECT_GT(OpaqueIn(still, 0, still.h - 40, 384, 40), 1000);
}

// Scenery stays dark and calm so that bullets read over it.
TEST(Pictures, StageOneSceneryIsDark) {
  for (const char* name : {"stage1-1.jpg", "stage1-2.png"}) {
    SCOPED_TRACE(name);
    Picture p = ReadGraphic(name);
    ASSERT_TRUE(p.ok());
    std::vector<float> l;
    for (int y = 0; y < p.h; y += 2)
      for (int x = 0; x < p.w; x += 2) l.push_back(p.luma(x, y) * float(p.alpha(x, y)) / 255);
    std::sort(l.begin(), l.end());
    EXPECT_LT(l[l.size() / 2], 0.12f) << "median too bright";
    EXPECT_LT(l[l.size() * 99 / 100], 0.35f) << "too many bright spots";
  }
}

}  // namespace
