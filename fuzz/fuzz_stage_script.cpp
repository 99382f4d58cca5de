// Any bytes as a stage script: the reader must not crash, keeps command
// codes to 8 bits and never yields non-finite positions; the rows are then
// stepped on an empty field (no table, no scene) for a few frames.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "stage/StageScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<ScriptRow> rows = ParseStageScript(data, size);
  for (const ScriptRow& r : rows) {
    if (r.command < 0 || r.command > 255) std::abort();
    if (!std::isfinite(r.x) || !std::isfinite(r.y)) std::abort();
  }
  if (rows.size() > size + 1) std::abort();
  static auto field = std::make_unique<Stage_Field>();
  field->script = rows;
  field->scriptClock = 0;
  for (int frame = 0; frame < 8; ++frame) StepStageScript(*field, nullptr);
  field->clearEnemiesAndBullets();
  field->items.releaseAll();
  return 0;
}
