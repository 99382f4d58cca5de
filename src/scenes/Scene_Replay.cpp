#include "scenes/Scene_Replay.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "app/Resources.h"
#include "app/Sjis.h"
#include "app/Texts.h"
#include "display/Sprite.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "display/Sprite_Transition.h"
#include "engine/Engine.h"
#include "persist/ReplayFile.h"
#include "scenes/SceneFactory.h"
#include "stage/Scene_Stage.h"

namespace {

constexpr UiText kInfoLabels[] = {
    UiText::ReplayInfoDifficulty, UiText::ReplayInfoProgress,  UiText::ReplayInfoChargeType,
    UiText::ReplayInfoScore,      UiText::ReplayInfoBombsUsed, UiText::ReplayInfoMisses,
    UiText::ReplayInfoContinues,
};

Sprite_SelectTable* MakeTable(int32_t x, int32_t y, int32_t width) {
  auto* table = new Sprite_SelectTable();
  table->image = FontPGothic15;
  table->outline = true;
  table->x = x;
  table->y = y;
  table->width = width;
  table->colour = {255, 255, 255};
  table->dimColour = {150, 150, 150};
  return table;
}

// Whether the file can be read: a replay in a read-only folder or with
// read-only permissions is still worth watching.
bool Readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

// The replay files in the save folder (the working directory; the data
// folder may be elsewhere), as game text, in the order of their names.
std::vector<std::string> ReplayFileNames() {
  namespace fs = std::filesystem;
  std::vector<std::string> utf8Names;
  std::error_code ec;
  for (fs::directory_iterator it(kReplayDirectory, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    const fs::path& path = it->path();
    if (it->is_regular_file(kind) && path.extension() == ".vmr") {
      utf8Names.push_back(path.filename().string());
    }
  }
  std::sort(utf8Names.begin(), utf8Names.end());
  std::vector<std::string> names;
  for (const std::string& name : utf8Names) names.push_back(Sjis(name));
  return names;
}

}  // namespace

Scene_Replay::Scene_Replay() {
  next = nullptr;
  running = false;
  leaving = false;
}

Scene_Replay::~Scene_Replay() { release(); }

std::vector<std::string> Scene_Replay::InformationRows(const ReplayHeader& h) {
  std::vector<std::string> rows;
  rows.emplace_back(h.difficulty == DIFFICULTY_EASY        ? "Easy"
                    : h.difficulty == DIFFICULTY_NORMAL    ? "Normal"
                    : h.difficulty == DIFFICULTY_APOCRYPHA ? "Apocrypha"
                                                           : "Extra");
  if (h.cleared != 0) {
    rows.emplace_back("Clear");
  } else if (h.difficulty == DIFFICULTY_EXTRA) {
    rows.emplace_back("Stage Ex");
  } else {
    rows.push_back("Stage " + std::to_string(h.stageCount));
  }
  rows.emplace_back(h.chargeType == CHARGE_SHIELD ? "Shield" : "Laser");
  rows.push_back(std::to_string(h.score) + GameText(UiText::ReplayInfoPoints));
  const std::string times = GameText(UiText::ReplayInfoTimes);
  rows.push_back(std::to_string(h.bombsUsed) + times);
  rows.push_back(std::to_string(h.misses) + times);
  rows.push_back(std::to_string(h.continuesUsed) + times);
  return rows;
}

std::vector<std::string> Scene_Replay::StageChoiceRows(const ReplayHeader& h, int32_t stages) {
  std::vector<std::string> rows;
  // The header's count, but never more stages than the file holds.
  const int32_t count = h.stageCount < stages ? h.stageCount : stages;
  if (count <= 0) return rows;
  if (h.difficulty == DIFFICULTY_EXTRA) {
    rows.emplace_back("Extra");
    return rows;
  }
  for (int32_t i = 1; i <= count; ++i) rows.push_back("Stage" + std::to_string(i));
  return rows;
}

void Scene_Replay::start() {
  // Drawn in creation order: the dimmer covers the list, not the panel.
  background = new Sprite();
  background->image = LoadImageFile("Graphics/demo4.png");

  fileList = MakeTable(64, 80, 360);
  fileList->visibleRows = 20;
  fileList->framed = false;
  fileList->active = true;

  dimmer = new Sprite_Transition();
  dimmer->level = 0.0f;
  dimmer->target = 255;
  dimmer->speed = 1.0f;
  dimmer->fadeRed = dimmer->fadeGreen = dimmer->fadeBlue = 0;
  dimmer->visible = false;

  stageChoice = MakeTable(270, 160, 100);
  stageChoice->rowHeight = 18;
  stageChoice->framed = true;
  stageChoice->visible = false;
  stageChoice->active = false;

  infoLabels = MakeTable(374, 160, 250);
  infoLabels->text = GameText(UiText::ReplayInfoHeading);
  infoLabels->framed = true;
  infoValues = MakeTable(494, 160, 250);
  infoValues->text = "  ";
  infoValues->framed = false;
  for (Sprite_SelectTable* panel : {infoLabels, infoValues}) {
    panel->rowHeight = 18;
    panel->cursor = -1;
    panel->dimColour = {255, 255, 255};
  }
  for (UiText label : kInfoLabels) infoLabels->addRow(GameText(label));

  heading = new Sprite_String();
  heading->image = FontMincho30;
  heading->text = "Replay";
  heading->align = 1;
  heading->width = 320;
  heading->x = 160;
  heading->y = 16;
  heading->outline = true;
  heading->colour = {255, 255, 255};

  gInput.replayMode = REPLAY_OFF;
  empty = false;
  fillFileList();
  if (empty) {
    infoLabels->visible = false;
    infoValues->visible = false;
  } else {
    fileList->cursor = 0;
    showInformation();
  }
  BeginOpeningFade();
}

void Scene_Replay::fillFileList() {
  fileList->rows.clear();
  const std::string dir = std::string(kReplayDirectory) + "/";
  for (const std::string& name : ReplayFileNames()) {
    if (Readable(dir + name)) fileList->addRow(name);
  }
  if (fileList->rows.empty()) {
    fileList->addRow("NO DATA");
    fileList->cursor = -1;
    fileList->dimColour = {255, 255, 255};
    fileList->active = false;
    empty = true;
  }
}

std::string Scene_Replay::pathUnderCursor() const {
  const int32_t row = fileList->cursor;
  if (empty || row < 0 || row >= static_cast<int32_t>(fileList->rows.size())) return {};
  return std::string(kReplayDirectory) + "/" + fileList->rows[static_cast<size_t>(row)];
}

void Scene_Replay::showInformation() {
  const std::string path = pathUnderCursor();
  // A file that has become unreadable keeps the panel of the last header.
  std::string fault;
  if (!path.empty()) ReadReplayHeader(path.c_str(), gInput.replay.header, &fault);
  if (fault.empty()) {
    infoValues->rows = InformationRows(gInput.replay.header);
  } else {
    // Damaged: nothing in the header can be trusted, and nothing can be played.
    infoValues->rows = {"Damaged file"};
  }
}

void Scene_Replay::update() {
  if (ContinueLeaving()) return;
  if (stageChoice->visible) {
    stageChoice->update();
  } else if (!empty) {
    fileList->update();
    if (fileList->moved) showInformation();
  }
  dimmer->update();

  if (gInput.Pressed(BUTTON_OK)) {
    gSound.RequestEffect(SE_OK);
    if (empty) {
      leaveForTitle();
    } else if (stageChoice->visible) {
      playbackChosen = true;
      next = new Scene_Stage();
      gGraphics.fade->startClosing();
      leaving = true;
    } else {
      openStageChoice();
    }
    if (leaving) return;
  }
  if (gInput.Pressed(BUTTON_CANCEL)) {
    gSound.RequestEffect(SE_CANCEL);
    if (stageChoice->visible) {
      closeStageChoice();
    } else {
      leaveForTitle();
    }
  }
}

void Scene_Replay::openStageChoice() {
  const std::string path = pathUnderCursor();
  const int32_t stages = ReplayFileStages(path.c_str());
  stageChoice->rows = StageChoiceRows(gInput.replay.header, stages);
  // A file with no stage to play (emptied or damaged since it was listed)
  // offers nothing to start.
  if (stageChoice->rows.empty()) return;
  stageChoice->cursor = 0;
  stageChoice->firstVisible = 0;
  stageChoice->visible = true;
  stageChoice->active = true;
  fileList->active = false;
  dimmer->level = 0.0f;
  dimmer->blendParam = 0;
  dimmer->target = 150;
  dimmer->speed = 15.0f;
  dimmer->visible = true;
  dimmer->finished = false;
}

void Scene_Replay::closeStageChoice() {
  stageChoice->visible = false;
  stageChoice->active = false;
  fileList->active = true;
  dimmer->level = 150.0f;
  dimmer->blendParam = 150;
  dimmer->target = 0;
  dimmer->speed = -15.0f;
  dimmer->visible = true;
  dimmer->finished = false;
}

void Scene_Replay::leaveForTitle() {
  next = MakeTitleScene();
  gGraphics.fade->startClosing();
  leaving = true;
}

void Scene_Replay::preparePlayback() {
  const std::string path = pathUnderCursor();
  ReadReplay(path.c_str(), gInput.replay);
  const int32_t chosen = stageChoice->cursor < 0 ? 0 : stageChoice->cursor;
  if (static_cast<size_t>(chosen) >= gInput.replay.stages.size()) {
    // The file lost its records since the list was shown: nothing to play,
    // so the list comes back instead of a stage played live.
    delete next;
    next = new Scene_Replay();
    return;
  }
  // The HiScore shown while watching is the best of the replay's own
  // difficulty and charge type, not of whatever the menus chose last.
  gGame.difficulty = gInput.replay.header.difficulty;
  gGame.chargeType = gInput.replay.header.chargeType;
  gGame.NewGame();
  gInput.replayMode = REPLAY_PLAYING_SUSPENDED;
  gInput.replay.exhausted = false;
  gInput.skipHeldFrames = 0;
  gInput.replay.stageIndex = chosen;
  // Watching never touches the records, and the stage loads the enemy
  // table of the replay's difficulty afresh.
  ScoreData::replayPlayback = true;
  Scene_Stage::enemyTableLoadedForReplay = false;
}

void Scene_Replay::terminate() {
  if (playbackChosen) preparePlayback();
  release();
}

void Scene_Replay::release() {
  if (background) DeleteImage(background->image);
  delete dimmer;
  dimmer = nullptr;
  delete heading;
  heading = nullptr;
  delete background;
  background = nullptr;
  for (Sprite_SelectTable** table : {&infoLabels, &infoValues, &fileList, &stageChoice}) {
    delete *table;
    *table = nullptr;
  }
}
