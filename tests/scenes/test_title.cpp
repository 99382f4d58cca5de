// The title scene: its menu, how it is left, its music and its clean-up.
#include <algorithm>
#include <string>
#include <vector>

#include "app/Version.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "scenes/Scene_Select_Difficulty.h"
#include "scenes/Scene_Title.h"
#include "scenes/Spriteset_Logo.h"
#include "test_title_fixture.h"

namespace {

enum Row { START = 0, REPLAY = 1, SCORE = 2, CONFIG = 3, EXIT = 4 };

class TitleTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (title.titlePicture) title.terminate();
    delete title.next;
    title.next = nullptr;
    FrontSceneTest::TearDown();
  }
  // Started, and one frame in: the cursor is on "Start".
  void Open() {
    Begin(title);
    Step(title);
  }
  void MoveTo(int row) {
    while (title.menu->cursor != row) Press(title, KEY_DOWN);
  }

  Scene_Title title{true};
};

TEST_F(TitleTest, OpensWithFiveRowsNothingHighlightedAndTheVersionLine) {
  Begin(title);
  EXPECT_EQ(title.menu->rows,
            (std::vector<std::string>{"Start", "Replay", "Score", "Config", "Exit"}));
  EXPECT_EQ(title.menu->cursor, -1);
  EXPECT_NE(title.versionLine->text.find(GameVersion()), std::string::npos)
      << title.versionLine->text;
  EXPECT_NE(title.versionLine->text.find("(C)"), std::string::npos);
  // The opening fade uncovers the screen.
  EXPECT_TRUE(gGraphics.fade->visible);
  EXPECT_FLOAT_EQ(gGraphics.fade->level, 255.0f);
  EXPECT_LT(gGraphics.fade->speed, 0.0f);

  // The first drawn frame shows every row dimmed; the first update puts the
  // cursor on "Start".
  engine::headless::ClearDraws();
  Step(title);
  int whiteRows = 0;
  for (const auto& call : engine::headless::Draws()) {
    if (call.op == engine::headless::DrawOp::Text && call.text == "Start") {
      whiteRows += call.color == MakeColor(255, 255, 255);
    }
  }
  EXPECT_EQ(whiteRows, 0);
  EXPECT_EQ(title.menu->cursor, START);
}

TEST_F(TitleTest, NoOpeningFadeWhenTheCreatorAsksForNone) {
  Scene_Title plain(false);
  Begin(plain);
  EXPECT_FALSE(gGraphics.fade->visible);
  plain.terminate();
}

TEST_F(TitleTest, PlaysTheTitleMusicOnlyWhenNothingIsPlaying) {
  Begin(title);
  EXPECT_EQ(fronttest::musicLog.loaded, (std::vector<std::string>{"Sounds/BGM/title.ogg"}));
  EXPECT_EQ(gSound.bgmIndex, 0);
  title.terminate();

  // Coming back to a title while a tune plays keeps it going.
  gSound.bgmIndex = 1;
  Scene_Title again(true);
  Begin(again);
  EXPECT_EQ(fronttest::musicLog.loaded.size(), 1u);
  EXPECT_EQ(gSound.bgmIndex, 1);
  again.terminate();
}

TEST_F(TitleTest, UpAndDownWrapAroundWithTheCursorSound) {
  Open();
  Press(title, KEY_UP);
  EXPECT_EQ(title.menu->cursor, EXIT);
  EXPECT_TRUE(Requested(SE_SELECT));
  Press(title, KEY_DOWN);
  EXPECT_EQ(title.menu->cursor, START);
  EXPECT_TRUE(Requested(SE_SELECT));
  for (int row = REPLAY; row <= EXIT; ++row) {
    Press(title, KEY_DOWN);
    EXPECT_EQ(title.menu->cursor, row);
  }
  Press(title, KEY_DOWN);
  EXPECT_EQ(title.menu->cursor, START);
}

TEST_F(TitleTest, CancelOnlyPointsAtExit) {
  Open();
  Press(title, KEY_DOWN);
  for (int i = 0; i < 3; ++i) {
    Press(title, KEY_X);
    EXPECT_EQ(title.menu->cursor, EXIT);
    EXPECT_TRUE(Requested(SE_CANCEL)) << "press " << i;
    EXPECT_FALSE(title.leaving);
  }
  for (int i = 0; i < 60; ++i) Step(title);
  EXPECT_TRUE(title.running);
  EXPECT_FALSE(title.leaving);
}

TEST_F(TitleTest, ExitFadesToBlackThenEndsWithoutSuccessor) {
  Open();
  Press(title, KEY_UP);
  Press(title, KEY_Z);
  EXPECT_TRUE(title.leaving);
  EXPECT_TRUE(Requested(SE_OK));
  EXPECT_EQ(title.next, nullptr);
  EXPECT_FLOAT_EQ(gGraphics.fade->speed, 17.0f);

  // Still running through the fade; keys do nothing meanwhile.
  for (int n = 1; n <= 15; ++n) {
    Press(title, n % 2 ? KEY_X : KEY_DOWN);
    ASSERT_TRUE(title.running) << "frame " << n;
    EXPECT_TRUE(requested.empty()) << "frame " << n;
    EXPECT_EQ(title.menu->cursor, EXIT);
  }
  Step(title);
  EXPECT_FALSE(title.running);
  EXPECT_TRUE(gGraphics.fade->finished);
  EXPECT_EQ(title.next, nullptr);
}

