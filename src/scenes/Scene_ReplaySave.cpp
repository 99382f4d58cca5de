#include "scenes/Scene_ReplaySave.h"

#include <filesystem>
#include <system_error>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Texts.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "engine/Engine.h"
#include "persist/ReplayFile.h"
#include "scenes/Scene_Score.h"

namespace {
constexpr int32_t kNoRow = 1;

Sprite_SelectTable* MakeCentredTable(int32_t y) {
  auto* table = new Sprite_SelectTable();
  table->image = FontPGothic15;
  table->x = 160;
  table->y = y;
  table->width = 320;
  table->align = 1;
  table->outline = true;
  table->framed = false;
  table->colour = {255, 255, 255};
  table->dimColour = {150, 150, 150};
  return table;
}
}  // namespace

Scene_ReplaySave::Scene_ReplaySave() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_ReplaySave::~Scene_ReplaySave() { release(); }

std::string Scene_ReplaySave::FileName(const std::tm& local, int32_t difficulty, int32_t chargeType,
                                       bool cleared, size_t stageRecords) {
  char stamp[64] = "";
  std::strftime(stamp, sizeof stamp, "%y%m%d_%H%M%S", &local);
  std::string name = stamp;
  switch (difficulty) {
    case DIFFICULTY_EASY:
      name += "_Easy";
      break;
    case DIFFICULTY_NORMAL:
      name += "_Normal";
      break;
    case DIFFICULTY_APOCRYPHA:
      name += "_Apocrypha";
      break;
    default:
      name += "_Extra";
      break;
  }
  name += chargeType == CHARGE_SHIELD ? "_Shield" : "_Laser";
  if (cleared) {
    name += "_Clear";
  } else if (difficulty != DIFFICULTY_EXTRA) {
    name += "_Stage" + std::to_string(stageRecords);
  }
  return name + ".vmr";
}

void Scene_ReplaySave::start() {
  background = new Sprite();
  background->image = LoadImageFile("Graphics/demo4.png");

  message = MakeCentredTable(300);
  message->visible = false;

  question = MakeCentredTable(200);
  question->text = GameText(UiText::ReplaySaveQuestion);
  question->addRow(GameText(UiText::ReplaySaveYes));
  question->addRow(GameText(UiText::ReplaySaveNo));

  saved = false;
  BeginOpeningFade();
}

void Scene_ReplaySave::update() {
  if (ContinueLeaving()) return;
  if (!saved) question->update();
  if (!gInput.Pressed(BUTTON_OK)) return;
  if (saved || question->cursor == kNoRow) {
    BeginLeaving(new Scene_Score(gGame.difficulty, gGame.chargeType, false));
    return;
  }
  save();
  saved = true;
  gSound.RequestEffect(SE_OK);
}

void Scene_ReplaySave::save() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::string name = FileName(local, gGame.difficulty, gGame.chargeType, gGame.cleared,
                                    gInput.replay.stages.size());
  // An existing directory is fine; a failure shows up as a failed write.
  std::error_code ec;
  std::filesystem::create_directory(kReplayDirectory, ec);
  savedPath = std::string(kReplayDirectory) + "/" + name;
  // A full or read-only disk must not be reported as a saved replay.
  const bool written = WriteReplay(savedPath.c_str(), gInput.replay);
  message->text = GameTextWith(written ? UiText::ReplaySaved : UiText::ReplayNotSaved, name);
  message->visible = true;
}

void Scene_ReplaySave::terminate() { release(); }

void Scene_ReplaySave::release() {
  if (background) DeleteImage(background->image);
  delete background;
  background = nullptr;
  delete question;
  question = nullptr;
  delete message;
  message = nullptr;
}
