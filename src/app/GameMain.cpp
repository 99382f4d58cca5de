#include "app/GameMain.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/SceneRunner.h"
#include "app/Scene_Boot.h"
#include "app/Startup.h"
#include "engine/Engine.h"

int RunGame() {
  // Screen question, window, engine, archives, loading picture.
  if (StartEngine() != 0) return -1;

  gSound.Load();
  LoadFonts();
  LoadSharedImages();
  gGame.scoreData.Load();
  gInput.LoadKeyConfig();
  // Keys already held while loading count as held, not newly pressed, in
  // the first scene's first frame.
  gInput.update();

  // The first scene uncovers the screen with its own opening fade.
  gGraphics.fade->blendParam = 255;
  gGraphics.fade->visible = true;

  RunSceneLoop(new Scene_Boot());

  ReleaseSharedResources();
  EngineEnd();
  return 0;
}
