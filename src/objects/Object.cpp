#include "objects/Object.h"

#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "objects/StageHost.h"

int32_t gObjectCounter = 1;

int32_t NextObjectId() {
  const int32_t id = gObjectCounter;
  // Wrapping past the top would be undefined; after two billion spawns the
  // counter goes on from 1, which still tells a reused slot from its last user.
  gObjectCounter = gObjectCounter == INT32_MAX ? 1 : gObjectCounter + 1;
  return id;
}

bool Object::isOffScreen() { return OutsideField(x, y, 100.0f); }

void Object::setPosition(float px, float py) {
  x = px;
  y = py;
}

StageHost* CurrentStage() { return dynamic_cast<StageHost*>(gCurrentScene); }

Stage_Field* CurrentField() {
  StageHost* host = CurrentStage();
  return host ? host->stageField() : nullptr;
}

void spawnEffect(float x, float y, int32_t kind, int32_t blendMode, int32_t blendParam,
                 double scale, int32_t frameStep) {
  StageHost* host = CurrentStage();
  if (!host) return;
  host->startEffect(static_cast<int32_t>(x), static_cast<int32_t>(y), kind, blendMode, blendParam,
                    scale, frameStep);
}

void hitSpark(float x, float y, bool small, bool bossPart) {
  if (small) {
    if (RandomUpTo(5) == 0) spawnEffect(x, y, 1, BLEND_ADD, 100, 0.5, 1);
    return;
  }
  spawnEffect(x, y, 3, BLEND_ADD, 30, 2.0, 0);
  spawnEffect(x, y, 3, BLEND_ADD, bossPart ? 50 : 60, 1.0, 0);
}
