// Drawing on the headless backend: which calls are recorded, with which
// arguments and state, and the drawing state's own rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/Backend.h"
#include "engine/Draw.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/Images.h"
#include "engine/Overlay.h"
#include "engine/SdlVideo.h"
#include "engine/WindowIcon.h"
#include "test_images_files.h"

namespace {

using engine::headless::DrawOp;
using engine::headless::Draws;

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    SetBlendMode(BLEND_NONE, 255);
    SetDrawBrightness(255, 255, 255);
    SetClipRect(0, 0, 640, 480);
    ClearOverlay();
    engine::headless::ClearDraws();
    image = engine::AddImage(8, 8, test_images::Quadrants(8));
    ASSERT_GT(image, 0);
  }
  void TearDown() override {
    DeleteAllImages();
    EngineEnd();
  }
  int image = 0;
};

TEST_F(DrawTest, NoImageAndInvalidHandlesDrawAndRecordNothing) {
  const int gone = engine::AddImage(1, 1, {0});
  DeleteImage(gone);
  for (int handle : {0, -1, gone, 424242}) {
    DrawImage(0, 0, handle, true);
    DrawImageStretched(0, 0, 5, 5, handle, true);
    DrawImageQuad(0, 0, 1, 0, 1, 1, 0, 1, handle, true);
    DrawImageRect(0, 0, 0, 0, 1, 1, handle, true, false);
    DrawImageRotated(0, 0, 0, 0, 1.0, 0.0, handle, true, false);
  }
  EXPECT_TRUE(Draws().empty());
}

TEST_F(DrawTest, ImageDrawsRecordTheirArgumentsInFacadeOrder) {
  DrawImage(3, 4, image, true);
  DrawImageStretched(10, 20, 2, 4, image, false);
  DrawImageQuad(1, 2, 3, 4, 5, 6, 7, 8, image, true);
  DrawImageRect(9, 8, 1, 2, 3, 4, image, false, true);
  DrawImageRotated(100, 200, 4, 5, 1.5, -0.25, image, true, true);
  ASSERT_EQ(Draws().size(), 5u);

  const auto& plain = Draws()[0];
  EXPECT_EQ(plain.op, DrawOp::Image);
  EXPECT_EQ(plain.handle, image);
  EXPECT_EQ(plain.args[0], 3);
  EXPECT_EQ(plain.args[1], 4);
  EXPECT_TRUE(plain.transparent);

  const auto& stretched = Draws()[1];
  EXPECT_EQ(stretched.op, DrawOp::Stretched);
  EXPECT_EQ(std::vector<int>(stretched.args, stretched.args + 4), (std::vector<int>{10, 20, 2, 4}));
  EXPECT_FALSE(stretched.transparent);

  const auto& quad = Draws()[2];
  EXPECT_EQ(quad.op, DrawOp::Quad);
  EXPECT_EQ(std::vector<int>(quad.args, quad.args + 8), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));

  const auto& rect = Draws()[3];
  EXPECT_EQ(rect.op, DrawOp::Rect);
  EXPECT_EQ(std::vector<int>(rect.args, rect.args + 6), (std::vector<int>{9, 8, 1, 2, 3, 4}));
  EXPECT_TRUE(rect.flip);

  const auto& rotated = Draws()[4];
  EXPECT_EQ(rotated.op, DrawOp::Rotated);
  EXPECT_EQ(std::vector<int>(rotated.args, rotated.args + 4), (std::vector<int>{100, 200, 4, 5}));
  EXPECT_DOUBLE_EQ(rotated.scale, 1.5);
  EXPECT_DOUBLE_EQ(rotated.angle, -0.25);
  EXPECT_TRUE(rotated.flip);
}

TEST_F(DrawTest, RecordsCarryTheStateThatAppliedToThem) {
  SetBlendMode(BLEND_ADD, 77);
  SetDrawBrightness(10, 20, 30);
  SetClipRect(32, 16, 416, 464);
  DrawImage(0, 0, image, true);
  SetBlendMode(BLEND_NONE, 255);
  SetDrawBrightness(255, 255, 255);
  DrawImage(0, 0, image, true);
  ASSERT_EQ(Draws().size(), 2u);
  const auto& first = Draws()[0];
  EXPECT_EQ(first.blendMode, BLEND_ADD);
  EXPECT_EQ(first.blendParam, 77);
  EXPECT_EQ(first.bright[0], 10);
  EXPECT_EQ(first.bright[1], 20);
  EXPECT_EQ(first.bright[2], 30);
  EXPECT_TRUE(first.clipOn);
  EXPECT_EQ(std::vector<int>(first.clip, first.clip + 4), (std::vector<int>{32, 16, 416, 464}));
  EXPECT_EQ(Draws()[1].blendMode, BLEND_NONE);
  EXPECT_EQ(Draws()[1].bright[0], 255);
}

