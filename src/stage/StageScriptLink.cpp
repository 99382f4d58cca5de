#include "stage/StageScriptLink.h"

#include "stage/Scene_Stage.h"
#include "stage/StageScript.h"

namespace {

// The stage scene as the timeline sees it.
class SceneScriptHost final : public StageScriptHost {
 public:
  explicit SceneScriptHost(Scene_Stage& stage) : stage_(stage) {}
  void startConversation(int32_t number) override { stage_.startConversation(number); }
  void showBossName(int32_t number) override { stage_.showBossName(number); }
  void showStageTitle() override { stage_.showStageTitle(); }
  void fadeField(int32_t from, int32_t to, int32_t frames) override {
    stage_.fieldFade(from, to, static_cast<float>(frames));
  }

 private:
  Scene_Stage& stage_;
};

}  // namespace

void StepStageScriptOf(Scene_Stage& stage) {
  if (!stage.field) return;
  SceneScriptHost host(stage);
  StepStageScript(*stage.field, &host);
}
