// The stage scene: what start sets up, the frame order, the stage ending
// with its clear bonus and successor, game over, pause, and terminate.
#include <filesystem>

#include "objects/Object_Player.h"
#include "test_stage_support.h"

namespace {

TEST_F(StageSceneTest, StartBringsTheCarriedGameIntoTheStage) {
  gGame.lives = 4;
  gGame.bombs = 1;
  gGame.power = 120;
  gGame.points = 30;
  gGame.chargeType = CHARGE_LASER;
  gGame.cleared = true;
  begin(3);
  EXPECT_FALSE(gGame.cleared);
  EXPECT_EQ(ship().lives, 4);
  EXPECT_EQ(ship().bombs, 1);
  EXPECT_EQ(ship().power, 120);
  EXPECT_EQ(ship().points, 30);
  EXPECT_EQ(ship().laserType, 1);
  for (const Object_PlayerOption& option : scene->field->options) EXPECT_EQ(option.dead, 0);
  EXPECT_EQ(scene->field->stageNumber, 3);
  EXPECT_EQ(scene->field->scriptClock, 0);
  EXPECT_TRUE(gGraphics.showFps);
  // Music of stage 3 is list entry 6.
  EXPECT_EQ(gSound.bgmIndex, 6);
  ASSERT_FALSE(gRecorded.musicLoaded.empty());
  EXPECT_EQ(gRecorded.musicLoaded.back(), "music6.ogg");
  // The screen opens over 60 frames.
  EXPECT_FLOAT_EQ(gGraphics.fade->level, 255.0f);
  EXPECT_FLOAT_EQ(gGraphics.fade->speed, -4.25f);
  EXPECT_EQ(gGraphics.fade->target, 0);
  EXPECT_TRUE(gGraphics.fade->visible);
  // Sprites are tied to the ship; the HUD to the ship and the boss.
  EXPECT_EQ(scene->stageSprites->playerSprite->player, &ship());
  EXPECT_EQ(scene->stageSprites->optionSprites[3]->option, &scene->field->options[3]);
  EXPECT_EQ(scene->scoreBoard->player, &ship());
  EXPECT_EQ(scene->scoreBoard->boss, &scene->field->boss);
  // Conversation and menu sprites are there, hidden.
  EXPECT_EQ(scene->fieldViewport->z, 1000);
  EXPECT_EQ(scene->menuViewport->z, 3000);
  EXPECT_EQ(scene->leftPortrait->x, 80);
  EXPECT_EQ(scene->rightPortrait->x, 304);
  EXPECT_EQ(scene->rightPortrait->y, 448);
  EXPECT_FALSE(scene->messageWindow->visible);
  EXPECT_FALSE(scene->menuTable->visible);
  EXPECT_EQ(scene->menuTable->rows.size(), 3u);
  EXPECT_EQ(scene->confirmTable->rows, (std::vector<std::string>{"OK", "CANCEL"}));
  EXPECT_EQ(scene->confirmTable->x, 142);
  EXPECT_EQ(scene->menuTable->y, 124);
}

TEST_F(StageSceneTest, LowPowerSwitchesOptionsOff) {
  gGame.power = 60;
  begin(2);
  EXPECT_EQ(scene->field->options[0].dead, 0);
  EXPECT_EQ(scene->field->options[1].dead, 0);
  EXPECT_EQ(scene->field->options[2].dead, 1);
  EXPECT_EQ(scene->field->options[3].dead, 1);
  EXPECT_EQ(ship().laserType, 0);
}

TEST_F(StageSceneTest, FirstStageStartsANewRecording) {
  gInput.replay.stages.resize(3);
  begin(1);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  ASSERT_EQ(gInput.replay.stages.size(), 1u);
  EXPECT_EQ(gInput.replay.stages[0].start.stage, 1);
}

TEST_F(StageSceneTest, LaterStagesAppendToTheRecording) {
  gInput.replayMode = REPLAY_RECORDING_SUSPENDED;
  gInput.replay.stages.resize(2);
  gGame.score = 5000;
  begin(3);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  ASSERT_EQ(gInput.replay.stages.size(), 3u);
  EXPECT_EQ(gInput.replay.stages[2].start.score, 5000);
}

TEST_F(StageSceneTest, EnemyTableIsLoadedForANewGameOnly) {
  static int loads = 0;
  loads = 0;
  gStageLinks.loadEnemyTable = [](int32_t) { ++loads; };
  begin(1);
  EXPECT_EQ(loads, 1);
  finish();
  scene.reset();
  terminated = false;
  begin(2);
  EXPECT_EQ(loads, 1);
}

TEST(ClearBonus, StageTimesTenMillionTimesTheDifficultyFactor) {
  EXPECT_EQ(Scene_Stage::ClearBonus(3, DIFFICULTY_NORMAL), 30000000);
  EXPECT_EQ(Scene_Stage::ClearBonus(1, DIFFICULTY_EASY), 1000000);
  EXPECT_EQ(Scene_Stage::ClearBonus(6, DIFFICULTY_APOCRYPHA), 180000000);
  EXPECT_EQ(Scene_Stage::ClearBonus(7, DIFFICULTY_EXTRA), 105000000);
  EXPECT_EQ(Scene_Stage::ClearBonus(5, 2), 25000000);
  EXPECT_EQ(Scene_Stage::ClearBonus(5, 4), 100000000);
}

TEST_F(StageSceneTest, StageEndFadesOutAddsTheBonusAndGoesToTheCutScene) {
  gGame.score = 1234567;
  begin(3);
  frame();
  ship().lives = 3;
  ship().bombs = 5;
  ship().power = 77;
  ship().points = 321;
  scene->field->stageFinished = 1;
  frame();
  EXPECT_TRUE(scene->stageEnding);
  EXPECT_TRUE(scene->conversationMode());
  EXPECT_FLOAT_EQ(gGraphics.fade->speed, 4.25f);
  EXPECT_EQ(gGraphics.fade->target, 255);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -4.25f);
  EXPECT_EQ(gSound.fadeFrames, 60);
  EXPECT_EQ(gGame.score, 1234567);
  const int frames = runToEnd(200);
  EXPECT_FALSE(scene->running);
  // The fade takes 61 frame steps to report finished.
  EXPECT_EQ(frames, 61);
  EXPECT_EQ(gGame.score, 31234567);
  EXPECT_GE(gGame.hiScore, 31234567);
  EXPECT_EQ(gGame.stage, 4);
  // The ship's state is what the next stage starts with.
  EXPECT_EQ(gGame.lives, 3);
  EXPECT_EQ(gGame.bombs, 5);
  EXPECT_EQ(gGame.power, 77);
  EXPECT_EQ(gGame.points, 321);
  EXPECT_EQ(gSound.bgmIndex, -1);
  EXPECT_EQ(successor(), "cut-scene");
  EXPECT_FALSE(gGame.cleared);
}

