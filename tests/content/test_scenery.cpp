// The built scenery of stages 2 to 4: every scroll layer wraps without a seam
// at its period, the stills fill the play field, every picture the sceneries
// load exists, and all of it stays dark enough for bullets to read over it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "content/test_pictures_support.h"

namespace {

using picture_test::Picture;
using picture_test::ReadGraphic;

double RowStep(const Picture& p, int y0, int y1) {
  double sum = 0;
  for (int x = 0; x < p.w; ++x)
    for (int c = 0; c < 4; ++c) sum += std::abs(int(p.at(x, y0)[c]) - int(p.at(x, y1)[c]));
  return sum / (p.w * 4.0);
}

// The window reads rows srcY..srcY + 447 for srcY from 0 to the period: the
// rows past the period repeat the first ones, and the row before the period
// runs on into row 0 as smoothly as any two neighbouring rows do.
void ExpectWraps(const std::string& name, int period, double tolerance) {
  SCOPED_TRACE(name);
  Picture p = ReadGraphic(name);
  ASSERT_TRUE(p.ok());
  ASSERT_EQ(p.w, 384);
  ASSERT_EQ(p.h, period + 448);
  double diff = 0;
  for (int y = 0; y < 448; ++y) diff += RowStep(p, y, y + period);
  EXPECT_LE(diff / 448, tolerance);
  double typical = 0;
  for (int y = 1; y < period; ++y) typical += RowStep(p, y - 1, y);
  typical /= period - 1;
  EXPECT_LE(RowStep(p, period - 1, 0), 3 * typical + 1.0) << "a seam where the layer wraps";
}

TEST(Scenery, ScrollLayersWrapAtTheirPeriods) {
  ExpectWraps("stage2-1.jpg", 2688, 1.5);  // JPEG blocks differ slightly
  ExpectWraps("stage2-2.png", 450, 0.0);
  ExpectWraps("stage3-1.jpg", 3840, 1.5);
  ExpectWraps("stage4-1.png", 3200, 0.0);
  ExpectWraps("stage4-2.png", 380, 0.0);
  ExpectWraps("stage4-3.png", 491, 0.0);
  ExpectWraps("stage5-1.jpg", 2400, 1.5);
  ExpectWraps("stage5-2.png", 512, 0.0);
  ExpectWraps("stage5-3.png", 704, 0.0);
  ExpectWraps("stage6-1.png", 2880, 0.0);
  ExpectWraps("stage6-2.png", 560, 0.0);
  ExpectWraps("stage6-3.png", 337, 0.0);
  ExpectWraps("stage7-1.png", 3200, 0.0);
  ExpectWraps("stage7-2.png", 600, 0.0);
  ExpectWraps("stage7-3.png", 409, 0.0);
}

TEST(Scenery, StillsAndFramesCoverTheField) {
  std::vector<std::string> stills = {"stage2-4.png", "stage2-5.png", "stage2-20.png"};
  for (int n = 6; n <= 17; ++n) stills.push_back("stage2-" + std::to_string(n) + ".png");
  for (int n = 21; n <= 28; ++n) stills.push_back("stage2-" + std::to_string(n) + ".png");
  for (const std::string& name : stills) {
    SCOPED_TRACE(name);
    Picture p = ReadGraphic(name);
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(p.w, 384);
    EXPECT_EQ(p.h, 448);
    EXPECT_GT(picture_test::OpaqueIn(p, 0, 0, p.w, p.h, 16), 100) << "draws something";
  }
  // The light frames differ from each other: the animation moves.
  Picture a = ReadGraphic("stage2-6.png"), b = ReadGraphic("stage2-7.png");
  ASSERT_TRUE(a.ok() && b.ok());
  EXPECT_NE(a.px, b.px);
  // The stage 4 gate is built too.
  EXPECT_TRUE(std::ifstream(picture_test::GraphicsPath("doro.mv1")).good());
}

// What a layer adds to the screen, per pixel: its brightness times its
// coverage times the blend parameter it is drawn with.
std::vector<float> Contributions(const Picture& p, float blend) {
  std::vector<float> l;
  for (int y = 0; y < p.h; y += 2)
    for (int x = 0; x < p.w; x += 2) l.push_back(p.luma(x, y) * float(p.alpha(x, y)) / 255 * blend);
  std::sort(l.begin(), l.end());
  return l;
}

TEST(Scenery, DarkEnoughForBulletsToRead) {
  struct Layer {
    const char* name;
    float blend;
  };
  const Layer layers[] = {{"stage2-1.jpg", 1.0f},         {"stage2-2.png", 1.0f},
                          {"stage2-4.png", 0.78f},        {"stage2-5.png", 1.0f},
                          {"stage2-20.png", 1.0f},        {"stage3-1.jpg", 1.0f},
                          {"stage4-1.png", 1.0f},         {"stage4-3.png", 150.0f / 255},
                          {"stage5-1.jpg", 1.0f},         {"stage5-2.png", 150.0f / 255},
                          {"stage5-3.png", 150.0f / 255}, {"stage6-1.png", 1.0f},
                          {"stage6-2.png", 120.0f / 255}, {"stage7-1.png", 1.0f},
                          {"stage7-2.png", 100.0f / 255}, {"stage7-3.png", 80.0f / 255}};
  for (const Layer& layer : layers) {
    SCOPED_TRACE(layer.name);
    Picture p = ReadGraphic(layer.name);
    ASSERT_TRUE(p.ok());
    std::vector<float> l = Contributions(p, layer.blend);
    EXPECT_LT(l[l.size() / 2], 0.12f) << "median too bright";
    EXPECT_LT(l[l.size() * 99 / 100], 0.35f) << "too many bright spots";
  }
  // The strongest place of the ring plane with the ice veil over it.
  Picture rings = ReadGraphic("stage2-1.jpg"), veil = ReadGraphic("stage2-2.png");
  ASSERT_TRUE(rings.ok() && veil.ok());
  float brightest = 0;
  for (int y = 0; y < 448; ++y)
    for (int x = 0; x < 384; ++x) {
      float a = float(veil.alpha(x, y)) / 255;
      brightest = std::max(brightest, rings.luma(x, y) * (1 - a) + veil.luma(x, y) * a);
    }
  EXPECT_LT(brightest, 0.6f);
}

std::vector<float> SortedLuma(const Picture& p) {
  std::vector<float> l;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) l.push_back(p.luma(x, y) * float(p.alpha(x, y)) / 255);
  std::sort(l.begin(), l.end());
  return l;
}

