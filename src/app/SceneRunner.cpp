#include "app/SceneRunner.h"

#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"

Scene* gCurrentScene = nullptr;

namespace {
bool sceneRunning = false;  // the runner's guard
}  // namespace

bool StepSceneFrame(Scene& scene) {
  gGraphics.frameStep();
  gInput.update();
  gSound.Update();
  if (PumpMessages() != 0) return false;
  scene.update();
  return true;
}

Scene* RunScene() {
  if (sceneRunning) return nullptr;
  Scene* scene = gCurrentScene;
  if (!scene) return nullptr;
  sceneRunning = true;
  scene->running = true;
  scene->next = nullptr;
  scene->start();
  while (scene->running) {
    if (!StepSceneFrame(*scene)) {
      // The window was closed: end now, whatever the scene was doing. A
      // successor it had already made will never run; it only set fields.
      Scene* abandoned = scene->next;
      scene->next = nullptr;
      scene->terminate();
      if (abandoned != scene) delete abandoned;
      sceneRunning = false;
      return nullptr;
    }
  }
  scene->terminate();
  Scene* successor = scene->next;
  sceneRunning = false;
  return successor;
}

void RunSceneLoop(Scene* first) {
  gCurrentScene = first;
  while (gCurrentScene) {
    Scene* successor = RunScene();
    delete gCurrentScene;
    gCurrentScene = successor;
  }
}
