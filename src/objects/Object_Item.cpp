#include "objects/Object_Item.h"

#include <cmath>

#include "app/Module_Game.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int kSeItem = 4;
constexpr int kSePowerUp = 6;
constexpr int kSeExtend = 7;
constexpr int32_t kMaxPower = 250;
constexpr int8_t kCountMax = 127;  // lives and bombs are bytes

void ExtraLifeEffects(const Object_Player& player) {
  spawnEffect(player.x, player.y, 4, BLEND_ADD, 200, 2.0, 0);
  spawnEffect(player.x, player.y, 3, BLEND_ADD, 150, 2.0, 0);
}

// A byte count grows by one but never wraps to a negative stock.
void AddOne(int8_t& count) {
  if (count < kCountMax) count = static_cast<int8_t>(count + 1);
}
}  // namespace

bool Object_Item::isOffScreen() { return x < -100.0f || x > 484.0f || y < -100.0f || y > 548.0f; }

void Object_Item::setPosition(float px, float py) {
  x = px;
  y = py;
}

void Object_Item::launch() {
  const int s = RandomUpTo(400);
  const float h = static_cast<float>(RandomUpTo(62832)) / 10000.0f;
  heading = h;
  pullX = -std::cos(h);
  pullY = -std::sin(h);
  age = 0;
  const float speed = static_cast<float>(s) / 100.0f + 10.0f;
  velocityX = std::cos(h) * speed;
  velocityY = std::sin(h) * speed;
}

void Object_Item::update() {
  x += velocityX;
  y += velocityY;
  const Object* player = parent;
  if (age > 10 && player) {
    heading = std::atan2(player->y - y, player->x - x);
    pullX = std::cos(heading);
    pullY = std::sin(heading);
  }
  if (age > 20) {
    velocityX = 12.0f * pullX;
    velocityY = 12.0f * pullY;
  } else {
    velocityX += pullX;
    velocityY += pullY;
  }
  age += 1;
  // Power items turn into point items while the ship's power is full.
  if (kind == ITEM_POWER && player &&
      static_cast<const Object_Player*>(player)->power == kMaxPower) {
    kind = ITEM_POINT;
  }
}

Object_Item* SpawnItem(Stage_Field& field, float x, float y, int8_t kind) {
  Object_Item* item = field.items.acquire();
  if (!item) return nullptr;
  item->id = NextObjectId();
  item->kind = kind;
  item->setPosition(x, y);
  item->parent = &field.player;
  item->launch();
  if (StageHost* host = CurrentStage()) host->attachItemSprite(*item);
  return item;
}

void CollectItem(int8_t kind, Object_Player& player) {
  switch (kind) {
    case ITEM_POWER: {
      const int32_t before = player.power;
      if (player.power < kMaxPower) player.power += 1;
      if (before == 19 || before == 49 || before == 99 || before == 169 || before == 249) {
        player.switchOptions();
        spawnEffect(player.x, player.y, 4, BLEND_ADD, 150, 1.0, 0);
        gSound.RequestEffect(kSePowerUp);
      }
      gGame.AddScore(10);
      break;
    }
    case ITEM_POINT:
      if (player.points < INT32_MAX) player.points += 1;
      if (player.points % 1000 == 0) {
        AddOne(player.lives);
        gSound.RequestEffect(kSeExtend);
        ExtraLifeEffects(player);
      }
      gGame.AddScore(10000);
      break;
    case ITEM_LIFE:
      AddOne(player.lives);
      gSound.RequestEffect(kSeExtend);
      gGame.AddScore(100);
      ExtraLifeEffects(player);
      break;
    case ITEM_BOMB:
      AddOne(player.bombs);
      gGame.AddScore(100);
      break;
    default:
      break;
  }
  gSound.RequestEffect(kSeItem);
}
