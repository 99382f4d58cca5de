// Fades, menu backing, portraits, gauges, icon rows and scrolling scenery.
#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "TestImage.h"
#include "display/Sprite_BackGround.h"
#include "display/Sprite_Bar.h"
#include "display/Sprite_Picture.h"
#include "display/Sprite_Transition.h"

namespace {

using engine::headless::DrawOp;

class GenericSpriteTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    vp = new Viewport(0, 0, 640, 480, 0);
    img = testimage::Make(8, 8);
    ASSERT_GT(img, 0);
  }
  void TearDown() override {
    delete vp;
    DeleteImage(img);
    DisplayTest::TearDown();
  }
  Viewport* vp = nullptr;
  int img = 0;
};

TEST_F(GenericSpriteTest, ClosingAndOpeningFadesFinishOnTheirSixteenthUpdate) {
  Sprite_Transition fade(nullptr);
  fade.startClosing();
  for (int i = 1; i <= 15; ++i) {
    fade.update();
    EXPECT_FALSE(fade.finished) << i;
    EXPECT_EQ(fade.blendParam, 17 * i);
  }
  fade.update();
  EXPECT_TRUE(fade.finished);
  EXPECT_EQ(fade.blendParam, 255);
  EXPECT_FLOAT_EQ(fade.level, 255.0f);

  fade.startOpening();
  for (int i = 1; i <= 15; ++i) {
    fade.update();
    EXPECT_FALSE(fade.finished) << i;
  }
  EXPECT_EQ(fade.blendParam, 0);
  fade.update();
  EXPECT_TRUE(fade.finished);
  EXPECT_EQ(fade.blendParam, 0);
}

TEST_F(GenericSpriteTest, FadeWithoutSpeedOrHiddenNeverMoves) {
  Sprite_Transition fade(nullptr);
  fade.visible = true;
  fade.level = 100.0f;
  fade.target = 100;
  fade.speed = 0.0f;
  for (int i = 0; i < 50; ++i) fade.update();
  EXPECT_FALSE(fade.finished);
  // A target equal to the level finishes at once when the speed passes it.
  fade.speed = 1.0f;
  fade.update();
  EXPECT_TRUE(fade.finished);
  EXPECT_FLOAT_EQ(fade.level, 100.0f);

  fade.startClosing();
  fade.visible = false;
  fade.update();
  EXPECT_FLOAT_EQ(fade.level, 0.0f);
  fade.draw(0, 0);
  EXPECT_TRUE(engine::headless::Draws().empty());
}

TEST_F(GenericSpriteTest, FadeCoversTheScreenInItsColour) {
  Sprite_Transition fade(nullptr);
  fade.visible = true;
  fade.blendParam = 40;
  fade.fadeRed = 255;
  fade.draw(0, 0);
  auto calls = DrawsOf(DrawOp::Rectangle);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].color, MakeColor(255, 0, 0));
  EXPECT_EQ(calls[0].blendMode, BLEND_ALPHA);
  EXPECT_EQ(calls[0].blendParam, 40);
  EXPECT_TRUE(calls[0].filled);
}

TEST_F(GenericSpriteTest, MenuBackDarkensStepByStepUpTo200AndDrawsEvenWhenHidden) {
  auto* back = new Sprite_MenuBack(vp);
  back->blendParam = 0;
  back->counter = 77;  // left over: restarts because the layer is clear
  back->update();
  EXPECT_EQ(back->blendParam, 1);
  for (int i = 0; i < 300; ++i) back->update();
  EXPECT_EQ(back->blendParam, 200);
  back->visible = false;
  back->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Rectangle);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].blendParam, 200);
  EXPECT_EQ(calls[0].color, MakeColor(0, 0, 0));
}

TEST_F(GenericSpriteTest, PictureBrightensWhenSpeakingAndDimsTo130) {
  auto* p = new Sprite_Picture(vp);
  p->level = 130;
  p->highlighted = true;
  int updates = 0;
  while (p->level < 255 && updates < 100) {
    p->update();
    ++updates;
  }
  EXPECT_EQ(p->level, 255);
  EXPECT_LE(updates, 16);
  EXPECT_EQ(p->red, 255);
  p->highlighted = false;
  for (int i = 0; i < 40; ++i) p->update();
  EXPECT_EQ(p->level, 130);
  EXPECT_EQ(p->green, 130);
  EXPECT_EQ(p->blue, 130);
}

TEST_F(GenericSpriteTest, ShowingPictureZeroReleasesTheImageAndShowsNothing) {
  auto* p = new Sprite_Picture(vp);
  p->image = testimage::Make(10, 20);
  const int old = p->image;
  p->showPicture(0);
  EXPECT_EQ(p->image, 0);
  int w = 0;
  int h = 0;
  EXPECT_EQ(GetImageSize(old, &w, &h), -1);  // released
  // A portrait that is not there leaves no image either.
  p->showPicture(987);
  EXPECT_EQ(p->image, 0);
  vp->draw(0, 0);
  EXPECT_TRUE(DrawsOf(DrawOp::Rotated).empty());
}

