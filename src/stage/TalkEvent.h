// Conversations: a TalkEvent plays "Data/Event/event<n>.csv" (in English
// "Data/Event/en/event<n>.csv" where there is one) one command line per step. Its own command set
// drives a stage (message window, portraits, music, fades, the script clock); DemoEvent swaps in
// the cut-scene's set. The owner keeps the waiting state and runs the waits each frame.
#pragma once

#include <cstdint>
#include <string>

#include "app/Language.h"
#include "stage/EventFile.h"

class Scene_Stage;
class Sprite_MessageWindow;

inline constexpr int32_t kDefaultMessageTime = 300;

// The file conversation `number` is read from in `language`. An English
// conversation has the Japanese one's commands with English texts, so the
// stage runs the same frames; where none exists the Japanese one plays.
std::string ConversationPath(int32_t number, Language language = gLanguage);

class TalkEvent {
 public:
  int32_t lineCount = 0;  // 2 once the headers are skipped, then + 1 per command line
  EventFile file;
  int32_t fileSize = 0;
  uint8_t fileOpen = 0;
  std::string speakerName;
  std::string messageText;
  uint8_t noKeyMessages = 0;  // messages go only when their time is up
  uint8_t finished = 0;
  int32_t messageTime = kDefaultMessageTime;
  int32_t waitTime = 0;
  // The stage the commands act on; a conversation without one reads its
  // lines and changes nothing outside itself.
  Scene_Stage* stage = nullptr;

  TalkEvent() = default;
  TalkEvent(const TalkEvent&) = delete;
  TalkEvent& operator=(const TalkEvent&) = delete;
  virtual ~TalkEvent() = default;

  // Opens conversation `number`; a missing file leaves it finished at once.
  void start(int32_t number);
  // The same over bytes in memory.
  void startFromBytes(const uint8_t* data, size_t size);
  // Reads and runs one command line; finishes at the end of the file.
  void step();
  virtual void runCommand(int32_t type, const std::string& data);

 protected:
  static int32_t Number(const std::string& data);
  // Commands 1 and 2: an emptied window, shown or hidden.
  static void ClearWindow(Sprite_MessageWindow* window, bool visible);
  // Command 11: the current speaker and message into the window.
  void ShowMessage(Sprite_MessageWindow* window) const;

 private:
  void finish();
  void resetPlayState();
};

// The waits every conversation owner runs once per frame, after stepping.
struct TalkWaits {
  uint8_t& waitingForMessage;
  uint8_t& waitingForTime;
  int32_t& waitCounter;
};

// Counts one frame of the current wait. A message goes when it is
// acknowledged (OK newly pressed or Skip held, unless no-key messages are
// on) or its time is up; a timed wait goes when its time is up.
void CountTalkWait(const TalkEvent& talk, TalkWaits waits);
