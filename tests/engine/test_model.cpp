// Model files, matrices, the camera and model drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/Model.h"
#include "test_sound_util.h"

namespace {

constexpr float kPi = 3.14159265f;

bool Parse(const std::string& text, engine::ModelData& out) {
  return engine::ParseModel(text.data(), text.size(), out);
}

// Row vector times matrix.
Vector3 Apply(const Matrix4& m, Vector3 v) {
  return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + m.m[3][0],
          v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + m.m[3][1],
          v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + m.m[3][2]};
}

void ExpectNear(Vector3 a, Vector3 b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(ModelFile, ReadsVerticesColoursAndFaces) {
  engine::ModelData m;
  ASSERT_TRUE(
      Parse("# a square and a triangle\r\n"
            "o square\n"
            "v 0 0 0  255 0 0\n"
            "v 1 0 0  0 255 0 128   # half transparent\n"
            "v 1 1 0  0 0 255\n"
            "v 0 1 -2.5e1 10 20 30\n"
            "f 1 2 3 4\n"
            "\tf -1 -2 -3\n",
            m));
  ASSERT_EQ(m.vertices.size(), 4u);
  EXPECT_EQ(m.vertices[1].a, 128);
  EXPECT_EQ(m.vertices[0].a, 255) << "alpha defaults to opaque";
  EXPECT_EQ(m.vertices[3].z, -25.0f);
  EXPECT_EQ(m.vertices[3].b, 30);
  // The quad becomes a fan of two triangles; negative numbers count back.
  EXPECT_EQ(m.indices, (std::vector<int>{0, 1, 2, 0, 2, 3, 3, 2, 1}));
}

TEST(ModelFile, RejectsMalformedFiles) {
  const std::string v3 = "v 0 0 0 1 1 1\nv 1 0 0 1 1 1\nv 0 1 0 1 1 1\n";
  engine::ModelData m;
  ASSERT_TRUE(Parse(v3 + "f 1 2 3\n", m));
  for (const std::string& bad : {
           std::string(""),                           // nothing at all
           v3,                                        // no faces
           v3 + "f 1 2 4\n",                          // a vertex that does not exist
           v3 + "f 0 1 2\n",                          // numbering starts at 1
           v3 + "f -4 1 2\n",                         // counts back too far
           v3 + "f 1 2\n",                            // not a face
           v3 + "f 1 2 x\n",                          // not a number
           v3 + "f 1/1 2/2 3/3\n",                    // texture references are not ours
           v3 + "vt 0 0\nf 1 2 3\n",                  // unknown line
           "v 0 0 0 256 0 0\n" + v3 + "f 1 2 3\n",    // colour out of range
           "v 0 0 0 1 1\n" + v3 + "f 1 2 3\n",        // colour missing
           "v 0 0 0 1 1 1 1 1\n" + v3 + "f 1 2 3\n",  // trailing values
           "v nan 0 0 1 1 1\n" + v3 + "f 1 2 3\n",    // not a finite position
           "v 1e99 0 0 1 1 1\n" + v3 + "f 1 2 3\n",   // out of float range
       }) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Parse(bad, m));
  }
  // Every cut-off of a good file either reads or fails; never reads past the end.
  const std::string good = v3 + "f 1 2 3\nv 5 5 5 9 9 9\nf 1 2 4\n";
  for (size_t cut = 0; cut <= good.size(); ++cut) {
    std::string part = good.substr(0, cut);
    engine::ModelData partial;
    if (Parse(part, partial)) {
      for (int i : partial.indices) ASSERT_LT(static_cast<size_t>(i), partial.vertices.size());
    }
  }
}

TEST(Matrices, RowVectorConventionAppliesTheFirstArgumentFirst) {
  const Matrix4 t = MatrixTranslate(10, 20, 30);
  const Matrix4 s = MatrixScale(2, 3, 4);
  ExpectNear(Apply(t, {1, 1, 1}), {11, 21, 31});
  EXPECT_EQ(t.m[3][0], 10.0f) << "translation in the bottom row";
  // Translate, then scale: (p + t)·s. Scale, then translate: p·s + t.
  ExpectNear(Apply(MatrixMultiply(t, s), {1, 1, 1}), {22, 63, 124});
  ExpectNear(Apply(MatrixMultiply(s, t), {1, 1, 1}), {12, 23, 34});
  // The identity leaves products alone.
  const Matrix4 id = MatrixScale(1, 1, 1);
  const Matrix4 ts = MatrixMultiply(t, s);
  const Matrix4 same = MatrixMultiply(MatrixMultiply(id, ts), id);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) EXPECT_EQ(same.m[i][j], ts.m[i][j]);
  }
}