class BarTest : public GenericSpriteTest {
 protected:
  Sprite_Bar* MakeBar(int value, int maximum) {
    auto* bar = new Sprite_Bar(vp);
    bar->image = img;
    bar->backImage = img;
    bar->frontImage = img;
    bar->x = 100;
    bar->y = 50;
    bar->ox = 10;
    bar->fillX = 4;
    bar->fillY = 2;
    bar->fillWidth = 120;
    bar->fillHeight = 6;
    bar->value = value;
    bar->maximum = maximum;
    return bar;
  }
  // Right edge minus left edge of the stretched fill.
  int FillWidth() {
    engine::headless::ClearDraws();
    vp->draw(0, 0);
    auto calls = DrawsOf(DrawOp::Stretched);
    EXPECT_EQ(calls.size(), 1u);
    if (calls.empty()) return -999;
    EXPECT_EQ(calls[0].args[0], 90 + 4);
    EXPECT_EQ(calls[0].args[1], 52);
    EXPECT_EQ(calls[0].args[3], 58);
    return calls[0].args[2] - calls[0].args[0];
  }
};

TEST_F(BarTest, FillIsProportionalAndClampedAtBothEnds) {
  Sprite_Bar* bar = MakeBar(50, 200);
  EXPECT_EQ(FillWidth(), 30);
  bar->value = 199;
  EXPECT_EQ(FillWidth(), 119);  // truncated
  bar->value = 500;
  EXPECT_EQ(FillWidth(), 120);
  bar->value = -40;
  EXPECT_EQ(FillWidth(), 0);
  bar->value = 10;
  bar->maximum = 0;
  EXPECT_EQ(FillWidth(), 0);
}

TEST_F(BarTest, BackFillAndFrontAreDrawnInThatOrderAtTheOffsetPosition) {
  MakeBar(1, 1);
  vp->draw(0, 0);
  const auto& draws = engine::headless::Draws();
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].op, DrawOp::Image);
  EXPECT_EQ(draws[1].op, DrawOp::Stretched);
  EXPECT_EQ(draws[2].op, DrawOp::Image);
  EXPECT_EQ(draws[0].args[0], 90);
  EXPECT_EQ(draws[2].args[1], 50);
  EXPECT_TRUE(draws[1].transparent);
}

TEST_F(GenericSpriteTest, IconBarSqueezesIconsIntoItsWidth) {
  auto* icons = new Sprite_IconBar(vp);
  icons->image = img;
  icons->x = 400;
  icons->y = 100;
  icons->spacing = 20;
  icons->maxSlots = 8;
  icons->count = 0;
  vp->draw(0, 0);
  EXPECT_TRUE(DrawsOf(DrawOp::Image).empty());

  icons->count = 3;
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Image);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2].args[0], 440);

  engine::headless::ClearDraws();
  icons->count = 16;
  vp->draw(0, 0);
  calls = DrawsOf(DrawOp::Image);
  ASSERT_EQ(calls.size(), 16u);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(calls[i].args[0], 400 + i * 10);
  // Sixteen icons take the width of eight.
  EXPECT_LT(calls[15].args[0], 400 + 8 * 20);

  engine::headless::ClearDraws();
  icons->count = 12;
  vp->draw(0, 0);
  calls = DrawsOf(DrawOp::Image);
  ASSERT_EQ(calls.size(), 12u);
  EXPECT_EQ(calls[1].args[0], 400 + 13);  // step 160 / 12, truncated per icon
  EXPECT_EQ(calls[11].args[0], 400 + 146);
}

TEST_F(GenericSpriteTest, ScrollWrapsOnlyPastTheWrapLength) {
  Sprite_BackGround_Scroll bg(vp);
  bg.wrapLength = 448;
  bg.scrollPos = 10.0f;
  bg.srcY = 10;
  bg.scroll(0.0f);
  EXPECT_EQ(bg.srcY, 10);
  bg.scroll(4.5f);
  EXPECT_EQ(bg.srcY, 5);
  EXPECT_FLOAT_EQ(bg.scrollPos, 5.5f);
  bg.scroll(6.0f);  // -0.5 truncates to 0: no wrap yet
  EXPECT_EQ(bg.srcY, 0);
  bg.scroll(1.0f);  // -1.5: wraps to the bottom
  EXPECT_EQ(bg.srcY, 447);
  EXPECT_FLOAT_EQ(bg.scrollPos, 446.5f);

  bg.scrollPos = 440.0f;
  bg.scroll(-8.0f);  // exactly the wrap length stays
  EXPECT_EQ(bg.srcY, 448);
  bg.scroll(-1.0f);
  EXPECT_EQ(bg.srcY, 1);
  EXPECT_FLOAT_EQ(bg.scrollPos, 1.0f);
}

TEST_F(GenericSpriteTest, ScrollDrawsItsSourceRectangleIgnoringTheOrigin) {
  auto* bg = new Sprite_BackGround_Scroll(vp);
  bg->image = img;
  bg->x = 32;
  bg->y = 16;
  bg->ox = 99;
  bg->srcX = 1;
  bg->srcY = 2;
  bg->srcWidth = 3;
  bg->srcHeight = 4;
  bg->red = 128;
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Rect);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(std::vector<int>(calls[0].args, calls[0].args + 6),
            (std::vector<int>{32, 16, 1, 2, 3, 4}));
  EXPECT_EQ(calls[0].bright[0], 128);
}

}  // namespace
