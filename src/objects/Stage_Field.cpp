#include "objects/Stage_Field.h"

#include <cmath>

#include "app/Module_Game.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/HitTest.h"
#include "objects/StageHost.h"

namespace {
constexpr int kSeHitLasting = 25;  // a lasting shot (laser, bomb, shield) touches an enemy
constexpr int kSeHit = 22;         // a shot is used up on an enemy
constexpr int32_t kGrazeScore = 100;
constexpr int32_t kLastingHitScore = 8;
constexpr int32_t kHitScore = 10;
constexpr int32_t kNoNearest = 1000;
}  // namespace

Stage_Field::Stage_Field() {
  // Options 1 and 2 fire homing shots, 3 and 4 lasers.
  for (int i = 0; i < 4; ++i) {
    options[i].sideKind = i < 2 ? 1 : 2;
    player.options[i] = &options[i];
  }
  player.initialize();
  player.switchOptions();
  boss.dead = 1;
  bossFinished = 0;
  bossActive = 0;
}

void Stage_Field::letGo(Object_Bullet& bullet) {
  if (StageHost* host = CurrentStage()) host->letBulletSpriteGo(bullet);
}

void Stage_Field::clearEnemiesAndBullets() {
  enemies.releaseAll();
  enemyBullets.releaseAll();
}

void Stage_Field::framePass() {
  StageHost* host = CurrentStage();
  // Read once: a conversation starting during this pass waits for the next.
  const bool talking = host && host->conversationMode();
  if (host) host->stepStageScript();
  player.update();
  for (Object_PlayerOption& option : options) option.update();
  updateEnemyBullets(talking);
  updatePlayerShots();
  nearestDistance = kNoNearest;
  updateBossAndEnemies(talking);
  updateItems();
}

void Stage_Field::updateEnemyBullets(bool talking) {
  enemyBullets.walk([&](Object_Bullet& b, int32_t i) {
    b.update();
    if (talking) {
      if (b.dead) enemyBullets.release(i);
      return;
    }
    // Still waiting out its spawn delay: neither released nor tested.
    if (!b.active) return;
    if (b.dead) {
      enemyBullets.release(i);
      return;
    }
    const HitResult result = TestBulletPlayer(b, player);
    if (result == HIT_MISS) return;
    if (result == HIT_HIT && player.state == PLAYER_NORMAL) {
      player.hit();
      // A laser goes on burning; anything else is spent.
      if (!b.laser) {
        b.dead = 1;
        letGo(b);
        enemyBullets.release(i);
      }
      return;
    }
    if (b.bulletType != 0 && !b.grazed && player.state <= PLAYER_REENTERING) {
      player.grazeReaction();
      b.grazed = 1;
      gGame.AddScore(kGrazeScore);
      gGame.grazes += 1;
    }
  });
}

void Stage_Field::updatePlayerShots() {
  playerShots.walk([&](Object_Bullet& shot, int32_t i) {
    shot.update();
    if (shot.dead) {
      playerShots.release(i);
      return;
    }
    if (shot.cancelsBullets && shot.active) cancelBulletsWith(shot);
  });
}

void Stage_Field::cancelBulletsWith(Object_Bullet& shot) {
  enemyBullets.walk([&](Object_Bullet& b, int32_t i) {
    if (b.dead || !b.active || b.bulletType == 0 || b.uncancelable) return;
    if (!TestCancel(b, shot)) return;
    spawnEffect(b.x, b.y, 3, BLEND_NONE, 255, 1.0, 0);
    b.dead = 1;
    letGo(b);
    enemyBullets.release(i);
    gGame.bulletsCancelled += 1;
  });
}

void Stage_Field::updateBossAndEnemies(bool talking) {
  if (talking) {
    if (bossActive) boss.update();
    enemies.walk([&](Object_Enemy& e, int32_t i) {
      e.update();
      if (e.dead) {
        enemies.release(i);
        gGame.enemiesDestroyed += 1;
      }
    });
    return;
  }
  if (bossActive) {
    boss.update();
    if (!bossFinished && boss.radius > 0) shotsAgainstEnemy(boss);
  }
  enemies.walk([&](Object_Enemy& e, int32_t i) {
    e.update();
    if (e.dead) {
      enemies.release(i);
      return;
    }
    if (e.radius > 0) {
      shotsAgainstEnemy(e);
      if (e.dead) enemies.release(i);
    }
  });
  if (!bossFinished && boss.beaten) {
    if (resumeFrame != 0) {
      scriptClock = resumeFrame;
      resumeFrame = 0;
      gGame.enemiesDestroyed += 1;
    }
    bossFinished = 1;
  }
}

void Stage_Field::shotsAgainstEnemy(Object_Enemy& enemy) {
  bool destroyed = false;
  playerShots.walk([&](Object_Bullet& shot, int32_t i) {
    if (!shot.active || !TestShape(shot, enemy)) return true;
    enemy.takeHit(shot, 1.0f);
    if (shot.laser || shot.uncancelable) {
      gSound.RequestEffect(kSeHitLasting);
      gGame.AddScore(kLastingHitScore);
    } else {
      gGame.AddScore(kHitScore);
      hitSpark(std::trunc(shot.x), std::trunc(shot.y), false, enemy.isBossPart());
      shot.dead = 1;
      letGo(shot);
      playerShots.release(i);
      gSound.RequestEffect(kSeHit);
    }
    if (enemy.dead) {
      // Counted once, whatever destroyed it; later shots pass through.
      gGame.enemiesDestroyed += 1;
      destroyed = true;
      return false;
    }
    return true;
  });
  if (destroyed || player.state != PLAYER_NORMAL) return;
  if (TestEnemyBody(*this, enemy, player)) player.hit();
}

void Stage_Field::updateItems() {
  const float reach = static_cast<float>(player.radius + 20);
  items.walk([&](Object_Item& item, int32_t i) {
    item.update();
    if (std::fabs(item.y - player.y) <= reach && std::fabs(item.x - player.x) <= reach) {
      CollectItem(item.kind, player);
      items.release(i);
      gGame.itemsCollected += 1;
    }
  });
}
