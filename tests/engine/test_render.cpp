// Rendering through SDL's offscreen driver: every kind of draw lands on the
// expected pixels of the 640 x 480 picture, read back before presenting.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <functional>
#include <vector>

#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "engine/Images.h"
#include "test_images_files.h"

namespace {

using test_images::Rgba;

constexpr double kPi = 3.14159265358979323846;

struct Pixel {
  int r, g, b;
  bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
  return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

constexpr Pixel kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kBlack{0, 0, 0};

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    engine::headless::UseSdl();
    ChangeWindowMode(true);
    SetTextureFilter(0);
    ASSERT_EQ(EngineInit(), 0) << "offscreen SDL video could not start: " << SDL_GetError();
    SetBlendMode(BLEND_NONE, 255);
    SetDrawBrightness(255, 255, 255);
    SetClipRect(0, 0, 640, 480);
    ClearOverlay();
    ClearDrawTarget();
    quad = engine::AddImage(8, 8, test_images::Quadrants(8));
    ASSERT_GT(quad, 0);
  }
  void TearDown() override {
    DeleteAllImages();
    EngineEnd();
  }

  static Pixel At(int x, int y) {
    uint32_t p = 0;
    EXPECT_TRUE(engine::CurrentBackend().video->readPixels(x, y, 1, 1, &p));
    return {static_cast<int>(p & 0xFF), static_cast<int>(p >> 8 & 0xFF),
            static_cast<int>(p >> 16 & 0xFF)};
  }

  static void ExpectNear(const Pixel& got, const Pixel& want, int tolerance, const char* what) {
    EXPECT_NEAR(got.r, want.r, tolerance) << what << " got " << got;
    EXPECT_NEAR(got.g, want.g, tolerance) << what << " got " << got;
    EXPECT_NEAR(got.b, want.b, tolerance) << what << " got " << got;
  }

  int quad = 0;
};

TEST_F(RenderTest, PlainDrawPutsTheTopLeftCornerAtThePoint) {
  DrawImage(10, 20, quad, true);
  EXPECT_EQ(At(10, 20), kRed);
  EXPECT_EQ(At(17, 20), kGreen);
  EXPECT_EQ(At(10, 27), kBlue);
  EXPECT_EQ(At(17, 27), kWhite);
  EXPECT_EQ(At(9, 20), kBlack);
  EXPECT_EQ(At(18, 20), kBlack);
  EXPECT_EQ(At(10, 28), kBlack);
}

TEST_F(RenderTest, StretchedDrawScalesAndReversedCornersMirror) {
  DrawImageStretched(100, 0, 116, 32, quad, true);
  EXPECT_EQ(At(100, 0), kRed);
  EXPECT_EQ(At(107, 15), kRed);
  EXPECT_EQ(At(108, 16), kWhite);
  EXPECT_EQ(At(115, 31), kWhite);
  EXPECT_EQ(At(116, 0), kBlack);
  // x reversed: left and right swap.
  DrawImageStretched(216, 0, 200, 16, quad, true);
  EXPECT_EQ(At(201, 1), kGreen);
  EXPECT_EQ(At(214, 1), kRed);
  EXPECT_EQ(At(201, 14), kWhite);
  // y reversed: top and bottom swap.
  DrawImageStretched(300, 16, 316, 0, quad, true);
  EXPECT_EQ(At(301, 1), kBlue);
  EXPECT_EQ(At(314, 14), kGreen);
}

TEST_F(RenderTest, QuadMapsTheCornersInOrder) {
  // Corners given a quarter turn round: the top-left (red) goes top-right.
  DrawImageQuad(216, 0, 216, 16, 200, 16, 200, 0, quad, true);
  EXPECT_EQ(At(213, 2), kRed);
  EXPECT_EQ(At(213, 13), kGreen);
  EXPECT_EQ(At(202, 2), kBlue);
  EXPECT_EQ(At(202, 13), kWhite);
}

