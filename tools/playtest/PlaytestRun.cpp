#include "playtest/PlaytestRun.h"

#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "persist/ScoreData.h"
#include "playtest/BotHands.h"
#include "stage/Scene_Stage.h"
#include "stage/StageSeams.h"

namespace {

Scene* NoScene() { return nullptr; }

// A new game as the selection screens leave it, at the chosen stage.
void StartNewGame(const PlaytestOptions& o) {
  gGame.difficulty = o.difficulty;
  gGame.chargeType = o.chargeType;
  gGame.NewGame();
  gGame.stage = o.stage;
  gGame.startFrame = gGraphics.frameCount;
  // No continue bonus earned by earlier games: every run allows the same.
  gGame.scoreData.Reset();
  // The recorder takes the game from its first stage, whichever it is.
  gInput.replayMode = REPLAY_OFF;
  gInput.StartNewRecording();
  gInput.skipHeldFrames = 0;
  Scene_Stage::enemyTableLoadedForReplay = false;
  // The first stage and the Extra stage load the table themselves.
  if (o.stage != 1 && o.stage != 7 && gStageLinks.loadEnemyTable) {
    gStageLinks.loadEnemyTable(o.difficulty);
  }
  SeedRandom(o.seed);
}

}  // namespace

PlaytestResult PlayStage(const PlaytestOptions& options) {
  PlaytestResult result;
  result.options = options;

  const StageLinks savedLinks = gStageLinks;
  const bool savedGuard = ScoreData::replayPlayback;
  Scene* const previousScene = gCurrentScene;
  gStageLinks.makeCutScene = &NoScene;
  gStageLinks.makeResult = &NoScene;
  gStageLinks.makeReplayList = &NoScene;
  gStageLinks.makeTitle = &NoScene;
  // A bot's game is nobody's record.
  ScoreData::replayPlayback = true;
  engine::headless::ReleaseAllKeys();
  engine::headless::SetJoypad(0);
  StartNewGame(options);

  auto* scene = new Scene_Stage();
  gCurrentScene = scene;
  scene->running = true;
  scene->next = nullptr;
  scene->start();

  BotHands hands(options.takeContinues, options.readFrames, options.skill,
                 static_cast<uint64_t>(static_cast<uint32_t>(options.seed)));
  StageObserver observer;
  while (scene->running && result.frames < options.frameLimit) {
    BotHands::Apply(hands.decide(*scene));
    observer.beforeFrame(*scene);
    gGraphics.frameStep();
    gInput.update();
    gSound.Update();
    PumpMessages();
    scene->update();
    engine::headless::ClearDraws();
    observer.afterFrame(*scene);
    ++result.frames;
  }
  result.hitFrameLimit = scene->running;
  scene->terminate();
  observer.finish();
  result.stats = observer.stats();
  // Terminate wrote the game's totals into the record's header.
  result.replay = gInput.replay;

  delete scene->next;
  delete scene;
  gCurrentScene = previousScene;
  engine::headless::ReleaseAllKeys();
  gInput.replayMode = REPLAY_OFF;
  gStageLinks = savedLinks;
  ScoreData::replayPlayback = savedGuard;
  return result;
}
