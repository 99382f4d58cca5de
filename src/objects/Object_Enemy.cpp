#include "objects/Object_Enemy.h"

#include "app/Module_Game.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "objects/EnemyFire.h"
#include "objects/EnemyTable.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Item.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {
constexpr int kSeEnemyExplosion = 13;
constexpr int32_t kDestroyScore = 500;

// Owner and parent links go through pool slots that may have been reused,
// so a chain can in rare cases loop back on itself. Walks along a chain stop
// after this many links instead of recursing for ever.
constexpr int kMaxChain = 64;

class ChainDepth {
 public:
  explicit ChainDepth(int& depth) : depth_(depth) { ++depth_; }
  ~ChainDepth() { --depth_; }
  ChainDepth(const ChainDepth&) = delete;
  ChainDepth& operator=(const ChainDepth&) = delete;
  bool tooDeep() const { return depth_ > kMaxChain; }

 private:
  int& depth_;
};

int gOffScreenDepth = 0;
int gBossPartDepth = 0;
int gHitDepth = 0;
}  // namespace

void Object_Enemy::update() {
  if (linked && owner && owner->dead) {
    dead = 1;
    return;
  }
  motionStep();
  if (isOffScreen()) dead = 1;
}

bool Object_Enemy::isOffScreen() {
  ChainDepth depth(gOffScreenDepth);
  if (linked && owner && !depth.tooDeep()) return owner->isOffScreen();
  return x < -100.0f || x > 484.0f || y < -100.0f || y > 548.0f;
}

bool Object_Enemy::isBossPart() {
  ChainDepth depth(gBossPartDepth);
  if (depth.tooDeep()) return false;
  // Only enemies make enemies their children.
  auto* holder = dynamic_cast<Object_Enemy*>(parent);
  return holder && holder->isBossPart();
}

void Object_Enemy::takeHit(Object_Bullet& shot, float factor) {
  ChainDepth depth(gHitDepth);
  if (depth.tooDeep()) return;
  if (!shell) loseHitPoints(Trunc(static_cast<float>(shot.damage) * factor));
  if (linked && owner) owner->takeHit(shot, factor * damageFactor);
}

void Object_Enemy::loseHitPoints(int32_t n) {
  hitPoints -= n;
  if (hitPoints <= 0) destroy(false);
}

void Object_Enemy::dropItems() {
  Stage_Field* field = CurrentField();
  if (!field) return;
  for (int kind = 1; kind <= 4; ++kind) {
    for (int n = 0; n < drops[kind - 1]; ++n) SpawnItem(*field, x, y, static_cast<int8_t>(kind));
  }
}

void Object_Enemy::destroy(bool silent) {
  dropItems();
  dead = 1;
  if (!silent) {
    spawnEffect(x, y, 1, BLEND_NONE, 255, 2.0, 0);
    gSound.RequestEffect(kSeEnemyExplosion);
  }
  gGame.AddScore(kDestroyScore);
}

void Object_Enemy::resetEnemy() {
  aimAngle = 0.0f;
  shotSpeed = 1.0f;
  shotType = 1;
  delayStep = 1;
  spread = 0.0f;
  angleOffset = 0.0f;
  laserLength = 100;
  laserWidth = 2;
  muzzleX = 0;
  muzzleY = 0;
  attachShots = 0;
  counter = 0;
  animationRequest = 0;
  drawDepth = 0;
  animationPeriod = 6;
  blendMode = 1;
  shell = 0;
  linked = 0;
  owner = nullptr;
  damageFactor = 1.0f;
  vx = vy = 0.0f;
  accelX = accelY = 0.0f;
  radius = 0;
  alpha = 255;
}

namespace {

// Makes `part` a linked child of `holder`, placed at (px, py) relative to it.
void AttachPart(Object_Enemy& part, Object_Enemy& holder, float px, float py, float factor) {
  part.owner = &holder;
  part.parent = &holder;
  part.linked = 1;
  part.damageFactor = factor;
  part.setPosition(px, py);
}

}  // namespace

void Object_Enemy::doAction(Action& action) {
  if (DoFiringAction(*this, action)) return;
  const float p1 = action.p1;
  const float p2 = action.p2;
  Stage_Field* field = nullptr;
  switch (action.Code()) {
    case 1:
      if (Trunc(p1) != 0) {
        destroy(false);
      } else {
        dead = 1;
      }
      return;
    case 5:
      counter = Trunc(p1);
      return;
    case 6:
      counter += Trunc(p1);
      return;
    case 7:
      if (counter >= Trunc(p1)) clock = Trunc(p2);
      return;
    case 8:
      if (Trunc(p1) >= hitPoints) clock = Trunc(p2);
      return;
    case 9: {
      const int n = RandomUpTo(100000);
      if (p1 * 100000.0f > static_cast<float>(n)) clock = Trunc(p2);
      return;
    }
    case 44:
      animationPeriod = Trunc(p1) > 0 ? Trunc(p1) : 6;
      return;
    case 45:
      drawDepth = Trunc(p1);
      return;
    case 48: {
      const int32_t n = Trunc(p1);
      spawnEffect(static_cast<float>(muzzleX), static_cast<float>(muzzleY), n % 100, n / 100, 255,
                  p2, 0);
      return;
    }
    case 49:
      animationRequest = Trunc(p1) + 100000;
      return;
    case 140:
      if ((field = CurrentField()) != nullptr) {
        if (Object_Enemy* part = SpawnEnemyBare(*field, 0)) {
          AttachPart(*part, *this, static_cast<float>(muzzleX), static_cast<float>(muzzleY), p2);
          part->radius = Trunc(p1);
          part->shell = 1;
        }
      }
      return;
    case 141:
    case 142:
    case 146:
      if ((field = CurrentField()) != nullptr) {
        Object_Enemy* spawned =
            SpawnEnemyFromTable(*field, Trunc(p1), muzzlePointX(), muzzlePointY());
        if (!spawned) return;
        if (action.Code() == 142) {
          spawned->owner = this;
          spawned->linked = 1;
          spawned->damageFactor = p2;
        } else if (action.Code() == 146) {
          if (attachShots) {
            spawned->owner = this;
            spawned->linked = 1;
          }
          spawned->speed = shotSpeed;
          spawned->angle = aimAngle;
          spawned->velocityFromAngle();
        }
      }
      return;
    case 143:
      if ((field = CurrentField()) != nullptr) {
        if (Object_Enemy* child = SpawnEnemyFromTable(*field, Trunc(p1), 0.0f, 0.0f)) {
          AttachPart(*child, *this, static_cast<float>(muzzleX), static_cast<float>(muzzleY), p2);
        }
      }
      return;
    case 150:
      hitPoints = Trunc(p1);
      return;
    case 151:
      hitPoints += Trunc(p1);
      return;
    case 160:
      if (StageHost* host = CurrentStage()) host->startFieldFade(p1);
      return;
    case 161:
      if ((field = CurrentField()) != nullptr) field->clearEnemiesAndBullets();
      return;
    case 205:
      if ((field = CurrentField()) != nullptr) {
        if (Object_Enemy* part = SpawnEnemyBare(*field, static_cast<uint8_t>(Trunc(p1) % 256))) {
          AttachPart(*part, *this, 0.0f, 0.0f, p2);
          part->radius = 0;
          part->drawDepth = drawDepth + 1;
          part->shell = 1;
          part->blendMode = BLEND_ADD;
        }
      }
      return;
    default:
      Object_Movable::doAction(action);
  }
}