TEST_F(RenderTest, RectDrawsPartOfTheImageAndFlipMirrorsIt) {
  DrawImageRect(300, 100, 4, 0, 4, 8, quad, true, false);  // right half
  EXPECT_EQ(At(300, 100), kGreen);
  EXPECT_EQ(At(303, 107), kWhite);
  EXPECT_EQ(At(304, 100), kBlack);
  DrawImageRect(320, 100, 0, 0, 8, 4, quad, true, true);  // top half, mirrored
  EXPECT_EQ(At(321, 101), kGreen);
  EXPECT_EQ(At(326, 101), kRed);
  EXPECT_EQ(At(321, 104), kBlack);
  // A rectangle reaching past the image draws only the part that exists,
  // where it would have been.
  DrawImageRect(340, 100, -2, 6, 4, 4, quad, true, false);
  EXPECT_EQ(At(341, 100), kBlack);
  EXPECT_EQ(At(342, 100), kBlue);
  EXPECT_EQ(At(343, 101), kBlue);
  EXPECT_EQ(At(343, 102), kBlack);
}

TEST_F(RenderTest, RotatedDrawTurnsClockwiseAndScalesAboutTheCentrePoint) {
  // Quarter turn clockwise at twice the size about the image centre.
  DrawImageRotated(400, 100, 4, 4, 2.0, kPi / 2, quad, true, false);
  EXPECT_EQ(At(404, 96), kRed);     // top-left quadrant went top-right
  EXPECT_EQ(At(404, 104), kGreen);  // top-right went bottom-right
  EXPECT_EQ(At(395, 96), kBlue);
  EXPECT_EQ(At(395, 104), kWhite);
  EXPECT_EQ(At(407, 92), kRed);  // eight pixels out from the centre, not more
  EXPECT_EQ(At(409, 96), kBlack);
  EXPECT_EQ(At(404, 91), kBlack);

  // The centre point lands on (x, y): here the image's top-left corner.
  DrawImageRotated(500, 300, 0, 0, 1.0, 0.0, quad, true, false);
  EXPECT_EQ(At(500, 300), kRed);
  EXPECT_EQ(At(499, 300), kBlack);

  // Flip mirrors about the centre point.
  DrawImageRotated(500, 100, 4, 4, 1.0, 0.0, quad, true, true);
  EXPECT_EQ(At(497, 97), kGreen);
  EXPECT_EQ(At(502, 97), kRed);
  EXPECT_EQ(At(497, 102), kWhite);
}

// Turned and magnified sprites draw only the visible part of their cell;
// with smoothing on, that must land on exactly the pixels the whole cell
// would have, in every blend, and a draw without alpha still shows it all.
class SmoothRenderTest : public RenderTest {
 protected:
  void SetUp() override {
    SetTextureFilter(2);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    engine::headless::UseSdl();
    ChangeWindowMode(true);
    ASSERT_EQ(EngineInit(), 0) << SDL_GetError();
    SetDrawBrightness(255, 255, 255);
    SetClipRect(0, 0, 640, 480);
  }
  void TearDown() override {
    RenderTest::TearDown();
    SetTextureFilter(0);
  }
  // The 80 x 80 square at (x, y), over a grey ground.
  static std::vector<uint32_t> Drawn(int x, int y, const std::function<void()>& draw) {
    ClearDrawTarget();
    SetBlendMode(BLEND_NONE, 255);
    DrawRectangle(x, y, x + 80, y + 80, 0x606060, true);
    draw();
    std::vector<uint32_t> pixels(80 * 80);
    EXPECT_TRUE(engine::CurrentBackend().video->readPixels(x, y, 80, 80, pixels.data()));
    return pixels;
  }
};

