// Stage 1 from the built tables, played headless. Left alone (no input) the
// waves come and fire, both bosses come in and withdraw when their patterns
// run out of rounds, the talks advance by themselves and the stage reaches
// its end command. Played by a simple pilot that keeps firing from under its
// target and is never hit, the bosses are shot down and the stage still lasts
// the three to five minutes a stage should, on every difficulty. The ship is
// kept in lives so that no run is cut short.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/Module_Input.h"
#include "objects/EnemyTableReader.h"
#include "stage/test_stage_support.h"

namespace {

constexpr int kMinute = 60 * 60;

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
    int bossesShotDown = 0;  // entries whose boss reached its defeat sequence
    int conversations = 0;
    int32_t lastClock = 0;
    int bossFrames[2] = {0, 0};  // frames the mid-boss and Gram were in play
    bool bossMusic = false;
    int barWithoutBoss = 0;  // frames the boss bar showed with no boss in play
  };

  // The pilot: holds Shot, slides under the boss (or the nearest enemy on
  // screen), never dodges and is never hit; it holds Skip through talks.
  void steer() {
    engine::headless::ReleaseAllKeys();
    Stage_Field& f = *scene->field;
    Object_Player& p = ship();
    p.state = PLAYER_INVULNERABLE;
    p.stateCounter = 1;
    if (scene->conversationMode()) {
      engine::headless::SetKey(KEY_LCONTROL, true);
      return;
    }
    engine::headless::SetKey(KEY_Z, true);
    float target = p.x;
    if (f.bossActive && !f.boss.dead) {
      target = f.boss.x;
    } else {
      float best = 1e9f;
      f.enemies.walk([&](Object_Enemy& e, int32_t) {
        if (e.radius <= 0 || e.y < 0 || e.y > p.y) return;
        const float d = std::fabs(e.x - p.x);
        if (d < best) {
          best = d;
          target = e.x;
        }
      });
    }
    if (target < p.x - 6) engine::headless::SetKey(KEY_LEFT, true);
    if (target > p.x + 6) engine::headless::SetKey(KEY_RIGHT, true);
  }

  Seen play(int32_t difficulty, int limit, bool piloted) {
    gGame.difficulty = difficulty;
    begin(1);
    Seen seen;
    bool bossWasActive = false;
    bool shotDown = false;
    bool talking = false;
    int32_t newestBullet = 0;
    while (scene->running && seen.frames < limit) {
      ship().lives = 2;
      if (piloted) steer();
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
      if (f.bossActive && !bossWasActive) {
        ++seen.bossEntries;
        shotDown = false;
      }
      if (f.bossActive && !f.boss.dead && f.boss.clock >= 100000 && !shotDown) {
        ++seen.bossesShotDown;
        shotDown = true;
      }
      if (f.bossActive && !f.boss.dead && seen.bossEntries >= 1 && seen.bossEntries <= 2)
        ++seen.bossFrames[seen.bossEntries - 1];
      bossWasActive = f.bossActive != 0;
      // A boss that has left the field leaves no hit-point bar behind.
      if (f.boss.dead && scene->scoreBoard->bossBar->visible) ++seen.barWithoutBoss;
      // The stage ending has a talk of its own; only the script's count here.
      if (scene->conversationMode() && !talking && !f.stageFinished) ++seen.conversations;
      talking = scene->conversationMode();
      if (gSound.bgmIndex == 3) seen.bossMusic = true;
      seen.lastClock = f.scriptClock;
    }
    engine::headless::ReleaseAllKeys();
    return seen;
  }

  void again() {
    finish();
    scene.reset();
    terminated = false;
    gEnemyTable.clear();
    gGame.score = 0;
    gGame.power = 0;
  }
};

TEST_F(Stage1PlayedTest, NormalRunsFromTheTitleToTheStageEndWithoutInput) {
  const Seen seen = play(DIFFICULTY_NORMAL, 7 * kMinute, false);
  EXPECT_FALSE(scene->running) << "stuck at script clock " << seen.lastClock;
  EXPECT_EQ(successor(), "cut-scene");
  EXPECT_EQ(gGame.stage, 2);
  EXPECT_GE(seen.maxEnemies, 5);
  EXPECT_GE(seen.maxBullets, 30);
  EXPECT_EQ(seen.bossEntries, 2);  // the mid-boss and Gram
  EXPECT_EQ(seen.bossesShotDown, 0);
  EXPECT_EQ(seen.barWithoutBoss, 0);
  EXPECT_EQ(seen.conversations, 3);
  EXPECT_TRUE(seen.bossMusic);
  // The bosses' rounds bound the stage even when nobody plays: a little over
  // five minutes with every talk left to its timer, so any shooting at all
  // brings it under.
  EXPECT_GT(seen.frames, 4 * kMinute);
  EXPECT_LT(seen.frames, 5.5 * kMinute);
  std::printf(
      "Normal, no input: %d frames (%.1f min), mid-boss %.1f s, Gram %.1f s, at most %d "
      "enemies and %d bullets\n",
      seen.frames, seen.frames / double(kMinute), seen.bossFrames[0] / 60.0,
      seen.bossFrames[1] / 60.0, seen.maxEnemies, seen.maxBullets);
}

TEST_F(Stage1PlayedTest, AFiringPilotShootsBothBossesDownInThreeToFiveMinutes) {
  for (int32_t difficulty : {DIFFICULTY_EASY, DIFFICULTY_NORMAL, DIFFICULTY_APOCRYPHA}) {
    SCOPED_TRACE(difficulty);
    const Seen seen = play(difficulty, 7 * kMinute, true);
    EXPECT_FALSE(scene->running) << "stuck at script clock " << seen.lastClock;
    EXPECT_EQ(seen.bossEntries, 2);
    EXPECT_EQ(seen.bossesShotDown, 2);
    EXPECT_EQ(seen.conversations, 3);
    EXPECT_GE(seen.frames, 3 * kMinute);
    EXPECT_LE(seen.frames, 5 * kMinute);
    std::printf(
        "difficulty %d, firing pilot: %d frames (%.1f min), mid-boss %.1f s, Gram %.1f s, "
        "score %d, power %d\n",
        difficulty, seen.frames, seen.frames / double(kMinute), seen.bossFrames[0] / 60.0,
        seen.bossFrames[1] / 60.0, gGame.score, gGame.power);
    again();
  }
}

TEST_F(Stage1PlayedTest, EasyFiresFewerBulletsThanApocrypha) {
  const Seen easy = play(DIFFICULTY_EASY, 3 * kMinute, false);
  again();
  const Seen hard = play(DIFFICULTY_APOCRYPHA, 3 * kMinute, false);
  EXPECT_GT(easy.bulletsFired, 300);
  EXPECT_LT(easy.bulletsFired * 2, hard.bulletsFired);
  std::printf("bullets fired in three minutes: Easy %d, Apocrypha %d\n", easy.bulletsFired,
              hard.bulletsFired);
}

}  // namespace