TEST(Matrices, RotationAboutAnAxis) {
  // About +z, x turns towards y.
  ExpectNear(Apply(MatrixRotateAxis({0, 0, 1}, kPi / 2), {1, 0, 0}), {0, 1, 0});
  // The axis length does not matter.
  ExpectNear(Apply(MatrixRotateAxis({0, 0, 2}, kPi / 2), {0, 1, 0}), {-1, 0, 0});
  ExpectNear(Apply(MatrixRotateAxis({1, 0, 0}, kPi / 2), {0, 1, 0}), {0, 0, 1});

  // The scenery's tilted axis: the axis stays put, lengths are kept, and
  // turning by a then b is turning by a + b.
  const Vector3 axis{0, 0.5f, -0.5f};
  const Matrix4 r = MatrixRotateAxis(axis, 0.7f);
  ExpectNear(Apply(r, axis), axis);
  Vector3 p = Apply(r, {3, 4, 12});
  EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 13.0f, 1e-4f);
  ExpectNear(Apply(MatrixMultiply(r, MatrixRotateAxis(axis, 0.5f)), {3, 4, 12}),
             Apply(MatrixRotateAxis(axis, 1.2f), {3, 4, 12}));
  ExpectNear(Apply(MatrixRotateAxis({0, 0, 0}, 1.0f), {3, 4, 5}), {3, 4, 5});
}

TEST(ModelCamera, SceneryPlacementLandsOnThePlayField) {
  // The scenery puts the model at (x, 640 - y) with a 640-unit view.
  float sx, sy;
  engine::ProjectPoint(640.0f, 192.0f, 640.0f - 180.0f, &sx, &sy);
  EXPECT_FLOAT_EQ(sx, 224.0f) << "the play field's middle column";
  EXPECT_FLOAT_EQ(sy, 135.0f);
  engine::ProjectPoint(640.0f, 320.0f, 640.0f, &sx, &sy);
  EXPECT_FLOAT_EQ(sx, 320.0f);
  EXPECT_FLOAT_EQ(sy, 0.0f) << "the top of the view is the top of the screen";
  engine::ProjectPoint(480.0f, 100.0f, 0.0f, &sx, &sy);
  EXPECT_FLOAT_EQ(sx, 100.0f) << "a 480-unit view is one pixel per unit";
  EXPECT_FLOAT_EQ(sy, 480.0f);
}

TEST(ModelCamera, TrianglesAreOrderedBackToFront) {
  engine::ModelData m;
  // Three triangles at depths 0 (middle), -5 (nearest) and 9 (farthest).
  ASSERT_TRUE(
      Parse("v 0 0 0 1 1 1\nv 1 0 0 1 1 1\nv 0 1 0 1 1 1\n"
            "v 0 0 -5 2 2 2\nv 1 0 -5 2 2 2\nv 0 1 -5 2 2 2\n"
            "v 0 0 9 3 3 3\nv 1 0 9 3 3 3\nv 0 1 9 3 3 3\n"
            "f 1 2 3\nf 4 5 6\nf 7 8 9\n",
            m));
  const int full[3] = {255, 255, 255};
  std::vector<engine::Vertex> verts;
  std::vector<int> idx;
  engine::ProjectModel(m, MatrixScale(1, 1, 1), 480.0f, full, 255, verts, idx);
  ASSERT_EQ(idx.size(), 9u);
  EXPECT_EQ(verts[idx[0]].r, 3) << "farthest first";
  EXPECT_EQ(verts[idx[3]].r, 1);
  EXPECT_EQ(verts[idx[6]].r, 2) << "nearest last";
  // A half-turn about y puts the far one in front.
  engine::ProjectModel(m, MatrixRotateAxis({0, 1, 0}, kPi), 480.0f, full, 255, verts, idx);
  EXPECT_EQ(verts[idx[6]].r, 3);
  // Brightness and opacity scale the colours.
  const int dim[3] = {0, 255, 255};
  engine::ProjectModel(m, MatrixScale(1, 1, 1), 480.0f, dim, 51, verts, idx);
  EXPECT_EQ(verts[0].r, 0);
  EXPECT_EQ(verts[0].a, 51);
}

class ModelTest : public ::testing::Test {
 protected:
  soundtest::InScratchDir inScratch_;
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
  }
  void TearDown() override { EngineEnd(); }
};

TEST_F(ModelTest, HandlesLoadDrawAndRelease) {
  std::string text = "v 0 0 0 9 9 9\nv 1 0 0 9 9 9\nv 0 1 0 9 9 9\nf 1 2 3\n";
  std::string name = soundtest::WriteFile("tri.mv1", {text.begin(), text.end()});
  EXPECT_EQ(LoadModelFile("missing.mv1"), -1);
  EXPECT_EQ(LoadModelFile(soundtest::WriteFile("junk.mv1", {'v', ' ', '1'}).c_str()), -1);
  EXPECT_EQ(LoadModelFile(nullptr), -1);
  int h = LoadModelFile(name.c_str());
  ASSERT_GT(h, 0);
  engine::headless::ClearDraws();
  EXPECT_EQ(SetModelMatrix(h, MatrixTranslate(1, 2, 3)), 0);
  SetOrthoCamera(640.0f);
  EXPECT_EQ(DrawModel(h), 0);
  ASSERT_EQ(engine::headless::Draws().size(), 1u);
  EXPECT_EQ(engine::headless::Draws()[0].op, engine::headless::DrawOp::Model);
  EXPECT_EQ(engine::headless::Draws()[0].handle, h);

  EXPECT_EQ(DrawModel(0), -1);
  EXPECT_EQ(DrawModel(h + 100), -1);
  EXPECT_EQ(SetModelMatrix(h + 100, MatrixScale(1, 1, 1)), -1);
  EXPECT_EQ(engine::headless::Draws().size(), 1u) << "nothing drawn for a bad handle";
  EXPECT_EQ(DeleteModel(h), 0);
  EXPECT_EQ(DeleteModel(h), -1);
  EXPECT_EQ(DrawModel(h), -1);

  int again = LoadModelFile(name.c_str());
  ASSERT_GT(again, 0);
  EngineEnd();  // releases every model
  EXPECT_EQ(DrawModel(again), -1);
}