TEST_F(TitleTest, LogoKeepsTurningWhileTheScreenFadesOut) {
  Open();
  Press(title, KEY_UP);
  Press(title, KEY_Z);
  const double before = title.logo->part[1]->angle;
  Step(title);
  EXPECT_GT(title.logo->part[1]->angle, before);
}

TEST_F(TitleTest, StartBeginsAFreshGameThatIsPlayedNotWatched) {
  gGame.difficulty = DIFFICULTY_NORMAL;
  gGame.chargeType = CHARGE_LASER;
  gGame.scoreData.bestScore[5] = 4321;
  gGame.stage = 4;
  gGame.score = 999;
  gGame.lives = 0;
  gGame.continuesUsed = 2;
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
  ScoreData::replayPlayback = true;
  Open();
  Press(title, KEY_Z);
  EXPECT_NE(dynamic_cast<Scene_Select_Difficulty*>(title.next), nullptr);
  EXPECT_EQ(gGame.stage, 1);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(gGame.lives, 2);
  EXPECT_EQ(gGame.continuesUsed, 0);
  EXPECT_EQ(gGame.hiScore, 4321);
  EXPECT_EQ(gInput.replayMode, REPLAY_OFF);
  EXPECT_FALSE(ScoreData::replayPlayback);
  EXPECT_EQ(FramesUntilDone(title), 16);
}

TEST_F(TitleTest, EveryOtherRowButExitNamesASuccessor) {
  for (int row : {REPLAY, SCORE, CONFIG}) {
    Scene_Title t(true);
    Begin(t);
    Step(t);
    while (t.menu->cursor != row) Press(t, KEY_DOWN);
    Press(t, KEY_Z);
    EXPECT_TRUE(t.leaving) << row;
    EXPECT_NE(t.next, nullptr) << row;
    std::unique_ptr<Scene> next = TakeNext(t);
    t.terminate();
  }
}

TEST_F(TitleTest, OkAndCancelTogetherActOnTheRowUnderTheCursor) {
  Open();
  MoveTo(CONFIG);
  Press(title, {KEY_Z, KEY_X});
  EXPECT_TRUE(title.leaving);
  EXPECT_NE(title.next, nullptr);  // "Config", not "Exit"
  EXPECT_EQ(title.menu->cursor, EXIT);
  EXPECT_TRUE(Requested(SE_OK));
  EXPECT_TRUE(Requested(SE_CANCEL));
}

TEST_F(TitleTest, DrawsPictureLogoVersionAndMenuInThatOrder) {
  WritePictures(
      {"title.png", "logo1.png", "logo2.png", "logo3.png", "logo4.png", "logo5.png", "logo6.png"});
  Open();
  engine::headless::ClearDraws();
  Step(title);
  std::vector<int> order;  // 0 picture, 1 logo, 2 version line, 3 menu
  for (const auto& call : engine::headless::Draws()) {
    if (call.op == engine::headless::DrawOp::Rotated) {
      order.push_back(call.handle == title.titlePicture->image ? 0 : 1);
    } else if (call.op == engine::headless::DrawOp::Text) {
      order.push_back(call.text == title.versionLine->text ? 2 : 3);
    }
  }
  // Repeated kinds collapse: picture, six logo parts, version, five rows.
  std::vector<int> kinds;
  for (int k : order) {
    if (kinds.empty() || kinds.back() != k) kinds.push_back(k);
  }
  EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(std::count(order.begin(), order.end(), 1), 6);
  EXPECT_EQ(std::count(order.begin(), order.end(), 3), 5);
}

TEST_F(TitleTest, TerminateReleasesEveryPictureAndSprite) {
  WritePictures(
      {"title.png", "logo1.png", "logo2.png", "logo3.png", "logo4.png", "logo5.png", "logo6.png"});
  Open();
  std::vector<int> handles{title.titlePicture->image};
  for (Sprite* part : title.logo->part) handles.push_back(part->image);
  for (int h : handles) ASSERT_GT(h, 0);
  title.terminate();
  int w = 0;
  int h = 0;
  for (int handle : handles) EXPECT_NE(GetImageSize(handle, &w, &h), 0) << handle;
  // Nothing of the title is left to draw.
  engine::headless::ClearDraws();
  gGraphics.fade->visible = false;
  gGraphics.frameStep();
  for (const auto& call : engine::headless::Draws()) {
    EXPECT_NE(call.op, engine::headless::DrawOp::Rotated);
    EXPECT_NE(call.op, engine::headless::DrawOp::Text);
  }
}

TEST_F(TitleTest, MissingPicturesStillLeaveAWorkingMenu) {
  Open();  // the working directory has no pictures at all
  EXPECT_LT(title.titlePicture->image, 0);
  Press(title, KEY_UP);
  Press(title, KEY_Z);
  EXPECT_EQ(FramesUntilDone(title), 16);
}

}  // namespace
