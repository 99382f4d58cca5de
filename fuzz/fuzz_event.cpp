// Any bytes as a conversation file: stepping through it must end, never
// crash, and hand no command more than 255 characters of data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Module_Game.h"
#include "stage/TalkEvent.h"

namespace {

class CheckedTalk : public TalkEvent {
 public:
  void runCommand(int32_t type, const std::string& data) override {
    if (data.size() > kEventColumnKept) std::abort();
    TalkEvent::runCommand(type, data);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks the difficulty, so the Easy cut-off is reached too.
  gGame.difficulty = size > 0 && (data[0] & 1) ? DIFFICULTY_EASY : DIFFICULTY_NORMAL;
  CheckedTalk talk;
  talk.startFromBytes(data, size);
  // Every step reads at least one byte or finishes.
  size_t steps = 0;
  while (!talk.finished) {
    talk.step();
    if (++steps > size + 2) std::abort();
  }
  if (talk.fileOpen) std::abort();
  return 0;
}