TEST_F(DrawTest, BlendParameterAndBrightnessAreClampedToAByte) {
  SetBlendMode(BLEND_ALPHA, 300);
  EXPECT_EQ(engine::CurrentDrawState().blendParam, 255);
  SetBlendMode(BLEND_SUB, -5);
  EXPECT_EQ(engine::CurrentDrawState().blendParam, 0);
  EXPECT_EQ(engine::CurrentDrawState().blendMode, BLEND_SUB);
  SetBlendMode(BLEND_MUL, 128);
  EXPECT_EQ(engine::CurrentDrawState().blendParam, 128);
  SetBlendMode(99, 10);  // unknown modes draw as plain copies
  EXPECT_EQ(engine::CurrentDrawState().blendMode, BLEND_NONE);
  SetDrawBrightness(-1, 256, 100);
  DrawImage(0, 0, image, true);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].bright[0], 0);
  EXPECT_EQ(Draws()[0].bright[1], 255);
  EXPECT_EQ(Draws()[0].bright[2], 100);
  EXPECT_EQ(Draws()[0].blendParam, 10);
}

TEST_F(DrawTest, ShapesFramesAndColoursAreRecorded) {
  const int white = MakeColor(255, 255, 255);
  EXPECT_EQ(MakeColor(1, 2, 3), 0x010203);
  EXPECT_EQ(MakeColor(300, -4, 255), 0xFF00FF);
  ClearDrawTarget();
  DrawRectangle(1, 2, 3, 4, white, false);
  DrawSegment(5, 6, 7, 8, MakeColor(0, 255, 0), 3);
  DrawCircleShape(50, 60, 9, MakeColor(0, 0, 255), true);
  PresentFrame();
  ASSERT_EQ(Draws().size(), 5u);
  EXPECT_EQ(Draws()[0].op, DrawOp::Clear);
  EXPECT_EQ(Draws()[1].op, DrawOp::Rectangle);
  EXPECT_EQ(Draws()[1].color, white);
  EXPECT_FALSE(Draws()[1].filled);
  EXPECT_EQ(std::vector<int>(Draws()[1].args, Draws()[1].args + 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(Draws()[2].op, DrawOp::Segment);
  EXPECT_EQ(Draws()[2].args[4], 3);  // thickness follows the corners
  EXPECT_EQ(Draws()[2].color, 0x00FF00);
  EXPECT_EQ(Draws()[3].op, DrawOp::Circle);
  EXPECT_EQ(Draws()[3].args[2], 9);
  EXPECT_TRUE(Draws()[3].filled);
  EXPECT_EQ(Draws()[4].op, DrawOp::Present);
}

TEST_F(DrawTest, DrawImageFileShowsTheLoadingPictureAtOnceAndReleasesIt) {
  test_images::TempDir dir;
  const std::string path = dir.File("loading.png");
  test_images::WriteBytes(path, test_images::PngBytes(8, 8, test_images::Quadrants(8)));
  const int before = engine::ImageCount();
  EXPECT_EQ(DrawImageFile(12, 34, path.c_str(), false), 0);
  EXPECT_EQ(engine::ImageCount(), before);
  ASSERT_GE(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].op, DrawOp::Image);
  EXPECT_EQ(Draws()[0].args[0], 12);
  EXPECT_EQ(Draws()[0].args[1], 34);
  EXPECT_FALSE(Draws()[0].transparent);
  if (!engine::BackBufferSelected()) {
    ASSERT_EQ(Draws().size(), 2u);
    EXPECT_EQ(Draws()[1].op, DrawOp::Present);
  }
  SelectBackBuffer();
  engine::headless::ClearDraws();
  EXPECT_EQ(DrawImageFile(0, 0, path.c_str(), true), 0);
  ASSERT_EQ(Draws().size(), 1u);  // once the back buffer is chosen, the frame step presents
  EXPECT_EQ(DrawImageFile(0, 0, dir.File("none.png").c_str(), true), -1);
  EXPECT_EQ(Draws().size(), 1u);
}

TEST_F(DrawTest, OverlayCollectsPrintedTextUntilCleared) {
  PrintOverlay("FPS %.1f", 59.94);
  PrintOverlay("\n%d/%s", 3, "x");
  EXPECT_EQ(engine::OverlayText(), "FPS 59.9\n3/x");
  ClearOverlay();
  EXPECT_EQ(engine::OverlayText(), "");
  // A layer that keeps growing scrolls; the newest line stays.
  for (int i = 0; i < 200; ++i) PrintOverlay("line %d\n", i);
  const std::string& text = engine::OverlayText();
  EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 60);
  EXPECT_NE(text.find("line 199\n"), std::string::npos);
  EXPECT_EQ(text.find("line 0\n"), std::string::npos);
  // Every printable character has a glyph, and they are not all alike.
  EXPECT_NE(std::memcmp(engine::OverlayGlyph('0'), engine::OverlayGlyph('8'), 7), 0);
  EXPECT_NE(std::memcmp(engine::OverlayGlyph('F'), engine::OverlayGlyph('P'), 7), 0);
  EXPECT_EQ(engine::OverlayGlyph(0x80), engine::OverlayGlyph(0x01));
}

