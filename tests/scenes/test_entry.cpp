// Name entry: moving on the grid, typing, space, back-space, the jump to
// "OK", Skip, Cancel, the caret, and the commit into the ranking.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "scenes/Scene_ReplaySave.h"
#include "scenes/Scene_Score_Entry.h"
#include "test_title_fixture.h"

namespace {

constexpr int kNormalLaser = 1 + 2 * (DIFFICULTY_NORMAL - 1);

class EntryTest : public FrontSceneTest {
 protected:
  void SetUp() override {
    FrontSceneTest::SetUp();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.chargeType = CHARGE_LASER;
    gGame.score = 4321;
  }
  void TearDown() override {
    if (scene) {
      if (scene->background) scene->terminate();
      delete scene->next;
      delete scene;
    }
    FrontSceneTest::TearDown();
  }
  void Open(int32_t place) {
    scene = new Scene_Score_Entry(place);
    Begin(*scene);
    Step(*scene);  // the first update puts the cursor on row 0
  }
  // Moves to a cell with the arrows, the way a player would.
  void GoTo(int32_t row, int32_t col) {
    while (scene->column != col) Press(*scene, KEY_RIGHT);
    while (scene->cursorRow() != row) Press(*scene, KEY_DOWN);
  }
  void Type(int32_t row, int32_t col) {
    GoTo(row, col);
    Press(*scene, KEY_Z);
  }
  const std::string& Name() const { return scene->name(); }
  const std::string& Caret() const { return scene->caretLine->text; }

  Scene_Score_Entry* scene = nullptr;
};

}  // namespace

TEST_F(EntryTest, OpensOnTheFirstCellWithTheScoreAndACaret) {
  Open(0);
  EXPECT_EQ(scene->heading->text, "New Record!!");
  EXPECT_EQ(scene->scoreLine->text, "4321 pts");
  EXPECT_EQ(Name(), "");
  EXPECT_EQ(Caret(), "_");
  ASSERT_EQ(scene->columns.size(), 13u);
  EXPECT_EQ(scene->columns[0]->cursor, 0);
  for (int c = 1; c < 13; ++c) EXPECT_EQ(scene->columns[c]->cursor, -1) << c;
  EXPECT_TRUE(scene->columns[0]->active);
  EXPECT_EQ(scene->columns[12]->rows[6], "OK");
  EXPECT_EQ(scene->columns[11]->rows[6], "BS");
  EXPECT_EQ(scene->columns[10]->rows[6], "SP");
  EXPECT_EQ(scene->columns[0]->rows[0].size(), 2u);  // a full-width cell
}

TEST_F(EntryTest, TheGridEntersTheAsciiCharacterInTheSamePlace) {
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(0, 0), 'A');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(1, 12), 'Z');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(3, 0), 'n');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(4, 12), '=');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(5, 4), '@');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(6, 2), '|');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(6, 9), '*');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(6, 10), ' ');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(6, 11), '\0');
  EXPECT_EQ(Scene_Score_Entry::CellCharacter(6, 12), '\0');
}

TEST_F(EntryTest, MovingKeepsTheRowAndWrapsAround) {
  Open(0);
  Press(*scene, KEY_DOWN);
  Press(*scene, KEY_DOWN);
  Press(*scene, KEY_LEFT);
  EXPECT_EQ(scene->column, 12);
  EXPECT_EQ(scene->cursorRow(), 2);
  EXPECT_EQ(scene->columns[0]->cursor, -1);
  EXPECT_TRUE(scene->columns[12]->active);
  EXPECT_FALSE(scene->columns[0]->active);
  EXPECT_TRUE(Requested(SE_SELECT));
  Press(*scene, KEY_RIGHT);
  EXPECT_EQ(scene->column, 0);
  EXPECT_EQ(scene->cursorRow(), 2);
  Press(*scene, KEY_UP);
  Press(*scene, KEY_UP);
  Press(*scene, KEY_UP);
  EXPECT_EQ(scene->cursorRow(), 6);  // up from the top row wraps
}

TEST_F(EntryTest, TypingSpaceAndBackSpaceMoveTheCaret) {
  Open(0);
  Type(0, 0);
  Type(2, 1);
  Type(6, 10);
  EXPECT_EQ(Name(), "Ab ");
  EXPECT_EQ(Caret(), "   _");
  EXPECT_TRUE(Requested(SE_OK));
  Type(6, 11);
  EXPECT_EQ(Name(), "Ab");
  EXPECT_EQ(Caret(), "  _");
  Press(*scene, KEY_X);
  EXPECT_EQ(Name(), "A");
  EXPECT_EQ(Caret(), " _");
  EXPECT_TRUE(Requested(SE_CANCEL));
}

