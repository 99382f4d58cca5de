#include "scenes/SceneFactory.h"

#include "scenes/Scene_Config.h"
#include "scenes/Scene_Replay.h"
#include "scenes/Scene_Result.h"
#include "scenes/Scene_Score.h"
#include "scenes/Scene_Select_ChargeType.h"
#include "scenes/Scene_Select_Difficulty.h"
#include "scenes/Scene_Title.h"

Scene* MakeTitleScene() { return new Scene_Title(true); }
Scene* MakeDifficultySelectScene() { return new Scene_Select_Difficulty(); }
Scene* MakeChargeTypeSelectScene() { return new Scene_Select_ChargeType(); }

Scene* MakeScoreScene(int32_t difficulty, int32_t chargeType, bool fromTitle) {
  return new Scene_Score(difficulty, chargeType, fromTitle);
}

Scene* MakeReplayListScene() { return new Scene_Replay(); }
Scene* MakeResultScene() { return new Scene_Result(); }

Scene* MakeConfigScene() { return new Scene_Config(); }
