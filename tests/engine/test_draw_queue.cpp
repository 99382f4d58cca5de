// The frame's draw queue on its own: which draws it drops, which draws it
// counts as opaque rectangles, and how it cuts a draw around them. Every
// case is checked against what a pixel grid would show, not against the
// queue's own arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <vector>

#include "engine/DrawQueue.h"
#include "engine/Engine.h"

namespace {

using engine::DeviceBlend;
using engine::DrawQueue;
using engine::PixelRect;
using engine::Vertex;

const PixelRect kScreen{0, 0, 640, 480};
const int kQuad[6] = {0, 1, 2, 0, 2, 3};

struct Quad {
  Vertex v[4];
};

Quad Rect(float l, float t, float r, float b, uint8_t alpha = 255, uint8_t grey = 255) {
  Quad q;
  const float xs[4] = {l, r, r, l}, ys[4] = {t, t, b, b};
  for (int i = 0; i < 4; ++i) q.v[i] = Vertex{xs[i], ys[i], 0, 0, grey, grey, grey, alpha};
  return q;
}

// Where a stream of flat-colour quads lands on a small grid: each draw
// marks the pixels whose centres its rectangle and clip hold. Source-over
// at full alpha replaces, anything else is recorded as "blended onto".
struct Grid {
  static constexpr int W = 64, H = 48;
  std::vector<std::vector<int>> layers = std::vector<std::vector<int>>(W * H);

  void put(const DrawQueue::Out& d, int id) {
    float l = 1e9f, t = 1e9f, r = -1e9f, b = -1e9f;
    for (int i = 0; i < d.vertexCount; ++i) {
      l = std::min(l, d.vertices[i].x);
      r = std::max(r, d.vertices[i].x);
      t = std::min(t, d.vertices[i].y);
      b = std::max(b, d.vertices[i].y);
    }
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const float cx = x + 0.5f, cy = y + 0.5f;
        if (cx < l || cx >= r || cy < t || cy >= b) continue;
        if (x < d.clip.l || x >= d.clip.r || y < d.clip.t || y >= d.clip.b) continue;
        auto& stack = layers[static_cast<size_t>(y * W + x)];
        if (d.replaces) stack.clear();
        stack.push_back(id);
      }
    }
  }
};

// Runs the same draws through a queue and straight, and returns the two
// grids of what ends up on each pixel (draw ids in order, last opaque first).
struct Draw {
  Quad quad;
  bool opaqueTexture;
  DeviceBlend blend;
  PixelRect clip;
};

std::pair<Grid, Grid> Both(const std::vector<Draw>& draws, int* drawnPieces = nullptr) {
  Grid straight, queued;
  DrawQueue q;
  for (size_t i = 0; i < draws.size(); ++i) {
    const Draw& d = draws[i];
    const bool replaces = engine::ReplacesPicture(d.quad.v, 4, d.blend, d.opaqueTexture);
    straight.put(DrawQueue::Out{nullptr, d.quad.v, 4, kQuad, 6, 0, replaces, d.clip, false},
                 static_cast<int>(i));
    // The texture pointer carries the draw's number through the queue.
    q.add(reinterpret_cast<void*>(i + 1), d.quad.v, 4, kQuad, 6, 0, d.blend, d.opaqueTexture,
          d.clip);
  }
  int pieces = 0;
  q.flush(
      kScreen, [](bool) {},
      [&](const DrawQueue::Out& o) {
        ++pieces;
        queued.put(o, static_cast<int>(reinterpret_cast<size_t>(o.texture) - 1));
      });
  if (drawnPieces) *drawnPieces = pieces;
  return {straight, queued};
}

// What a pixel shows depends only on the draws since the last opaque one.
void ExpectSamePicture(const std::pair<Grid, Grid>& grids) {
  for (int p = 0; p < Grid::W * Grid::H; ++p) {
    ASSERT_EQ(grids.first.layers[static_cast<size_t>(p)],
              grids.second.layers[static_cast<size_t>(p)])
        << "pixel " << p % Grid::W << "," << p / Grid::W;
  }
}

