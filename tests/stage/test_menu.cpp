// The stage's pause and game-over menus driven by keys, as a player would:
// what each menu offers, which keys leave it, the "OK?" question, taking a
// continue, and the ways out (give up, title, restart) with their successors.
#include "stage/Stage_Menu.h"
#include "test_stage_support.h"

namespace {

class StageMenuTest : public StageSceneTest {
 protected:
  void SetUp() override {
    StageSceneTest::SetUp();
    gStageLinks.makeMenu = &MakeStageMenu;
  }

  // Down for one frame, then up for one.
  void tap(int key) {
    engine::headless::SetKey(key, true);
    frame();
    engine::headless::SetKey(key, false);
    frame();
  }
  void pause() {
    tap(KEY_ESCAPE);
    ASSERT_TRUE(scene->menuOpen);
  }
  // Taps `key` and tells whether its press frame asked for `effect` (the
  // next sound update plays and forgets the request).
  bool tapSounds(int key, int effect) {
    engine::headless::SetKey(key, true);
    frame();
    const bool requested = gSound.seRequested[effect];
    engine::headless::SetKey(key, false);
    frame();
    return requested;
  }
  // Moves the cursor to `row` of the menu and confirms the leaving choice.
  void chooseAndConfirm(int row) {
    for (int i = 0; i < row; ++i) tap(KEY_DOWN);
    tap(KEY_Z);
    ASSERT_TRUE(scene->confirmTable->visible);
    tap(KEY_UP);  // from "CANCEL" to "OK"
    tap(KEY_Z);
  }
  const std::vector<std::string>& rows() const { return scene->menuTable->rows; }
};

TEST_F(StageMenuTest, PauseMenuShowsItsRowsOverTheBackdrop) {
  begin(2);
  frame();
  pause();
  EXPECT_EQ(scene->menuKind, MENU_PAUSE);
  EXPECT_EQ(scene->menuTable->text, "PAUSE");
  EXPECT_EQ(rows(),
            (std::vector<std::string>{"CONTINUE", "RETURN TO TITLE", "RESTART FROM FIRST"}));
  EXPECT_EQ(scene->menuTable->cursor, 0);
  EXPECT_TRUE(scene->menuTable->visible);
  EXPECT_TRUE(scene->menuBack->visible);
  EXPECT_FALSE(scene->confirmTable->visible);
  EXPECT_EQ(gSound.bgmIndex, -1);  // the next scene starts its own music afresh
}

TEST_F(StageMenuTest, PauseMenuIsLeftWithContinueCancelOrPause) {
  struct Way {
    const char* name;
    int key;
  };
  for (Way way : {Way{"OK on CONTINUE", KEY_Z}, Way{"Cancel", KEY_X}, Way{"Pause", KEY_ESCAPE}}) {
    SCOPED_TRACE(way.name);
    begin(2);
    frame();
    pause();
    const int effect = way.key == KEY_Z ? SE_OK : SE_CANCEL;
    EXPECT_TRUE(tapSounds(way.key, effect));
    EXPECT_FALSE(scene->menuOpen);
    EXPECT_FALSE(scene->menuTable->visible);
    EXPECT_FALSE(scene->menuBack->visible);
    EXPECT_TRUE(scene->running);
    // Play goes on: the release frame ran the stage and opened nothing.
    frame();
    EXPECT_FALSE(scene->menuOpen);
    // Nothing was taken from the game by leaving the pause menu.
    EXPECT_EQ(gGame.continuesUsed, 0);
    finish();
    terminated = false;
  }
}

TEST_F(StageMenuTest, TheStageStandsStillWhileTheMenuIsOpen) {
  static int steps = 0;
  steps = 0;
  gStageLinks.stepScript = [](Scene_Stage&) { ++steps; };
  begin(2);
  frame();
  pause();
  const int before = steps;
  const float shipY = ship().y;
  engine::headless::SetKey(KEY_UP, true);  // would move the ship if it ran
  for (int i = 0; i < 10; ++i) frame();
  engine::headless::SetKey(KEY_UP, false);
  EXPECT_EQ(steps, before);
  EXPECT_FLOAT_EQ(ship().y, shipY);
  tap(KEY_X);
  EXPECT_GT(steps, before);
}

TEST_F(StageMenuTest, GameOverMenuCannotBeLeftWithCancelOrPause) {
  gGame.continuesUsed = 0;
  begin(3);
  loseLastLife();
  frame();
  ASSERT_TRUE(scene->menuOpen);
  EXPECT_EQ(scene->menuKind, MENU_GAME_OVER);
  EXPECT_EQ(scene->menuTable->text, "GAME OVER");
  EXPECT_EQ(rows()[1], "GIVE UP");
  EXPECT_EQ(rows()[2], "RESTART FROM FIRST");
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(tapSounds(KEY_X, SE_CANCEL));
    EXPECT_FALSE(tapSounds(KEY_ESCAPE, SE_CANCEL));
  }
  EXPECT_TRUE(scene->menuOpen);
  EXPECT_TRUE(scene->running);
  EXPECT_TRUE(scene->menuTable->visible);
  EXPECT_TRUE(scene->menuBack->visible);
  EXPECT_EQ(gGame.continuesUsed, 0);
  // Pause does not back out of the question either; Cancel does.
  tap(KEY_DOWN);
  tap(KEY_Z);
  ASSERT_TRUE(scene->confirmTable->visible);
  tap(KEY_ESCAPE);
  EXPECT_TRUE(scene->confirmTable->visible);
  EXPECT_TRUE(tapSounds(KEY_X, SE_CANCEL));
  EXPECT_FALSE(scene->confirmTable->visible);
  EXPECT_TRUE(scene->menuOpen);
}

