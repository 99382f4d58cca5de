#include "scenes/Scene_Config.h"

#include "app/KeyConfig.h"
#include "app/Language.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Texts.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "engine/Engine.h"
#include "scenes/SceneFactory.h"

namespace {

// The letter of a button goes at index 13 of its row.
constexpr const char* kKeyLabels[kKeyRows] = {"OK           *", "Cancel       *", "Shot         *",
                                              "Charge       *", "Bomb         *", "Slow         *",
                                              "Skip         *", "Pause        *"};
constexpr size_t kLetterColumn = 13;
// The virtual button behind each key row (Skip is listed before Pause).
constexpr int kRowButton[kKeyRows] = {BUTTON_OK,   BUTTON_CANCEL, BUTTON_SHOT, BUTTON_CHARGE,
                                      BUTTON_BOMB, BUTTON_SLOW,   BUTTON_SKIP, BUTTON_PAUSE};
// Joypad bits in the alphabetical order of their letters. The direction bits
// and the bits without a letter are never assigned.
constexpr int kBitsByLetter[] = {4,  5,  6,  14, 15, 16, 17, 18, 19, 20, 10, 13,
                                 22, 23, 24, 11, 26, 27, 28, 29, 30, 7,  8,  9};
constexpr const char* kVolumeRows[] = {"MAX", "90%", "80%", "70%", "60%", "50%",
                                       "40%", "30%", "20%", "10%", "OFF"};
constexpr int32_t kVolumeSteps = 11;

Sprite_SelectTable* MakeTable(const char* heading, int32_t x, int32_t y, int32_t width, int32_t z,
                              int font) {
  auto* table = new Sprite_SelectTable();
  table->text = heading;
  table->x = x;
  table->y = y;
  table->width = width;
  table->z = z;
  table->image = font;
  table->colour = {255, 255, 255};
  table->dimColour = {150, 150, 150};
  table->framed = true;
  return table;
}

}  // namespace

int32_t VolumeRow(int32_t volume) { return (10 - volume / 10) % kVolumeSteps; }

uint32_t FirstNewButton(uint32_t now, uint32_t previous) {
  const uint32_t fresh = now & ~previous;
  for (int bit : kBitsByLetter) {
    if (fresh & (1u << bit)) return 1u << bit;
  }
  return 0;
}

std::string KeyRowText(int32_t row, uint32_t mask) {
  std::string text = kKeyLabels[row];
  text[kLetterColumn] = ButtonLetter(mask);
  return text;
}

Scene_Config::Scene_Config() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Config::~Scene_Config() { release(); }

void Scene_Config::start() {
  state = CONFIG_MAIN;
  background = new Sprite();
  background->image = LoadImageFile("Graphics/Title.png");
  background->x = 0;
  background->y = 0;

  mainMenu = MakeTable("Config", 120, 300, 200, 10, FontFranklin25);
  for (const char* row : {"BGM Volume", "SE Volume", "Key Config", "Language"}) {
    mainMenu->addRow(row);
  }

  volumeTable = MakeTable("Volume", 330, 150, 150, 20, FontFranklin25);
  for (const char* row : kVolumeRows) volumeTable->addRow(row);
  volumeTable->visible = false;

  languageTable = MakeTable("Language", 330, 150, 150, 20, FontFranklin25);
  for (const char* row : {"Japanese", "English"}) languageTable->addRow(row);
  languageTable->visible = false;
  languageChosen = false;

  // A fixed-pitch font keeps the letters in one column.
  keyTable = MakeTable("Key Config", 330, 150, 200, 20, FontGothic20);
  for (const char* label : kKeyLabels) keyTable->addRow(label);
  keyTable->addRow("Default");
  keyTable->addRow("Back");
  keyTable->visible = false;
  writeKeyLetters();

  BeginOpeningFade();
}

void Scene_Config::update() {
  if (ContinueLeaving()) return;
  switch (state) {
    case CONFIG_MAIN:
      updateMain();
      break;
    case CONFIG_VOLUME:
      updateVolume();
      break;
    case CONFIG_KEYS:
      updateKeys();
      break;
    case CONFIG_LANGUAGE:
      updateLanguage();
      break;
    default:
      break;
  }
}

