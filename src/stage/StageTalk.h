// The conversation player of a stage: starts a conversation when the stage
// script asks for one and runs it once per frame while the stage is in
// conversation mode, the field playing on underneath without collisions.
#pragma once

#include <cstdint>
#include <memory>

#include "stage/StageSeams.h"
#include "stage/TalkEvent.h"

class StageTalk_Event final : public StageTalk {
 public:
  TalkEvent talk;

  void start(Scene_Stage& stage, int32_t number) override;
  // Runs commands until one waits or the file ends, counts the wait, ends
  // conversation mode once the talk is over and no message is showing, and
  // updates the portraits.
  void runFrame(Scene_Stage& stage) override;
};

// The stage's conversation player, for the stage's links.
std::unique_ptr<StageTalk> MakeStageTalk();
