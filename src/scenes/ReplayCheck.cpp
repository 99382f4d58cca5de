#include "scenes/ReplayCheck.h"

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "stage/Scene_Stage.h"

namespace {

// Beyond its recorded frames a stage still fades out, and a damaged record
// may keep it going; past this many extra frames it is given up on.
constexpr uint32_t kExtraFrames = 36000;

Scene* NoScene() { return nullptr; }

// The record as loaded for playback from its first stage.
void LoadForPlayback(const ReplayRecord& record) {
  gGame.NewGame();
  gInput.replay = record;
  gInput.replay.stageIndex = 0;
  gInput.replay.exhausted = false;
  gInput.replay.playStage = 0;
  gInput.replay.playFrame = 0;
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
  gInput.skipHeldFrames = 0;
  Scene_Stage::enemyTableLoadedForReplay = false;
}

// Runs one stage scene; true when it ended (or its record ran out, for the
// last one) within the budget.
bool RunStage(Scene& scene, bool lastRecord, uint32_t budget, void (*afterFrame)(),
              uint32_t& frames) {
  scene.running = true;
  scene.next = nullptr;
  scene.start();
  bool ranOut = false;
  frames = 0;
  while (scene.running && frames < budget) {
    gGraphics.frameStep();
    gInput.update();
    // The last record ends where the game ended. Playback would take an
    // automatic continue on a lost game (and zero the score), so from the
    // frame that used the last sample on the stage runs as live play.
    if (lastRecord && gInput.replay.exhausted && gInput.replayMode == REPLAY_PLAYING_SUSPENDED) {
      gInput.replayMode = REPLAY_OFF;
      ranOut = true;
    }
    gSound.Update();
    PumpMessages();
    scene.update();
    ++frames;
    if (afterFrame) afterFrame();
    if (ranOut) break;
  }
  return ranOut || !scene.running;
}

}  // namespace

bool ReplayCheckReport::inStep() const {
  if (stages.empty() || !totalsMatch()) return false;
  for (const ReplayStageCheck& s : stages) {
    if (!s.matches()) return false;
  }
  return true;
}

ReplayCheckReport CheckReplay(const ReplayRecord& record, const StageLinks& playLinks,
                              void (*afterFrame)()) {
  ReplayCheckReport report;
  const StageLinks savedLinks = gStageLinks;
  const bool savedGuard = ScoreData::replayPlayback;
  gStageLinks = playLinks;
  gStageLinks.makeMenu = nullptr;
  gStageLinks.makeCutScene = &NoScene;
  gStageLinks.makeResult = &NoScene;
  gStageLinks.makeReplayList = &NoScene;
  gStageLinks.makeTitle = &NoScene;
  ScoreData::replayPlayback = true;
  LoadForPlayback(record);

  const size_t count = record.stages.size();
  Scene* scene = count > 0 ? new Scene_Stage() : nullptr;
  for (size_t i = 0; scene && i < count; ++i) {
    const bool last = i + 1 == count;
    ReplayStageCheck check;
    check.stage = record.stages[i].start.stage;
    check.startScore = record.stages[i].start.score;
    check.expectedScore = last ? record.header.score : record.stages[i + 1].start.score;
    check.recordedFrames = static_cast<uint32_t>(record.stages[i].frames.size());
    const uint32_t budget = check.recordedFrames + kExtraFrames;
    // Gameplay objects find their stage through the current scene.
    Scene* const previous = gCurrentScene;
    gCurrentScene = scene;
    check.finished = RunStage(*scene, last, budget, afterFrame, check.playedFrames);
    check.endScore = gGame.score;
    scene->terminate();
    gCurrentScene = previous;
    Scene* next = scene->next;
    delete scene;
    scene = nullptr;
    report.stages.push_back(check);
    if (!last && check.finished && dynamic_cast<Scene_Stage*>(next)) {
      scene = next;
    } else {
      delete next;
    }
  }
  report.continuesUsed = gGame.continuesUsed;
  report.misses = gGame.misses;
  report.bombsUsed = gGame.bombsUsed;
  report.headerContinuesUsed = record.header.continuesUsed;
  report.headerMisses = record.header.misses;
  report.headerBombsUsed = record.header.bombsUsed;

  gInput.replayMode = REPLAY_OFF;
  gStageLinks = savedLinks;
  ScoreData::replayPlayback = savedGuard;
  return report;
}
