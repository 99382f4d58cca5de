// The display tree: child slots, ownership, compaction, z order, clipping.
#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "TestImage.h"
#include "display/GObject.h"
#include "display/Sprite.h"

namespace {

using engine::headless::DrawOp;

// Counts its destructions, to see who deleted it and how often.
class CountedSprite : public Sprite {
 public:
  CountedSprite(Viewport* vp, int* deaths) : Sprite(vp), deaths_(deaths) {}
  ~CountedSprite() override { ++*deaths_; }

 private:
  int* deaths_;
};

class TreeTest : public DisplayTest {};

TEST_F(TreeTest, ChildSlotsOwnershipAndCompaction) {
  int deaths = 0;
  auto* vp = new Viewport(0, 0, 640, 480, 5);
  auto* a = new CountedSprite(vp, &deaths);
  auto* b = new CountedSprite(vp, &deaths);
  auto* c = new CountedSprite(vp, &deaths);
  ASSERT_EQ(vp->slotCount(), 3u);
  EXPECT_EQ(a->slot->object, a);

  // The owner deletes a sprite first: its slot empties, the list keeps it
  // until the viewport's next draw, which keeps the order of the rest.
  delete b;
  EXPECT_EQ(deaths, 1);
  EXPECT_EQ(vp->slotCount(), 3u);
  vp->draw(0, 0);
  ASSERT_EQ(vp->slotCount(), 2u);
  EXPECT_EQ(vp->children[0]->object, a);
  EXPECT_EQ(vp->children[1]->object, c);

  // A sprite deleted while its viewport is hidden still leaves at the next draw.
  vp->visible = false;
  delete a;
  vp->draw(0, 0);
  EXPECT_EQ(vp->slotCount(), 1u);

  // Deleting the viewport deletes what it still holds, exactly once.
  delete vp;
  EXPECT_EQ(deaths, 3);
}

TEST_F(TreeTest, ViewportsRegisterInTheRootAndLeaveItWhenDeleted) {
  gGraphics.draw(0, 0);  // drop slots left by earlier tests
  const size_t before = gGraphics.slotCount();
  auto* vp = new Viewport(32, 16, 384, 448, 3);
  EXPECT_EQ(gGraphics.slotCount(), before + 1);
  EXPECT_EQ(vp->slot->object, vp);
  delete vp;
  gGraphics.draw(0, 0);
  EXPECT_EQ(gGraphics.slotCount(), before);
  // A sprite built without a viewport lands in the default one.
  Sprite s;
  EXPECT_EQ(gGraphics.defaultViewport->children.back()->object, &s);
}

TEST_F(TreeTest, RootDrawsViewportsInZOrderWithTheirClipAndTheFadeOnTop) {
  const int img = testimage::Make(8, 8);
  ASSERT_GT(img, 0);
  auto* front = new Viewport(10, 20, 100, 50, 7);
  auto* back = new Viewport(32, 16, 384, 448, -2);
  auto* sf = new Sprite(front);
  auto* sb = new Sprite(back);
  sf->image = sb->image = img;
  sf->x = 1;
  sb->x = 2;
  gGraphics.fade->visible = true;
  gGraphics.fade->blendParam = 90;

  gGraphics.draw(0, 0);
  const auto sprites = DrawsOf(DrawOp::Rotated);
  ASSERT_EQ(sprites.size(), 2u);
  // Lower z first; each sprite offset by its viewport and clipped to it.
  EXPECT_EQ(sprites[0].args[0], 32 + 2);
  EXPECT_EQ(sprites[0].args[1], 16);
  EXPECT_TRUE(sprites[0].clipOn);
  EXPECT_EQ(std::vector<int>(sprites[0].clip, sprites[0].clip + 4),
            (std::vector<int>{32, 16, 416, 464}));
  EXPECT_EQ(sprites[1].args[0], 10 + 1);
  EXPECT_EQ(std::vector<int>(sprites[1].clip, sprites[1].clip + 4),
            (std::vector<int>{10, 20, 110, 70}));
  // The fade comes last and covers the whole screen despite the last clip.
  const auto& last = engine::headless::Draws().back();
  EXPECT_EQ(last.op, DrawOp::Rectangle);
  EXPECT_TRUE(last.filled);
  EXPECT_EQ(std::vector<int>(last.args, last.args + 4), (std::vector<int>{0, 0, 640, 480}));
  EXPECT_EQ(std::vector<int>(last.clip, last.clip + 4), (std::vector<int>{0, 0, 640, 480}));
  EXPECT_EQ(last.blendMode, BLEND_ALPHA);
  EXPECT_EQ(last.blendParam, 90);
  delete front;
  delete back;
  DeleteImage(img);
}

TEST_F(TreeTest, SortingContainerOrdersByZAndKeepsInsertionOrderOfEqualZ) {
  const int img = testimage::Make(4, 4);
  ASSERT_GT(img, 0);
  auto* vp = new Viewport(0, 0, 640, 480, 0);
  vp->sortByZ = true;
  const int zs[] = {5, -1, 5, 0, 5};
  for (int i = 0; i < 5; ++i) {
    auto* s = new Sprite(vp);
    s->image = img;
    s->z = zs[i];
    s->x = i;  // identifies the sprite in the record
  }
  vp->draw(0, 0);
  std::vector<int> order;
  for (const auto& call : DrawsOf(DrawOp::Rotated)) order.push_back(call.args[0]);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 0, 2, 4}));

  // Without sorting, insertion order whatever the z.
  engine::headless::ClearDraws();
  auto* plain = new Viewport(0, 0, 640, 480, 0);
  for (int i = 0; i < 3; ++i) {
    auto* s = new Sprite(plain);
    s->image = img;
    s->z = 10 - i;
    s->x = i;
  }
  plain->draw(0, 0);
  order.clear();
  for (const auto& call : DrawsOf(DrawOp::Rotated)) order.push_back(call.args[0]);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  delete vp;
  delete plain;
  DeleteImage(img);
}

TEST_F(TreeTest, ContainerOriginScrollsItsChildrenAndHiddenContainersDrawNothing) {
  const int img = testimage::Make(4, 4);
  auto* vp = new Viewport(100, 50, 200, 200, 0);
  vp->ox = 30;
  vp->oy = -5;
  auto* s = new Sprite(vp);
  s->image = img;
  s->setPosition(7, 9);
  vp->draw(3, 4);
  auto calls = DrawsOf(DrawOp::Rotated);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args[0], 100 + 3 - 30 + 7);
  EXPECT_EQ(calls[0].args[1], 50 + 4 + 5 + 9);

  engine::headless::ClearDraws();
  vp->visible = false;
  vp->draw(0, 0);
  EXPECT_TRUE(engine::headless::Draws().empty());
  delete vp;
  DeleteImage(img);
}

// A child that draws with whatever blend is current.
class PlainBox : public GObject {
 public:
  void draw(int32_t baseX, int32_t baseY) override {
    DrawRectangle(baseX, baseY, baseX + 1, baseY + 1, 0, true);
  }
};

TEST_F(TreeTest, ViewportResetsTheBlendBeforeItsChildren) {
  auto* vp = new Viewport(0, 0, 640, 480, 0);
  vp->registerChild(new PlainBox());
  SetBlendMode(BLEND_ADD, 12);
  vp->draw(0, 0);
  auto calls = DrawsOf(DrawOp::Rectangle);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].blendMode, BLEND_NONE);
  EXPECT_EQ(calls[0].blendParam, 255);
  delete vp;  // deletes the box it owns
}

}  // namespace
