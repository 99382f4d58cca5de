// Module_Game: new game, recording a result, scoring and play time.
#include <gtest/gtest.h>

#include "app/Module_Game.h"

namespace {

TEST(GameStatus, NewGameTakesTheSlotsBestScoreAndResetsThePerGameFields) {
  Module_Game g;
  g.difficulty = DIFFICULTY_NORMAL;
  g.chargeType = CHARGE_LASER;
  g.scoreData.bestScore[5] = 123456;
  g.scoreData.bestScore[4] = 999;
  g.stage = 4;
  g.score = 5000;
  g.lives = 0;
  g.bombs = 7;
  g.power = 250;
  g.points = 300;
  g.continuesUsed = 2;
  g.grazes = g.misses = g.enemiesDestroyed = g.bombsUsed = 9;
  g.itemsCollected = g.bulletsCancelled = 9;
  g.startFrame = 777;
  g.cleared = true;
  g.NewGame();
  EXPECT_EQ(g.ScoreSlot(), 5);
  EXPECT_EQ(g.hiScore, 123456);
  EXPECT_EQ(g.stage, 1);
  EXPECT_EQ(g.score, 0);
  EXPECT_EQ(g.lives, 2);
  EXPECT_EQ(g.bombs, 2);
  EXPECT_EQ(g.power, 0);
  EXPECT_EQ(g.points, 0);
  EXPECT_EQ(g.continuesUsed + g.grazes + g.misses + g.enemiesDestroyed + g.bombsUsed +
                g.itemsCollected + g.bulletsCancelled,
            0);
  EXPECT_EQ(g.startFrame, 0u);
  EXPECT_FALSE(g.cleared);
  EXPECT_EQ(g.difficulty, DIFFICULTY_NORMAL);  // the choices stay
  EXPECT_EQ(g.chargeType, CHARGE_LASER);
}

TEST(GameStatus, ScoreSlotsOfEveryDifficultyAndChargeType) {
  Module_Game g;
  const int expected[][3] = {{1, 0, 0}, {1, 1, 1}, {3, 0, 4},  {3, 1, 5},
                             {5, 0, 8}, {5, 1, 9}, {6, 0, 10}, {6, 1, 11}};
  for (const auto& e : expected) {
    g.difficulty = e[0];
    g.chargeType = e[1];
    EXPECT_EQ(g.ScoreSlot(), e[2]);
  }
  g.difficulty = 7;  // no such slot: nothing is read or written out of bounds
  EXPECT_EQ(g.ScoreSlot(), -1);
  g.hiScore = 5;
  g.RecordResult();
  g.NewGame();
  EXPECT_EQ(g.hiScore, 0);
}

TEST(GameStatus, RecordResultEasyNeverUnlocksExtra) {
  Module_Game g;
  g.difficulty = DIFFICULTY_EASY;
  g.chargeType = CHARGE_SHIELD;
  g.hiScore = 4200;
  g.cleared = true;
  g.RecordResult();
  EXPECT_EQ(g.scoreData.bestScore[0], 4200);
  EXPECT_EQ(g.scoreData.clearCount[0], 1);
  EXPECT_EQ(g.scoreData.extraUnlocked, 0);
}

TEST(GameStatus, RecordResultNormalUnlocksExtraOnlyWithoutContinues) {
  Module_Game g;
  g.difficulty = DIFFICULTY_NORMAL;
  g.chargeType = CHARGE_SHIELD;
  g.hiScore = 100;
  g.cleared = true;
  g.continuesUsed = 1;
  g.RecordResult();
  EXPECT_EQ(g.scoreData.clearCount[4], 1);
  EXPECT_EQ(g.scoreData.extraUnlocked, 0);
  g.continuesUsed = 0;
  g.RecordResult();
  EXPECT_EQ(g.scoreData.clearCount[4], 2);
  EXPECT_EQ(g.scoreData.extraUnlocked, 1);
}

TEST(GameStatus, RecordResultOfAnUnclearedGameOnlyStoresTheBestScore) {
  Module_Game g;
  g.difficulty = DIFFICULTY_APOCRYPHA;
  g.chargeType = CHARGE_LASER;
  g.hiScore = 77;
  g.RecordResult();
  EXPECT_EQ(g.scoreData.bestScore[9], 77);
  EXPECT_EQ(g.scoreData.clearCount[9], 0);
  EXPECT_EQ(g.scoreData.extraUnlocked, 0);
}

TEST(GameStatus, AddScoreRaisesTheHiScoreWithIt) {
  Module_Game g;
  g.hiScore = 1000;
  g.AddScore(600);
  EXPECT_EQ(g.score, 600);
  EXPECT_EQ(g.hiScore, 1000);
  g.AddScore(400);  // equal: nothing to raise yet
  EXPECT_EQ(g.hiScore, 1000);
  g.AddScore(10);
  EXPECT_EQ(g.score, 1010);
  EXPECT_EQ(g.hiScore, 1010);
}

TEST(GameStatus, ScoreStopsAtTheLargest32BitValue) {
  Module_Game g;
  g.score = 2147483000;
  g.AddScore(1000);
  EXPECT_EQ(g.score, 2147483647);
  EXPECT_EQ(g.hiScore, 2147483647);
  g.AddScore(2147483647);
  EXPECT_EQ(g.score, 2147483647);
  EXPECT_GT(g.hiScore, 0);
  g.score = 2147483646;
  g.AddScore(1);
  EXPECT_EQ(g.score, 2147483647);
}

TEST(GameStatus, PlayTimeAsHoursMinutesSeconds) {
  EXPECT_EQ(FormatPlayTime(3725 * 60), "01:02:05");
  EXPECT_EQ(FormatPlayTime(0), "00:00:00");
  EXPECT_EQ(FormatPlayTime(59), "00:00:00");  // whole seconds only
  EXPECT_EQ(FormatPlayTime(3600 * 60 - 1), "00:59:59");
  EXPECT_EQ(FormatPlayTime(100 * 216000 + 61 * 60), "100:01:01");  // hours keep growing
  Module_Game g;
  g.startFrame = 1000;
  EXPECT_EQ(g.PlayTimeText(1000 + 3725 * 60), "01:02:05");
  // The frame counter may wrap between the start and now.
  g.startFrame = 0xFFFFFFFFu - 59;
  EXPECT_EQ(g.PlayTimeText(60), "00:00:02");
}

}  // namespace
