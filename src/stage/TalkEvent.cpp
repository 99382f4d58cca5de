#include "stage/TalkEvent.h"

#include <cstdio>

#include "app/DataFileText.h"
#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "app/Module_Sound.h"
#include "engine/Engine.h"
#include "stage/Scene_Stage.h"

std::string ConversationPath(int32_t number, Language language) {
  char path[64];
  if (language == Language::English) {
    std::snprintf(path, sizeof path, "Data/Event/en/event%d.csv", static_cast<int>(number));
    if (DataFileSize(path) != -1) return path;
  }
  std::snprintf(path, sizeof path, "Data/Event/event%d.csv", static_cast<int>(number));
  return path;
}

void TalkEvent::start(int32_t number) {
  file.close();
  fileOpen = 0;
  const std::string path = ConversationPath(number);
  const int64_t size = DataFileSize(path.c_str());
  if (size == -1) {
    fileSize = 0;
  } else {
    fileSize = size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
    fileOpen = file.open(path.c_str()) ? 1 : 0;
  }
  resetPlayState();
}

void TalkEvent::startFromBytes(const uint8_t* data, size_t size) {
  file.openBytes(data, size);
  fileSize = static_cast<int32_t>(file.size());
  fileOpen = 1;
  resetPlayState();
}

void TalkEvent::resetPlayState() {
  lineCount = 0;
  noKeyMessages = 0;
  messageTime = kDefaultMessageTime;
  finished = fileOpen ? 0 : 1;
}

void TalkEvent::finish() {
  file.close();
  fileOpen = 0;
  finished = 1;
}

void TalkEvent::step() {
  if (!fileOpen || finished) {
    finished = 1;
    return;
  }
  if (lineCount == 0) {
    file.skipHeaderLine();
    file.skipHeaderLine();
    lineCount = 2;
  }
  std::string column;
  file.readColumn(column);
  const int32_t type = Number(column);
  if (file.atEnd()) {
    // A last line without its data still runs.
    runCommand(type, std::string());
    finish();
    return;
  }
  file.readColumn(column);
  runCommand(type, column);
  // The last line's command runs, and the conversation ends with it.
  if (file.atEnd()) {
    finish();
    return;
  }
  ++lineCount;
}

int32_t TalkEvent::Number(const std::string& data) { return DecimalFieldValue(data); }

void TalkEvent::runCommand(int32_t type, const std::string& data) {
  const int32_t n = Number(data);
  // What the conversation keeps for itself needs no stage.
  switch (type) {
    case 3:
      messageTime = n;
      return;
    case 4:
      noKeyMessages = n != 0;
      return;
    case 10:
      speakerName = data;
      return;
    case 100:
      // Easy players are spared the rest of the talk.
      if (gGame.difficulty == DIFFICULTY_EASY) file.moveToEnd();
      return;
    default:
      break;
  }
  if (!stage) return;
  Sprite_MessageWindow* window = stage->messageWindow;
  switch (type) {
    case 1:
    case 2:
      ClearWindow(window, type == 1);
      return;
    case 5:
      if (stage->field) stage->field->scriptClock = n;
      return;
    case 6:
      waitTime = n;
      stage->waitingForTime = 1;
      return;
    case 11:
      messageText = data;
      ShowMessage(window);
      stage->waitingForMessage = 1;
      return;
    case 12:
      if (stage->leftPortrait) stage->leftPortrait->showPicture(n);
      return;
    case 13:
      if (stage->rightPortrait) stage->rightPortrait->showPicture(n);
      return;
    case 14:
      if (stage->leftPortrait) stage->leftPortrait->highlighted = n == 0;
      if (stage->rightPortrait) stage->rightPortrait->highlighted = n == 1;
      return;
    case 20:
      gSound.PlayMusic(n);
      return;
    case 21:
      if (n < kSoundEffectSlots) gSound.RequestEffect(n);
      return;
    case 22:
      stage->showBossTitle();
      return;
    case 23:
      stage->fieldFade(255, 0, static_cast<float>(n));
      return;
    case 24:
      stage->fieldFade(0, 255, static_cast<float>(n));
      return;
    case 25:
      // A fade over no time at all is over in one frame.
      if (n <= 0) {
        gSound.FadeMusic(-255.0f, 1);
      } else {
        gSound.FadeMusic(-255.0f / static_cast<float>(n), n);
      }
      return;
    default:
      return;
  }
}

void CountTalkWait(const TalkEvent& talk, TalkWaits waits) {
  if (waits.waitingForMessage) {
    ++waits.waitCounter;
    const bool keyed =
        !talk.noKeyMessages && (gInput.Pressed(BUTTON_OK) || gInput.Held(BUTTON_SKIP));
    // At or past its time: a time of 0 or less lets the message go at once
    // instead of holding the game for ever.
    if (keyed || waits.waitCounter >= talk.messageTime) {
      waits.waitingForMessage = 0;
      waits.waitCounter = 0;
    }
  } else if (waits.waitingForTime) {
    ++waits.waitCounter;
    if (waits.waitCounter >= talk.waitTime) {
      waits.waitingForTime = 0;
      waits.waitCounter = 0;
    }
  }
}

void TalkEvent::ClearWindow(Sprite_MessageWindow* window, bool visible) {
  if (!window) return;
  window->text.clear();
  window->line2.clear();
  window->visible = visible;
}

void TalkEvent::ShowMessage(Sprite_MessageWindow* window) const {
  if (!window) return;
  window->text = speakerName;
  window->line2 = messageText;
}
