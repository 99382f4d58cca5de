// The replay question after a game and the replay list: file names, saving,
// listing, the information panel, the stage choice and starting playback.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Sjis.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "display/Sprite_Transition.h"
#include "persist/ReplayFile.h"
#include "scenes/Scene_Replay.h"
#include "scenes/Scene_ReplaySave.h"
#include "scenes/Scene_Score.h"
#include "scenes/Scene_Title.h"
#include "stage/Scene_Stage.h"
#include "test_title_fixture.h"

namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

// A record of `stages` stages with a few frames each.
ReplayRecord Record(int32_t difficulty, int32_t chargeType, int stages, int32_t score,
                    bool cleared) {
  ReplayRecord r;
  r.header = {difficulty, chargeType, 0, score, 1, 2, 3, cleared ? 1 : 0};
  for (int i = 0; i < stages; ++i) {
    ReplayStage s;
    s.start = {100 + i, i + 1, 2, 3, 10 * i, 0, 1000 * i};
    s.frames.assign(static_cast<size_t>(5 + i), InputSample{0x04, 0x00});
    r.stages.push_back(s);
  }
  return r;
}

// A number followed by a unit of game text, as the panel shows it.
std::string WithUnit(const char* number, const char* unitUtf8) {
  std::string text(number);
  text += Sjis(unitUtf8);
  return text;
}

void SaveRecord(const std::string& name, ReplayRecord r) {
  std::filesystem::create_directories("replay");
  ASSERT_TRUE(WriteReplay(("replay/" + name).c_str(), r));
}

class ReplaySaveTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (scene.background) scene.terminate();
    delete scene.next;
    scene.next = nullptr;
    FrontSceneTest::TearDown();
  }
  void Open() {
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.chargeType = CHARGE_LASER;
    gInput.replay = Record(DIFFICULTY_NORMAL, CHARGE_LASER, 3, 777, false);
    Begin(scene);
    Step(scene);
  }
  Scene_ReplaySave scene;
};

class ReplayListTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (list) {
      if (list->background) list->terminate();
      delete list->next;
      delete list;
    }
    ScoreData::replayPlayback = false;
    FrontSceneTest::TearDown();
  }
  void Open() {
    list = new Scene_Replay();
    Begin(*list);
    Step(*list);
  }
  Scene_Replay* list = nullptr;
};

}  // namespace

TEST(ReplayFileName, TellsTimeDifficultyChargeTypeAndProgress) {
  const std::tm t = At(2009, 12, 31, 23, 59, 58);
  EXPECT_EQ(Scene_ReplaySave::FileName(t, DIFFICULTY_NORMAL, CHARGE_LASER, false, 3),
            "091231_235958_Normal_Laser_Stage3.vmr");
  EXPECT_EQ(Scene_ReplaySave::FileName(t, DIFFICULTY_EASY, CHARGE_SHIELD, true, 6),
            "091231_235958_Easy_Shield_Clear.vmr");
  EXPECT_EQ(Scene_ReplaySave::FileName(t, DIFFICULTY_APOCRYPHA, CHARGE_SHIELD, false, 1),
            "091231_235958_Apocrypha_Shield_Stage1.vmr");
  // The Extra game: no stage part unless cleared.
  EXPECT_EQ(Scene_ReplaySave::FileName(t, DIFFICULTY_EXTRA, CHARGE_LASER, false, 1),
            "091231_235958_Extra_Laser.vmr");
  EXPECT_EQ(Scene_ReplaySave::FileName(t, DIFFICULTY_EXTRA, CHARGE_SHIELD, true, 1),
            "091231_235958_Extra_Shield_Clear.vmr");
  // An unknown difficulty reads as Extra, yet only the real Extra game drops
  // the stage part.
  EXPECT_EQ(Scene_ReplaySave::FileName(At(2010, 1, 2, 3, 4, 5), 4, 1, false, 12),
            "100102_030405_Extra_Laser_Stage12.vmr");
}

