// The replay list: the replay files in "replay", an information panel for
// the file under the cursor, and a choice of the recorded stage to start
// from. Playback runs in stage scenes and comes back here when it ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Module_InputReplay.h"
#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;
class Sprite_Transition;

class Scene_Replay : public Scene {
 public:
  bool empty = false;
  Sprite* background = nullptr;
  Sprite_Transition* dimmer = nullptr;
  Sprite_String* heading = nullptr;
  Sprite_SelectTable* infoLabels = nullptr;
  Sprite_SelectTable* infoValues = nullptr;
  Sprite_SelectTable* fileList = nullptr;
  Sprite_SelectTable* stageChoice = nullptr;
  bool playbackChosen = false;  // the successor is a stage scene

  Scene_Replay();
  ~Scene_Replay() override;
  void start() override;
  void update() override;
  void terminate() override;

  // The seven values of the information panel for a header.
  static std::vector<std::string> InformationRows(const ReplayHeader& header);
  // The rows of the stage choice: "Extra" for an Extra replay, otherwise
  // "Stage1" up to "Stage<stages>".
  static std::vector<std::string> StageChoiceRows(const ReplayHeader& header, int32_t stages);

 private:
  void fillFileList();
  void showInformation();
  std::string pathUnderCursor() const;
  void openStageChoice();
  void closeStageChoice();
  void leaveForTitle();
  void preparePlayback();
  void release();
};
