#include "app/Module_Input.h"

#include <cstring>

#include "app/Module_Game.h"
#include "engine/Engine.h"

Module_Input gInput;

namespace {

constexpr uint8_t kPauseBit = 1u << BUTTON_PAUSE;

// Keys whose live state playback hides from the game: the buttons' keys and
// the arrows.
constexpr uint8_t kPlaybackKeys[] = {KEY_Z,      KEY_X,  KEY_C,    KEY_LSHIFT, KEY_LCONTROL,
                                     KEY_ESCAPE, KEY_UP, KEY_DOWN, KEY_LEFT,   KEY_RIGHT};

struct DirectionKey {
  uint8_t bit;
  uint8_t key;
};
constexpr DirectionKey kDirectionKeys[] = {
    {DIR_DOWN, KEY_DOWN}, {DIR_LEFT, KEY_LEFT}, {DIR_RIGHT, KEY_RIGHT}, {DIR_UP, KEY_UP}};

uint8_t ArrowKeyOf(int direction) {
  for (const DirectionKey& d : kDirectionKeys) {
    if (d.bit == direction) return d.key;
  }
  return 0;
}

}  // namespace

void ReplayRecord::Clear() {
  header = ReplayHeader{};
  stages.clear();
  stageIndex = 0;
  exhausted = false;
  playStage = 0;
  playFrame = 0;
}

void Module_Input::update() {
  if (!keepPrevOnce) {
    padPrev = padNow;
    std::memcpy(keysPrev, keysNow, sizeof keysPrev);
  }
  keepPrevOnce = false;
  padNow = static_cast<uint32_t>(ReadJoypad(1));
  ReadKeyboard(keysNow);
  if (replayMode == REPLAY_RECORDING) {
    RecordFrame();
  } else if (replayMode == REPLAY_PLAYING) {
    SubstituteRecordedFrame();
  }
}

void Module_Input::RecordFrame() {
  InputSample sample;
  for (int i = 0; i < kVirtualButtons; ++i) {
    if ((padNow & buttonMask[i]) || keysNow[kButtonKey[i]]) sample.buttons |= 1u << i;
  }
  // Pausing is the viewer's business, never part of the game.
  sample.buttons &= static_cast<uint8_t>(~kPauseBit);
  for (const DirectionKey& d : kDirectionKeys) {
    if ((padNow & d.bit) || keysNow[d.key]) sample.directions |= d.bit;
  }
  // Frames before any stage began have nowhere to go.
  if (!replay.stages.empty()) replay.stages.back().frames.push_back(sample);
}

void Module_Input::SubstituteRecordedFrame() {
  InputSample sample;
  PlaybackStep(sample);
  const bool livePause = (padNow & buttonMask[BUTTON_PAUSE]) || keysNow[KEY_ESCAPE];
  if ((padNow & buttonMask[BUTTON_SKIP]) || keysNow[KEY_LCONTROL]) {
    skipHeldFrames += 1;
  } else {
    skipHeldFrames = 0;
  }
  padNow = 0;
  for (uint8_t key : kPlaybackKeys) keysNow[key] = 0;
  for (int i = 0; i < kVirtualButtons; ++i) {
    if (sample.buttons & (1u << i)) padNow |= buttonMask[i];
  }
  if (livePause) {
    padNow |= buttonMask[BUTTON_PAUSE];
    keysNow[KEY_ESCAPE] = 1;
  }
  padNow |= sample.directions & (DIR_DOWN | DIR_LEFT | DIR_RIGHT | DIR_UP);
}

bool Module_Input::PlaybackStep(InputSample& out) {
  const bool haveFrames = replay.playStage < replay.stages.size() &&
                          replay.playFrame < replay.stages[replay.playStage].frames.size();
  if (!haveFrames || replay.exhausted) {
    replay.exhausted = true;
    replayMode = REPLAY_PLAYING_SUSPENDED;
    return false;
  }
  const std::vector<InputSample>& frames = replay.stages[replay.playStage].frames;
  out = frames[replay.playFrame];
  out.buttons &= static_cast<uint8_t>(~kPauseBit);
  replay.playFrame += 1;
  if (replay.playFrame >= frames.size()) {
    // The frame just delivered still counts; live input returns next frame.
    replay.exhausted = true;
    replayMode = REPLAY_PLAYING_SUSPENDED;
  }
  return true;
}

bool Module_Input::Pressed(int button) const {
  if (button < 0 || button >= kVirtualButtons) return false;
  return PadPressed(buttonMask[button]) || KeyPressed(kButtonKey[button]);
}