TEST_F(ReplaySaveTest, NoGoesStraightToTheRankingOfTheGame) {
  Open();
  EXPECT_EQ(scene.question->text, Sjis("リプレイを保存しますか？"));
  EXPECT_FALSE(scene.message->visible);
  Press(scene, KEY_DOWN);
  Press(scene, KEY_Z);
  EXPECT_TRUE(scene.leaving);
  auto* score = dynamic_cast<Scene_Score*>(scene.next);
  ASSERT_NE(score, nullptr);
  EXPECT_EQ(score->difficultyPage, DIFFICULTY_NORMAL);
  EXPECT_EQ(score->chargeTypePage, CHARGE_LASER);
  EXPECT_EQ(score->openedFromTitle, 0);
  EXPECT_FALSE(std::filesystem::exists("replay"));
}

TEST_F(ReplaySaveTest, YesWritesTheFileShowsItsNameAndTheNextOkLeaves) {
  Open();
  const std::time_t before = std::time(nullptr);
  Press(scene, KEY_Z);
  EXPECT_TRUE(scene.saved);
  EXPECT_FALSE(scene.leaving);
  EXPECT_TRUE(Requested(SE_OK));
  ASSERT_FALSE(scene.savedPath.empty());
  const std::string name = scene.savedPath.substr(std::string("replay/").size());
  EXPECT_EQ(name.substr(13), "_Normal_Laser_Stage3.vmr");
  // The name carries the local time of saving.
  std::tm local{};
  localtime_r(&before, &local);
  char day[16];
  std::strftime(day, sizeof day, "%y%m%d", &local);
  EXPECT_EQ(name.substr(0, 6), day);
  EXPECT_EQ(scene.message->text, name + Sjis(" に保存しました"));
  EXPECT_TRUE(scene.message->visible);
  ReplayRecord expected = gInput.replay;
  expected.header.stageCount = 3;
  const std::vector<uint8_t> bytes = ReplayToBytes(expected);
  EXPECT_EQ(ReadBytes(scene.savedPath), std::string(bytes.begin(), bytes.end()));

  // The question no longer moves; the next OK goes on whatever the row.
  Press(scene, KEY_DOWN);
  EXPECT_EQ(scene.question->cursor, 0);
  Press(scene, KEY_Z);
  EXPECT_TRUE(scene.leaving);
  EXPECT_NE(dynamic_cast<Scene_Score*>(scene.next), nullptr);
}

TEST_F(ReplaySaveTest, AnUnwritablePlaceSaysTheReplayWasNotSavedAndLeavesNoFile) {
  WriteBytes("replay", "not a directory");
  Open();
  Press(scene, KEY_Z);
  EXPECT_TRUE(scene.saved);
  EXPECT_TRUE(scene.message->visible);
  EXPECT_NE(scene.message->text.find(Sjis(" を保存できませんでした")), std::string::npos);
  EXPECT_EQ(ReadBytes("replay"), "not a directory");
  Press(scene, KEY_Z);
  EXPECT_TRUE(scene.leaving);
}

TEST_F(ReplayListTest, NoFilesShowNoDataAndEitherKeyReturnsToTheTitle) {
  Open();
  EXPECT_TRUE(list->empty);
  EXPECT_EQ(list->fileList->rows, std::vector<std::string>{"NO DATA"});
  EXPECT_EQ(list->fileList->cursor, -1);
  EXPECT_FALSE(list->infoLabels->visible);
  Press(*list, KEY_Z);
  EXPECT_TRUE(list->leaving);
  EXPECT_NE(dynamic_cast<Scene_Title*>(list->next), nullptr);
}

