// Helpers for the bullet and firing tests: a still enemy that runs firing
// codes, the enemy bullets in the order they were fired, and stepping them.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "FieldFixture.h"
#include "objects/Action.h"
#include "objects/EnemyFire.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"

class FireTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    // Far from every test point so that nothing touches the ship by accident.
    placePlayer(192.0f, 420.0f);
  }

  // A still enemy with its firing settings at their start values.
  Object_Enemy* shooter(float ex, float ey) { return enemy(ex, ey, 100, 10); }

  // Runs one action on the enemy the way its script would.
  static void run(Object_Enemy& e, int32_t code, float p1 = 0.0f, float p2 = 0.0f) {
    Action action(e.clock, 1, code, p1, p2);
    e.doAction(action);
  }

  // Enemy bullets in play, in order of firing.
  std::vector<Object_Bullet*> bullets() {
    std::vector<Object_Bullet*> out;
    for (int32_t i : field().enemyBullets.activeIndices()) {
      out.push_back(&field().enemyBullets.objects[static_cast<size_t>(i)]);
    }
    return out;
  }

  // One update of every enemy bullet in play (no hit tests).
  void stepBullets(int frames = 1) {
    for (int f = 0; f < frames; ++f) {
      for (Object_Bullet* b : bullets()) b->update();
    }
  }

  // Fills the enemy-bullet pool until only `left` slots remain.
  void fillPool(int32_t left) {
    while (field().enemyBullets.freeCount() > left) enemyBullet(10.0f, 10.0f);
  }
};