TEST_F(EntryTest, BackSpaceAndCancelOnAnEmptyNameOnlySound) {
  Open(0);
  Type(6, 11);
  EXPECT_EQ(Name(), "");
  EXPECT_EQ(Caret(), "_");
  EXPECT_TRUE(Requested(SE_OK));
  Press(*scene, KEY_X);
  EXPECT_EQ(Name(), "");
  EXPECT_EQ(Caret(), "_");
  EXPECT_TRUE(Requested(SE_CANCEL));
  EXPECT_FALSE(scene->leaving);
}

TEST_F(EntryTest, TheEighthCharacterJumpsToOkAndMoreAreRefused) {
  Open(0);
  for (int i = 0; i < 7; ++i) Press(*scene, KEY_Z);
  EXPECT_EQ(Name(), "AAAAAAA");
  EXPECT_EQ(Caret(), "       _");
  Press(*scene, KEY_Z);
  EXPECT_EQ(Name(), "AAAAAAAA");
  EXPECT_EQ(Caret(), "");  // no free position left
  EXPECT_EQ(scene->column, 12);
  EXPECT_EQ(scene->cursorRow(), 6);
  EXPECT_EQ(scene->columns[0]->cursor, -1);

  // Back on a letter, OK adds nothing.
  Press(*scene, KEY_RIGHT);
  EXPECT_EQ(scene->column, 0);
  Press(*scene, KEY_Z);
  EXPECT_EQ(Name(), "AAAAAAAA");
  Press(*scene, KEY_X);
  EXPECT_EQ(Name(), "AAAAAAA");
  EXPECT_EQ(Caret(), "       _");
}

TEST_F(EntryTest, SkipJumpsToOkAndOkThereCommitsAnEmptyName) {
  gGame.scoreData.ranking[kNormalLaser][0] = {9000, 0, 5, "OLD"};
  Open(1);
  Press(*scene, KEY_DOWN);
  Press(*scene, KEY_RIGHT);
  Press(*scene, KEY_LCONTROL);
  EXPECT_EQ(scene->column, 12);
  EXPECT_EQ(scene->cursorRow(), 6);
  EXPECT_EQ(scene->columns[1]->cursor, -1);
  EXPECT_TRUE(Requested(SE_SELECT));
  const int64_t before = static_cast<int64_t>(std::time(nullptr));
  Press(*scene, KEY_Z);
  EXPECT_TRUE(scene->leaving);
  EXPECT_NE(dynamic_cast<Scene_ReplaySave*>(scene->next), nullptr);
  const ScoreEntry& row = gGame.scoreData.ranking[kNormalLaser][1];
  EXPECT_EQ(row.score, 4321);
  EXPECT_STREQ(row.name, "");
  EXPECT_GE(row.time, before);
  EXPECT_LE(row.time, before + 5);
  EXPECT_STREQ(gGame.scoreData.ranking[kNormalLaser][0].name, "OLD");
  // Committed and saved at once, before the fade.
  EXPECT_EQ(ReadBytes("score.dat").size(), kScoreFileSize);
  // Input is no longer read.
  Press(*scene, KEY_X);
  EXPECT_EQ(gGame.scoreData.ranking[kNormalLaser][1].score, 4321);
}

TEST_F(EntryTest, CommittingAtTheTopMovesEveryRowDown) {
  for (int i = 0; i < 10; ++i) {
    ScoreEntry& e = gGame.scoreData.ranking[kNormalLaser][i];
    e.score = 10000 - i;
    e.time = 100 + i;
    std::snprintf(e.name, sizeof e.name, "R%d", i);
  }
  gGame.hiScore = 4321;
  Open(0);
  Type(1, 4);  // R
  Type(6, 12);
  EXPECT_TRUE(scene->leaving);
  const ScoreEntry* rows = gGame.scoreData.ranking[kNormalLaser];
  EXPECT_STREQ(rows[0].name, "R");
  EXPECT_EQ(rows[0].score, 4321);
  for (int i = 1; i < 10; ++i) {
    EXPECT_EQ(rows[i].score, 10000 - (i - 1)) << i;
    EXPECT_EQ(rows[i].time, 100 + (i - 1)) << i;
  }
  // The game's result went into the records as well.
  EXPECT_EQ(gGame.scoreData.bestScore[kNormalLaser], 4321);
}

TEST_F(EntryTest, CommittingAtTheLastPlaceOnlyReplacesIt) {
  for (int i = 0; i < 10; ++i) {
    gGame.scoreData.ranking[kNormalLaser][i].score = 10000 - i;
    gGame.scoreData.ranking[kNormalLaser][i].time = 100 + i;
  }
  Open(9);
  Press(*scene, KEY_LCONTROL);
  Press(*scene, KEY_Z);
  const ScoreEntry* rows = gGame.scoreData.ranking[kNormalLaser];
  for (int i = 0; i < 9; ++i) EXPECT_EQ(rows[i].score, 10000 - i);
  EXPECT_EQ(rows[9].score, 4321);
}
