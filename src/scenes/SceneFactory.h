// Where the front-end menus get the screens they lead to, so that a menu
// names its successors without knowing how each is built (and the stage,
// which may not include the front end, can be given them as links).
#pragma once

#include <cstdint>

class Scene;

// A title that opens with its fade-in (every way back to the title wants it).
Scene* MakeTitleScene();
Scene* MakeDifficultySelectScene();
Scene* MakeChargeTypeSelectScene();

// The ranking tables, opened on the given page; fromTitle means Cancel, not
// OK, leaves them.
Scene* MakeScoreScene(int32_t difficulty, int32_t chargeType, bool fromTitle);
Scene* MakeReplayListScene();
Scene* MakeConfigScene();
// The summary after a finished game (for the stage and cut-scene links).
Scene* MakeResultScene();
