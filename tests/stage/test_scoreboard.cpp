// The HUD: number formats, the panel following the ship, the charge gauge's
// look, the boss name and bar, and the two title card timelines.
#include <gtest/gtest.h>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Resources.h"
#include "app/Sjis.h"
#include "display/TestImage.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/Object_Boss.h"
#include "objects/Object_Player.h"
#include "stage/Spriteset_ScoreBoard.h"

namespace {

class ScoreBoardTest : public ::testing::Test {
 protected:
  Object_Player ship;
  Object_Boss boss;
  std::unique_ptr<Spriteset_ScoreBoard> board;

  void SetUp() override {
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.stage = 3;
    board = std::make_unique<Spriteset_ScoreBoard>();
    board->player = &ship;
    board->setUpFontsAndLabels();
    board->boss = &boss;
    ship.setPosition(192, 300);
  }
  void TearDown() override {
    board.reset();
    EngineEnd();
  }

  // Runs the board until the stage card's clock has shown value c.
  void runStageCardTo(int32_t c) {
    while (board->stageTitleClock <= c) board->update();
  }
  void runBossCardTo(int32_t c) {
    while (board->bossTitleClock <= c) board->update();
  }
};

TEST(ScoreBoardFormats, TenDigitScoresAndMaxPower) {
  EXPECT_EQ(ScoreText(1234), "0000001234");
  EXPECT_EQ(ScoreText(0), "0000000000");
  EXPECT_EQ(ScoreText(2147483647), "2147483647");
  EXPECT_EQ(PowerText(249), "249");
  EXPECT_EQ(PowerText(0), "0");
  EXPECT_EQ(PowerText(250), "MAX");
}

TEST(ScoreBoardFormats, TextsOfTheTables) {
  EXPECT_EQ(StageTitleLine(1, 1), "STAGE  1");
  EXPECT_EQ(StageTitleLine(1, 2), Sjis("「冥王星独立決戦基地」"));
  EXPECT_EQ(StageTitleLine(7, 1), "Extra Stage");
  EXPECT_EQ(StageTitleLine(7, 2), Sjis("「天」"));
  EXPECT_EQ(BossTitleLine(3, 2), Sjis("夜皇「ツクヨミ」"));
  EXPECT_EQ(BossTitleLine(7, 2), Sjis("「アングラマインユ・アフラマズダ」"));
  EXPECT_EQ(StageTitleLine(8, 1), "");
  // The game text is Shift-JIS: the corner bracket is 0x81 0x75.
  EXPECT_EQ(StageTitleLine(4, 2).substr(0, 2), "\x81\x75");
  EXPECT_EQ(BossNameText(2), "Gram");
  EXPECT_EQ(BossNameText(14), "AngraMainyu AhuraMazda");
  EXPECT_EQ(BossNameText(7), "");
  EXPECT_EQ(DifficultyText(1), "Easy");
  EXPECT_EQ(DifficultyText(5), "Apocrypha");
  EXPECT_EQ(DifficultyText(6), "Extra");
  EXPECT_EQ(DifficultyText(2), "Extra");
}

TEST_F(ScoreBoardTest, PanelFollowsTheGame) {
  gGame.score = 1234;
  gGame.hiScore = 99999;
  ship.lives = 3;
  ship.bombs = 1;
  ship.power = 250;
  ship.points = 512;
  board->update();
  EXPECT_EQ(board->scoreValue->text, "0000001234");
  EXPECT_EQ(board->hiScoreValue->text, "0000099999");
  EXPECT_EQ(board->powerValue->text, "MAX");
  EXPECT_EQ(board->pointValue->text, "512");
  EXPECT_EQ(board->lifeIcons->count, 3);
  EXPECT_EQ(board->bombIcons->count, 1);
  EXPECT_EQ(board->difficultyLabel->text, "Normal");
  EXPECT_EQ(board->labels[0]->text, "HiScore");
  EXPECT_EQ(board->labels[5]->y, 170);
  EXPECT_EQ(board->panel->x, 430);
  EXPECT_EQ(board->panel->z, 10);
  EXPECT_EQ(board->overlay->z, 2000);
  EXPECT_TRUE(board->scoreValue->outline);
}

TEST_F(ScoreBoardTest, GaugeTurnsTranslucentNearTheBottomAndReddensWhenLow) {
  ship.chargeGauge = 3500;
  ship.setPosition(192, 400);
  board->update();
  EXPECT_EQ(board->chargeGauge->blendParam, 255);
  EXPECT_EQ(board->chargeGauge->value, 3500);
  EXPECT_EQ(board->chargeGauge->green, 255);
  ship.setPosition(192, 401);
  ship.chargeGauge = 3499;
  board->update();
  EXPECT_EQ(board->chargeGauge->blendParam, 130);
  EXPECT_EQ(board->chargeGauge->red, 255);
  EXPECT_EQ(board->chargeGauge->green, 100);
  EXPECT_EQ(board->chargeGauge->blue, 100);
  EXPECT_EQ(board->chargeGauge->fillWidth, 112);
  EXPECT_EQ(board->chargeGauge->fillX, 8);
  EXPECT_EQ(board->chargeGauge->fillY, 14);
}

TEST_F(ScoreBoardTest, BossNameAndBar) {
  boss.hitPoints = 800;
  boss.maxHitPoints = 1000;
  board->showBossName(6, true);
  board->update();
  EXPECT_EQ(board->bossName->text, "Tsukuyomi");
  EXPECT_TRUE(board->bossName->visible);
  EXPECT_TRUE(board->bossBar->visible);
  EXPECT_EQ(board->bossBar->value, 800);
  EXPECT_EQ(board->bossBar->maximum, 1000);
  // Numbers outside the table keep the previous name.
  board->showBossName(15, true);
  EXPECT_EQ(board->bossName->text, "Tsukuyomi");
  board->showBossName(0, true);
  EXPECT_EQ(board->bossName->text, "Tsukuyomi");
  board->showBossName(5, true);
  EXPECT_EQ(board->bossName->text, "");
  // Beaten: name and bar go.
  boss.hitPoints = 0;
  board->update();
  EXPECT_FALSE(board->bossName->visible);
  EXPECT_FALSE(board->bossBar->visible);
}

TEST_F(ScoreBoardTest, StageTitleTimeline) {
  board->showStageTitle();
  Sprite_String& l1 = *board->stageTitle1;
  Sprite_String& l2 = *board->stageTitle2;
  EXPECT_EQ(l1.text, "STAGE  3");
  EXPECT_EQ(l2.text, Sjis("「月面最終防衛ライン」"));
  EXPECT_TRUE(l1.visible);
  EXPECT_EQ(l1.blendParam, 0);
  runStageCardTo(0);
  EXPECT_EQ(l1.x, 67);
  EXPECT_EQ(l1.blendParam, 0);
  runStageCardTo(29);
  EXPECT_EQ(l1.x, 96);
  EXPECT_EQ(l1.blendParam, 246);
  EXPECT_EQ(l2.blendParam, 0);
  runStageCardTo(30);
  EXPECT_EQ(l1.blendParam, 255);
  runStageCardTo(90);
  EXPECT_EQ(l2.y, 209);
  EXPECT_EQ(l2.blendParam, 0);
  runStageCardTo(119);
  EXPECT_EQ(l2.y, 180);
  EXPECT_EQ(l2.blendParam, 246);
  runStageCardTo(359);
  EXPECT_EQ(l2.blendParam, 255);
  runStageCardTo(360);
  EXPECT_EQ(l2.blendParam, 255);
  EXPECT_EQ(l1.blendParam, 255);
  runStageCardTo(419);
  EXPECT_EQ(l2.blendParam, 4);
  EXPECT_EQ(l1.blendParam, 4);
  EXPECT_TRUE(l1.visible);
  runStageCardTo(420);
  EXPECT_FALSE(l1.visible);
  EXPECT_FALSE(l2.visible);
  // Over: the clock stops with the card.
  const int32_t stopped = board->stageTitleClock;
  board->update();
  EXPECT_EQ(board->stageTitleClock, stopped);
}

TEST_F(ScoreBoardTest, ShowingTheTitleAgainRestartsIt) {
  board->showStageTitle();
  runStageCardTo(200);
  board->showStageTitle();
  EXPECT_EQ(board->stageTitleClock, 0);
  EXPECT_EQ(board->stageTitle1->blendParam, 0);
  board->update();
  EXPECT_EQ(board->stageTitle1->x, 67);
}

TEST_F(ScoreBoardTest, BossTitleLineOneStaysPutAndBothCardsRunTogether) {
  board->showStageTitle();
  board->showBossTitle();
  Sprite_String& b1 = *board->bossTitle1;
  Sprite_String& b2 = *board->bossTitle2;
  EXPECT_EQ(b1.text, Sjis("第三模倣神器"));
  runBossCardTo(10);
  EXPECT_EQ(b1.x, 42);
  EXPECT_EQ(b1.blendParam, 85);
  EXPECT_EQ(board->stageTitle1->x, 77);
  runBossCardTo(100);
  EXPECT_EQ(b2.y, 199);
  EXPECT_EQ(board->stageTitle2->y, 199);
  runBossCardTo(420);
  EXPECT_FALSE(b1.visible);
  EXPECT_FALSE(board->stageTitle1->visible);
}

// The Extra boss's name is too long for the field in the card's large face:
// it takes the smaller one and shows whole; the other bosses keep the large.
TEST_F(ScoreBoardTest, BossTitleTooWideForTheFieldTakesTheSmallerFace) {
  LoadFonts();
  board->setUpFontsAndLabels();
  for (int32_t stage : {6, 7, 6}) {
    SCOPED_TRACE(stage);
    gGame.stage = stage;
    board->showBossTitle();
    const Sprite_String& name = *board->bossTitle2;
    EXPECT_EQ(name.image, stage == 7 ? FontGothic20 : FontMincho30);
    EXPECT_LE(MeasureText(name.text.c_str(), name.image), 384);
  }
  EXPECT_GT(MeasureText(BossTitleLine(7, 2).c_str(), FontMincho30), 384);
}

TEST_F(ScoreBoardTest, DrawsTheFilledGaugeAndIcons) {
  ItemImages[2] = testimage::Make(16, 8);
  ChargeBarImage = testimage::Make(16, 8);
  board->setUpFontsAndLabels();
  ship.lives = 2;
  ship.chargeGauge = 5000;
  board->update();
  gGraphics.fade->visible = false;
  engine::headless::ClearDraws();
  board->overlay->draw(0, 0);
  board->panel->draw(0, 0);
  int stretched = 0;
  int icons = 0;
  for (const auto& call : engine::headless::Draws()) {
    if (call.op == engine::headless::DrawOp::Stretched) {
      ++stretched;
      EXPECT_EQ(call.args[0], 32 + 8);
      EXPECT_EQ(call.args[2], 32 + 8 + 56);  // half of 112
    }
    if (call.op == engine::headless::DrawOp::Image && call.handle == ItemImages[2]) ++icons;
  }
  EXPECT_EQ(stretched, 1);
  EXPECT_EQ(icons, 2);
  ItemImages[2] = 0;
  ChargeBarImage = 0;
}

}  // namespace
