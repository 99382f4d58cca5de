#include "stage/StageScript.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/DataFileText.h"
#include "app/Module_Sound.h"
#include "objects/EnemyTable.h"
#include "objects/EnemyTableReader.h"

namespace {

constexpr size_t kSkippedLineMax = 10000;
constexpr int kRowFields = 6;

size_t SkipLine(const uint8_t* data, size_t size, size_t pos) {
  for (size_t n = 0; pos < size && n < kSkippedLineMax; ++n) {
    if (data[pos++] == '\n') break;
  }
  return pos;
}

class ScriptParser {
 public:
  std::vector<ScriptRow> run(const uint8_t* data, size_t size) {
    size_t pos = SkipLine(data, size, SkipLine(data, size, 0));
    while (pos < size) {
      const char c = static_cast<char>(data[pos++]);
      if (c == '/') {
        // The comment takes the field's text read so far with it; the field
        // itself goes on after the line feed.
        text_.clear();
        started_ = false;
        while (pos < size) {
          if (data[pos++] == '\n') break;
        }
      } else if (c == ',') {
        endField();
      } else if (c == '\n') {
        endField();
        // A line feed ends the row, unless its sixth field just did.
        if (fieldIndex_ > 0) appendRow();
      } else {
        started_ = true;
        // Characters beyond the field's room are dropped.
        if (text_.size() < kScriptFieldMax) text_.push_back(c);
      }
    }
    // A last row without its line feed is still taken.
    if (started_ || fieldIndex_ > 0) {
      endField();
      if (fieldIndex_ > 0) appendRow();
    }
    return std::move(rows_);
  }

 private:
  void endField() {
    const int32_t n = DecimalFieldValue(text_);
    switch (fieldIndex_) {
      case 0:
        row_.frame = n;
        break;
      case 1:
        row_.duration = n;
        break;
      case 2:
        row_.command = n & 0xFF;
        break;
      case 3:
        row_.x = static_cast<float>(DecimalFloatValue(text_));
        break;
      case 4:
        row_.y = static_cast<float>(DecimalFloatValue(text_));
        break;
      default:
        row_.number = n;
        break;
    }
    text_.clear();
    started_ = false;
    ++fieldIndex_;
    if (fieldIndex_ == kRowFields) appendRow();
  }

  void appendRow() {
    rows_.push_back(row_);
    fieldIndex_ = 0;
  }

  std::vector<ScriptRow> rows_;
  ScriptRow row_;  // also the values rows leaving fields out inherit
  int fieldIndex_ = 0;
  std::string text_;
  bool started_ = false;  // the current field has characters
};

bool RunsAt(const ScriptRow& row, int32_t clock) {
  if (row.frame > clock) return false;
  return row.duration == -1 || int64_t{clock} < int64_t{row.frame} + row.duration;
}

// Frame counts of fades: a count below 1 would divide by zero or never end,
// so it acts as a one-frame fade.
int32_t FadeFrames(float x) { return std::max(Trunc(x), 1); }

void EndBossFight(Stage_Field& field) {
  field.enemies.releaseAll();
  field.enemyBullets.releaseAll();
  if (!field.boss.dead) field.boss.destroy(false);
  field.bossActive = 0;
  field.bossFinished = 0;
}

}  // namespace

std::vector<ScriptRow> ParseStageScript(const uint8_t* data, size_t size) {
  return ScriptParser().run(data, size);
}

void LoadStageScript(Stage_Field& field, int32_t stageNumber) {
  field.script.clear();
  field.stageNumber = static_cast<int8_t>(stageNumber);
  field.scriptClock = 0;
  char path[64];
  std::snprintf(path, sizeof path, "Data/Stage/stage%d.csv", static_cast<int>(stageNumber));
  std::vector<uint8_t> bytes;
  if (ReadDataFileText(path, bytes)) field.script = ParseStageScript(bytes.data(), bytes.size());
}

void RunScriptCommand(Stage_Field& field, const ScriptRow& row, StageScriptHost* host) {
  switch (row.command) {
    case SCRIPT_SPAWN_ENEMY:
      SpawnEnemyFromTable(field, row.number, row.x, row.y);
      break;
    case SCRIPT_CLEAR_ENEMIES_AND_BULLETS:
      field.clearEnemiesAndBullets();
      break;
    case SCRIPT_CLEAR_BULLETS:
      field.enemyBullets.releaseAll();
      break;
    case SCRIPT_CONVERSATION:
      if (host) host->startConversation(Trunc(row.x));
      break;
    case SCRIPT_SET_CLOCK:
      field.scriptClock = Trunc(row.x);
      break;
    case SCRIPT_BRING_IN_BOSS:
      // A row outside the table brings in nothing and leaves the boss
      // inactive: a stale boss object must not run its old script again.
      BringInBoss(field, row.number, row.x, row.y, field.stageNumber);
      field.bossFinished = 0;
      break;
    case SCRIPT_BOSS_NAME:
      if (host) host->showBossName(Trunc(row.x));
      break;
    case SCRIPT_STAGE_TITLE:
      if (host) host->showStageTitle();
      break;
    case SCRIPT_RESUME_FRAME:
      field.resumeFrame = Trunc(row.x);
      break;
    case SCRIPT_STAGE_END:
      field.stageFinished = 1;
      break;
    case SCRIPT_END_BOSS_FIGHT:
      EndBossFight(field);
      break;
    case SCRIPT_WAIT_FOR_BOSS:
      if (!field.boss.dead && field.scriptClock > INT32_MIN) field.scriptClock -= 1;
      break;
    case SCRIPT_FIELD_FADE_IN:
      if (host) host->fadeField(255, 0, FadeFrames(row.x));
      break;
    case SCRIPT_FIELD_FADE_OUT:
      if (host) host->fadeField(0, 255, FadeFrames(row.x));
      break;
    case SCRIPT_MUSIC_FADE: {
      const int32_t frames = FadeFrames(row.x);
      gSound.FadeMusic(-255.0f / static_cast<float>(frames), frames);
      break;
    }
    default:
      break;
  }
}

void StepStageScript(Stage_Field& field, StageScriptHost* host) {
  // By index, with the clock read for every row: a jump changes which of the
  // later rows run in this same frame.
  for (size_t i = 0; i < field.script.size(); ++i) {
    const ScriptRow row = field.script[i];
    if (RunsAt(row, field.scriptClock)) RunScriptCommand(field, row, host);
  }
  if (field.scriptClock < INT32_MAX) field.scriptClock += 1;
}
