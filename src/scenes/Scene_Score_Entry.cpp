#include "scenes/Scene_Score_Entry.h"

#include <ctime>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Sjis.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "engine/Engine.h"
#include "scenes/Scene_ReplaySave.h"

namespace {

// What each cell shows (full-width, game text once converted) and what it
// enters (ASCII); the last three cells of the bottom row are space,
// back-space and OK.
constexpr const char* kShown[Scene_Score_Entry::kRows] = {
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭ", "ＮＯＰＱＲＳＴＵＶＷＸＹＺ", "ａｂｃｄｅｆｇｈｉｊｋｌｍ",
    "ｎｏｐｑｒｓｔｕｖｗｘｙｚ", "０１２３４５６７８９＋－＝", "．，！？＠：；［］（）＿／",
    "｛｝｜～＾＃＄％＆＊",
};
constexpr const char* kEntered[Scene_Score_Entry::kRows] = {
    "ABCDEFGHIJKLM", "NOPQRSTUVWXYZ", "abcdefghijklm", "nopqrstuvwxyz",
    "0123456789+-=", ".,!?@:;[]()_/", "{}|~^#$%&* ",
};
constexpr const char* kBottomLabels[] = {"SP", "BS", "OK"};
constexpr int32_t kFullWidthCells = 10;  // of the bottom row

// Full-width cell `col` of a row: every such character is two CP932 bytes.
std::string ShownCell(int32_t row, int32_t col) {
  if (row == Scene_Score_Entry::kLastRow && col >= kFullWidthCells) {
    return kBottomLabels[col - kFullWidthCells];
  }
  const std::string text = Sjis(kShown[row]);
  const auto at = static_cast<size_t>(2 * col);
  return at + 2 <= text.size() ? text.substr(at, 2) : std::string();
}

Sprite_String* MakeLine(int32_t font, int32_t x, int32_t y, int32_t width, int32_t align) {
  auto* line = new Sprite_String();
  line->image = font;
  line->x = x;
  line->y = y;
  line->width = width;
  line->align = align;
  line->outline = true;
  line->colour = {255, 255, 255};
  return line;
}

}  // namespace

Scene_Score_Entry::Scene_Score_Entry(int32_t rankingPlace) : column(0), place(rankingPlace) {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Score_Entry::~Scene_Score_Entry() { release(); }

char Scene_Score_Entry::CellCharacter(int32_t row, int32_t col) {
  if (row < 0 || row >= kRows || col < 0 || col >= kColumns) return '\0';
  if (row == kLastRow && col > kFullWidthCells) return '\0';
  return kEntered[row][col];
}

const std::string& Scene_Score_Entry::name() const {
  static const std::string none;
  return nameLine ? nameLine->text : none;
}

int32_t Scene_Score_Entry::cursorRow() const {
  return column >= 0 && column < static_cast<int32_t>(columns.size()) ? columns[column]->cursor
                                                                      : -1;
}

void Scene_Score_Entry::start() {
  background = new Sprite();
  background->image = LoadImageFile("Graphics/demo4.png");

  for (int32_t c = 0; c < kColumns; ++c) {
    auto* table = new Sprite_SelectTable();
    table->image = FontPGothic15;
    table->x = 151 + 26 * c;
    table->y = 280;
    table->width = 26;
    table->align = 1;
    table->rowHeight = 22;
    table->outline = true;
    table->framed = false;
    table->colour = {255, 255, 0};
    table->dimColour = {150, 150, 150};
    table->cursor = -1;
    table->active = c == 0;
    for (int32_t r = 0; r < kRows; ++r) table->addRow(ShownCell(r, c));
    columns.push_back(table);
  }
  column = 0;

  scoreLine = MakeLine(FontTrebuchet25, 160, 156, 320, 1);
  scoreLine->text = std::to_string(gGame.score) + " pts";
  nameLine = MakeLine(FontGothic20, 280, 200, 100, 0);
  caretLine = MakeLine(FontGothic20, 280, 205, 100, 0);
  caretLine->colour = {255, 255, 0};
  caretLine->text.assign(1, '_');
  heading = MakeLine(FontMincho30, 160, 100, 320, 1);
  heading->text = std::string("New Record!!");

  BeginOpeningFade();
}

void Scene_Score_Entry::update() {
  if (ContinueLeaving()) return;
  columns[column]->update();
  if (gInput.Pressed(BUTTON_OK)) {
    pressOk();
    // The row is in and saved; nothing else may change it now.
    if (leaving) return;
  }
  if (gInput.Pressed(BUTTON_SKIP)) {
    gSound.RequestEffect(SE_SELECT);
    jumpToOk();
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    gSound.RequestEffect(SE_CANCEL);
    std::string& typed = nameLine->text;
    if (!typed.empty()) typed.pop_back();
    showCaret();
  }
  if (gInput.DirectionPressed(DIR_RIGHT)) {
    moveToColumn(column == kColumns - 1 ? 0 : column + 1);
    gSound.RequestEffect(SE_SELECT);
  } else if (gInput.DirectionPressed(DIR_LEFT)) {
    moveToColumn(column == 0 ? kColumns - 1 : column - 1);
    gSound.RequestEffect(SE_SELECT);
  }
}

void Scene_Score_Entry::pressOk() {
  caretLine->text.clear();
  const int32_t row = cursorRow();
  std::string& typed = nameLine->text;
  if (column == kOkColumn && row == kLastRow) {
    commit();
    BeginLeaving(new Scene_ReplaySave());
    return;
  }
  if (column == kBackSpaceColumn && row == kLastRow) {
    if (!typed.empty()) typed.pop_back();
  } else if (static_cast<int32_t>(typed.size()) < kNameLength) {
    const char c = CellCharacter(row, column);
    if (c != '\0') typed.push_back(c);
    if (static_cast<int32_t>(typed.size()) == kNameLength) jumpToOk();
  }
  showCaret();
  gSound.RequestEffect(SE_OK);
}

void Scene_Score_Entry::moveToColumn(int32_t target) {
  if (target == column) return;
  columns[target]->cursor = columns[column]->cursor;
  columns[column]->cursor = -1;
  columns[column]->active = false;
  columns[target]->active = true;
  column = target;
}

void Scene_Score_Entry::jumpToOk() {
  moveToColumn(kOkColumn);
  columns[kOkColumn]->cursor = kLastRow;
}

void Scene_Score_Entry::showCaret() {
  const size_t typed = nameLine->text.size();
  // The caret stands under the next free position; a full name has none.
  std::string caret;
  if (typed < static_cast<size_t>(kNameLength)) {
    caret.assign(typed, ' ');
    caret.push_back('_');
  }
  caretLine->text = caret;
}

void Scene_Score_Entry::commit() {
  gGame.RecordRankedResult(place, nameLine->text.c_str(), static_cast<int64_t>(std::time(nullptr)));
  gGame.scoreData.Save();
}

void Scene_Score_Entry::terminate() { release(); }

void Scene_Score_Entry::release() {
  if (background) DeleteImage(background->image);
  delete background;
  background = nullptr;
  for (Sprite_String** line : {&heading, &scoreLine, &nameLine, &caretLine}) {
    delete *line;
    *line = nullptr;
  }
  for (Sprite_SelectTable* table : columns) delete table;
  columns.clear();
}