TEST_F(SmoothRenderTest, ATurnedCellDrawsOnlyItsVisiblePartWithTheSameResult) {
  // A 32 x 32 cell, empty but for a small soft-edged figure off centre.
  std::vector<uint32_t> cell(32 * 32, 0);
  for (int y = 9; y < 16; ++y) {
    for (int x = 12; x < 20; ++x) {
      const bool edge = y == 9 || y == 15 || x == 12 || x == 19;
      cell[y * 32 + x] = test_images::Rgba(40 * (x - 11), 255 - 30 * (y - 8), 90, edge ? 96 : 255);
    }
  }
  const int image = engine::AddImage(32, 32, cell);
  ASSERT_GT(image, 0);
  ASSERT_LT(engine::FindImage(image)->visibleWidth, 32);

  for (int mode : {BLEND_ALPHA, BLEND_ADD}) {
    SCOPED_TRACE(mode);
    // A quarter turn at twice the size about the centre: corners land on
    // whole pixels, so the whole cell can be drawn as a plain quad.
    const auto turned = Drawn(300, 200, [&] {
      SetBlendMode(mode, 200);
      DrawImageRotated(340, 240, 16, 16, 2.0, kPi / 2, image, true, false);
    });
    const auto whole = Drawn(300, 200, [&] {
      SetBlendMode(mode, 200);
      DrawImageQuad(372, 208, 372, 272, 308, 272, 308, 208, image, true);
    });
    EXPECT_EQ(turned, whole);
    EXPECT_NE(turned, Drawn(300, 200, [] {}));
  }
  // Without alpha the empty texels show too: the cell's corner is black.
  Drawn(300, 200, [&] { DrawImageRotated(340, 240, 16, 16, 2.0, kPi / 2, image, false, false); });
  EXPECT_EQ(At(310, 210), kBlack);
}

TEST_F(RenderTest, ClipRectangleDiscardsDrawingOutsideIt) {
  SetClipRect(10, 10, 20, 20);
  DrawRectangle(0, 0, 40, 40, MakeColor(255, 255, 255), true);
  DrawImageStretched(0, 0, 40, 40, quad, true);
  EXPECT_EQ(At(10, 10), kRed);
  EXPECT_EQ(At(19, 19), kRed);
  EXPECT_EQ(At(9, 15), kBlack);
  EXPECT_EQ(At(20, 15), kBlack);
  EXPECT_EQ(At(15, 20), kBlack);
  // A clip rectangle wholly off the screen lets nothing through.
  SetClipRect(700, 0, 800, 480);
  DrawRectangle(0, 0, 640, 480, MakeColor(255, 255, 255), true);
  EXPECT_EQ(At(320, 240), kBlack);
  SetClipRect(50, 50, 50, 60);
  DrawImage(46, 50, quad, true);
  EXPECT_EQ(At(49, 52), kBlack);
  EXPECT_EQ(At(50, 52), kBlack);
  // Clearing covers the whole target whatever the clip.
  SetClipRect(0, 0, 640, 480);
  DrawRectangle(0, 0, 40, 40, MakeColor(255, 255, 255), true);
  SetClipRect(10, 10, 20, 20);
  ClearDrawTarget();
  EXPECT_EQ(At(5, 5), kBlack);
  // The clip survives presenting.
  PresentFrame();
  DrawRectangle(0, 0, 40, 40, MakeColor(255, 255, 255), true);
  EXPECT_EQ(At(5, 5), kBlack);
  EXPECT_EQ(At(15, 15), kWhite);
}

class BlendTest : public RenderTest {
 protected:
  // A grey background square, then an 8 x 8 image of one colour over it.
  Pixel DrawOver(int mode, int param, Pixel colour, bool transparent = true, int alpha = 255) {
    DrawRectangle(0, 0, 8, 8, MakeColor(100, 100, 100), true);
    const int image = engine::AddImage(
        8, 8, std::vector<uint32_t>(64, Rgba(colour.r, colour.g, colour.b, alpha)));
    SetBlendMode(mode, param);
    DrawImage(0, 0, image, transparent);
    SetBlendMode(BLEND_NONE, 255);
    SetDrawBrightness(255, 255, 255);
    DeleteImage(image);
    return At(4, 4);
  }
};

