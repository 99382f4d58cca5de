// A busy field played twice from the same seed and the same input must come
// out bit for bit the same: replays hold nothing but seeds and inputs.
#include <gtest/gtest.h>

#include <cstring>

#include "FieldFixture.h"
#include "app/Module_Input.h"

namespace {

struct Digest {
  uint64_t hash = 1469598103934665603ULL;
  void add(const void* data, size_t n) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t k = 0; k < n; ++k) hash = (hash ^ bytes[k]) * 1099511628211ULL;
  }
  void add(float v) { add(&v, sizeof v); }
  void add(int32_t v) { add(&v, sizeof v); }
};

struct Outcome {
  uint64_t digest = 0;
  int32_t score = 0;
  int32_t grazes = 0;
  int32_t destroyed = 0;
  int32_t collected = 0;
  int32_t cancelled = 0;
  int32_t mostBullets = 0;
};

std::vector<Action> Row(std::initializer_list<Action> actions) { return actions; }

// Three enemy kinds that aim, fan, spray at random, home and fire lasers.
void BuildTable() {
  gEnemyTable.clear();
  EnemyRecord drifter;
  drifter.hitPoints = 300;
  drifter.radius = 12;
  drifter.drops[0] = 1;
  drifter.drops[1] = 1;
  drifter.actions = Row({{0, 1, 57, 20.0f, 360.0f},
                         {0, 1, 11, 1.2f, 1.5708f},
                         {0, 1, 106, 0.3f, 0.0f},
                         {20, 1, 102, 0.0f, 0.0f},
                         {20, 1, 104, 3.0f, 0.0f},
                         {20, 1, 112, 3.0f, 2.0f},
                         {40, 1, 4, 19.0f, 0.0f}});
  gEnemyTable.push_back(drifter);

  EnemyRecord sprayer;
  sprayer.hitPoints = 900;
  sprayer.radius = 14;
  sprayer.drops[1] = 3;
  sprayer.drops[3] = 1;
  sprayer.actions = Row({{0, 1, 55, 60.0f, 0.0f},
                         {0, 1, 51, 192.0f, 120.0f},
                         {60, 1, 104, 2.0f, 0.0f},
                         {60, 1, 105, 3.0f, 0.0f},
                         {60, 1, 106, 1.2f, 0.0f},
                         {60, 1, 102, 0.0f, 0.0f},
                         {60, 1, 114, 4.0f, 3.0f},
                         {90, 1, 120, 240.0f, 0.0f},
                         {90, 1, 121, 4.0f, 0.0f},
                         {90, 1, 130, 0.0f, 0.0f},
                         {110, 1, 135, 0.0f, 0.0f},
                         {120, 1, 9, 0.5f, 59.0f},
                         {180, 1, 11, 2.0f, -1.5708f}});
  gEnemyTable.push_back(sprayer);
}

// The buttons held on a frame: shooting most of the time, weaving left and
// right, slow now and then, a charge and a bomb at fixed moments.
uint32_t PadOn(int frame) {
  uint32_t pad = 0;
  if ((frame / 200) % 4 != 3) pad |= kDefaultButtonMask[BUTTON_SHOT];
  pad |= (frame % 120 < 60) ? DIR_LEFT : DIR_RIGHT;
  if ((frame / 300) % 2 == 0)
    pad |= DIR_UP;
  else
    pad |= DIR_DOWN;
  if ((frame / 150) % 3 == 1) pad |= kDefaultButtonMask[BUTTON_SLOW];
  if (frame % 900 >= 400 && frame % 900 < 520) pad |= kDefaultButtonMask[BUTTON_CHARGE];
  if (frame % 700 == 350) pad |= kDefaultButtonMask[BUTTON_BOMB];
  return pad;
}

Outcome Play(int seed, bool laserType) {
  gGame = Module_Game();
  gGame.difficulty = DIFFICULTY_NORMAL;
  std::memset(gSound.seRequested, 0, sizeof gSound.seRequested);
  gInput = Module_Input();
  gMainShotTimer = gOptionShotTimer = gOptionLaserTimer = 0;
  SeedRandom(seed);
  BuildTable();
  TestStage stage;
  gCurrentScene = &stage;
  Stage_Field& field = *stage.field;
  field.player.laserType = laserType;
  field.player.power = 120;
  field.player.switchOptions();
  stage.script = [&](Stage_Field& f) {
    if (f.scriptClock % 25 == 0) SpawnEnemyFromTable(f, 1, 0.0f, -10.0f);
    if (f.scriptClock % 140 == 70) SpawnEnemyFromTable(f, 2, 192.0f, -20.0f);
    f.scriptClock += 1;
  };

  Outcome out;
  Digest digest;
  for (int frame = 0; frame < 3600; ++frame) {
    gInput.padPrev = gInput.padNow;
    gInput.padNow = PadOn(frame);
    stage.talking = frame >= 1800 && frame < 1900;
    // What the stage scene does: the counter-bomb window freezes the field.
    if (field.player.state == PLAYER_COUNTER_BOMB) {
      field.player.update();
    } else {
      field.framePass();
    }
    if (field.player.lives < 0) field.player.lives = 2;  // play on, as after a continue
    digest.add(field.player.x);
    digest.add(field.player.y);
    digest.add(gGame.score);
    out.mostBullets = std::max(out.mostBullets, field.enemyBullets.activeCount());
    if (frame % 30 == 0) {
      field.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
        digest.add(b.x);
        digest.add(b.y);
        digest.add(b.length);
      });
      field.playerShots.walk([&](Object_Bullet& s, int32_t) {
        digest.add(s.x);
        digest.add(s.y);
      });
      field.enemies.walk([&](Object_Enemy& e, int32_t) {
        digest.add(e.x);
        digest.add(e.y);
        digest.add(e.hitPoints);
      });
      field.items.walk([&](Object_Item& i, int32_t) {
        digest.add(i.x);
        digest.add(i.y);
      });
    }
  }
  gCurrentScene = nullptr;
  gEnemyTable.clear();
  gInput = Module_Input();
  out.digest = digest.hash;
  out.score = gGame.score;
  out.grazes = gGame.grazes;
  out.destroyed = gGame.enemiesDestroyed;
  out.collected = gGame.itemsCollected;
  out.cancelled = gGame.bulletsCancelled;
  return out;
}

TEST(Determinism, SameSeedAndInputGiveTheSameGame) {
  for (bool laserType : {false, true}) {
    const Outcome first = Play(2024, laserType);
    const Outcome second = Play(2024, laserType);
    // The run must have been busy for the comparison to mean anything.
    EXPECT_GT(first.mostBullets, 100) << laserType;
    EXPECT_GT(first.destroyed, 20) << laserType;
    EXPECT_GT(first.collected, 20) << laserType;
    EXPECT_GT(first.grazes, 0) << laserType;
    EXPECT_GT(first.cancelled, 0) << laserType;
    EXPECT_EQ(first.digest, second.digest) << laserType;
    EXPECT_EQ(first.score, second.score) << laserType;
    EXPECT_EQ(first.grazes, second.grazes) << laserType;
    EXPECT_EQ(first.destroyed, second.destroyed) << laserType;
    EXPECT_EQ(first.collected, second.collected) << laserType;
    EXPECT_EQ(first.cancelled, second.cancelled) << laserType;
  }
}

TEST(Determinism, AnotherSeedGivesAnotherGame) {
  EXPECT_NE(Play(2024, false).digest, Play(7, false).digest);
}

}  // namespace
