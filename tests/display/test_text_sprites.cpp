// Sprites and text sprites: what each draws through the engine.
#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "TestImage.h"
#include "display/Sprite.h"
#include "display/Sprite_String.h"

namespace {

using engine::headless::DrawOp;

class SpriteDrawTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    vp = new Viewport(20, 10, 600, 400, 0);
  }
  void TearDown() override {
    delete vp;
    DisplayTest::TearDown();
  }
  Viewport* vp = nullptr;
};

TEST_F(SpriteDrawTest, SpritePlacesItsOriginPointOnItsPosition) {
  const int img = testimage::Make(16, 8);
  auto* s = new Sprite(vp);
  s->image = img;
  s->x = 5;
  s->y = 6;
  s->ox = 8;
  s->oy = 4;
  s->scale = 2.0;
  s->angle = 0.5;
  s->flip = true;
  s->transparent = false;
  s->blendMode = BLEND_ADD;
  s->blendParam = 77;
  s->red = 10;
  s->green = 20;
  s->blue = 30;
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Rotated);
  ASSERT_EQ(calls.size(), 1u);
  // The origin is the centre of rotation, not subtracted from the position.
  EXPECT_EQ(calls[0].args[0], 25);
  EXPECT_EQ(calls[0].args[1], 16);
  EXPECT_EQ(calls[0].args[2], 8);
  EXPECT_EQ(calls[0].args[3], 4);
  EXPECT_DOUBLE_EQ(calls[0].scale, 2.0);
  EXPECT_DOUBLE_EQ(calls[0].angle, 0.5);
  EXPECT_TRUE(calls[0].flip);
  EXPECT_FALSE(calls[0].transparent);
  EXPECT_EQ(calls[0].blendMode, BLEND_ADD);
  EXPECT_EQ(calls[0].blendParam, 77);
  EXPECT_EQ(calls[0].bright[0], 10);
  EXPECT_EQ(calls[0].bright[2], 30);
  DeleteImage(img);
}

TEST_F(SpriteDrawTest, SpriteWithoutImageOrHiddenDrawsNothing) {
  const int img = testimage::Make(4, 4);
  auto* empty = new Sprite(vp);
  empty->image = 0;
  auto* hidden = new Sprite(vp);
  hidden->image = img;
  hidden->visible = false;
  vp->draw(0, 0);
  EXPECT_TRUE(engine::headless::Draws().empty());
  DeleteImage(img);
}

TEST_F(SpriteDrawTest, StringAlignsWithinItsBoxAndOffsetsByItsOrigin) {
  auto* s = new Sprite_String(vp);
  s->text = "Velmora";
  s->x = 100;
  s->y = 40;
  s->ox = 10;
  s->oy = 2;
  s->width = 200;
  const int w = MeasureText("Velmora", 0);
  ASSERT_GT(w, 0);

  s->align = 0;
  vp->draw(0, 0);
  s->align = 1;
  vp->draw(0, 0);
  s->align = 2;
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Text);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].args[0], 20 + 100 - 10);
  EXPECT_EQ(calls[0].args[1], 10 + 40 - 2);
  EXPECT_EQ(calls[1].args[0], 110 + (200 - w) / 2);
  EXPECT_EQ(calls[2].args[0], 110 + 200 - w);
  EXPECT_EQ(calls[0].handle, 0);  // no font handle: the default font
  EXPECT_EQ(calls[0].color, MakeColor(255, 255, 255));
  EXPECT_EQ(calls[0].args[2], MakeColor(0, 0, 0));  // edge colour
}

TEST_F(SpriteDrawTest, CentredTextWiderThanItsBoxStartsLeftOfIt) {
  auto* s = new Sprite_String(vp);
  s->text = "A rather long line of text";
  s->width = 10;
  s->align = 1;
  const int w = MeasureText(s->text.c_str(), 0);
  ASSERT_GT(w, 10);
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Text);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0], 20 + (10 - w) / 2);
  EXPECT_LT(calls[0].args[0], 20);
}

TEST_F(SpriteDrawTest, OutlineWinsOverShadowAndEmptyTextDrawsNothing) {
  auto* s = new Sprite_String(vp);
  s->text = "x";
  s->outline = true;
  s->shadow = true;
  s->edgeColour = {1, 2, 3};
  s->colour = {200, 100, 50};
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Text);
  ASSERT_EQ(calls.size(), 5u);
  const int px = 20;
  const int py = 10;
  const int expected[4][2] = {
      {px + 1, py + 1}, {px - 1, py + 1}, {px + 1, py - 1}, {px - 1, py - 1}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(calls[i].args[0], expected[i][0]);
    EXPECT_EQ(calls[i].args[1], expected[i][1]);
    EXPECT_EQ(calls[i].color, MakeColor(1, 2, 3));
  }
  EXPECT_EQ(calls[4].color, MakeColor(200, 100, 50));
  EXPECT_EQ(calls[4].args[0], px);

  engine::headless::ClearDraws();
  s->outline = false;
  vp->draw(0, 0);
  calls = DrawsOf(DrawOp::Text);
  ASSERT_EQ(calls.size(), 2u);  // shadow, then the text
  EXPECT_EQ(calls[0].args[0], px + 1);
  EXPECT_EQ(calls[0].args[1], py + 1);

  engine::headless::ClearDraws();
  s->text.clear();
  vp->draw(0, 0);
  EXPECT_TRUE(DrawsOf(DrawOp::Text).empty());
}

TEST_F(SpriteDrawTest, StringWithAFontHandleDrawsWithThatFont) {
  const int font = CreateFontToHandle("Trebuchet MS", 18, 4, 2, 0, -1, false);
  ASSERT_GT(font, 0);
  auto* s = new Sprite_String(vp);
  s->image = font;
  s->text = "Score";
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Text);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].handle, font);
}

TEST_F(SpriteDrawTest, MessageWindowStartsHiddenAndDrawsBoxAndTwoLines) {
  auto* w = new Sprite_MessageWindow(vp);
  EXPECT_FALSE(w->visible);
  EXPECT_TRUE(w->outline);
  EXPECT_EQ(w->x, 16);
  EXPECT_EQ(w->y, 352);
  EXPECT_EQ(w->width, 352);
  vp->draw(0, 0);
  EXPECT_TRUE(engine::headless::Draws().empty());

  w->visible = true;
  w->outline = false;
  w->text = "first";
  w->line2 = "second";
  vp->draw(0, 0);
  auto boxes = DrawsOf(DrawOp::Rectangle);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].filled);
  EXPECT_EQ(boxes[0].blendMode, BLEND_ALPHA);
  EXPECT_EQ(boxes[0].blendParam, 150);
  EXPECT_EQ(std::vector<int>(boxes[0].args, boxes[0].args + 4),
            (std::vector<int>{36, 362, 36 + 352, 362 + 48}));
  EXPECT_FALSE(boxes[1].filled);
  EXPECT_EQ(boxes[1].blendMode, BLEND_NONE);
  EXPECT_EQ(boxes[1].color, MakeColor(200, 200, 200));
  auto lines = DrawsOf(DrawOp::Text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, "first");
  EXPECT_EQ(lines[0].args[0], 36 + 8);
  EXPECT_EQ(lines[0].args[1], 362 + 8);
  EXPECT_EQ(lines[1].text, "second");
  EXPECT_EQ(lines[1].args[1], 362 + 8 + 18);
}

}  // namespace