TEST_F(BlendTest, EachModeCombinesTheImageWithThePicture) {
  const Pixel c{60, 40, 200};
  ExpectNear(DrawOver(BLEND_NONE, 0, c), c, 0, "none ignores the parameter");
  ExpectNear(DrawOver(BLEND_ALPHA, 128, c), {80, 70, 150}, 2, "alpha 128");
  ExpectNear(DrawOver(BLEND_ALPHA, 255, c), c, 1, "alpha 255");
  ExpectNear(DrawOver(BLEND_ADD, 255, c), {160, 140, 255}, 1, "add saturates");
  ExpectNear(DrawOver(BLEND_ADD, 128, c), {130, 120, 200}, 2, "add 128");
  ExpectNear(DrawOver(BLEND_SUB, 255, c), {40, 60, 0}, 1, "sub floors at zero");
  ExpectNear(DrawOver(BLEND_SUB, 128, c), {70, 80, 0}, 2, "sub 128");
  ExpectNear(DrawOver(BLEND_MUL, 255, c), {24, 16, 78}, 2, "mul");
  ExpectNear(DrawOver(BLEND_MUL, 128, c), {62, 58, 89}, 2, "mul 128 goes half way");
  ExpectNear(DrawOver(BLEND_ALPHA, 999, c), c, 1, "parameter clamped to 255");
  ExpectNear(DrawOver(BLEND_ADD, -40, c), {100, 100, 100}, 0, "parameter clamped to 0");
}

TEST_F(BlendTest, TransparentFlagDecidesWhetherTheImagesAlphaCounts) {
  const Pixel magenta{255, 0, 255};
  ExpectNear(DrawOver(BLEND_NONE, 255, magenta, true, 0), {100, 100, 100}, 0, "see-through");
  ExpectNear(DrawOver(BLEND_NONE, 255, magenta, false, 0), magenta, 0, "copied");
  ExpectNear(DrawOver(BLEND_NONE, 255, magenta, true, 128), {178, 50, 178}, 2, "half");
  // Multiplying with a see-through image changes nothing.
  ExpectNear(DrawOver(BLEND_MUL, 255, {0, 0, 0}, true, 0), {100, 100, 100}, 1, "mul clear");
}

TEST_F(BlendTest, BrightnessMultipliesImageDrawsPerChannel) {
  SetDrawBrightness(128, 255, 0);
  DrawImage(20, 0, quad, true);
  ExpectNear(At(27, 7), {128, 255, 0}, 1, "white quadrant");
  ExpectNear(At(20, 0), {128, 0, 0}, 1, "red quadrant");
  // Shapes keep their own colour.
  DrawRectangle(40, 0, 44, 4, MakeColor(200, 200, 200), true);
  EXPECT_EQ(At(41, 1), (Pixel{200, 200, 200}));
  SetDrawBrightness(255, 255, 255);
  ExpectNear(DrawOver(BLEND_ADD, 255, {0, 0, 0}), {100, 100, 100}, 0, "adding black");
}

TEST_F(RenderTest, ShapesCoverTheirPixels) {
  const int yellow = MakeColor(255, 255, 0);
  DrawRectangle(10, 10, 20, 16, yellow, false);
  EXPECT_EQ(At(10, 10), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(19, 15), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(10, 13), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(15, 13), kBlack);  // inside an outline
  EXPECT_EQ(At(20, 10), kBlack);  // far corner is exclusive
  DrawRectangle(30, 10, 40, 16, yellow, true);
  EXPECT_EQ(At(35, 13), (Pixel{255, 255, 0}));

  DrawSegment(100, 50, 140, 50, yellow, 5);
  EXPECT_EQ(At(120, 48), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(120, 52), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(120, 54), kBlack);
  EXPECT_EQ(At(120, 46), kBlack);
  DrawSegment(100, 100, 130, 130, yellow, 1);
  EXPECT_EQ(At(115, 115), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(115, 120), kBlack);

  DrawCircleShape(200, 200, 10, yellow, true);
  EXPECT_EQ(At(200, 200), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(208, 200), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(212, 200), kBlack);
  EXPECT_EQ(At(207, 207), kBlack);  // a disc, not a box
  DrawCircleShape(300, 200, 10, yellow, false);
  EXPECT_EQ(At(300, 200), kBlack);
  EXPECT_EQ(At(310, 200), (Pixel{255, 255, 0}));
  EXPECT_EQ(At(300, 190), (Pixel{255, 255, 0}));
}

