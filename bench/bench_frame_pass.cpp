// One frame pass of a stage with every pool full: 500 enemy bullets (a tenth
// of them lasers), 150 player shots (a charge beam, a shield ring, a clearing
// disc, bomb rings and discs, the rest volley shots), 100 enemies, 200 items.
#include <benchmark/benchmark.h>

#include <memory>

#include "StageFill.h"
#include "app/Module_Game.h"
#include "app/Scene.h"
#include "app/SceneRunner.h"
#include "engine/Engine.h"
#include "objects/StageHost.h"
#include "objects/Stage_Field.h"

namespace {

class BenchStage : public Scene, public StageHost {
 public:
  std::unique_ptr<Stage_Field> field = std::make_unique<Stage_Field>();
  Stage_Field* stageField() override { return field.get(); }
  bool conversationMode() const override { return false; }
};

void BM_FramePassFullPools(benchmark::State& state) {
  gGame = Module_Game();
  for (auto _ : state) {
    state.PauseTiming();
    auto stage = std::make_unique<BenchStage>();
    bench::FillEveryPool(*stage->field);
    gCurrentScene = stage.get();
    state.ResumeTiming();
    stage->field->framePass();
    state.PauseTiming();
    state.counters["bullets_left"] = stage->field->enemyBullets.activeCount();
    gCurrentScene = nullptr;
    stage.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FramePassFullPools)->Unit(benchmark::kMicrosecond);

}  // namespace
