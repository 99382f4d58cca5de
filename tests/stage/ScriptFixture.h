// A field with a recording stage host for the stage-script tests: the
// timeline's calls to the scene (conversations, boss names, title cards,
// field fades) are written down instead of shown.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "objects/FieldFixture.h"
#include "stage/StageScript.h"

struct FadeCall {
  int32_t from, to, frames;
};

class ScriptStage : public TestStage, public StageScriptHost {
 public:
  std::vector<int32_t> conversations;
  std::vector<int32_t> bossNames;
  int32_t stageTitles = 0;
  std::vector<FadeCall> fades;

  void startConversation(int32_t number) override {
    conversations.push_back(number);
    talking = true;
  }
  void showBossName(int32_t number) override {
    bossNames.push_back(number);
    bossTitle = number;
  }
  void showStageTitle() override { ++stageTitles; }
  void fadeField(int32_t from, int32_t to, int32_t frames) override {
    fades.push_back({from, to, frames});
  }
};

class ScriptTest : public FieldTest {
 protected:
  ScriptStage* host = nullptr;

  void SetUp() override {
    FieldTest::SetUp();
    auto scripted = std::make_unique<ScriptStage>();
    host = scripted.get();
    stage = std::move(scripted);
    gCurrentScene = stage.get();
    // The frame pass steps the timeline first, as the stage scene does.
    stage->script = [this](Stage_Field& f) { StepStageScript(f, host); };
    placePlayer(192.0f, 400.0f);
  }

  // Rows of a script file, after its two header lines.
  static std::vector<ScriptRow> Parse(const std::string& rows) {
    const std::string bytes = "frame,dur,cmd,x,y,n\n// second header line\n" + rows;
    return ParseStageScript(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  void load(const std::string& rows, int8_t stageNumber = 1) {
    field().script = Parse(rows);
    field().stageNumber = stageNumber;
    field().scriptClock = 0;
  }
  void step(int frames = 1) {
    for (int i = 0; i < frames; ++i) StepStageScript(field(), host);
  }
  // A table row with hit points, radius and actions.
  static void addEnemyRow(int32_t hitPoints, int32_t radius, std::vector<Action> actions = {}) {
    EnemyRecord r;
    r.hitPoints = hitPoints;
    r.radius = radius;
    r.actions = std::move(actions);
    gEnemyTable.push_back(r);
  }
};