float Mean(const std::vector<float>& l) {
  double sum = 0;
  for (float v : l) sum += v;
  return float(sum / double(l.size()));
}

// What the player sees where `layer` is drawn with alpha (times `blend`) over
// the opaque `ground`, row for row, sorted. The two scroll at different
// speeds and periods, so every such alignment comes up in play.
std::vector<float> SortedOver(const Picture& ground, const Picture& layer, float blend) {
  std::vector<float> l;
  for (int y = 0; y < std::min(ground.h, layer.h); ++y)
    for (int x = 0; x < layer.w; ++x) {
      float a = float(layer.alpha(x, y)) / 255 * blend;
      l.push_back(ground.luma(x, y) * (1 - a) + layer.luma(x, y) * a);
    }
  std::sort(l.begin(), l.end());
  return l;
}

// The Earth of stage 4 is its night side, no brighter than the other
// stages' grounds, with cloud darker than mid-grey; what stages 2 and 4 lay
// over their grounds (the dust streaks at full alpha, the ice veil, the low
// haze) stays in the background, far below a bullet's white core.
TEST(Scenery, CloudsAndStreaksStayInTheBackground) {
  float brightestGround = 0;
  for (const char* name : {"stage1-1.jpg", "stage2-1.jpg", "stage3-1.jpg"}) {
    Picture p = ReadGraphic(name);
    ASSERT_TRUE(p.ok()) << name;
    brightestGround = std::max(brightestGround, Mean(SortedLuma(p)));
  }
  Picture earth = ReadGraphic("stage4-1.png");
  ASSERT_TRUE(earth.ok());
  std::vector<float> earthLuma = SortedLuma(earth);
  EXPECT_LE(Mean(earthLuma), brightestGround) << "the Earth outshines the other stages";
  EXPECT_LT(earthLuma.back(), 0.22f) << "the thickest cloud is brighter than a dim grey";

  struct Over {
    const char* ground;
    const char* layer;
    float blend;
    float p99;  // bounds on the sorted result
    float max;
  };
  const Over overs[] = {
      {"stage2-1.jpg", "stage2-3.png", 1.0f, 0.2f, 0.4f},    // streaks drawn at full alpha
      {"stage2-1.jpg", "stage2-2.png", 1.0f, 0.24f, 0.45f},  // the veil and its glints
      {"stage4-1.png", "stage4-3.png", 150.0f / 255, 0.2f, 0.25f},
      {"stage5-1.jpg", "stage5-3.png", 150.0f / 255, 0.2f, 0.25f},
      {"stage6-1.png", "stage6-2.png", 120.0f / 255, 0.2f, 0.25f},
      {"stage7-1.png", "stage7-2.png", 100.0f / 255, 0.2f, 0.25f},
  };
  for (const Over& o : overs) {
    SCOPED_TRACE(o.layer);
    Picture ground = ReadGraphic(o.ground), layer = ReadGraphic(o.layer);
    ASSERT_TRUE(ground.ok() && layer.ok());
    std::vector<float> l = SortedOver(ground, layer, o.blend);
    EXPECT_LT(l[l.size() * 99 / 100], o.p99);
    EXPECT_LT(l.back(), o.max);
  }

  // The cloud shadows (subtracted at 50) deepen the dark Earth without
  // blacking much of it out.
  Picture shadow = ReadGraphic("stage4-2.png");
  ASSERT_TRUE(shadow.ok());
  int black = 0, count = 0;
  for (int y = 0; y < shadow.h; ++y)
    for (int x = 0; x < shadow.w; ++x, ++count) {
      float k = float(shadow.alpha(x, y)) / 255 * 50 / 255;
      float left[3];
      for (int c = 0; c < 3; ++c)
        left[c] = std::max(0.0f, float(earth.at(x, y)[c]) - float(shadow.at(x, y)[c]) * k) / 255;
      black += 0.2126f * left[0] + 0.7152f * left[1] + 0.0722f * left[2] < 0.01f;
    }
  EXPECT_LT(float(black) / float(count), 0.2f);
}

}  // namespace
