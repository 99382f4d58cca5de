// The stage timeline ("Data/Stage/stage%d.csv"): rows naming a window of the
// script clock and a command. Every row is looked at every frame, in file
// order; nothing is sorted or indexed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "objects/Stage_Field.h"

inline constexpr size_t kScriptFieldMax = 63;  // characters kept of one field

enum ScriptCommand {
  SCRIPT_SPAWN_ENEMY = 0,
  SCRIPT_CLEAR_ENEMIES_AND_BULLETS = 1,
  SCRIPT_CLEAR_BULLETS = 2,
  SCRIPT_CONVERSATION = 3,
  SCRIPT_SET_CLOCK = 4,
  SCRIPT_BRING_IN_BOSS = 5,
  SCRIPT_BOSS_NAME = 6,
  SCRIPT_STAGE_TITLE = 7,
  SCRIPT_RESUME_FRAME = 8,
  SCRIPT_STAGE_END = 9,
  SCRIPT_END_BOSS_FIGHT = 10,
  SCRIPT_WAIT_FOR_BOSS = 11,
  SCRIPT_FIELD_FADE_IN = 100,
  SCRIPT_FIELD_FADE_OUT = 101,
  SCRIPT_MUSIC_FADE = 110,
};

// What the timeline asks of the stage scene beyond the field itself.
class StageScriptHost {
 public:
  virtual ~StageScriptHost() = default;
  // Starts conversation `number` and sets the scene's conversation mode.
  virtual void startConversation(int32_t number) = 0;
  // Shows boss name `number` on the score board and keeps it as the boss
  // title number (which picks the defeat bonus).
  virtual void showBossName(int32_t number) = 0;
  // Starts the title card of the current stage.
  virtual void showStageTitle() = 0;
  // The play-field fade overlay goes from `from` to `to` over `frames` (>= 1).
  virtual void fadeField(int32_t from, int32_t to, int32_t frames) = 0;
};

// Parses a script file. Rows leaving out trailing fields take them from the
// row before; a comment ("/" to the line end) vanishes and the field it
// interrupted goes on with the next line.
std::vector<ScriptRow> ParseStageScript(const uint8_t* data, size_t size);

// Empties the field's script, records the stage number, sets the script
// clock to 0 and reads "Data/Stage/stage<n>.csv"; a missing file leaves the
// script empty.
void LoadStageScript(Stage_Field& field, int32_t stageNumber);

// One frame of the timeline: runs every row whose window holds the script
// clock (read afresh for each row), then advances the clock by one. `host`
// may be null (the scene-side commands then do nothing).
void StepStageScript(Stage_Field& field, StageScriptHost* host);

// Runs one row's command.
void RunScriptCommand(Stage_Field& field, const ScriptRow& row, StageScriptHost* host);
