// A test stage (tests/data/stage_test) played headless from its script to
// its end command through the real readers, with the field, the sprites and
// the HUD checked against each other on every frame.
#include <filesystem>

#include "app/Sjis.h"
#include "objects/EnemyTableReader.h"
#include "test_stage_support.h"

namespace {

class PlayedStageTest : public StageSceneTest {
 protected:
  void SetUp() override {
    StageSceneTest::SetUp();
    const std::filesystem::path data =
        std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/data/stage_test";
    std::filesystem::copy(data, dir.path(), std::filesystem::copy_options::recursive);
    gStageLinks.loadEnemyTable = &LoadEnemyTable;
  }

  // Every object in play has its own sprite following it, and no sprite is
  // in use without one.
  template <class Pool, class SpritePool>
  static void ExpectInStep(Pool& objects, SpritePool& sprites, const char* what, int frame) {
    EXPECT_EQ(sprites.inUse(), objects.activeCount()) << what << " at frame " << frame;
  }
};

TEST_F(PlayedStageTest, RunsFromTheScriptToItsEndCommand) {
  gGame.score = 0;
  begin(1);
  ASSERT_FALSE(gEnemyTable.empty());
  EXPECT_EQ(gEnemyTable[0].hitPoints, 3);
  ASSERT_FALSE(scene->field->script.empty());
  EXPECT_EQ(scene->field->script.size(), 7u);

  int maxEnemies = 0;
  int maxBullets = 0;
  bool sawTitle = false;
  int frames = 0;
  int frozen = 0;  // frames of the counter-bomb window: only the ship moves
  while (scene->running && frames < 1000) {
    const bool counterBomb = ship().state == PLAYER_COUNTER_BOMB;
    frame();
    ++frames;
    if (counterBomb) {
      ++frozen;
      continue;
    }
    if (!scene->running) break;  // the clear bonus came after the HUD's update
    Stage_Field& f = *scene->field;
    Spriteset_Stage& s = *scene->stageSprites;
    ExpectInStep(f.enemies, s.enemySprites, "enemies", frames);
    ExpectInStep(f.enemyBullets, s.bulletSprites, "bullets", frames);
    ExpectInStep(f.items, s.itemSprites, "items", frames);
    ExpectInStep(f.playerShots, s.shotSprites, "shots", frames);
    f.enemies.walk([&](Object_Enemy& e, int32_t) {
      for (Sprite_Enemy* sprite : s.enemySprites.sprites) {
        if (!sprite->idle && sprite->enemy == &e) {
          EXPECT_EQ(sprite->x, static_cast<int32_t>(e.x));
          EXPECT_EQ(sprite->y, static_cast<int32_t>(e.y));
        }
      }
    });
    f.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
      ASSERT_NE(b.sprite, nullptr);
      EXPECT_EQ(b.sprite->bullet, &b);
      EXPECT_EQ(b.sprite->x, static_cast<int32_t>(b.x));
    });
    maxEnemies = std::max(maxEnemies, f.enemies.activeCount());
    maxBullets = std::max(maxBullets, f.enemyBullets.activeCount());
    EXPECT_EQ(scene->scoreBoard->scoreValue->text, ScoreText(gGame.score));
    EXPECT_EQ(scene->scoreBoard->lifeIcons->count, f.player.lives);
    if (scene->scoreBoard->stageTitle1->visible) {
      sawTitle = true;
      EXPECT_EQ(scene->scoreBoard->stageTitle2->text, Sjis("「冥王星独立決戦基地」"));
    }
    if (scene->field->scriptClock == 150) {
      // The conversation without a file is over, the boss name number kept.
      EXPECT_FALSE(scene->conversationMode());
      EXPECT_EQ(scene->bossTitleNumber(), 2);
    }
  }
  EXPECT_TRUE(sawTitle);
  EXPECT_EQ(maxEnemies, 3);
  EXPECT_GT(maxBullets, 0);
  // The end command runs at clock 300 (the 301st frame the clock runs), then
  // 61 frames of fade.
  EXPECT_EQ(frames, 301 + 61 + frozen);
  EXPECT_FALSE(scene->running);
  EXPECT_EQ(gGame.stage, 2);
  EXPECT_GE(gGame.score, 10000000);
  EXPECT_EQ(successor(), "cut-scene");
}

TEST_F(PlayedStageTest, AStageWithoutAScriptNeverEndsByItself) {
  begin(5);
  EXPECT_TRUE(scene->field->script.empty());
  for (int i = 0; i < 120; ++i) frame();
  EXPECT_TRUE(scene->running);
  EXPECT_EQ(scene->field->scriptClock, 120);
  EXPECT_EQ(scene->field->enemies.activeCount(), 0);
}

}  // namespace
