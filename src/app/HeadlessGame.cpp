#include "app/HeadlessGame.h"

#include <unistd.h>

#include <cstdio>

#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Startup.h"
#include "engine/Engine.h"
#include "engine/Headless.h"

bool StartHeadlessGame(const char* program, const std::string& gameDir) {
  if (!gameDir.empty() && chdir(gameDir.c_str()) != 0) {
    std::fprintf(stderr, "%s: cannot enter %s\n", program, gameDir.c_str());
    return false;
  }
  engine::headless::Use();
  engine::headless::SetAnswer(false);
  if (StartEngine() != 0) {
    std::fprintf(stderr, "%s: the engine did not start\n", program);
    return false;
  }
  gSound.Load();
  LoadFonts();
  LoadSharedImages();
  // Recorded buttons are mapped through the key configuration, as the game
  // does.
  gInput.LoadKeyConfig();
  gInput.update();
  return true;
}

void EndHeadlessGame() {
  ReleaseSharedResources();
  EngineEnd();
}