TEST_F(StageSceneTest, EasyFirstStageAddsOneMillion) {
  gGame.difficulty = DIFFICULTY_EASY;
  begin(1);
  scene->field->stageFinished = 1;
  runToEnd(200);
  EXPECT_EQ(gGame.score, 1000000);
  EXPECT_EQ(gGame.stage, 2);
}

TEST_F(StageSceneTest, ClearingTheLastStageClearsTheGame) {
  struct Case {
    int32_t stage;
    int32_t continues;
    int32_t ending;
    int32_t difficulty = DIFFICULTY_NORMAL;
  };
  // The true ending (11) goes with the Extra unlock: no continue, Normal or harder.
  for (const Case c :
       {Case{6, 0, 11}, Case{6, 2, 10}, Case{6, 0, 10, DIFFICULTY_EASY}, Case{7, 0, 12}}) {
    SCOPED_TRACE(c.difficulty);
    gGame.difficulty = c.difficulty;
    gGame.continuesUsed = c.continues;
    gGame.scoreData = ScoreData();
    begin(c.stage);
    scene->field->stageFinished = 1;
    runToEnd(200);
    EXPECT_TRUE(gGame.cleared);
    EXPECT_EQ(gGame.stage, c.ending);
    EXPECT_EQ(successor(), "cut-scene");
    finish();
    const int slot = gGame.ScoreSlot();
    EXPECT_EQ(gGame.scoreData.clearCount[slot], 1);
    EXPECT_EQ(gGame.scoreData.extraUnlocked, c.ending == 10 ? 0 : 1);
    delete scene->next;
    scene->next = nullptr;
    scene.reset();
    terminated = false;
  }
}

TEST_F(StageSceneTest, PauseOpensTheMenuAndFreezesTheStage) {
  static int steps = 0;
  steps = 0;
  gStageLinks.stepScript = [](Scene_Stage&) { ++steps; };
  gInput.replayMode = REPLAY_RECORDING;
  begin(2);
  frame();
  engine::headless::SetKey(KEY_ESCAPE, true);
  frame();
  engine::headless::SetKey(KEY_ESCAPE, false);
  ASSERT_EQ(gRecorded.menusOpened, (std::vector<int32_t>{MENU_PAUSE}));
  EXPECT_TRUE(gSound.seRequested[SE_PAUSE]);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  const int before = steps;
  for (int i = 0; i < 5; ++i) frame();
  EXPECT_EQ(steps, before);
  scene->closeMenu();
  EXPECT_FALSE(scene->menuOpen);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING);
  frame();
  EXPECT_EQ(steps, before + 1);
}

