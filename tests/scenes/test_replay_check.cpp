// Determinism end to end: a game recorded by the real stage scene, written
// to a file, read back and played again reproduces every stage's score; a
// changed input byte is caught as a desync; and the checker program reports
// both and never crashes on damaged files.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Module_Game.h"
#include "app/SceneRunner.h"
#include "engine/Headless.h"
#include "objects/Object_Player.h"
#include "persist/ReplayFile.h"
#include "scenes/ReplayCheck.h"
#include "stage/Scene_Stage.h"
#include "test_title_fixture.h"

namespace {

constexpr int32_t kStageFrames = 240;
constexpr int32_t kLoseAt = 150;  // the frame of stage 2 in which a lost game ends

bool loseInStageTwo = false;

// A stand-in script whose score follows the ship's position and the random
// sequence, so that a different input or seed shows in the score.
void ScoringScript(Scene_Stage& stage) {
  Stage_Field& f = *stage.field;
  ++f.scriptClock;
  gGame.AddScore(static_cast<int32_t>(f.player.x) + RandomUpTo(50));
  if (loseInStageTwo && f.stageNumber == 2 && f.scriptClock == kLoseAt) {
    f.player.lives = -1;
    f.player.state = PLAYER_REENTERING;
    f.player.stateCounter = 0;
  }
  if (f.scriptClock >= kStageFrames) f.stageFinished = 1;
}

Scene* NextStageUpToTwo() { return gGame.stage <= 2 ? new Scene_Stage() : nullptr; }
Scene* NoScene() { return nullptr; }

StageLinks PlayLinks() {
  StageLinks links = DefaultStageLinks();
  links.loadEnemyTable = nullptr;
  links.stepScript = &ScoringScript;
  return links;
}

// The player's hands: shooting, drifting right then left.
void ScriptedInput(int frame) {
  engine::headless::SetKey(KEY_Z, true);
  engine::headless::SetKey(KEY_RIGHT, frame % 90 < 40);
  engine::headless::SetKey(KEY_LEFT, frame % 90 >= 50);
  engine::headless::SetKey(KEY_UP, frame % 70 < 10);
}

class ReplayCheckTest : public FrontSceneTest {
 protected:
  void SetUp() override {
    FrontSceneTest::SetUp();
    saved = gStageLinks;
    gGame.difficulty = DIFFICULTY_NORMAL;
    gGame.chargeType = CHARGE_LASER;
    gGame.NewGame();
    loseInStageTwo = false;
  }
  void TearDown() override {
    gStageLinks = saved;
    engine::headless::ReleaseAllKeys();
    FrontSceneTest::TearDown();
  }

  // Plays a two-stage game as the runner would, recording it.
  void RecordGame() {
    gStageLinks = PlayLinks();
    gStageLinks.makeMenu = nullptr;  // a game over gives up at once
    gStageLinks.makeCutScene = &NextStageUpToTwo;
    gStageLinks.makeResult = &NoScene;
    gStageLinks.makeTitle = &NoScene;
    gInput.replayMode = REPLAY_OFF;
    SeedRandom(12345);
    Scene* scene = new Scene_Stage();
    int frame = 0;
    while (scene) {
      gCurrentScene = scene;
      scene->running = true;
      scene->start();
      while (scene->running && frame < 10000) {
        ScriptedInput(frame++);
        gGraphics.frameStep();
        engine::headless::ClearDraws();
        gInput.update();
        gSound.Update();
        scene->update();
      }
      scene->terminate();
      Scene* next = scene->next;
      gCurrentScene = nullptr;
      delete scene;
      scene = next;
    }
    engine::headless::ReleaseAllKeys();
    finalScore = gGame.score;
  }

  StageLinks saved;
  int32_t finalScore = 0;
};

}  // namespace