TEST_F(RenderTest, SavedScreenIsAReadableBitmapOfThePicture) {
  DrawImage(32, 16, quad, true);
  PresentFrame();  // the game saves after presenting; the picture must still be there
  test_images::TempDir dir;
  ASSERT_TRUE(dir.Ok());
  ASSERT_EQ(SaveDrawScreen(32, 16, 416, 464, "field.bmp"), 0);
  SDL_Surface* loaded = SDL_LoadBMP("field.bmp");
  ASSERT_NE(loaded, nullptr) << SDL_GetError();
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  ASSERT_NE(rgba, nullptr);
  EXPECT_EQ(rgba->w, 384);
  EXPECT_EQ(rgba->h, 448);
  const auto px = [&](int x, int y) {
    const uint8_t* p = static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4;
    return Pixel{p[0], p[1], p[2]};
  };
  EXPECT_EQ(px(0, 0), kRed);
  EXPECT_EQ(px(7, 0), kGreen);
  EXPECT_EQ(px(0, 7), kBlue);
  EXPECT_EQ(px(7, 7), kWhite);
  EXPECT_EQ(px(8, 8), kBlack);
  SDL_FreeSurface(rgba);
}

TEST_F(RenderTest, PresentDrawsTheOverlayTextOnTop) {
  DrawRectangle(0, 0, 40, 20, MakeColor(0, 0, 255), true);
  PrintOverlay("8");
  PresentFrame();
  // The glyph's top bar is white, the shadow below-right of its bottom dark.
  EXPECT_EQ(At(1, 0), kWhite);
  EXPECT_EQ(At(2, 7), kBlack);
  EXPECT_EQ(At(20, 10), kBlue);  // the rest of the picture is untouched
  ClearOverlay();
  ClearDrawTarget();
  PresentFrame();
  EXPECT_EQ(At(1, 0), kBlack);
}

TEST_F(RenderTest, WindowCloseIsReportedByThePump) {
  EXPECT_EQ(PumpMessages(), 0);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_NE(PumpMessages(), 0);
  EXPECT_NE(PumpMessages(), 0);  // and stays reported
}

TEST_F(RenderTest, AltEnterTogglesFullScreenAndBack) {
  SDL_Window* window = nullptr;
  for (Uint32 id = 1; id < 1000 && !window; ++id) window = SDL_GetWindowFromID(id);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
  const auto altEnter = [&] {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = SDL_GetWindowID(window);
    key.key.state = SDL_PRESSED;
    key.key.keysym.scancode = SDL_SCANCODE_RETURN;
    key.key.keysym.sym = SDLK_RETURN;
    key.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&key);
    EXPECT_EQ(PumpMessages(), 0);
  };
  altEnter();
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
  altEnter();
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
  // Drawing and reading still address the 640 x 480 picture.
  DrawImage(0, 0, quad, true);
  EXPECT_EQ(At(7, 7), kWhite);
}

TEST(RenderFallbackTest, SubtractionStillDarkensOnARendererWithoutCustomModes) {
  // The software renderer refuses custom blend modes.
  struct SoftwareRenderer {
    SoftwareRenderer() { SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software"); }
    ~SoftwareRenderer() {
      DeleteAllImages();
      EngineEnd();
      SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
    }
  } software;
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  engine::headless::UseSdl();
  ChangeWindowMode(true);
  ASSERT_EQ(EngineInit(), 0);
  SetClipRect(0, 0, 640, 480);
  SetBlendMode(BLEND_NONE, 255);
  SetDrawBrightness(255, 255, 255);
  ClearDrawTarget();
  DrawRectangle(0, 0, 8, 8, MakeColor(100, 100, 100), true);
  const int white = engine::AddImage(8, 8, std::vector<uint32_t>(64, Rgba(255, 255, 255)));
  SetBlendMode(BLEND_SUB, 255);
  DrawImage(0, 0, white, true);
  SetBlendMode(BLEND_NONE, 255);
  uint32_t p = 0;
  ASSERT_TRUE(engine::CurrentBackend().video->readPixels(4, 4, 1, 1, &p));
  EXPECT_LT(static_cast<int>(p & 0xFF), 30);
}

}  // namespace
