// The title logo: where its six layers land and how its rings turn.
#include <cmath>
#include <vector>

#include "display/Sprite.h"
#include "scenes/Spriteset_Logo.h"
#include "test_title_fixture.h"

namespace {

class LogoTest : public FrontSceneTest {
 protected:
  void SetUp() override {
    FrontSceneTest::SetUp();
    WritePictures({"logo1.png", "logo2.png", "logo3.png", "logo4.png", "logo5.png", "logo6.png"});
  }
  // The logo's draws of one frame, in drawing order.
  static std::vector<engine::headless::DrawCall> DrawFrame() {
    engine::headless::ClearDraws();
    gGraphics.frameStep();
    std::vector<engine::headless::DrawCall> out;
    for (const auto& call : engine::headless::Draws()) {
      if (call.op == engine::headless::DrawOp::Rotated) out.push_back(call);
    }
    return out;
  }
};

TEST_F(LogoTest, SixLayersDrawnInOrderAboutTheirOwnCentres) {
  Spriteset_Logo logo;
  logo.loadImages();
  const auto draws = DrawFrame();
  ASSERT_EQ(draws.size(), 6u);
  // Position and turning centre of each part, from the back to the front.
  const int expected[6][4] = {{289, 136, 66, 66},   {409, 145, 46, 46},   {289, 136, 102, 101},
                              {340, 140, 256, 128}, {340, 140, 256, 128}, {340, 140, 256, 128}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(draws[i].handle, logo.part[i]->image) << "part " << i + 1;
    for (int a = 0; a < 4; ++a) EXPECT_EQ(draws[i].args[a], expected[i][a]) << "part " << i + 1;
    EXPECT_EQ(draws[i].scale, 1.0);
    EXPECT_EQ(draws[i].angle, 0.0);
    // Only the fourth layer multiplies (darkens) what lies beneath it.
    EXPECT_EQ(draws[i].blendMode, i == 3 ? BLEND_MUL : BLEND_NONE) << "part " << i + 1;
  }
  EXPECT_EQ(draws[3].blendParam, 255);
  EXPECT_EQ(logo.counter, 0);
}

TEST_F(LogoTest, RingsTurnAgainstEachOtherWithoutWrapping) {
  Spriteset_Logo logo;
  logo.loadImages();
  for (int n = 0; n < 1000; ++n) logo.update();
  EXPECT_NEAR(logo.part[1]->angle, 18.0, 1e-9);  // far past one full turn
  EXPECT_NEAR(logo.part[2]->angle, -8.0, 1e-9);
  for (int i : {0, 3, 4, 5}) EXPECT_EQ(logo.part[i]->angle, 0.0) << "part " << i + 1;
  const auto draws = DrawFrame();
  ASSERT_EQ(draws.size(), 6u);
  EXPECT_NEAR(draws[1].angle, 18.0, 1e-9);
  EXPECT_NEAR(draws[2].angle, -8.0, 1e-9);
  // Turning does not move them.
  EXPECT_EQ(draws[1].args[0], 409);
  EXPECT_EQ(draws[2].args[0], 289);
}

TEST_F(LogoTest, ReloadingReleasesTheOldPicturesFirst) {
  Spriteset_Logo logo;
  logo.loadImages();
  const int first = logo.part[0]->image;
  logo.loadImages();
  int w = 0;
  int h = 0;
  EXPECT_NE(GetImageSize(first, &w, &h), 0);
  EXPECT_EQ(GetImageSize(logo.part[0]->image, &w, &h), 0);
}

TEST_F(LogoTest, AMissingLayerDrawsNothingAndTheRestStay) {
  std::filesystem::remove("Graphics/logo2.png");
  Spriteset_Logo logo;
  logo.loadImages();
  EXPECT_LT(logo.part[1]->image, 0);
  logo.update();
  EXPECT_EQ(DrawFrame().size(), 5u);
}

TEST_F(LogoTest, DeletingTheLogoReleasesItsPicturesAndLeavesTheScreen) {
  std::vector<int> handles;
  {
    Spriteset_Logo logo;
    logo.loadImages();
    for (Sprite* part : logo.part) handles.push_back(part->image);
  }
  int w = 0;
  int h = 0;
  for (int handle : handles) EXPECT_NE(GetImageSize(handle, &w, &h), 0) << handle;
  EXPECT_TRUE(DrawFrame().empty());
}

}  // namespace