TEST_F(ReplayCheckTest, ARecordedGamePlaysBackToEveryStagesScore) {
  RecordGame();
  ReplayRecord& recorded = gInput.replay;
  ASSERT_EQ(recorded.stages.size(), 2u);
  EXPECT_EQ(recorded.stages[1].start.stage, 2);
  EXPECT_EQ(recorded.header.score, finalScore);
  EXPECT_EQ(recorded.header.cleared, 0);
  // The second stage starts with the first stage's score and its bonus.
  EXPECT_GT(recorded.stages[1].start.score, Scene_Stage::ClearBonus(1, DIFFICULTY_NORMAL));

  ASSERT_TRUE(WriteReplay("game.vmr", recorded));
  ReplayRecord loaded;
  ASSERT_TRUE(ReadReplay("game.vmr", loaded));
  const auto before =
      std::filesystem::exists("score.dat") ? ReadBytes("score.dat") : std::string("(none)");

  const ReplayCheckReport report = CheckReplay(loaded, PlayLinks(), &engine::headless::ClearDraws);
  ASSERT_EQ(report.stages.size(), 2u);
  for (const ReplayStageCheck& s : report.stages) {
    EXPECT_TRUE(s.finished) << s.stage;
    EXPECT_EQ(s.endScore, s.expectedScore) << s.stage;
  }
  EXPECT_EQ(report.stages[0].expectedScore, loaded.stages[1].start.score);
  EXPECT_EQ(report.stages[1].expectedScore, finalScore);
  EXPECT_TRUE(report.inStep());
  // Watching changed nothing on disk.
  const auto after =
      std::filesystem::exists("score.dat") ? ReadBytes("score.dat") : std::string("(none)");
  EXPECT_EQ(after, before);

  // One input byte changed in the first stage: its score no longer matches.
  ReplayRecord changed = loaded;
  changed.stages[0].frames[20].directions ^= DIR_RIGHT | DIR_LEFT;
  const ReplayCheckReport bad = CheckReplay(changed, PlayLinks(), &engine::headless::ClearDraws);
  EXPECT_FALSE(bad.inStep());
  ASSERT_FALSE(bad.stages.empty());
  EXPECT_NE(bad.stages[0].endScore, bad.stages[0].expectedScore);

  // Every score right but one miss more in the header than in the game.
  ReplayRecord miscounted = loaded;
  miscounted.header.misses += 1;
  const ReplayCheckReport off =
      CheckReplay(miscounted, PlayLinks(), &engine::headless::ClearDraws);
  for (const ReplayStageCheck& s : off.stages) EXPECT_TRUE(s.matches()) << s.stage;
  EXPECT_FALSE(off.totalsMatch());
  EXPECT_FALSE(off.inStep());
}

TEST_F(ReplayCheckTest, AGameLostInItsLastStageEndsWithTheScoreItWasLostWith) {
  loseInStageTwo = true;
  RecordGame();
  ReplayRecord recorded = gInput.replay;
  ASSERT_EQ(recorded.stages.size(), 2u);
  EXPECT_LT(recorded.stages[1].frames.size(), static_cast<size_t>(kStageFrames));
  EXPECT_EQ(recorded.header.score, finalScore);
  const ReplayCheckReport report =
      CheckReplay(recorded, PlayLinks(), &engine::headless::ClearDraws);
  ASSERT_EQ(report.stages.size(), 2u);
  EXPECT_EQ(report.stages[1].endScore, finalScore);
  EXPECT_TRUE(report.inStep());
}

TEST_F(ReplayCheckTest, AnEmptyRecordIsNeverInStep) {
  const ReplayCheckReport report = CheckReplay(ReplayRecord{}, PlayLinks());
  EXPECT_TRUE(report.stages.empty());
  EXPECT_FALSE(report.inStep());
}

// The checker program on files it cannot make sense of.
TEST(ReplayCheckProgram, ReportsUnusableFilesWithoutCrashing) {
  const std::string program = std::string(VELMORA_GAME_DIR) + "/../velmora-replay";
  ASSERT_TRUE(std::filesystem::exists(program)) << "build the velmora-replay target first";
  TempWorkDir dir;
  WriteBytes("short.vmr", std::string("\x03\0\0\0\x01\0\0\0\xff\xff\xff\x7f", 12));
  WriteBytes("garbage.vmr", std::string(1000, '\xff'));
  for (const char* file : {"absent.vmr", "short.vmr", "garbage.vmr"}) {
    const std::string command = program + " -C " + dir.path().string() + " " + file + " >/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << file;
    EXPECT_EQ(WEXITSTATUS(status), 2) << file;
  }
}
