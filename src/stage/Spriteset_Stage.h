// Every sprite of the play field: six layers (enemies 10, effects 20, player
// shots 30, ship and options 40, items 50, enemy bullets 60), the frame
// picture around the field, the pools of sprites the gameplay objects
// borrow, the scenery below, and a white fade over the field.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "display/Sprite_Transition.h"
#include "display/Spriteset.h"
#include "objects/ObjectSpritePool.h"
#include "objects/Sprite_Bullet.h"
#include "objects/Sprite_Effect.h"
#include "objects/Sprite_Enemy.h"
#include "objects/Sprite_Item.h"
#include "objects/Sprite_Player.h"

class Object_Bullet;
class Object_Enemy;
class Object_Item;
class Stage_Field;

inline constexpr int32_t kEnemySprites = 100;
inline constexpr int32_t kItemSprites = 200;
inline constexpr int32_t kBulletSprites = 500;
inline constexpr int32_t kShotSprites = 150;
inline constexpr int32_t kEffectSprites = 200;

class Spriteset_Stage : public Spriteset {
 public:
  Viewport* playerLayer = nullptr;
  Viewport* enemyLayer = nullptr;
  Viewport* shotLayer = nullptr;
  Viewport* bulletLayer = nullptr;
  Viewport* itemLayer = nullptr;
  Viewport* effectLayer = nullptr;
  Sprite* framePicture = nullptr;
  Sprite_Player* playerSprite = nullptr;
  std::array<Sprite_PlayerOption*, 4> optionSprites{};
  ObjectSpritePool<Sprite_Enemy> enemySprites;
  ObjectSpritePool<Sprite_Item> itemSprites;
  ObjectSpritePool<Sprite_Bullet> bulletSprites;
  ObjectSpritePool<Sprite_Bullet> shotSprites;
  ObjectSpritePool<Sprite_Effect> effectSprites;
  std::unique_ptr<Spriteset> background;  // the scenery, given by the stage scene
  Sprite_Transition* fieldFade = nullptr;

  Spriteset_Stage();
  ~Spriteset_Stage() override;
  void update() override;

  // Ship and option sprites to the field's objects; the option sprites are reset.
  void connectShip(Stage_Field& field);
  // A free sprite of the matching pool follows the object from now on (none
  // when the pool is used up: the object is not drawn).
  void attachBullet(Object_Bullet& bullet, bool playerShot);
  void attachEnemy(Object_Enemy& enemy);
  void attachItem(Object_Item& item);
  // The bullet's sprite stops following it and returns to its pool.
  void letBulletGo(Object_Bullet& bullet);
  // A free effect sprite at (x, y); nothing when none is free.
  void startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode, int32_t blendParam,
                   double scale, int32_t frameStep);
  // The white overlay goes from start to target over `frames` frames.
  void startFieldFade(int32_t start, int32_t target, float frames);

 private:
  int frameImage_ = 0;
};
