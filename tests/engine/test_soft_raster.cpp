// The software rasteriser's coverage on its own: shapes that share edges
// draw every pixel once (an additive draw would show a seam or a gap), the
// merged forms (a quad as one parallelogram, a filled circle's fan as one
// polygon) cover exactly the pixels of their triangles, and a picture drawn
// row-interleaved by two canvases is the picture drawn whole. How close its
// colours come to GL's is checked on real frames in the display tests.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/SoftRaster.h"

namespace {

using engine::PixelRect;
using engine::Vertex;
namespace soft = engine::soft;

constexpr int kW = 160, kH = 120;

Vertex Corner(float x, float y) { return Vertex{x, y, 0, 0, 1, 1, 1, 255}; }

struct Picture {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kW * kH, 0xFF000000u);
  soft::Canvas canvas(int first = 0, int step = 1) {
    return soft::Canvas{pixels.data(), kW, kH, kW, first, step};
  }
  // How many additive draws of (1, 1, 1) reached the pixel.
  int count(int x, int y) const { return static_cast<int>(pixels[y * kW + x] & 0xFF); }
};

void Add(const soft::Canvas& canvas, const std::vector<Vertex>& v, const std::vector<int>& idx) {
  soft::DrawTriangles(canvas, PixelRect{0, 0, kW, kH}, nullptr, false, v.data(), idx.data(),
                      static_cast<int>(idx.size()), soft::Blend::Add);
}

// A grid of cells over the whole picture, corners jittered off the pixel
// grid (some landing exactly on pixel centres), each cell two triangles.
void JitteredGrid(std::vector<Vertex>& v, std::vector<int>& idx, bool asQuads) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> jitter(-24, 24);
  constexpr int kCells = 8;
  auto at = [](int i, int j) { return j * (kCells + 1) + i; };
  for (int j = 0; j <= kCells; ++j) {
    for (int i = 0; i <= kCells; ++i) {
      const bool inside = i > 0 && i < kCells && j > 0 && j < kCells;
      const float x = i * (kW / kCells) + (inside ? jitter(rng) / 8.0f : 0.0f);
      const float y = j * (kH / kCells) + (inside ? jitter(rng) / 8.0f + 0.5f : 0.0f);
      v.push_back(Corner(x, y));
    }
  }
  for (int j = 0; j < kCells; ++j) {
    for (int i = 0; i < kCells; ++i) {
      const int a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
      // Quads as the game sends them (a-b-c, a-c-d); else the other diagonal.
      const std::vector<int> cell =
          asQuads ? std::vector<int>{a, b, c, a, c, d} : std::vector<int>{a, b, d, b, c, d};
      idx.insert(idx.end(), cell.begin(), cell.end());
    }
  }
}

TEST(SoftRasterTest, SharedEdgesAreDrawnOnce) {
  for (bool asQuads : {false, true}) {
    std::vector<Vertex> v;
    std::vector<int> idx;
    JitteredGrid(v, idx, asQuads);
    Picture p;
    Add(p.canvas(), v, idx);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        ASSERT_EQ(p.count(x, y), 1) << "at (" << x << ", " << y << "), quads " << asQuads;
      }
    }
  }
}

TEST(SoftRasterTest, MergedShapesCoverTheirTrianglesPixels) {
  // A filled circle as the engine sends it (a closed fan around its centre)
  // and a turned parallelogram, against the same triangles drawn one by one.
  std::vector<Vertex> v{Corner(60.5f, 50.5f)};
  std::vector<int> fan, quad;
  constexpr int kSegments = 40;
  for (int i = 0; i < kSegments; ++i) {
    const double a = 2 * 3.14159265358979 * i / kSegments;
    v.push_back(Corner(static_cast<float>(60.5 + 37 * std::cos(a)),
                       static_cast<float>(50.5 + 37 * std::sin(a))));
    fan.insert(fan.end(), {0, 1 + i, 1 + (i + 1) % kSegments});
  }
  const int q = static_cast<int>(v.size());
  for (auto [x, y] : {std::pair{110.3f, 20.7f}, {150.1f, 41.2f}, {129.6f, 81.9f}, {89.8f, 61.4f}}) {
    v.push_back(Corner(x, y));
  }
  quad = {q, q + 1, q + 2, q, q + 2, q + 3};
  for (const std::vector<int>& shape : {fan, quad}) {
    Picture merged, apart;
    Add(merged.canvas(), v, shape);
    for (size_t t = 0; t < shape.size(); t += 3) {
      Add(apart.canvas(), v, {shape[t], shape[t + 1], shape[t + 2]});
    }
    int lit = 0;
    for (uint32_t px : merged.pixels) lit += (px & 0xFF) != 0;
    EXPECT_GT(lit, 1000);
    EXPECT_EQ(merged.pixels, apart.pixels);
  }
}

TEST(SoftRasterTest, RowInterleavedCanvasesMakeTheWholePicture) {
  std::vector<Vertex> v;
  std::vector<int> idx;
  JitteredGrid(v, idx, true);
  for (Vertex& corner : v) corner.r = static_cast<uint8_t>(corner.x);  // shaded across
  Picture whole, shared;
  Add(whole.canvas(), v, idx);
  Add(shared.canvas(0, 2), v, idx);
  EXPECT_NE(whole.pixels, shared.pixels);  // the odd rows are still to come
  Add(shared.canvas(1, 2), v, idx);
  EXPECT_EQ(whole.pixels, shared.pixels);
}

}  // namespace
