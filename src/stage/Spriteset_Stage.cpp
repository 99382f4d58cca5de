#include "stage/Spriteset_Stage.h"

#include "app/Module_Graphics.h"
#include "engine/Engine.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int32_t kFieldX = 32;
constexpr int32_t kFieldY = 16;

Viewport* FieldLayer(int32_t depth, int32_t reserve, bool sorted) {
  auto* layer = new Viewport(kFieldX, kFieldY, kFieldWidth, kFieldHeight, depth);
  layer->sortByZ = sorted;
  if (reserve > 0) layer->children.reserve(static_cast<size_t>(reserve) + 1);
  return layer;
}
}  // namespace

Spriteset_Stage::Spriteset_Stage() {
  playerLayer = FieldLayer(40, 0, false);
  enemyLayer = FieldLayer(10, kEnemySprites, true);
  shotLayer = FieldLayer(30, kShotSprites, true);
  bulletLayer = FieldLayer(60, kBulletSprites, true);
  itemLayer = FieldLayer(50, kItemSprites, false);
  effectLayer = FieldLayer(20, kEffectSprites, false);

  frameImage_ = LoadImageFile("Graphics/bg.png");
  framePicture = new Sprite();
  framePicture->image = frameImage_ > 0 ? frameImage_ : 0;

  playerSprite = new Sprite_Player(playerLayer);
  for (auto& option : optionSprites) option = new Sprite_PlayerOption(playerLayer);

  // A white veil over the field, on top of the bullets.
  fieldFade = new Sprite_Transition(bulletLayer);
  fieldFade->z = 1000;
  fieldFade->fadeRed = fieldFade->fadeGreen = fieldFade->fadeBlue = 255;
  fieldFade->level = 0.0f;
  fieldFade->target = 255;
  fieldFade->speed = 1.0f;
  fieldFade->visible = false;

  enemySprites.fill(enemyLayer, kEnemySprites);
  itemSprites.fill(itemLayer, kItemSprites);
  bulletSprites.fill(bulletLayer, kBulletSprites);
  shotSprites.fill(shotLayer, kShotSprites);
  effectSprites.fill(effectLayer, kEffectSprites);
}

Spriteset_Stage::~Spriteset_Stage() {
  delete framePicture;
  if (frameImage_ > 0) DeleteImage(frameImage_);
  // Each layer takes its sprites with it.
  delete playerLayer;
  delete enemyLayer;
  delete shotLayer;
  delete bulletLayer;
  delete itemLayer;
  delete effectLayer;
  background.reset();
}

void Spriteset_Stage::update() {
  playerSprite->update();
  for (Sprite_PlayerOption* option : optionSprites) option->update();
  enemySprites.updateInUse();
  itemSprites.updateInUse();
  bulletSprites.updateInUse();
  shotSprites.updateInUse();
  effectSprites.updateInUse();
  if (background) background->update();
  fieldFade->update();
}

void Spriteset_Stage::connectShip(Stage_Field& field) {
  playerSprite->player = &field.player;
  for (size_t i = 0; i < optionSprites.size(); ++i) {
    optionSprites[i]->option = &field.options[i];
    optionSprites[i]->player = &field.player;
    optionSprites[i]->reset();
  }
}

void Spriteset_Stage::attachBullet(Object_Bullet& bullet, bool playerShot) {
  Sprite_Bullet* sprite = (playerShot ? shotSprites : bulletSprites).take();
  bullet.sprite = sprite;
  if (!sprite) return;
  sprite->bullet = &bullet;
  sprite->reset();
}

void Spriteset_Stage::attachEnemy(Object_Enemy& enemy) {
  Sprite_Enemy* sprite = enemySprites.take();
  if (!sprite) return;
  sprite->enemy = &enemy;
  sprite->reset();
}

void Spriteset_Stage::attachItem(Object_Item& item) {
  Sprite_Item* sprite = itemSprites.take();
  if (!sprite) return;
  sprite->item = &item;
  sprite->reset();
}

void Spriteset_Stage::letBulletGo(Object_Bullet& bullet) {
  Sprite_Bullet* sprite = bullet.sprite;
  bullet.sprite = nullptr;
  // The link may be stale: only a sprite still showing this very bullet lets go.
  if (sprite && sprite->bullet == &bullet && sprite->bulletId == bullet.id)
    sprite->bullet = nullptr;
}

void Spriteset_Stage::startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode,
                                  int32_t blendParam, double scale, int32_t frameStep) {
  Sprite_Effect* sprite = effectSprites.take();
  if (!sprite) return;
  sprite->x = x;
  sprite->y = y;
  sprite->scale = scale;
  sprite->kind = static_cast<int8_t>(kind);
  sprite->reset();
  sprite->blendMode = blendMode;
  sprite->blendParam = blendParam;
  if (frameStep > 0) sprite->frameStep = frameStep;
}

void Spriteset_Stage::startFieldFade(int32_t start, int32_t target, float frames) {
  // A fade over less than one frame is done in one.
  if (!(frames >= 1.0f)) frames = 1.0f;
  fieldFade->level = static_cast<float>(start);
  fieldFade->blendParam = start;
  fieldFade->target = target;
  fieldFade->speed = static_cast<float>(target - start) / frames;
  fieldFade->finished = false;
  fieldFade->visible = true;
}