TEST(DrawQueueTest, DrawsThatChangeNothingAreLeftOut) {
  const Quad clear = Rect(0, 0, 10, 10, 0);
  EXPECT_TRUE(engine::LeavesPictureUnchanged(clear.v, 4, DeviceBlend::Blend));
  EXPECT_TRUE(engine::LeavesPictureUnchanged(clear.v, 4, DeviceBlend::Multiply));
  const Quad black = Rect(0, 0, 10, 10, 255, 0);
  EXPECT_TRUE(engine::LeavesPictureUnchanged(black.v, 4, DeviceBlend::Add));
  EXPECT_TRUE(engine::LeavesPictureUnchanged(black.v, 4, DeviceBlend::Subtract));
  // Black over by alpha, or multiplied in, darkens.
  EXPECT_FALSE(engine::LeavesPictureUnchanged(black.v, 4, DeviceBlend::Blend));
  EXPECT_FALSE(engine::LeavesPictureUnchanged(black.v, 4, DeviceBlend::Multiply));
  // One corner with a little alpha is enough to show.
  Quad faint = Rect(0, 0, 10, 10, 0);
  faint.v[2].a = 1;
  EXPECT_FALSE(engine::LeavesPictureUnchanged(faint.v, 4, DeviceBlend::Blend));

  DrawQueue q;
  q.add(nullptr, clear.v, 4, kQuad, 6, BLEND_ALPHA, DeviceBlend::Blend, true, kScreen);
  q.add(nullptr, black.v, 4, kQuad, 6, BLEND_ADD, DeviceBlend::Add, true, kScreen);
  EXPECT_TRUE(q.empty());
}

TEST(DrawQueueTest, DrawsOutsideTheirClipAreLeftOutButEdgesCount) {
  DrawQueue q;
  const PixelRect field{32, 16, 416, 464};
  const Quad left = Rect(0, 100, 32, 120);      // ends where the field starts
  const Quad right = Rect(416, 100, 430, 120);  // starts where it ends
  const Quad touching = Rect(0, 100, 32.5f, 120);
  q.add(nullptr, left.v, 4, kQuad, 6, 1, DeviceBlend::Blend, false, field);
  q.add(nullptr, right.v, 4, kQuad, 6, 1, DeviceBlend::Blend, false, field);
  EXPECT_TRUE(q.empty());
  q.add(nullptr, touching.v, 4, kQuad, 6, 1, DeviceBlend::Blend, false, field);
  EXPECT_EQ(q.size(), 1u);
}

TEST(DrawQueueTest, OnlyWholePixelAxisAlignedRectanglesCover) {
  PixelRect r;
  const Quad whole = Rect(32, 16, 416, 464);
  ASSERT_TRUE(engine::IsPixelRectangle(whole.v, 4, kQuad, 6, r));
  EXPECT_EQ(r, (PixelRect{32, 16, 416, 464}));
  // Corners listed in another order, split along the other diagonal.
  const int other[6] = {1, 2, 3, 1, 3, 0};
  EXPECT_TRUE(engine::IsPixelRectangle(whole.v, 4, other, 6, r));

  const Quad half = Rect(32.5f, 16, 416, 464);
  EXPECT_FALSE(engine::IsPixelRectangle(half.v, 4, kQuad, 6, r));
  // Two triangles on the same side cover one half twice and leave a corner.
  const int sameSide[6] = {0, 1, 2, 0, 1, 3};
  EXPECT_FALSE(engine::IsPixelRectangle(whole.v, 4, sameSide, 6, r));
  Quad turned = whole;
  turned.v[1].y += 1;  // no longer a rectangle
  EXPECT_FALSE(engine::IsPixelRectangle(turned.v, 4, kQuad, 6, r));
  const Quad flat = Rect(10, 10, 10, 20);
  EXPECT_FALSE(engine::IsPixelRectangle(flat.v, 4, kQuad, 6, r));

  // Opaque means full alpha over an opaque texture, by source-over only.
  EXPECT_TRUE(engine::ReplacesPicture(whole.v, 4, DeviceBlend::Blend, true));
  EXPECT_FALSE(engine::ReplacesPicture(whole.v, 4, DeviceBlend::Blend, false));
  EXPECT_FALSE(engine::ReplacesPicture(whole.v, 4, DeviceBlend::Add, true));
  const Quad translucent = Rect(32, 16, 416, 464, 254);
  EXPECT_FALSE(engine::ReplacesPicture(translucent.v, 4, DeviceBlend::Blend, true));
}