TEST(ModelContent, TheSceneryModelIsDarkAndFitsThePlayField) {
  std::vector<uint8_t> bytes;
  std::string path = std::string(VELMORA_GAME_DIR) + "/Graphics/doro.mv1";
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr) << path << " is built by the content build";
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  std::fclose(f);
  engine::ModelData m;
  ASSERT_TRUE(engine::ParseModel(reinterpret_cast<const char*>(bytes.data()), bytes.size(), m));
  EXPECT_GT(m.indices.size() / 3, 200u);
  for (const engine::ModelVertex& v : m.vertices) {
    ASSERT_LE(std::max({v.r, v.g, v.b}), 140) << "scenery stays dark under the bullets";
  }
  // Placed and turned as the stage draws it, it spans the play field's width
  // (x 32 to 416) without reaching far past it.
  const int full[3] = {255, 255, 255};
  for (float angle : {0.0f, 1.0f, 2.5f}) {
    Matrix4 world = MatrixMultiply(
        MatrixRotateAxis({0, 0.5f, -0.5f}, angle),
        MatrixMultiply(MatrixScale(1.3f, 1.3f, 1.3f), MatrixTranslate(192, 640 - 180, 50)));
    std::vector<engine::Vertex> verts;
    std::vector<int> idx;
    engine::ProjectModel(m, world, 640.0f, full, 255, verts, idx);
    float minX = 1e9f, maxX = -1e9f;
    for (const engine::Vertex& v : verts) {
      minX = std::min(minX, v.x);
      maxX = std::max(maxX, v.x);
    }
    EXPECT_NEAR((minX + maxX) / 2, 224.0f, 8.0f);
    EXPECT_GT(maxX - minX, 200.0f);
    EXPECT_LT(maxX - minX, 420.0f);
  }
}

// Rendered for real with SDL's offscreen driver.
class ModelRenderTest : public ::testing::Test {
 protected:
  soundtest::InScratchDir inScratch_;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    engine::headless::UseSdl();
    ASSERT_EQ(EngineInit(), 0);
  }
  void TearDown() override {
    EngineEnd();
    engine::headless::Use();
  }
  static uint32_t Pixel(int x, int y) {
    uint32_t rgba = 0;
    engine::CurrentBackend().video->readPixels(x, y, 1, 1, &rgba);
    return rgba & 0xFFFFFF;
  }
};

TEST_F(ModelRenderTest, DrawsTheTurnedAndScaledModelWhereExpected) {
  // A green square listed first but nearer the camera, over a red square.
  std::string text =
      "v -20 -20 -10 0 255 0\nv 20 -20 -10 0 255 0\nv 20 20 -10 0 255 0\nv -20 20 -10 0 255 0\n"
      "f 1 2 3 4\n"
      "v -50 -50 0 255 0 0\nv 50 -50 0 255 0 0\nv 50 50 0 255 0 0\nv -50 50 0 255 0 0\n"
      "f 5 6 7 8\n";
  int h = LoadModelFile(soundtest::WriteFile("squares.mv1", {text.begin(), text.end()}).c_str());
  ASSERT_GT(h, 0);
  // Turned 45 degrees, doubled, centred on the screen: the red square becomes a
  // diamond reaching 100·√2·0.75 ≈ 106 pixels from the centre.
  SetOrthoCamera(640.0f);
  SetModelMatrix(
      h, MatrixMultiply(MatrixRotateAxis({0, 0, 1}, kPi / 4),
                        MatrixMultiply(MatrixScale(2, 2, 2), MatrixTranslate(320, 320, 0))));
  ClearDrawTarget();
  ASSERT_EQ(DrawModel(h), 0);
  const uint32_t red = 0x0000FF, green = 0x00FF00;
  EXPECT_EQ(Pixel(320, 240), green) << "the nearer square covers the farther";
  EXPECT_EQ(Pixel(320 + 90, 240), red) << "right tip of the diamond";
  EXPECT_EQ(Pixel(320, 240 - 90), red) << "top tip";
  EXPECT_EQ(Pixel(320 + 60, 240 + 60), 0u) << "a corner an unturned square would cover";
  EXPECT_EQ(Pixel(320 + 115, 240), 0u) << "beyond the scaled size";
  EXPECT_EQ(Pixel(10, 10), 0u);
}

}  // namespace