TEST_F(ReplayListTest, ListsReadableFilesAndShowsTheHeaderUnderTheCursor) {
  SaveRecord("100101_000000_Normal_Laser_Stage3.vmr",
             Record(DIFFICULTY_NORMAL, CHARGE_LASER, 3, 5000, false));
  SaveRecord("100102_000000_Easy_Shield_Clear.vmr",
             Record(DIFFICULTY_EASY, CHARGE_SHIELD, 6, 123456, true));
  SaveRecord("100103_000000_Extra_Laser.vmr", Record(DIFFICULTY_EXTRA, CHARGE_LASER, 1, 9, false));
  WriteBytes("replay/notes.txt", "not a replay");
  SaveRecord("100104_000000_Easy_Shield_Stage1.vmr",
             Record(DIFFICULTY_EASY, CHARGE_SHIELD, 1, 1, false));
  // Read-only files are listed: watching never writes them.
  chmod("replay/100104_000000_Easy_Shield_Stage1.vmr", 0444);

  Open();
  EXPECT_FALSE(list->empty);
  EXPECT_EQ(list->fileList->rows,
            (std::vector<std::string>{
                "100101_000000_Normal_Laser_Stage3.vmr", "100102_000000_Easy_Shield_Clear.vmr",
                "100103_000000_Extra_Laser.vmr", "100104_000000_Easy_Shield_Stage1.vmr"}));
  EXPECT_EQ(list->fileList->cursor, 0);
  EXPECT_EQ(list->infoLabels->text, "information");
  ASSERT_EQ(list->infoLabels->rows.size(), 7u);
  for (const std::string& label : list->infoLabels->rows) EXPECT_EQ(label.size(), 14u);
  EXPECT_EQ(
      list->infoValues->rows,
      (std::vector<std::string>{"Normal", "Stage 3", "Laser", WithUnit("5000", "点"),
                                WithUnit("3", "回"), WithUnit("2", "回"), WithUnit("1", "回")}));

  Press(*list, KEY_DOWN);
  EXPECT_EQ(list->infoValues->rows[0], "Easy");
  EXPECT_EQ(list->infoValues->rows[1], "Clear");
  EXPECT_EQ(list->infoValues->rows[2], "Shield");
  EXPECT_EQ(list->infoValues->rows[3], WithUnit("123456", "点"));
  Press(*list, KEY_DOWN);
  EXPECT_EQ(list->infoValues->rows[0], "Extra");
  EXPECT_EQ(list->infoValues->rows[1], "Stage Ex");
}

TEST_F(ReplayListTest, TheStageChoiceOffersTheRecordedStagesUnderADimmer) {
  SaveRecord("a.vmr", Record(DIFFICULTY_NORMAL, CHARGE_LASER, 3, 5000, false));
  SaveRecord("b.vmr", Record(DIFFICULTY_EXTRA, CHARGE_SHIELD, 1, 9, false));
  Open();
  Press(*list, KEY_Z);
  ASSERT_TRUE(list->stageChoice->visible);
  EXPECT_EQ(list->stageChoice->rows, (std::vector<std::string>{"Stage1", "Stage2", "Stage3"}));
  EXPECT_EQ(list->stageChoice->cursor, 0);
  EXPECT_TRUE(list->stageChoice->active);
  EXPECT_FALSE(list->fileList->active);
  EXPECT_TRUE(list->dimmer->visible);
  EXPECT_EQ(list->dimmer->target, 150);
  Step(*list);
  EXPECT_GT(list->dimmer->level, 0.0f);

  // Down moves the choice, not the list.
  Press(*list, KEY_DOWN);
  EXPECT_EQ(list->stageChoice->cursor, 1);
  EXPECT_EQ(list->fileList->cursor, 0);

  // Cancel closes the choice and lifts the dimmer; the list moves again.
  Press(*list, KEY_X);
  EXPECT_FALSE(list->leaving);
  EXPECT_FALSE(list->stageChoice->visible);
  EXPECT_TRUE(list->fileList->active);
  EXPECT_EQ(list->dimmer->target, 0);
  EXPECT_LT(list->dimmer->speed, 0.0f);
  Press(*list, KEY_DOWN);
  EXPECT_EQ(list->fileList->cursor, 1);

  // An Extra replay offers the single choice "Extra".
  Press(*list, KEY_Z);
  EXPECT_EQ(list->stageChoice->rows, std::vector<std::string>{"Extra"});

  // Cancel outside the choice returns to the title.
  Press(*list, KEY_X);
  Press(*list, KEY_X);
  EXPECT_TRUE(list->leaving);
  EXPECT_TRUE(Requested(SE_CANCEL));
  EXPECT_NE(dynamic_cast<Scene_Title*>(list->next), nullptr);
}