TEST(DrawQueueTest, AFramePictureUnderOpaqueSceneryIsDrawnOnlyAroundIt) {
  // The stage: the frame picture over the whole screen, the opaque scenery
  // over the field, a translucent layer on it, and a sprite on the frame.
  std::vector<Draw> draws{
      {Rect(0, 0, 640, 480), true, DeviceBlend::Blend, kScreen},
      {Rect(32, 16, 416, 464), true, DeviceBlend::Blend, {32, 16, 416, 464}},
      {Rect(32, 16, 416, 464, 180), true, DeviceBlend::Add, {32, 16, 416, 464}},
      {Rect(20, 20, 50, 50, 128), false, DeviceBlend::Blend, kScreen},
  };
  int pieces = 0;
  const auto grids = Both(draws, &pieces);
  ExpectSamePicture(grids);
  // The frame in four strips, then the other three draws whole.
  EXPECT_EQ(pieces, 4 + 3);
}

TEST(DrawQueueTest, DrawsWhollyUnderALaterOpaqueRectangleAreLeftOut) {
  std::vector<Draw> draws{
      {Rect(40, 20, 50, 30, 100), false, DeviceBlend::Blend, kScreen},
      {Rect(10, 10, 60, 40), true, DeviceBlend::Blend, kScreen},
  };
  int pieces = 0;
  ExpectSamePicture(Both(draws, &pieces));
  EXPECT_EQ(pieces, 1);
}

TEST(DrawQueueTest, AnOpaqueRectangleCoversOnlyWithinItsClip) {
  // Clipped to its left half, the opaque rectangle hides only that half.
  std::vector<Draw> draws{
      {Rect(0, 0, 64, 48, 100), false, DeviceBlend::Blend, kScreen},
      {Rect(0, 0, 64, 48), true, DeviceBlend::Blend, {0, 0, 32, 48}},
  };
  ExpectSamePicture(Both(draws));
}

TEST(DrawQueueTest, TranslucentOrBlendedRectanglesHideNothing) {
  std::vector<Draw> draws{
      {Rect(0, 0, 64, 48), true, DeviceBlend::Blend, kScreen},
      {Rect(8, 8, 56, 40), true, DeviceBlend::Add, kScreen},
      {Rect(8, 8, 56, 40), false, DeviceBlend::Blend, kScreen},
      {Rect(8, 8, 56, 40, 200), true, DeviceBlend::Blend, kScreen},
      {Rect(16, 16, 24, 24, 30), false, DeviceBlend::Blend, kScreen},
  };
  int pieces = 0;
  ExpectSamePicture(Both(draws, &pieces));
  EXPECT_EQ(pieces, 5);
}

TEST(DrawQueueTest, ManyOverlappingOpaqueRectanglesStillGiveTheSamePicture) {
  // A patchwork of opaque and translucent rectangles, some partly covering
  // each other, some clipped: every pixel must end with the same draws.
  std::vector<Draw> draws;
  unsigned seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  for (int i = 0; i < 60; ++i) {
    const int l = next(60) - 4, t = next(44) - 4;
    const int w = 1 + next(40), h = 1 + next(30);
    const bool opaque = next(3) == 0;
    const PixelRect clip =
        next(4) == 0 ? PixelRect{next(30), next(20), 34 + next(30), 24 + next(24)} : kScreen;
    draws.push_back({Rect(static_cast<float>(l), static_cast<float>(t), static_cast<float>(l + w),
                          static_cast<float>(t + h), opaque ? 255 : 120),
                     opaque, DeviceBlend::Blend, clip});
  }
  ExpectSamePicture(Both(draws));
}

TEST(DrawQueueTest, FlushHandsOverEachDrawInOrderAndEmptiesTheQueue) {
  DrawQueue q;
  for (int i = 0; i < 3; ++i) {
    const Quad quad = Rect(static_cast<float>(10 * i), 0, static_cast<float>(10 * i + 5), 5, 100);
    q.add(reinterpret_cast<void*>(static_cast<size_t>(i + 1)), quad.v, 4, kQuad, 6, BLEND_ALPHA,
          DeviceBlend::Blend, false, kScreen);
  }
  std::vector<size_t> order;
  q.flush(
      kScreen, [](bool) {},
      [&](const DrawQueue::Out& o) {
        order.push_back(reinterpret_cast<size_t>(o.texture));
        EXPECT_EQ(o.vertices[0].x, static_cast<float>(10 * (order.size() - 1)));
        EXPECT_EQ(o.clip, kScreen);
        EXPECT_FALSE(o.replaces);
      });
  EXPECT_EQ(order, (std::vector<size_t>{1, 2, 3}));
  EXPECT_TRUE(q.empty());
}