TEST_F(StageSceneTest, StageEndWinsOverAPauseInTheSameFrame) {
  begin(2);
  frame();
  scene->field->stageFinished = 1;
  engine::headless::SetKey(KEY_ESCAPE, true);
  frame();
  EXPECT_TRUE(gRecorded.menusOpened.empty());
  EXPECT_TRUE(scene->stageEnding);
}

TEST_F(StageSceneTest, CounterBombWindowStopsEverythingButTheShip) {
  static int steps = 0;
  steps = 0;
  gStageLinks.stepScript = [](Scene_Stage& stage) {
    ++steps;
    ++stage.field->scriptClock;
  };
  begin(2);
  Object_Enemy* e = scene->field->enemies.acquire();
  e->id = NextObjectId();
  e->resetMotion();
  e->resetEnemy();
  e->setPosition(100, 100);
  e->vy = 2.0f;
  scene->attachEnemySprite(*e);
  frame();
  const float enemyY = e->y;
  const int32_t clock = scene->field->scriptClock;
  const int32_t spriteY = scene->stageSprites->enemySprites.sprites[0]->y;
  ship().state = PLAYER_COUNTER_BOMB;
  ship().stateCounter = 0;
  frame();
  frame();
  EXPECT_EQ(ship().stateCounter, 2);
  EXPECT_FLOAT_EQ(e->y, enemyY);
  EXPECT_EQ(scene->field->scriptClock, clock);
  EXPECT_EQ(scene->stageSprites->enemySprites.sprites[0]->y, spriteY);
}

TEST_F(StageSceneTest, GameOverOnEasyAlwaysOffersTheContinueMenu) {
  gGame.difficulty = DIFFICULTY_EASY;
  gGame.continuesUsed = 40;
  begin(4);
  loseLastLife();
  frame();
  EXPECT_EQ(gRecorded.menusOpened, (std::vector<int32_t>{MENU_GAME_OVER}));
  EXPECT_TRUE(scene->running);
}

TEST_F(StageSceneTest, ThreeContinuesWithoutBonusThenTheEnding) {
  gGame.scoreData.continueBonus = 0;
  gGame.continuesUsed = 2;
  gInput.replayMode = REPLAY_RECORDING;
  begin(2);
  loseLastLife();
  frame();
  EXPECT_EQ(gRecorded.menusOpened, (std::vector<int32_t>{MENU_GAME_OVER}));
  // The menu's continue.
  scene->takeContinue();
  scene->closeMenu();
  EXPECT_EQ(gGame.continuesUsed, 3);
  EXPECT_EQ(ship().lives, 2);
  EXPECT_EQ(ship().power, 250);
  EXPECT_EQ(gGame.score, 0);
  gRecorded.menusOpened.clear();
  loseLastLife();
  frame();
  EXPECT_TRUE(gRecorded.menusOpened.empty());
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(gGame.stage, 20);
  EXPECT_EQ(gGame.scoreData.continueBonus, 1);
  EXPECT_EQ(successor(), "cut-scene");
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
}

TEST_F(StageSceneTest, ContinuesStopAtNinetyNine) {
  gGame.scoreData.continueBonus = 200;
  gGame.continuesUsed = 98;
  begin(5);
  loseLastLife();
  frame();
  EXPECT_EQ(gRecorded.menusOpened.size(), 1u);
  scene->takeContinue();
  scene->closeMenu();
  loseLastLife();
  frame();
  EXPECT_EQ(gRecorded.menusOpened.size(), 1u);
  EXPECT_EQ(gGame.stage, 20);
}

TEST_F(StageSceneTest, GameOverInTheExtraStageGoesStraightToTheResult) {
  gGame.difficulty = DIFFICULTY_EXTRA;
  begin(7);
  loseLastLife();
  frame();
  EXPECT_TRUE(gRecorded.menusOpened.empty());
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(successor(), "result");
  EXPECT_EQ(gGame.stage, 7);
  EXPECT_EQ(gGame.scoreData.continueBonus, 0);
}

TEST_F(StageSceneTest, WithoutAMenuAGameOverGivesUp) {
  gStageLinks.makeMenu = nullptr;
  gGame.continuesUsed = 0;
  begin(2);
  loseLastLife();
  frame();
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(gGame.stage, 20);
  EXPECT_EQ(successor(), "cut-scene");
}