bool Module_Input::Held(int button) const {
  if (button < 0 || button >= kVirtualButtons) return false;
  return (padNow & buttonMask[button]) || keysNow[kButtonKey[button]];
}

bool Module_Input::DirectionPressed(int direction) const {
  return PadPressed(static_cast<uint32_t>(direction)) || KeyPressed(ArrowKeyOf(direction));
}

bool Module_Input::DirectionHeld(int direction) const {
  const uint8_t key = ArrowKeyOf(direction);
  return (padNow & static_cast<uint32_t>(direction)) || (key && keysNow[key]);
}

// Recording and playback treat a suspension alike: the frames in between
// are not in the record, so the first frame after it judges new presses
// against the state saved when it began, in both modes. Otherwise a key
// whose state changed while the menu was open would count as newly pressed
// in one mode and not in the other, and the replay would drift.
void Module_Input::Suspend() {
  if (replayMode != REPLAY_PLAYING && replayMode != REPLAY_RECORDING) return;
  replayMode = replayMode == REPLAY_PLAYING ? REPLAY_PLAYING_SUSPENDED : REPLAY_RECORDING_SUSPENDED;
  savedPadPrev = padPrev;
  std::memcpy(savedKeysPrev, keysPrev, sizeof savedKeysPrev);
}

void Module_Input::Resume() {
  if (replayMode != REPLAY_PLAYING_SUSPENDED && replayMode != REPLAY_RECORDING_SUSPENDED) return;
  replayMode = replayMode == REPLAY_PLAYING_SUSPENDED ? REPLAY_PLAYING : REPLAY_RECORDING;
  // Pause counts as held already, so the press that closed the pause menu
  // does not open it again.
  padPrev = buttonMask[BUTTON_PAUSE] | savedPadPrev;
  std::memcpy(keysPrev, savedKeysPrev, sizeof keysPrev);
  keysPrev[KEY_ESCAPE] = 1;
  keepPrevOnce = true;
}

void Module_Input::StartNewRecording() {
  replay.stages.clear();
  replay.header.difficulty = 0;
  replay.header.chargeType = 0;
  replay.exhausted = false;
  replay.stageIndex = 0;
  replayMode = REPLAY_RECORDING;
}

void Module_Input::BeginStage() {
  if (replayMode != REPLAY_OFF) {
    // A stage's first frame counts every button as held before it, whatever
    // came before the stage (a cut-scene, the replay list, another game), so
    // that it reads the same when recorded and when played back.
    padPrev = ~0u;
    std::memset(keysPrev, 1, sizeof keysPrev);
    keepPrevOnce = true;
  }
  if (replayMode == REPLAY_RECORDING || replayMode == REPLAY_RECORDING_SUSPENDED) {
    replay.header.difficulty = gGame.difficulty;
    replay.header.chargeType = gGame.chargeType;
    ReplayStage stage;
    stage.start.stage = gGame.stage;
    stage.start.lives = gGame.lives;
    stage.start.bombs = gGame.bombs;
    stage.start.power = gGame.power;
    stage.start.points = gGame.points;
    stage.start.score = gGame.score;
    // Each stage gets its own seed, drawn from the sequence so far, so the
    // stage replays alone from its record.
    stage.start.seed = RandomUpTo(0x7FFFFFFE);
    SeedRandom(stage.start.seed);
    replay.stages.push_back(std::move(stage));
  } else if (replayMode == REPLAY_PLAYING || replayMode == REPLAY_PLAYING_SUSPENDED) {
    if (replay.stageIndex < 0 || static_cast<size_t>(replay.stageIndex) >= replay.stages.size()) {
      replayMode = REPLAY_OFF;
      return;
    }
    replay.playStage = static_cast<size_t>(replay.stageIndex);
    const StageRecord& start = replay.stages[replay.playStage].start;
    gGame.difficulty = replay.header.difficulty;
    gGame.chargeType = replay.header.chargeType;
    gGame.stage = start.stage;
    gGame.lives = start.lives;
    gGame.bombs = start.bombs;
    gGame.power = start.power;
    gGame.points = start.points;
    gGame.score = start.score;
    SeedRandom(start.seed);
    replay.playFrame = 0;
    replay.exhausted = false;
  }
}

void Module_Input::RestoreDefaultButtons() {
  std::memcpy(buttonMask, kDefaultButtonMask, sizeof buttonMask);
}
