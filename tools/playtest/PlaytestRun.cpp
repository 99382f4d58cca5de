#include "playtest/PlaytestRun.h"

#include <cstdio>

#include "app/DataFileText.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "persist/ScoreData.h"
#include "playtest/BotHands.h"
#include "scenes/Scene_Demo.h"
#include "stage/Scene_Stage.h"
#include "stage/StageScript.h"
#include "stage/StageSeams.h"

namespace {

constexpr int32_t kExtraStage = 7;
constexpr int32_t kFirstEnding = 10;  // stage numbers from here on are the endings
constexpr uint32_t kCutSceneFrameLimit = 60u * 60u * 10u;

Scene* NoScene() { return nullptr; }

// A new game as the selection screens leave it, at the chosen stage.
void StartNewGame(const PlaytestOptions& o) {
  gGame.difficulty = o.difficulty;
  gGame.chargeType = o.chargeType;
  gGame.NewGame();
  gGame.stage = o.stage;
  if (o.stage != 1 && o.stage != kExtraStage) {
    gGame.lives = kCarriedLives;
    gGame.bombs = kCarriedBombs;
    gGame.power = kCarriedPower;
  }
  gGame.startFrame = gGraphics.frameCount;
  // No continue bonus earned by earlier games: every run allows the same.
  gGame.scoreData.Reset();
  // The recorder takes the game from its first stage, whichever it is.
  gInput.replayMode = REPLAY_OFF;
  gInput.StartNewRecording();
  gInput.skipHeldFrames = 0;
  Scene_Stage::enemyTableLoadedForReplay = false;
  // The first stage and the Extra stage load the table themselves.
  if (o.stage != 1 && o.stage != kExtraStage && gStageLinks.loadEnemyTable) {
    gStageLinks.loadEnemyTable(o.difficulty);
  }
  SeedRandom(o.seed);
}

// The links, the records guard and the current scene as a run found them,
// given back when it ends. Meanwhile no result, replay list or title is
// made, and a bot's game is nobody's record.
class BotSession {
 public:
  explicit BotSession(bool withCutScenes)
      : links_(gStageLinks), guard_(ScoreData::replayPlayback), scene_(gCurrentScene) {
    if (!withCutScenes) gStageLinks.makeCutScene = &NoScene;
    gStageLinks.makeResult = &NoScene;
    gStageLinks.makeReplayList = &NoScene;
    gStageLinks.makeTitle = &NoScene;
    ScoreData::replayPlayback = true;
    engine::headless::ReleaseAllKeys();
    engine::headless::SetJoypad(0);
  }
  ~BotSession() {
    gCurrentScene = scene_;
    engine::headless::ReleaseAllKeys();
    gInput.replayMode = REPLAY_OFF;
    gStageLinks = links_;
    ScoreData::replayPlayback = guard_;
  }
  BotSession(const BotSession&) = delete;
  BotSession& operator=(const BotSession&) = delete;

 private:
  StageLinks links_;
  bool guard_;
  Scene* scene_;
};

// One frame of the scene as the scene runner runs it (headless: no window
// to close), its draws dropped.
void RunFrame(Scene& scene) {
  StepSceneFrame(scene);
  engine::headless::ClearDraws();
}

// Plays a stage scene from its start to its end (or the frame limit) and
// leaves it terminated; the scene it leads to stays in scene.next.
PlaytestResult RunStage(Scene_Stage& scene, const PlaytestOptions& options, BotHands& hands) {
  PlaytestResult result;
  result.options = options;
  result.options.stage = gGame.stage;
  gCurrentScene = &scene;
  scene.running = true;
  scene.next = nullptr;
  scene.start();

  StageObserver observer;
  while (scene.running && result.frames < options.frameLimit) {
    BotHands::Apply(hands.decide(scene));
    observer.beforeFrame(scene);
    RunFrame(scene);
    observer.afterFrame(scene);
    ++result.frames;
  }
  result.hitFrameLimit = scene.running;
  scene.terminate();
  observer.finish();
  result.stats = observer.stats();
  return result;
}

// Plays a cut-scene, each message read for readFrames frames (at least a
// second when messages would run their own time) and moved on with OK.
// Returns the frames it took; false in `ended` when it never ended.
uint32_t RunCutScene(Scene_Demo& scene, int32_t readFrames, bool& ended) {
  const int32_t read = readFrames > 0 ? readFrames : 60;
  gCurrentScene = &scene;
  scene.running = true;
  scene.next = nullptr;
  scene.start();
  uint32_t frames = 0;
  bool okHeld = false;
  while (scene.running && frames < kCutSceneFrameLimit) {
    okHeld = !okHeld && scene.waitingForMessage && scene.waitCounter >= read;
    engine::headless::SetKey(KEY_Z, okHeld);
    RunFrame(scene);
    ++frames;
  }
  engine::headless::SetKey(KEY_Z, false);
  ended = !scene.running;
  scene.terminate();
  return frames;
}

}  // namespace

bool StageHasScript(int32_t stage) {
  char path[64];
  std::snprintf(path, sizeof path, "Data/Stage/stage%d.csv", static_cast<int>(stage));
  std::vector<uint8_t> bytes;
  if (!ReadDataFileText(path, bytes)) return false;
  return !ParseStageScript(bytes.data(), bytes.size()).empty();
}

PlaytestResult PlayStage(const PlaytestOptions& options) {
  BotSession session(false);
  StartNewGame(options);
  BotHands hands(options.takeContinues, options.readFrames, options.skill,
                 static_cast<uint64_t>(static_cast<uint32_t>(options.seed)));
  auto* scene = new Scene_Stage();
  PlaytestResult result = RunStage(*scene, options, hands);
  // Terminate wrote the game's totals into the record's header.
  result.replay = gInput.replay;
  delete scene->next;
  delete scene;
  return result;
}

GameResult PlayGame(const PlaytestOptions& options) {
  GameResult game;
  game.options = options;
  game.options.stage = 1;
  BotSession session(true);
  StartNewGame(game.options);
  BotHands hands(options.takeContinues, options.readFrames, options.skill,
                 static_cast<uint64_t>(static_cast<uint32_t>(options.seed)));

  Scene* scene = new Scene_Stage();
  while (scene) {
    Scene* following = nullptr;
    if (auto* stage = dynamic_cast<Scene_Stage*>(scene)) {
      if (!StageHasScript(gGame.stage)) {
        game.stageWithoutScript = gGame.stage;
      } else {
        game.stages.push_back(RunStage(*stage, options, hands));
        game.hitFrameLimit = game.stages.back().hitFrameLimit;
        if (!game.hitFrameLimit) following = stage->next;
      }
    } else if (auto* cutScene = dynamic_cast<Scene_Demo*>(scene)) {
      bool ended = false;
      const uint32_t frames = RunCutScene(*cutScene, options.readFrames, ended);
      game.cutSceneFrames += frames;
      game.hitFrameLimit = !ended;
      if (gGame.stage >= kFirstEnding) {
        game.closingScene = gGame.stage + 100;
        game.closingSceneFrames = frames;
      }
      // The endings and the lost game lead to the result: the game is over.
      if (ended && gGame.stage < kFirstEnding) following = cutScene->next;
    }
    if (following != scene->next) delete scene->next;
    delete scene;
    scene = following;
  }
  game.cleared = gGame.cleared;
  game.lost = !game.cleared && gGame.stage >= kFirstEnding;
  // Each stage's terminate wrote the game's totals into the header.
  game.replay = gInput.replay;
  return game;
}
