#include "app/GameMain.h"

#include <cstdio>

#include "app/CommandLine.h"
#include "app/GameFolders.h"
#include "app/Language.h"
#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/SafeFile.h"
#include "app/SceneRunner.h"
#include "app/Startup.h"
#include "engine/Engine.h"
#include "persist/ReplayFile.h"
#include "persist/ScoreData.h"
#include "scenes/SceneFactory.h"
#include "scenes/Scene_Title.h"
#include "stage/StageSeams.h"

int RunGame(int argc, const char* const* argv) {
  const ParsedCommandLine command = ParseCommandLine(argc, argv, stdout, stderr);
  if (!command.options) return command.exitCode;
  const GameFolders folders = ChooseGameFolders(*command.options, MachineFolderFacts());
  if (!EnterGameFolders(folders)) return -1;
  // Decided before the first text: the start-up question speaks it.
  RemoveInterruptedSave(kLanguagePath);
  gLanguage =
      ChooseLanguage(command.options->language, ReadLanguageFile(kLanguagePath), MachineLanguage());
  // Screen question, window, engine, archives, loading picture.
  if (StartEngine(command.options->screen, folders.data) != 0) return -1;

  // A save killed halfway leaves its temporary; the file itself is whole.
  for (const char* path : {kScoreFilePath, kSettingsPath, kKeyConfigPath}) {
    RemoveInterruptedSave(path);
  }
  RemoveInterruptedSaves(kReplayDirectory, ".vmr");

  gSound.Load();
  LoadFonts();
  LoadSharedImages();
  gGame.scoreData.Load();
  gInput.LoadKeyConfig();
  // Keys already held while loading count as held, not newly pressed, in
  // the first scene's first frame.
  gInput.update();

  // The screens a stage leads to once a game or a replay is over.
  gStageLinks.makeResult = &MakeResultScene;
  gStageLinks.makeReplayList = &MakeReplayListScene;
  gStageLinks.makeTitle = &MakeTitleScene;

  // The first scene uncovers the screen with its own opening fade.
  gGraphics.fade->blendParam = 255;
  gGraphics.fade->visible = true;

  RunSceneLoop(new Scene_Title(true));

  ReleaseSharedResources();
  EngineEnd();
  return 0;
}