TEST_F(StageMenuTest, ContinueTextCountsWhatIsLeft) {
  struct Case {
    int32_t difficulty;
    int32_t bonus;
    int32_t used;
    const char* text;
  };
  const Case cases[] = {
      {DIFFICULTY_NORMAL, 0, 1, "CONTINUE  2"},
      {DIFFICULTY_APOCRYPHA, 7, 0, "CONTINUE 10"},
      {DIFFICULTY_NORMAL, 200, 0, "CONTINUE 99"},
      {DIFFICULTY_EASY, 0, 40, "CONTINUE"},  // Easy never counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    gGame.difficulty = c.difficulty;
    gGame.scoreData.continueBonus = c.bonus;
    gGame.continuesUsed = c.used;
    begin(2);
    loseLastLife();
    frame();
    ASSERT_TRUE(scene->menuOpen);
    EXPECT_EQ(rows()[0], c.text);
    finish();
    terminated = false;
  }
}

TEST_F(StageMenuTest, ContinueGivesTheShipBackAndKeepsTheRest) {
  gInput.replayMode = REPLAY_RECORDING;
  gGame.continuesUsed = 1;
  gGame.bombs = 1;
  begin(4);
  frame();
  gGame.score = 123450;
  gGame.hiScore = 900000;
  ship().points = 77;
  ship().power = 10;
  ship().chargeGauge = 0;
  const int32_t clock = scene->field->scriptClock;
  loseLastLife();
  frame();
  ASSERT_TRUE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  engine::headless::SetKey(KEY_Z, true);
  frame();
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_TRUE(scene->running);
  EXPECT_EQ(gGame.continuesUsed, 2);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(gGame.hiScore, 900000);
  EXPECT_EQ(ship().lives, 2);
  EXPECT_EQ(ship().points, 0);
  EXPECT_EQ(ship().power, 250);
  EXPECT_EQ(ship().chargeGauge, kChargeGaugeMax);
  EXPECT_EQ(ship().bombs, 1);
  for (const Object_PlayerOption& option : scene->field->options) EXPECT_EQ(option.dead, 0);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  engine::headless::SetKey(KEY_Z, false);
  frame();
  // The game-over frame and this one: the stage went on where it was.
  EXPECT_EQ(scene->field->scriptClock, clock + 2);
}