TEST_F(ReplayListTest, DamagedFilesAreListedAsDamagedAndOfferNothingToPlay) {
  ReplayRecord r = Record(DIFFICULTY_NORMAL, CHARGE_SHIELD, 2, 5, false);
  std::vector<uint8_t> bytes = ReplayToBytes(r);
  std::filesystem::create_directories("replay");
  // More stage records than a game holds.
  bytes[8] = 8;
  WriteBytes("replay/a.vmr", std::string(bytes.begin(), bytes.end()));
  // Shorter than a header, down to nothing at all.
  WriteBytes("replay/b.vmr", "");
  // A header that claims seven stages of which two are there.
  bytes[8] = 7;
  WriteBytes("replay/c.vmr", std::string(bytes.begin(), bytes.end()));
  // Only a header: nothing to play at all.
  WriteBytes("replay/d.vmr", std::string(bytes.begin(), bytes.begin() + 32));
  Open();
  for (int file = 0; file < 2; ++file) {
    EXPECT_EQ(list->infoValues->rows, std::vector<std::string>{"Damaged file"}) << file;
    Press(*list, KEY_Z);
    EXPECT_FALSE(list->stageChoice->visible);
    Press(*list, KEY_DOWN);
  }
  EXPECT_EQ(list->infoValues->rows[1], "Stage 7");
  Press(*list, KEY_Z);
  EXPECT_EQ(list->stageChoice->rows, (std::vector<std::string>{"Stage1", "Stage2"}));
  Press(*list, KEY_X);
  Press(*list, KEY_DOWN);
  Press(*list, KEY_Z);
  EXPECT_FALSE(list->stageChoice->visible);
  EXPECT_FALSE(list->leaving);
}

TEST_F(ReplayListTest, ChoosingAStageLoadsTheRecordForPlaybackFromThere) {
  SaveRecord("a.vmr", Record(DIFFICULTY_APOCRYPHA, CHARGE_LASER, 3, 5000, false));
  gInput.replayMode = REPLAY_RECORDING_SUSPENDED;
  // The menus last chose another slot; the replay's own best is what shows.
  gGame.difficulty = DIFFICULTY_EASY;
  gGame.chargeType = CHARGE_SHIELD;
  gGame.scoreData.bestScore[CHARGE_SHIELD + 2 * (DIFFICULTY_EASY - 1)] = 111;
  gGame.scoreData.bestScore[CHARGE_LASER + 2 * (DIFFICULTY_APOCRYPHA - 1)] = 999999;
  Open();
  EXPECT_EQ(gInput.replayMode, REPLAY_OFF);
  Press(*list, KEY_Z);
  Press(*list, KEY_DOWN);
  Press(*list, KEY_Z);
  EXPECT_TRUE(list->leaving);
  ASSERT_NE(dynamic_cast<Scene_Stage*>(list->next), nullptr);
  EXPECT_GT(FramesUntilDone(*list), 0);
  list->terminate();
  EXPECT_EQ(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
  EXPECT_EQ(gInput.replay.stageIndex, 1);
  ASSERT_EQ(gInput.replay.stages.size(), 3u);
  EXPECT_EQ(gInput.replay.stages[1].start.score, 1000);
  EXPECT_EQ(gInput.replay.header.difficulty, DIFFICULTY_APOCRYPHA);
  EXPECT_EQ(gGame.hiScore, 999999);
  EXPECT_FALSE(gInput.replay.exhausted);
  EXPECT_TRUE(ScoreData::replayPlayback);
  ASSERT_NE(dynamic_cast<Scene_Stage*>(list->next), nullptr);
}

TEST_F(ReplayListTest, AFileEmptiedSinceListingReturnsToTheListInsteadOfPlaying) {
  SaveRecord("a.vmr", Record(DIFFICULTY_NORMAL, CHARGE_LASER, 2, 5000, false));
  Open();
  Press(*list, KEY_Z);
  WriteBytes("replay/a.vmr", "");
  Press(*list, KEY_Z);
  ASSERT_TRUE(list->leaving);
  EXPECT_GT(FramesUntilDone(*list), 0);
  list->terminate();
  EXPECT_NE(dynamic_cast<Scene_Replay*>(list->next), nullptr);
  EXPECT_TRUE(gInput.replay.stages.empty());
  EXPECT_NE(gInput.replayMode, REPLAY_PLAYING_SUSPENDED);
}
