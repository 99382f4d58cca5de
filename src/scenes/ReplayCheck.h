// Plays a replay record through the stage scenes, frame by frame as the
// scene runner would but without waiting for the screen, and reports how
// each recorded stage ended. A faithful replay ends every stage with the
// score the next stage record starts with (clear bonus included) and the
// last one with the score in the header; anything else is a desync.
#pragma once

#include <cstdint>
#include <vector>

#include "app/Module_InputReplay.h"
#include "stage/StageSeams.h"

struct ReplayStageCheck {
  int32_t stage = 0;          // the stage number the record starts
  int32_t startScore = 0;     // as recorded
  int32_t endScore = 0;       // as played back
  int32_t expectedScore = 0;  // the next record's start, or the header's score
  uint32_t recordedFrames = 0;
  uint32_t playedFrames = 0;
  bool finished = false;  // the stage ended within its frame budget
  bool matches() const { return finished && endScore == expectedScore; }
};

struct ReplayCheckReport {
  std::vector<ReplayStageCheck> stages;
  // Game totals after the last stage, and the header's: a replay that ends
  // with the right score but another count of misses, bombs or continues
  // did not play the recorded game either.
  int32_t continuesUsed = 0;
  int32_t misses = 0;
  int32_t bombsUsed = 0;
  int32_t headerContinuesUsed = 0;
  int32_t headerMisses = 0;
  int32_t headerBombsUsed = 0;
  bool totalsMatch() const {
    return continuesUsed == headerContinuesUsed && misses == headerMisses &&
           bombsUsed == headerBombsUsed;
  }
  // Every recorded stage was played and ended as recorded, with the
  // recorded totals.
  bool inStep() const;
};

// Plays every stage of `record` from its first. `playLinks` are the parts
// the stage scene borrows (script, conversations, scenery, enemy table):
// they must be the ones the record was made with. Menus and the scenes a
// stage leads to are left out. `afterFrame`, when given, runs after every
// frame (the headless checker empties its draw record there). The game's
// records are never written meanwhile.
ReplayCheckReport CheckReplay(const ReplayRecord& record, const StageLinks& playLinks,
                              void (*afterFrame)() = nullptr);