TEST_F(DrawTest, SaveDrawScreenWritesABitmapOfTheAskedSize) {
  test_images::TempDir dir;
  const std::string path = dir.File("shot.bmp");
  ASSERT_EQ(SaveDrawScreen(32, 16, 416, 464, path.c_str()), 0);
  const std::vector<uint8_t> bmp = test_images::ReadBytes(path);
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  const auto u32 = [&](size_t at) {
    return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24;
  };
  EXPECT_EQ(u32(18), 384);
  EXPECT_EQ(u32(22), 448);
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(bmp.size(), 54u + 384u * 3u * 448u);
  EXPECT_EQ(static_cast<size_t>(u32(2)), bmp.size());
  EXPECT_EQ(SaveDrawScreen(10, 10, 10, 20, dir.File("empty.bmp").c_str()), -1);
  EXPECT_EQ(SaveDrawScreen(0, 0, 8, 8, dir.File("no/such/dir.bmp").c_str()), -1);
}

TEST(LetterboxTest, PictureIsCentredAndScaledInWholeStepsWhenTheyFit) {
  const auto box = [](int w, int h) { return engine::ComputeLetterbox(w, h); };
  auto b = box(640, 480);
  EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{0, 0, 640, 480}));
  b = box(1280, 960);
  EXPECT_TRUE(b.integerScale);
  EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{0, 0, 1280, 960}));
  b = box(700, 500);  // a little larger than the picture: stay crisp at 1x
  EXPECT_TRUE(b.integerScale);
  EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{30, 10, 640, 480}));
  b = box(1920, 1080);  // 2x would waste a fifth of the height: fill it instead
  EXPECT_FALSE(b.integerScale);
  EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}),
            (std::vector<int>{240, 0, 1440, 1080}));
  b = box(320, 480);  // smaller than the picture: shrink, keep the shape
  EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), (std::vector<int>{0, 120, 320, 240}));
}

TEST(WindowIconTest, GameIconIsARoundPictureWithTransparentCorners) {
  std::vector<uint32_t> icon;
  ASSERT_TRUE(engine::BuildWindowIcon(engine::kGameIconId, icon));
  ASSERT_EQ(icon.size(), 32u * 32u);
  EXPECT_EQ(icon[0] >> 24, 0u);
  EXPECT_EQ(icon[31 * 32 + 31] >> 24, 0u);
  EXPECT_EQ(icon[16 * 32 + 16] >> 24, 255u);
  // The ship is brighter than the disc around it.
  const auto lum = [](uint32_t p) { return (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF); };
  EXPECT_GT(lum(icon[14 * 32 + 16]), lum(icon[16 * 32 + 4]) + 200);
  EXPECT_FALSE(engine::BuildWindowIcon(0, icon));
  EXPECT_FALSE(engine::BuildWindowIcon(102, icon));
}

}  // namespace
