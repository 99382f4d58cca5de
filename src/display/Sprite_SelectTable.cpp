#include "display/Sprite_SelectTable.h"

#include <algorithm>

#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"

void Sprite_SelectTable::draw(int32_t baseX, int32_t baseY) {
  if (!visible) return;
  const int32_t left = baseX + x - ox;
  const int32_t top = baseY + y - oy;
  const int32_t headingHeight = text.empty() ? 0 : rowHeight;
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  if (framed) {
    const int32_t shown = visibleRows > 0 ? visibleRows : rowCount;
    drawBox(left, top, left + width, top + headingHeight + rowHeight * shown + margin * 2);
  }
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(255, 255, 255);
  const int32_t inner = width - 2 * margin;
  if (!text.empty()) drawTextLine(inner, 1, text, left + margin, top + margin, colour);

  const int32_t first = visibleRows > 0 ? firstVisible : 0;
  const int32_t count = visibleRows > 0 ? std::min(visibleRows, rowCount - firstVisible) : rowCount;
  for (int32_t j = 0; j < count; ++j) {
    const int32_t m = first + j;
    if (m < 0 || m >= rowCount) continue;  // a scroll position set out of range
    drawTextLine(inner, align, rows[static_cast<size_t>(m)], left + margin + j * rowStepX,
                 top + margin + headingHeight + j * rowHeight, m == cursor ? colour : dimColour);
  }
}

void Sprite_SelectTable::update() {
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  if (rowCount == 0) {
    cursor = -1;
    return;
  }
  if (cursor < 0) cursor = 0;
  const int32_t oldCursor = cursor;
  // Both directions in one frame: down first, then up.
  if (gInput.DirectionPressed(DIR_DOWN)) {
    cursor += 1;
    if (visibleRows > 0 && cursor >= visibleRows + firstVisible) firstVisible += 1;
    gSound.RequestEffect(SE_SELECT);
  }
  if (gInput.DirectionPressed(DIR_UP)) {
    cursor -= 1;
    if (cursor < firstVisible) firstVisible -= 1;
    gSound.RequestEffect(SE_SELECT);
  }
  if (cursor < 0) {
    cursor = rowCount - 1;
    firstVisible = rowCount - visibleRows;
    if (firstVisible < 0 || firstVisible > rowCount) firstVisible = 0;
  }
  if (cursor >= rowCount) {
    cursor = 0;
    firstVisible = 0;
  }
  moved = oldCursor != cursor;
}