TEST_F(StageMenuTest, EasyContinuesHoweverManyWereUsed) {
  gGame.difficulty = DIFFICULTY_EASY;
  gGame.continuesUsed = 150;
  begin(5);
  for (int round = 0; round < 3; ++round) {
    loseLastLife();
    frame();
    ASSERT_TRUE(scene->menuOpen) << round;
    tap(KEY_Z);
    ASSERT_FALSE(scene->menuOpen);
  }
  EXPECT_EQ(gGame.continuesUsed, 153);
  EXPECT_TRUE(scene->running);
}

TEST_F(StageMenuTest, QuestionStartsOnCancelAndBacksOut) {
  begin(2);
  frame();
  pause();
  tap(KEY_DOWN);
  EXPECT_TRUE(tapSounds(KEY_Z, SE_OK));
  ASSERT_TRUE(scene->confirmTable->visible);
  EXPECT_EQ(scene->confirmTable->text, "OK?");
  EXPECT_EQ(scene->confirmTable->cursor, Stage_Menu::ANSWER_CANCEL);
  // Arrows now move the question's cursor, not the menu's.
  tap(KEY_DOWN);
  EXPECT_EQ(scene->confirmTable->cursor, Stage_Menu::ANSWER_OK);
  EXPECT_EQ(scene->menuTable->cursor, 1);
  tap(KEY_DOWN);
  // OK on "CANCEL" only closes the question.
  tap(KEY_Z);
  EXPECT_FALSE(scene->confirmTable->visible);
  EXPECT_TRUE(scene->menuOpen);
  EXPECT_TRUE(scene->running);
  // Cancel closes the question and leaves the menu open.
  tap(KEY_Z);
  ASSERT_TRUE(scene->confirmTable->visible);
  tap(KEY_X);
  EXPECT_FALSE(scene->confirmTable->visible);
  EXPECT_TRUE(scene->menuOpen);
  // The question opens on "CANCEL" again, whatever was chosen before.
  tap(KEY_Z);
  EXPECT_EQ(scene->confirmTable->cursor, Stage_Menu::ANSWER_CANCEL);
}

TEST_F(StageMenuTest, EscapeDuringTheQuestionResumesPlay) {
  gInput.replayMode = REPLAY_RECORDING;
  begin(2);
  frame();
  pause();
  tap(KEY_DOWN);
  tap(KEY_DOWN);
  tap(KEY_Z);
  ASSERT_TRUE(scene->confirmTable->visible);
  tap(KEY_ESCAPE);
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_FALSE(scene->confirmTable->visible);
  EXPECT_FALSE(scene->menuTable->visible);
  EXPECT_TRUE(scene->running);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  // Pausing again shows a fresh menu, cursor on top, no question.
  pause();
  EXPECT_EQ(scene->menuTable->cursor, 0);
  EXPECT_FALSE(scene->confirmTable->visible);
}

TEST_F(StageMenuTest, GiveUpEndsTheGameThroughTheLostGameScene) {
  gGame.scoreData.continueBonus = 2;
  begin(3);
  loseLastLife();
  frame();
  chooseAndConfirm(Stage_Menu::ROW_LEAVE);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(gGame.stage, 20);
  EXPECT_EQ(successor(), "cut-scene");
  EXPECT_EQ(gGame.scoreData.continueBonus, 2);
}

TEST_F(StageMenuTest, ReturnToTitleEndsTheStage) {
  begin(4);
  frame();
  pause();
  chooseAndConfirm(Stage_Menu::ROW_LEAVE);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(successor(), "title");
  EXPECT_EQ(gGame.stage, 4);
}