void Scene_Config::updateMain() {
  mainMenu->update();
  if (gInput.Pressed(BUTTON_OK)) {
    gSound.RequestEffect(SE_OK);
    switch (mainMenu->cursor) {
      case CONFIG_ROW_BGM:
        openVolumeTable(gSound.bgmVolume);
        break;
      case CONFIG_ROW_SE:
        openVolumeTable(gSound.seVolume);
        break;
      case CONFIG_ROW_KEYS:
        keyTable->visible = true;
        state = CONFIG_KEYS;
        break;
      case CONFIG_ROW_LANGUAGE:
        languageTable->cursor = static_cast<int32_t>(gLanguage);
        languageTable->visible = true;
        state = CONFIG_LANGUAGE;
        break;
      default:
        break;
    }
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    gSound.RequestEffect(SE_CANCEL);
    next = MakeTitleScene();
    gGraphics.fade->startClosing();
    leaving = true;
  }
}

void Scene_Config::openVolumeTable(int32_t volume) {
  volumeTable->cursor = VolumeRow(volume);
  volumeTable->visible = true;
  state = CONFIG_VOLUME;
}

void Scene_Config::updateVolume() {
  volumeTable->update();
  // Heard at once: the volume follows the cursor while it moves. Only a
  // real move counts, so a volume the table cannot show (a missing settings
  // file leaves 255) stays until the player picks a step.
  if (volumeTable->moved) {
    const int32_t volume = (10 - volumeTable->cursor) * 10;
    if (mainMenu->cursor == CONFIG_ROW_BGM) {
      gSound.bgmVolume = volume;
    } else {
      gSound.seVolume = volume;
    }
    gSound.ApplyVolumes();
  }
  // Cancel keeps the volume where the cursor left it.
  if (gInput.Pressed(BUTTON_OK)) {
    closeTable(volumeTable, SE_OK);
  } else if (gInput.Pressed(BUTTON_CANCEL)) {
    closeTable(volumeTable, SE_CANCEL);
  }
}

void Scene_Config::updateKeys() {
  keyTable->update();
  const int32_t row = keyTable->cursor;
  if (row >= 0 && row < kKeyRows) {
    // Keyboard keys stay fixed; only joypad buttons are assigned.
    if (uint32_t mask = FirstNewButton(gInput.padNow, gInput.padPrev)) {
      gSound.RequestEffect(SE_OK);
      gInput.buttonMask[kRowButton[row]] = mask;
      writeKeyLetters();
    }
  }
  if (gInput.Pressed(BUTTON_OK)) {
    if (row == kKeyRowDefault) {
      gSound.RequestEffect(SE_OK);
      gInput.RestoreDefaultButtons();
      writeKeyLetters();
    } else if (row == kKeyRowBack) {
      closeTable(keyTable, SE_OK);
      return;
    }
  }
  // On the button rows Cancel is a button like any other (assigned above).
  if (gInput.Pressed(BUTTON_CANCEL) && (row == kKeyRowDefault || row == kKeyRowBack)) {
    closeTable(keyTable, SE_CANCEL);
  }
}

void Scene_Config::updateLanguage() {
  languageTable->update();
  // In force at once, like the volumes: the window title follows, and every
  // screen opened from here on speaks the new language.
  if (languageTable->moved && languageTable->cursor >= 0) {
    gLanguage = static_cast<Language>(languageTable->cursor);
    SetWindowTitle(GameText(UiText::WindowTitle).c_str());
    languageChosen = true;
  }
  if (gInput.Pressed(BUTTON_OK)) {
    closeTable(languageTable, SE_OK);
  } else if (gInput.Pressed(BUTTON_CANCEL)) {
    closeTable(languageTable, SE_CANCEL);
  }
}

void Scene_Config::closeTable(Sprite_SelectTable* table, int effect) {
  gSound.RequestEffect(effect);
  table->visible = false;
  state = CONFIG_MAIN;
}

void Scene_Config::writeKeyLetters() {
  for (int32_t row = 0; row < kKeyRows; ++row) {
    keyTable->rows[static_cast<size_t>(row)] = KeyRowText(row, gInput.buttonMask[kRowButton[row]]);
  }
}

void Scene_Config::terminate() {
  release();
  // Written on every exit, changed or not.
  gInput.SaveKeyConfig();
  gSound.SaveSettings();
  // Only a choice made here is kept: a language that came from the command
  // line or the locale must not become the player's saved choice.
  if (languageChosen) WriteLanguageFile(kLanguagePath, gLanguage);
}

void Scene_Config::release() {
  if (background) DeleteImage(background->image);
  delete background;
  background = nullptr;
  delete mainMenu;
  mainMenu = nullptr;
  delete volumeTable;
  volumeTable = nullptr;
  delete keyTable;
  keyTable = nullptr;
  delete languageTable;
  languageTable = nullptr;
}
