// Fills every pool of a stage field as a busy moment of play has them: 500
// enemy bullets (a tenth of them lasers), 150 player shots (a charge beam, a
// shield ring, a clearing disc, bomb rings and discs, the rest volley
// shots), 100 enemies, 200 items. Shared by the frame pass and the drawing
// benchmarks so both measure the same moment.
#pragma once

#include "engine/Engine.h"
#include "objects/Object.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"
#include "objects/Object_Item.h"
#include "objects/Stage_Field.h"

namespace bench {

inline float Spread(int max) { return static_cast<float>(RandomUpTo(max)); }

inline Object_Bullet* Shot(Stage_Field& f, int8_t type, float x, float y, int32_t damage) {
  Object_Bullet* s = Object_Bullet::Spawn(f.playerShots, type);
  s->setPosition(x, y);
  s->damage = damage;
  return s;
}

inline void FillEveryPool(Stage_Field& f) {
  SeedRandom(99);
  Object_Player& p = f.player;
  p.setPosition(192.0f, 400.0f);
  p.state = PLAYER_INVULNERABLE;
  p.stateCounter = 10;
  p.power = 250;
  p.switchOptions();

  for (int k = 0; k < kEnemyBulletCapacity; ++k) {
    Object_Bullet* b = Object_Bullet::Spawn(f.enemyBullets, static_cast<int8_t>(1 + k % 12));
    b->setPosition(Spread(384), Spread(448));
    b->noDelay = 0;
    b->active = k % 7 != 0;  // some still waiting out their delay
    b->delay = 5;
    b->speed = 1.0f + Spread(30) / 10.0f;
    b->angle = Spread(62832) / 10000.0f;
    b->velocityFromAngle();
    if (k % 10 == 0) {
      b->laser = 1;
      b->radius = 4;
      b->length = 300;
      b->vx = b->vy = 0.0f;
      b->active = 1;
    }
  }

  Object_Bullet* beam = Shot(f, 7, 0.0f, 0.0f, 160);
  beam->parent = &p;
  beam->setPosition(0.0f, 0.0f);
  beam->laser = beam->cancelsBullets = beam->thinAllowed = 1;
  beam->angle = -1.5708f;
  beam->radius = 60;
  beam->length = 650;
  Object_Bullet* shield = Shot(f, 10, 0.0f, 0.0f, 104);
  shield->parent = &p;
  shield->setPosition(0.0f, 0.0f);
  shield->ring = shield->cancelsBullets = shield->uncancelable = 1;
  shield->radius = 80;
  shield->ringWidth = 40;
  Object_Bullet* disc = Shot(f, 0, p.x, p.y, 0);
  disc->cancelsBullets = disc->uncancelable = 1;
  disc->radius = 120;
  for (int k = 0; k < 18; ++k) {
    Object_Bullet* ring = Shot(f, 10, 0.0f, 0.0f, 100);
    ring->parent = &p;
    ring->setPosition(0.0f, 0.0f);
    ring->ring = ring->uncancelable = 1;
    ring->radius = 10 * k;
    ring->ringWidth = 40;
    ring->addAction(33, 0, 70, 10.0f, 0.0f);
    Object_Bullet* bombDisc = Shot(f, 0, 0.0f, 0.0f, 14);
    bombDisc->parent = &p;
    bombDisc->setPosition(0.0f, 0.0f);
    bombDisc->uncancelable = 1;
    bombDisc->radius = 5 * k;
  }
  while (Object_Bullet* s = Object_Bullet::Spawn(f.playerShots, 9)) {
    s->setPosition(Spread(384), Spread(448));
    s->damage = 30;
    s->addAction(10, 0, 1, 0.0f, -12.0f);
  }

  for (int k = 0; k < kEnemyCapacity; ++k) {
    Object_Enemy* e = f.enemies.acquire();
    e->id = NextObjectId();
    e->resetMotion();
    e->resetEnemy();
    e->setPosition(Spread(384), Spread(300));
    e->hitPoints = 1000000;
    e->radius = 10 + k % 10;
    e->addAction(11, 0, 1, 1.0f, Spread(62832) / 10000.0f);
  }
  for (int k = 0; k < kItemCapacity; ++k) {
    SpawnItem(f, Spread(384), Spread(300), static_cast<int8_t>(1 + k % 4));
  }
}

}  // namespace bench