TEST_F(StageMenuTest, RestartRecordsTheBestAndBeginsANewGameAtStageOne) {
  gGame.difficulty = DIFFICULTY_NORMAL;
  gGame.chargeType = CHARGE_LASER;
  gGame.continuesUsed = 2;
  gGame.misses = 4;
  gGame.lives = 5;
  begin(3);
  frame();
  gGame.score = 4000000;
  gGame.hiScore = 4000000;
  gGraphics.frameCount = 5000;
  pause();
  chooseAndConfirm(Stage_Menu::ROW_RESTART);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(successor(), "cut-scene");
  const int slot = gGame.ScoreSlot();
  EXPECT_EQ(slot, 5);
  EXPECT_EQ(gGame.scoreData.bestScore[slot], 4000000);
  EXPECT_EQ(gGame.hiScore, 4000000);  // taken from the slot again
  EXPECT_EQ(gGame.stage, 1);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(gGame.lives, 2);
  EXPECT_EQ(gGame.bombs, 2);
  EXPECT_EQ(gGame.power, 0);
  EXPECT_EQ(gGame.continuesUsed, 0);
  EXPECT_EQ(gGame.misses, 0);
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_NORMAL);
  EXPECT_EQ(gGame.chargeType, CHARGE_LASER);
  // The new game's play time starts now, not at program start.
  EXPECT_GE(gGame.startFrame, 5000u);
}

TEST_F(StageMenuTest, RestartInTheExtraStageStartsTheExtraStageAgain) {
  gGame.difficulty = DIFFICULTY_EXTRA;
  begin(7);
  frame();
  pause();
  chooseAndConfirm(Stage_Menu::ROW_RESTART);
  EXPECT_EQ(gGame.stage, 7);
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_EXTRA);
  EXPECT_EQ(successor(), "cut-scene");
}

TEST_F(StageMenuTest, RestartFromTheGameOverMenu) {
  begin(5);
  loseLastLife();
  frame();
  chooseAndConfirm(Stage_Menu::ROW_RESTART);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(gGame.stage, 1);
  EXPECT_EQ(successor(), "cut-scene");
}

// A recorded game of two long stages, being watched.
class MenuReplayTest : public StageMenuTest {
 protected:
  void SetUp() override {
    StageMenuTest::SetUp();
    LoadTwoStageReplay(600, 1);
  }
};

TEST_F(MenuReplayTest, ReturnGoesBackToTheReplayList) {
  begin(1);
  frame();
  pause();
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
  chooseAndConfirm(Stage_Menu::ROW_LEAVE);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(successor(), "replay list");
}

TEST_F(MenuReplayTest, RestartWatchesTheReplayFromItsFirstStage) {
  begin(1);
  frame();
  EXPECT_EQ(gGame.stage, 3);
  const int slot = gGame.ScoreSlot();
  gGame.scoreData.bestScore[slot] = 1000;
  gGame.hiScore = 99999999;
  pause();
  chooseAndConfirm(Stage_Menu::ROW_RESTART);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(successor(), "stage");
  EXPECT_EQ(gInput.replay.stageIndex, 0);
  // Watching leaves the player's best scores alone.
  EXPECT_EQ(gGame.scoreData.bestScore[slot], 1000);
}

TEST_F(MenuReplayTest, ResumingPlaybackPicksUpTheRecordWhereItStood) {
  begin(1);
  for (int i = 0; i < 10; ++i) frame();
  const size_t at = gInput.replay.playFrame;
  pause();
  for (int i = 0; i < 20; ++i) frame();
  EXPECT_EQ(gInput.replay.playFrame, at + 1);  // the frame that opened the menu
  engine::headless::SetKey(KEY_ESCAPE, true);
  frame();
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING);
  frame();
  EXPECT_FALSE(scene->menuOpen);  // Escape still held does not pause again
  engine::headless::SetKey(KEY_ESCAPE, false);
  frame();
  EXPECT_EQ(gInput.replay.playFrame, at + 3);
}

}  // namespace
