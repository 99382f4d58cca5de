// The configuration screen: music and effect volumes in eleven steps (heard
// while the cursor moves), which joypad button stands behind each virtual
// button, and the language (in force as the cursor moves). The volume and
// button files are written whenever the screen is left, the language file
// when the language was chosen here.
#pragma once

#include <cstdint>
#include <string>

#include "app/Scene.h"

class Sprite;
class Sprite_SelectTable;

enum ConfigState { CONFIG_MAIN = 0, CONFIG_VOLUME = 1, CONFIG_KEYS = 2, CONFIG_LANGUAGE = 3 };

// Rows of the main menu and of the key table.
enum ConfigMainRow {
  CONFIG_ROW_BGM = 0,
  CONFIG_ROW_SE = 1,
  CONFIG_ROW_KEYS = 2,
  CONFIG_ROW_LANGUAGE = 3
};
inline constexpr int32_t kKeyRows = 8;  // one per virtual button
inline constexpr int32_t kKeyRowDefault = 8;
inline constexpr int32_t kKeyRowBack = 9;

// The volume table row that opens for a stored volume ("MAX" for 100, "40%"
// for 45); negative for a volume above 100 (the table then treats it as 0).
int32_t VolumeRow(int32_t volume);
// The first newly pressed joypad button in the order of the letters shown
// for them (A, B, C, D, F, ... X, Y, Z); 0 when none.
uint32_t FirstNewButton(uint32_t now, uint32_t previous);
// A key table label with the letter of the button behind it.
std::string KeyRowText(int32_t row, uint32_t mask);

class Scene_Config : public Scene {
 public:
  int32_t state = CONFIG_MAIN;
  Sprite* background = nullptr;
  Sprite_SelectTable* mainMenu = nullptr;
  Sprite_SelectTable* keyTable = nullptr;
  Sprite_SelectTable* volumeTable = nullptr;
  Sprite_SelectTable* languageTable = nullptr;  // rows in the order of Language
  bool languageChosen = false;

  Scene_Config();
  ~Scene_Config() override;
  void update() override;
  void start() override;
  void terminate() override;

 private:
  void updateMain();
  void updateVolume();
  void updateKeys();
  void updateLanguage();
  void openVolumeTable(int32_t volume);
  void closeTable(Sprite_SelectTable* table, int effect);
  void writeKeyLetters();
  void release();
};
