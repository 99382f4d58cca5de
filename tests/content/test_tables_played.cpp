// Stage 1 from the built tables, played headless with no input: the waves
// come and fire, both bosses come in and, left alone, withdraw when their
// time runs out, the talks advance by themselves and the stage reaches its
// end command. The ship is kept in lives so that the run is never cut short.
#include <cstdio>
#include <filesystem>

#include "objects/EnemyTableReader.h"
#include "stage/test_stage_support.h"

namespace {

class Stage1PlayedTest : public StageSceneTest {
 protected:
  void SetUp() override {
    StageSceneTest::SetUp();
    std::filesystem::copy(std::filesystem::path(VELMORA_GAME_DIR) / "Data", dir.path() / "Data",
                          std::filesystem::copy_options::recursive);
    gStageLinks.loadEnemyTable = &LoadEnemyTable;
  }

  struct Seen {
    int frames = 0;
    int maxEnemies = 0;
    int maxBullets = 0;
    int bulletsFired = 0;  // counted by id, so bullets cleared by a death still count
    int bossEntries = 0;
    int conversations = 0;
    int32_t lastClock = 0;
    bool bossMusic = false;
  };

  Seen play(int32_t difficulty, int limit) {
    gGame.difficulty = difficulty;
    begin(1);
    Seen seen;
    bool bossWasActive = false;
    bool talking = false;
    int32_t newestBullet = 0;
    while (scene->running && seen.frames < limit) {
      ship().lives = 2;
      frame();
      ++seen.frames;
      if (!scene->running) break;
      Stage_Field& f = *scene->field;
      seen.maxEnemies = std::max(seen.maxEnemies, f.enemies.activeCount());
      seen.maxBullets = std::max(seen.maxBullets, f.enemyBullets.activeCount());
      int32_t newest = newestBullet;
      f.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
        if (b.id > newestBullet) ++seen.bulletsFired;
        newest = std::max(newest, b.id);
      });
      newestBullet = newest;
      if (f.bossActive && !bossWasActive) ++seen.bossEntries;
      bossWasActive = f.bossActive != 0;
      // The stage ending has a talk of its own; only the script's count here.
      if (scene->conversationMode() && !talking && !f.stageFinished) ++seen.conversations;
      talking = scene->conversationMode();
      if (gSound.bgmIndex == 3) seen.bossMusic = true;
      seen.lastClock = f.scriptClock;
    }
    return seen;
  }
};

TEST_F(Stage1PlayedTest, NormalRunsFromTheTitleToTheStageEndWithoutInput) {
  const Seen seen = play(DIFFICULTY_NORMAL, 12000);
  EXPECT_FALSE(scene->running) << "stuck at script clock " << seen.lastClock;
  EXPECT_EQ(successor(), "cut-scene");
  EXPECT_EQ(gGame.stage, 2);
  EXPECT_GE(seen.maxEnemies, 5);
  EXPECT_GE(seen.maxBullets, 30);
  EXPECT_EQ(seen.bossEntries, 2);  // the mid-boss and Gram
  EXPECT_EQ(seen.conversations, 3);
  EXPECT_TRUE(seen.bossMusic);
  // Well over a minute even when nobody plays.
  EXPECT_GT(seen.frames, 60 * 60);
  std::printf("Normal, no input: %d frames, at most %d enemies and %d bullets at once\n",
              seen.frames, seen.maxEnemies, seen.maxBullets);
}

TEST_F(Stage1PlayedTest, EasyFiresFewerBulletsThanApocrypha) {
  const Seen easy = play(DIFFICULTY_EASY, 3600);
  finish();
  scene.reset();
  terminated = false;
  gEnemyTable.clear();
  const Seen hard = play(DIFFICULTY_APOCRYPHA, 3600);
  EXPECT_GT(easy.bulletsFired, 100);
  EXPECT_LT(easy.bulletsFired * 2, hard.bulletsFired);
  std::printf("bullets fired in a minute: Easy %d, Apocrypha %d\n", easy.bulletsFired,
              hard.bulletsFired);
}

}  // namespace
