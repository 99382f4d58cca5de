#include "stage/StageTalk.h"

#include "stage/Scene_Stage.h"

void StageTalk_Event::start(Scene_Stage& stage, int32_t number) {
  talk.stage = &stage;
  talk.start(number);
}

void StageTalk_Event::runFrame(Scene_Stage& stage) {
  talk.stage = &stage;
  while (!stage.waitingForMessage && !stage.waitingForTime && !talk.finished) talk.step();
  CountTalkWait(talk, {stage.waitingForMessage, stage.waitingForTime, stage.waitCounter});
  if (!stage.waitingForMessage && talk.finished) stage.inConversation = 0;
  if (stage.leftPortrait) stage.leftPortrait->update();
  if (stage.rightPortrait) stage.rightPortrait->update();
}

std::unique_ptr<StageTalk> MakeStageTalk() { return std::make_unique<StageTalk_Event>(); }
