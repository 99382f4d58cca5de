// Name entry for a new ranking row: "New Record!!", the score, and a 13 x 7
// grid of characters with space, back-space and OK. OK on "OK" inserts the
// row, saves "score.dat" and goes on to the replay question.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;

class Scene_Score_Entry : public Scene {
 public:
  static constexpr int32_t kColumns = 13;
  static constexpr int32_t kRows = 7;
  static constexpr int32_t kNameLength = 8;
  static constexpr int32_t kOkColumn = 12;
  static constexpr int32_t kBackSpaceColumn = 11;
  static constexpr int32_t kLastRow = 6;

  int32_t column = 0;
  int32_t place = 0;
  Sprite* background = nullptr;
  Sprite_String* heading = nullptr;
  Sprite_String* scoreLine = nullptr;
  Sprite_String* nameLine = nullptr;
  Sprite_String* caretLine = nullptr;
  std::vector<Sprite_SelectTable*> columns;

  explicit Scene_Score_Entry(int32_t rankingPlace);
  ~Scene_Score_Entry() override;
  void start() override;
  void update() override;
  void terminate() override;

  // The name typed so far (ASCII).
  const std::string& name() const;
  // The cursor's row in the current column (-1 before the first update).
  int32_t cursorRow() const;
  // The ASCII character a cell enters; '\0' for "BS" and "OK".
  static char CellCharacter(int32_t row, int32_t col);

 private:
  void pressOk();
  void moveToColumn(int32_t target);
  void jumpToOk();
  void showCaret();
  void commit();
  void release();
};
