#include "objects/Sprite_Enemy.h"

#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object_Enemy.h"

namespace {
constexpr int32_t kRestartFlag = 100000;  // a request repeated while it plays
}  // namespace

const int* EnemyCells(int32_t graphic) {
  if (graphic == 0) return PlayerImages[kPlayerSets - 1];
  if (graphic >= 1 && graphic <= kEnemySets) return EnemyImages[graphic - 1];
  return nullptr;
}

bool AnimationCursor::playing() const {
  return sequence && index >= 0 && index < static_cast<int32_t>(sequence->frames.size());
}

void AnimationCursor::advance() {
  if (index < 0 || !sequence || sequence->frames.empty()) return;
  const int32_t frames = static_cast<int32_t>(sequence->frames.size());
  if (index < frames && counter >= sequence->frames[static_cast<size_t>(index)].duration) {
    index += 1;
    counter = 0;
    if (index >= frames) index = loop ? 0 : -1;
  }
  counter += 1;
}

void Sprite_Enemy::update() {
  cursor.advance();
  if (enemy) {
    const Object_Enemy& e = *enemy;
    x = static_cast<int32_t>(e.x);
    y = static_cast<int32_t>(e.y);
    z = e.drawDepth;
    blendMode = e.blendMode;
    blendParam = e.alpha;
    int32_t row = 0;
    if (e.vx >= 2.0f) {
      row = 2;
    } else if (e.vx <= -2.0f) {
      row = 1;
    } else {
      row = e.vy < 0.0f ? 3 : 0;
    }
    // A period of 0 or less would divide by zero: the frame then stands.
    if (e.animationPeriod > 0 && (counter + 1) % e.animationPeriod == 0) frame = (frame + 1) % 4;
    image = cells ? cells[4 * row + frame] : 0;
    counter += 1;
  }
  if (enemy && !enemy->dead && enemy->id == enemyId) {
    Object_Enemy& e = *enemy;
    const int32_t current = cursor.sequence ? cursor.sequence->id : 0;
    if (current == e.animationRequest) return;
    cursor.stop();
    if (e.animationRequest > kRestartFlag) e.animationRequest -= kRestartFlag;
    if (e.animationRequest == 0) return;
    if (const Animation* next = FindAnimation(e.animationRequest)) {
      cursor.sequence = next;
      cursor.index = 0;
    }
    return;
  }
  // The enemy is gone, or its pool slot went to another enemy.
  visible = false;
  idle = true;
}

void Sprite_Enemy::reset() {
  if (!enemy) return;
  enemyId = enemy->id;
  cells = EnemyCells(enemy->graphic);
  int w = 0;
  int h = 0;
  if (cells && cells[0] > 0 && GetImageSize(cells[0], &w, &h) == 0) {
    ox = w / 2;
    oy = h / 2;
  }
  cursor.stop();
  frame = 0;
  counter = 0;
  x = static_cast<int32_t>(enemy->x);
  y = static_cast<int32_t>(enemy->y);
  visible = true;
}

void Sprite_Enemy::draw(int32_t baseX, int32_t baseY) {
  if (!visible) return;
  // Brightness is deliberately left as earlier draws set it.
  SetBlendMode(blendMode, blendParam);
  if (cursor.playing()) {
    const AnimationFrame& cell = cursor.sequence->frames[static_cast<size_t>(cursor.index)];
    if (cell.image != 0) {
      DrawImage(baseX + x - cursor.sequence->originX, baseY + y - cursor.sequence->originY,
                cell.image, transparent);
    }
    return;
  }
  if (image != 0) DrawImage(baseX + x - ox, baseY + y - oy, image, transparent);
}
