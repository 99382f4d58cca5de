// The result screen: its rows, the play time, the Extra rule and where OK
// leads (the name entry for a ranking place, else the replay question).
#include <string>
#include <vector>

#include "app/Sjis.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "scenes/Scene_ReplaySave.h"
#include "scenes/Scene_Result.h"
#include "scenes/Scene_ScoreText.h"
#include "scenes/Scene_Score_Entry.h"
#include "test_title_fixture.h"

namespace {

// A ranking table whose rows hold the given scores (rows made at time 1).
void FillRanking(int slot, std::vector<int32_t> scores) {
  for (size_t i = 0; i < scores.size(); ++i) {
    gGame.scoreData.ranking[slot][i].score = scores[i];
    gGame.scoreData.ranking[slot][i].time = 1;
  }
}

class ResultTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (result.background) result.terminate();
    delete result.next;
    result.next = nullptr;
    FrontSceneTest::TearDown();
  }
  Scene_Result result;
};

}  // namespace

TEST(RankingPlace, ATieGoesBelowAndZeroNeverEnters) {
  ScoreEntry rows[kRankingRows] = {};
  EXPECT_EQ(RankingPlace(rows, 0), -1);  // an empty table, a zero score
  EXPECT_EQ(RankingPlace(rows, 1), 0);
  for (int i = 0; i < kRankingRows; ++i) rows[i].score = 1000 - 100 * i;  // 1000 .. 100
  EXPECT_EQ(RankingPlace(rows, 100), -1);                                 // equal to the tenth row
  EXPECT_EQ(RankingPlace(rows, 101), 9);
  EXPECT_EQ(RankingPlace(rows, 1000), 1);  // equal to the best: below it
  EXPECT_EQ(RankingPlace(rows, 1001), 0);
  EXPECT_EQ(RankingPlace(rows, 550), 5);
  // Signed comparison: a negative row is beaten by zero.
  rows[9].score = -5;
  EXPECT_EQ(RankingPlace(rows, 0), 9);
}

TEST_F(ResultTest, ShowsElevenRowsOfTheGameAndStopsTheMusic) {
  gGame.difficulty = DIFFICULTY_APOCRYPHA;
  gGame.chargeType = CHARGE_LASER;
  gGame.stage = 20;
  gGame.score = 123456;
  gGame.enemiesDestroyed = 10;
  gGame.itemsCollected = 11;
  gGame.grazes = 12;
  gGame.bulletsCancelled = 13;
  gGame.bombsUsed = 14;
  gGame.misses = 15;
  gGame.continuesUsed = 16;
  gGame.startFrame = 100;
  // 1 hour, 2 minutes, 3 seconds and 59 frames.
  gGraphics.frameCount = 100 + 216000 + 2 * 3600 + 3 * 60 + 59;
  gSound.bgmIndex = 4;
  gSound.bgmHandle = 9;
  Begin(result);

  EXPECT_EQ(result.values->rows,
            (std::vector<std::string>{"Apocrypha", "Laser type", "123456", "10", "11", "12", "13",
                                      "14", "15", "16", "01:02:03"}));
  ASSERT_EQ(result.labels->rows.size(), 11u);
  EXPECT_EQ(result.labels->rows[0], Sjis("難易度"));
  EXPECT_EQ(result.labels->rows[10], Sjis("プレイ時間"));
  EXPECT_EQ(result.heading->text, "Result");
  EXPECT_EQ(result.values->cursor, -1);
  EXPECT_FALSE(result.values->framed);
  EXPECT_EQ(gSound.bgmIndex, -1);
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_APOCRYPHA);
}

TEST_F(ResultTest, HoursAreNotLimitedToTwoDigits) {
  gGame.startFrame = 0;
  gGraphics.frameCount = 216000u * 123 + 59;
  Begin(result);
  EXPECT_EQ(result.values->rows.back(), "123:00:00");
}

TEST_F(ResultTest, TheExtraStageShowsAndRanksAsExtra) {
  for (int32_t stage : {7, 12}) {
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.chargeType = CHARGE_SHIELD;
    gGame.stage = stage;
    gGame.score = 500;
    gGame.scoreData.Reset();
    // The Normal table is full of better scores; the Extra one is empty.
    FillRanking(0 + 2 * (DIFFICULTY_NORMAL - 1), std::vector<int32_t>(10, 9999));
    Scene_Result scene;
    Begin(scene);
    EXPECT_EQ(scene.values->rows[0], "Extra") << stage;
    EXPECT_EQ(gGame.difficulty, DIFFICULTY_EXTRA);
    Press(scene, KEY_Z);
    auto* entry = dynamic_cast<Scene_Score_Entry*>(scene.next);
    ASSERT_NE(entry, nullptr) << stage;
    EXPECT_EQ(entry->place, 0);
    scene.terminate();
    delete scene.next;
  }
}

TEST_F(ResultTest, OkLeadsToTheNameEntryForAPlaceElseToTheReplayQuestion) {
  gGame.difficulty = DIFFICULTY_NORMAL;
  gGame.chargeType = CHARGE_LASER;
  gGame.stage = 20;
  const int slot = 1 + 2 * (DIFFICULTY_NORMAL - 1);
  FillRanking(slot, {900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
  gGame.score = 650;
  Begin(result);
  Step(result);
  EXPECT_EQ(result.next, nullptr);
  Press(result, KEY_X);  // Cancel does nothing
  EXPECT_FALSE(result.leaving);
  Press(result, KEY_Z);
  EXPECT_TRUE(result.leaving);
  EXPECT_TRUE(Requested(SE_OK));
  auto* entry = dynamic_cast<Scene_Score_Entry*>(result.next);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->place, 3);
  EXPECT_GT(FramesUntilDone(result), 0);

  // Leaving rewrites "score.dat".
  std::filesystem::remove("score.dat");
  result.terminate();
  EXPECT_EQ(std::filesystem::file_size("score.dat"), kScoreFileSize);

  // A score equal to the tenth row goes to the replay question.
  gGame.score = 50;
  Scene_Result second;
  Begin(second);
  Press(second, KEY_Z);
  EXPECT_NE(dynamic_cast<Scene_ReplaySave*>(second.next), nullptr);
  second.terminate();
  delete second.next;
}

TEST_F(ResultTest, WatchingAReplayNeverWritesTheRecords) {
  ScoreData::replayPlayback = true;
  Begin(result);
  result.terminate();
  EXPECT_FALSE(std::filesystem::exists("score.dat"));
  ScoreData::replayPlayback = false;
}