TEST(DrawQueueTest, TellsWhetherTheDrawsPaintEveryPixel) {
  auto paints = [](std::initializer_list<Quad> quads, PixelRect clip = kScreen) {
    DrawQueue q;
    for (const Quad& quad : quads) {
      q.add(nullptr, quad.v, 4, kQuad, 6, BLEND_NONE, DeviceBlend::Blend, true, clip);
    }
    bool told = false, result = false;
    q.flush(
        kScreen, [&](bool p) { told = true, result = p; }, [](const DrawQueue::Out&) {});
    EXPECT_TRUE(told);
    return result;
  };
  EXPECT_TRUE(paints({Rect(0, 0, 640, 480)}));
  EXPECT_TRUE(paints({Rect(-10, -10, 700, 500)}));
  EXPECT_FALSE(paints({Rect(0, 0, 640, 479)}));
  EXPECT_FALSE(paints({Rect(0, 0, 640, 480, 254)}));
  EXPECT_FALSE(paints({Rect(0, 0, 640, 480)}, PixelRect{0, 0, 320, 480}));
  // Two halves paint it all, but only one rectangle at a time is known.
  EXPECT_FALSE(paints({Rect(0, 0, 320, 480), Rect(320, 0, 640, 480)}));
}

TEST(DrawQueueTest, TexelsSitOnPixelsOnlyForUnscaledUnturnedWholePixelQuads) {
  // A 16 x 8 texture drawn 1:1 at (10, 20), then its right half, mirrored.
  Quad q = Rect(10, 20, 26, 28);
  const float us[4] = {0, 1, 1, 0}, vs[4] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) q.v[i].u = us[i], q.v[i].v = vs[i];
  EXPECT_TRUE(engine::TexelsOnPixels(q.v, 4, kQuad, 6, 16, 8));
  Quad half = Rect(10, 20, 18, 28);
  const float hus[4] = {1, 0.5f, 0.5f, 1};
  for (int i = 0; i < 4; ++i) half.v[i].u = hus[i], half.v[i].v = vs[i];
  EXPECT_TRUE(engine::TexelsOnPixels(half.v, 4, kQuad, 6, 16, 8));

  EXPECT_FALSE(engine::TexelsOnPixels(q.v, 4, kQuad, 6, 32, 8)) << "stretched twice as wide";
  Quad shifted = q;
  for (Vertex& v : shifted.v) v.x += 0.5f;
  EXPECT_FALSE(engine::TexelsOnPixels(shifted.v, 4, kQuad, 6, 16, 8)) << "between pixels";
  Quad offTexel = q;
  for (Vertex& v : offTexel.v) v.u += 0.5f / 16;
  EXPECT_FALSE(engine::TexelsOnPixels(offTexel.v, 4, kQuad, 6, 16, 8)) << "between texels";
  Quad turned = q;  // a quarter turn: x runs along v
  const float tus[4] = {0, 0, 1, 1}, tvs[4] = {1, 0, 0, 1};
  for (int i = 0; i < 4; ++i) turned.v[i].u = tus[i], turned.v[i].v = tvs[i];
  EXPECT_FALSE(engine::TexelsOnPixels(turned.v, 4, kQuad, 6, 8, 16));
  const int otherSplit[6] = {0, 1, 3, 1, 2, 3};
  EXPECT_FALSE(engine::TexelsOnPixels(q.v, 4, otherSplit, 6, 16, 8));
  // Several quads in one draw (a line of text) count only if all do.
  Quad two[2] = {q, q};
  for (Vertex& v : two[1].v) v.x += 16;
  const int twoIdx[12] = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
  EXPECT_TRUE(engine::TexelsOnPixels(two[0].v, 8, twoIdx, 12, 16, 8));
  two[1].v[2].x += 1;
  EXPECT_FALSE(engine::TexelsOnPixels(two[0].v, 8, twoIdx, 12, 16, 8));
}

TEST(DrawQueueTest, BoundsWidenToWholePixelsAndDistrustStrangeNumbers) {
  const Quad q = Rect(10.25f, 3.5f, 20.75f, 8);
  EXPECT_EQ(engine::DrawBounds(q.v, 4, kQuad, 6), (PixelRect{10, 3, 21, 8}));
  Quad broken = q;
  broken.v[0].x = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(engine::DrawBounds(broken.v, 4, kQuad, 6).contains(kScreen));
}

}  // namespace
