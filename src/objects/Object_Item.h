// Items released by destroyed enemies: they burst out, brake and then fly to
// the ship on their own until collected.
#pragma once

#include <cstdint>

#include "objects/Object.h"

class Stage_Field;
class Object_Player;

enum ItemKind { ITEM_POWER = 1, ITEM_POINT = 2, ITEM_LIFE = 3, ITEM_BOMB = 4 };

class Object_Item final : public Object {
 public:
  int32_t age = 0;
  float velocityX = 0.0f;
  float velocityY = 0.0f;
  float pullX = 0.0f;
  float pullY = 0.0f;
  float heading = 0.0f;
  int8_t kind = 0;

  void update() override;
  bool isOffScreen() override;
  void setPosition(float px, float py) override;

  // Random burst direction and speed (two random numbers).
  void launch();
};

// An item of `kind` at (x, y) flying to the field's ship; null when the pool is full.
Object_Item* SpawnItem(Stage_Field& field, float x, float y, int8_t kind);
// What collecting an item of `kind` gives the ship.
void CollectItem(int8_t kind, Object_Player& player);
