// The ranking pages: the row format, paging through difficulties and charge
// types, and how the screen is left.
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "scenes/Scene_Score.h"
#include "scenes/Scene_ScoreText.h"
#include "scenes/Scene_Title.h"
#include "test_title_fixture.h"

namespace {

// Dates in the rows are local time; the tests pin the zone.
class UtcZone {
 public:
  UtcZone() {
    const char* tz = std::getenv("TZ");
    had_ = tz != nullptr;
    if (had_) old_ = tz;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  ~UtcZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

constexpr int64_t kNewYear2010At1305 = 1262304000 + 13 * 3600 + 5 * 60;

ScoreEntry Entry(const char* name, int32_t score, int64_t time) {
  ScoreEntry e{};
  e.score = score;
  e.time = time;
  std::strncpy(e.name, name, sizeof e.name - 1);
  return e;
}

class ScoreTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (scene && scene->table) scene->terminate();
    if (scene) delete scene->next;
    delete scene;
    FrontSceneTest::TearDown();
  }
  void Open(int32_t difficulty, int32_t chargeType, bool fromTitle) {
    scene = new Scene_Score(difficulty, chargeType, fromTitle);
    Begin(*scene);
    Step(*scene);
  }
  Scene_Score* scene = nullptr;
};

}  // namespace

TEST(ScoreRows, ANamedRowLinesUpPlaceNameScoreAndDate) {
  UtcZone utc;
  EXPECT_EQ(RankingRowText(1, Entry("ABC", 500, kNewYear2010At1305)),
            "01  ABC                   500     2010/01/01 13:05");
  // Place, two blanks, 14 name columns, a blank, 10 score columns, a blank,
  // and the date right-aligned in 20.
  const std::string row = RankingRowText(10, Entry("EIGHTCHR", 2147483647, kNewYear2010At1305));
  EXPECT_EQ(row.substr(0, 4), "10  ");
  EXPECT_EQ(row.substr(4, 14), "EIGHTCHR      ");
  EXPECT_EQ(row.substr(19, 10), "2147483647");
  EXPECT_EQ(row.size(), 4u + 14 + 1 + 10 + 1 + 20);
}

TEST(ScoreRows, AnUnusedRowShowsDashesAndAnUnterminatedNameStaysInItsField) {
  EXPECT_EQ(RankingRowText(3, Entry("", 0, 0)),
            "03  --------     ------------     ----/--/-- --:--");
  // A row with a score but time 0 is empty all the same.
  EXPECT_EQ(RankingRowText(3, Entry("ZED", 700, 0)), RankingRowText(3, Entry("", 0, 0)));
  UtcZone utc;
  ScoreEntry full = Entry("", 1, kNewYear2010At1305);
  std::memset(full.name, 'Q', sizeof full.name);
  const std::string row = RankingRowText(2, full);
  EXPECT_EQ(row.substr(4, 16), std::string(16, 'Q'));
  EXPECT_LT(row.size(), 128u);
}

TEST(ScoreRows, DifficultyPagesGoRound) {
  EXPECT_EQ(Scene_Score::NextDifficultyPage(1), 3);
  EXPECT_EQ(Scene_Score::NextDifficultyPage(3), 5);
  EXPECT_EQ(Scene_Score::NextDifficultyPage(5), 6);
  EXPECT_EQ(Scene_Score::NextDifficultyPage(6), 1);
  EXPECT_EQ(Scene_Score::PreviousDifficultyPage(1), 6);
  EXPECT_EQ(Scene_Score::PreviousDifficultyPage(6), 5);
  EXPECT_EQ(Scene_Score::PreviousDifficultyPage(5), 3);
  EXPECT_EQ(Scene_Score::PreviousDifficultyPage(3), 1);
}

TEST_F(ScoreTest, AFreshFileShowsTenPlaceholderRowsOnEveryPage) {
  Open(DIFFICULTY_EASY, CHARGE_SHIELD, true);
  EXPECT_EQ(scene->table->text, "Easy / Shield type");
  ASSERT_EQ(scene->table->rows.size(), 10u);
  EXPECT_EQ(scene->table->rows[0].substr(0, 4), "01  ");
  EXPECT_EQ(scene->table->rows[9], "10  --------     ------------     ----/--/-- --:--");
  EXPECT_EQ(scene->heading->text, "Scores");
  EXPECT_EQ(scene->table->cursor, -1);
}

TEST_F(ScoreTest, ArrowsPageThroughDifficultiesAndChargeTypes) {
  UtcZone utc;
  const int extraLaser = 1 + 2 * (DIFFICULTY_EXTRA - 1);
  gGame.scoreData.ranking[extraLaser][0] = Entry("ABC", 500, kNewYear2010At1305);
  Open(DIFFICULTY_EASY, CHARGE_SHIELD, true);

  Press(*scene, KEY_UP);
  EXPECT_EQ(scene->table->text, "Extra / Shield type");
  EXPECT_TRUE(Requested(SE_SELECT));
  Press(*scene, KEY_RIGHT);
  EXPECT_EQ(scene->table->text, "Extra / Laser type");
  EXPECT_EQ(scene->table->rows[0], RankingRowText(1, gGame.scoreData.ranking[extraLaser][0]));
  EXPECT_EQ(scene->table->rows.size(), 10u);  // rebuilt, not appended
  Press(*scene, KEY_LEFT);
  EXPECT_EQ(scene->table->text, "Extra / Shield type");
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->table->text, "Easy / Shield type");
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->table->text, "Normal / Shield type");
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->table->text, "Apocrypha / Shield type");

  // One change a frame: Left and Down together only switch the charge type.
  Press(*scene, {KEY_LEFT, KEY_DOWN});
  EXPECT_EQ(scene->table->text, "Apocrypha / Laser type");
  // Nothing pressed, nothing changes and nothing sounds.
  Step(*scene);
  EXPECT_FALSE(Requested(SE_SELECT));
}

TEST_F(ScoreTest, FromTheTitleCancelLeavesAndOkDoesNot) {
  Open(DIFFICULTY_EASY, CHARGE_SHIELD, true);
  Press(*scene, KEY_Z);
  EXPECT_FALSE(scene->leaving);
  Press(*scene, KEY_X);
  EXPECT_TRUE(scene->leaving);
  EXPECT_TRUE(Requested(SE_CANCEL));
  auto* title = dynamic_cast<Scene_Title*>(scene->next);
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->fadeInAtStart);
  // No paging while the screen closes.
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->difficultyPage, DIFFICULTY_EASY);
  EXPECT_GT(FramesUntilDone(*scene), 0);
}

TEST_F(ScoreTest, AfterAGameOkLeavesAndCancelDoesNot) {
  Open(DIFFICULTY_APOCRYPHA, CHARGE_LASER, false);
  EXPECT_EQ(scene->table->text, "Apocrypha / Laser type");
  Press(*scene, KEY_X);
  EXPECT_FALSE(scene->leaving);
  Press(*scene, KEY_Z);
  EXPECT_TRUE(scene->leaving);
  EXPECT_TRUE(Requested(SE_OK));
  EXPECT_NE(dynamic_cast<Scene_Title*>(scene->next), nullptr);
}