TEST_F(StageSceneTest, TerminateKeepsTheRecordsAndTheReplaySummary) {
  gGame.chargeType = CHARGE_LASER;
  gInput.replayMode = REPLAY_RECORDING_SUSPENDED;
  begin(2);
  gGame.AddScore(777000);
  gGame.misses = 2;
  gGame.bombsUsed = 5;
  gGame.continuesUsed = 1;
  finish();
  EXPECT_FALSE(gGraphics.showFps);
  EXPECT_EQ(gGame.scoreData.bestScore[gGame.ScoreSlot()], 777000);
  EXPECT_EQ(std::filesystem::file_size("score.dat"), kScoreFileSize);
  EXPECT_EQ(gInput.replayMode, REPLAY_RECORDING_SUSPENDED);
  EXPECT_EQ(gInput.replay.header.score, 777000);
  EXPECT_EQ(gInput.replay.header.misses, 2);
  EXPECT_EQ(gInput.replay.header.bombsUsed, 5);
  EXPECT_EQ(gInput.replay.header.continuesUsed, 1);
  EXPECT_EQ(scene->field, nullptr);
  EXPECT_EQ(scene->stageSprites, nullptr);
  EXPECT_EQ(scene->fieldViewport, nullptr);
}

class ReplayStageTest : public StageSceneTest {
 protected:
  // A recorded game of two stages, 30 frames each, about to be watched.
  void SetUp() override {
    StageSceneTest::SetUp();
    LoadTwoStageReplay(30, 0);
  }
};

TEST_F(ReplayStageTest, StageEndsWhenItsInputRunsOutAndTheNextStageFollows) {
  static int loads = 0;
  loads = 0;
  gStageLinks.loadEnemyTable = [](int32_t) { ++loads; };
  begin(9);
  EXPECT_EQ(gGame.stage, 2);  // restored from the record
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING);
  EXPECT_EQ(loads, 1);
  runToEnd(400);
  EXPECT_FALSE(scene->running);
  // The clear bonus is paid here too.
  EXPECT_EQ(gGame.score, 100 + 20000000);
  EXPECT_EQ(successor(), "stage");
  EXPECT_EQ(gInput.replay.stageIndex, 1);
  EXPECT_EQ(gGame.stage, 2);
}

TEST_F(ReplayStageTest, AfterTheLastRecordTheReplayListFollows) {
  gInput.replay.stageIndex = 1;
  begin(2);
  EXPECT_EQ(gGame.stage, 3);
  runToEnd(400);
  EXPECT_EQ(successor(), "replay list");
}

TEST_F(ReplayStageTest, GameOverDuringPlaybackContinuesAtOnce) {
  begin(2);
  frame();
  gGame.score = 5555;
  loseLastLife();
  frame();
  EXPECT_TRUE(gRecorded.menusOpened.empty());
  EXPECT_TRUE(scene->running);
  EXPECT_EQ(gGame.continuesUsed, 1);
  EXPECT_EQ(gGame.score, 0);
  EXPECT_EQ(ship().lives, 2);
  EXPECT_EQ(ship().power, 250);
  EXPECT_EQ(ship().chargeGauge, kChargeGaugeMax);
  EXPECT_EQ(scene->field->options[3].dead, 0);
}

TEST_F(ReplayStageTest, WatchingAReplayLeavesTheRecordsAlone) {
  gInput.replay.stageIndex = 1;
  begin(2);
  const int32_t bestBefore = gGame.scoreData.bestScore[gGame.ScoreSlot()];
  gGame.AddScore(900000000);
  finish();
  EXPECT_EQ(gGame.scoreData.bestScore[gGame.ScoreSlot()], bestBefore);
  EXPECT_NE(bestBefore, gGame.score);
  EXPECT_FALSE(std::filesystem::exists("score.dat"));
}

TEST_F(StageSceneTest, EachStageStartsWithFreshWeaponTimers) {
  gMainShotTimer = 3;
  gOptionShotTimer = 7;
  gOptionLaserTimer = -40;
  begin(2);
  EXPECT_EQ(gMainShotTimer, 0);
  EXPECT_EQ(gOptionShotTimer, 0);
  EXPECT_EQ(gOptionLaserTimer, 0);
}

TEST_F(StageSceneTest, ScriptHooksReachTheHudAndTheConversation) {
  begin(1);
  scene->showBossName(2);
  EXPECT_EQ(scene->bossTitleNumber(), 2);
  EXPECT_TRUE(scene->scoreBoard->bossName->visible);
  scene->showStageTitle();
  EXPECT_TRUE(scene->scoreBoard->stageTitle1->visible);
  scene->fieldFade(0, 255, 30.0f);
  EXPECT_TRUE(scene->stageSprites->fieldFade->visible);
  EXPECT_FLOAT_EQ(scene->stageSprites->fieldFade->speed, 8.5f);
  // The stand-in conversation ends in the frame it started, as a missing file does.
  scene->startConversation(5);
  EXPECT_TRUE(scene->conversationMode());
  frame();
  EXPECT_FALSE(scene->conversationMode());
}

}  // namespace
