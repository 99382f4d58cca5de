// Menus: cursor movement with wrap and scrolling, and what a menu draws.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DisplayFixture.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "display/Sprite_SelectTable.h"

namespace {

using engine::headless::DrawOp;

class SelectTableTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    gInput = Module_Input();
    std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
    gSound.seVolume = 100;
    vp = new Viewport(0, 0, 640, 480, 0);
    table = new Sprite_SelectTable(vp);
  }
  void TearDown() override {
    delete vp;
    DisplayTest::TearDown();
  }
  void AddRows(int n) {
    for (int i = 0; i < n; ++i) table->addRow("row" + std::to_string(i));
  }
  // One frame with the given arrows newly down (all others up).
  void Press(bool down, bool up) {
    std::memset(gInput.keysPrev, 0, sizeof gInput.keysPrev);
    std::memset(gInput.keysNow, 0, sizeof gInput.keysNow);
    gInput.keysNow[KEY_DOWN] = down;
    gInput.keysNow[KEY_UP] = up;
    table->update();
  }
  std::vector<std::string> DrawnRows() {
    engine::headless::ClearDraws();
    vp->draw(0, 0);
    std::vector<std::string> out;
    for (const auto& call : DrawsOf(DrawOp::Text)) out.push_back(call.text);
    return out;
  }

  Viewport* vp = nullptr;
  Sprite_SelectTable* table = nullptr;
};

TEST_F(SelectTableTest, CursorWrapsAtBothEnds) {
  AddRows(3);
  table->cursor = 2;
  Press(true, false);
  EXPECT_EQ(table->cursor, 0);
  EXPECT_EQ(table->firstVisible, 0);
  EXPECT_TRUE(table->moved);
  Press(false, true);
  EXPECT_EQ(table->cursor, 2);
  EXPECT_EQ(table->firstVisible, 0);
  Press(false, false);
  EXPECT_FALSE(table->moved);
  EXPECT_EQ(table->cursor, 2);
}

TEST_F(SelectTableTest, ScrollingFollowsTheCursorAndWrapsToTheEnd) {
  AddRows(10);
  table->visibleRows = 4;
  table->cursor = 3;
  Press(true, false);
  EXPECT_EQ(table->cursor, 4);
  EXPECT_EQ(table->firstVisible, 1);
  EXPECT_EQ(DrawnRows(), (std::vector<std::string>{"row1", "row2", "row3", "row4"}));

  table->cursor = 0;
  table->firstVisible = 0;
  Press(false, true);
  EXPECT_EQ(table->cursor, 9);
  EXPECT_EQ(table->firstVisible, 6);
  EXPECT_EQ(DrawnRows(), (std::vector<std::string>{"row6", "row7", "row8", "row9"}));

  Press(true, false);  // past the end: back to the top
  EXPECT_EQ(table->cursor, 0);
  EXPECT_EQ(table->firstVisible, 0);
}

TEST_F(SelectTableTest, NoCursorBecomesTheFirstRowAndEmptyTablesHaveNone) {
  AddRows(2);
  Press(false, false);
  EXPECT_EQ(table->cursor, 0);
  EXPECT_FALSE(table->moved);
  table->rows.clear();
  Press(true, false);
  EXPECT_EQ(table->cursor, -1);
}

TEST_F(SelectTableTest, DownThenUpInOneFrameCancelsOut) {
  AddRows(5);
  table->cursor = 2;
  Press(true, true);
  EXPECT_EQ(table->cursor, 2);
  EXPECT_FALSE(table->moved);
}

TEST_F(SelectTableTest, MovesOnNewPressesOnlyByKeyOrJoypadAndRequestsTheCursorSound) {
  AddRows(4);
  table->cursor = 0;
  // Held from the last frame: no movement.
  gInput.keysPrev[KEY_DOWN] = 1;
  gInput.keysNow[KEY_DOWN] = 1;
  table->update();
  EXPECT_EQ(table->cursor, 0);
  EXPECT_FALSE(gSound.seRequested[SE_SELECT]);

  std::memset(gInput.keysNow, 0, sizeof gInput.keysNow);
  std::memset(gInput.keysPrev, 0, sizeof gInput.keysPrev);
  gInput.padPrev = 0;
  gInput.padNow = DIR_DOWN;
  table->update();
  EXPECT_EQ(table->cursor, 1);
  EXPECT_TRUE(gSound.seRequested[SE_SELECT]);

  // With effects off nothing is requested.
  gSound.seRequested[SE_SELECT] = false;
  gSound.seVolume = 0;
  gInput.padPrev = 0;
  table->update();
  EXPECT_EQ(table->cursor, 2);
  EXPECT_FALSE(gSound.seRequested[SE_SELECT]);
}

TEST_F(SelectTableTest, DrawsBoxHeadingAndRowsWithTheCursorRowHighlighted) {
  AddRows(3);
  table->text = "Menu";
  table->x = 50;
  table->y = 60;
  table->width = 160;
  table->rowStepX = 4;
  table->cursor = 1;
  table->colour = {255, 255, 0};
  vp->draw(0, 0);

  auto boxes = DrawsOf(DrawOp::Rectangle);
  ASSERT_EQ(boxes.size(), 2u);
  // heading 25 + 3 rows of 25 + two margins of 8
  EXPECT_EQ(std::vector<int>(boxes[0].args, boxes[0].args + 4),
            (std::vector<int>{50, 60, 210, 60 + 25 + 75 + 16}));
  EXPECT_EQ(boxes[0].color, MakeColor(0, 0, 0));
  EXPECT_EQ(boxes[1].color, MakeColor(200, 200, 200));

  auto texts = DrawsOf(DrawOp::Text);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].text, "Menu");
  EXPECT_EQ(texts[0].args[0], 58 + (144 - MeasureText("Menu", 0)) / 2);
  EXPECT_EQ(texts[0].args[1], 68);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(texts[1 + j].args[0], 58 + j * 4);
    EXPECT_EQ(texts[1 + j].args[1], 68 + 25 + j * 25);
    EXPECT_EQ(texts[1 + j].color, j == 1 ? MakeColor(255, 255, 0) : MakeColor(150, 150, 150));
  }

  // Unframed and scrolled: no box, the box height would follow visibleRows.
  engine::headless::ClearDraws();
  table->framed = false;
  vp->draw(0, 0);
  EXPECT_TRUE(DrawsOf(DrawOp::Rectangle).empty());
}

TEST_F(SelectTableTest, ScrollPositionOutOfRangeDrawsOnlyExistingRows) {
  AddRows(3);
  table->visibleRows = 4;
  table->firstVisible = -2;
  EXPECT_EQ(DrawnRows(), (std::vector<std::string>{"row0", "row1"}));
  table->firstVisible = 5;
  EXPECT_TRUE(DrawnRows().empty());
}

}  // namespace
