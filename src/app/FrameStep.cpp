// The frame step: advance the fade, draw and present the display tree, take
// a screenshot when asked, and wait so frames follow at 60 per second.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/SafeFile.h"
#include "engine/Engine.h"

namespace {

constexpr int64_t kFrameMicro = 16666;
// An iteration slower than this is not drawn: catching up beats showing late.
constexpr int64_t kLateMicro = 20000;
// While a replay is fast-forwarded only every 11th frame is drawn.
constexpr uint32_t kFastForwardDrawEvery = 11;

}  // namespace

void Module_Graphics::frameStep() {
  fade->update();
  const bool playing =
      gInput.replayMode == REPLAY_PLAYING || gInput.replayMode == REPLAY_PLAYING_SUSPENDED;
  const bool fastForward =
      playing && gInput.skipHeldFrames >= 1 && frameCount % kFastForwardDrawEvery != 0;

  const int64_t now = GetTimeMicro();
  if (now - lastFrameEnd > kLateMicro || fastForward) {
    // Skipped: the previous picture stays, nothing waits.
    lastFrameEnd = GetTimeMicro();
    frameCount += 1;
    ClearOverlay();
  } else {
    ClearDrawTarget();
    draw(0, 0);
    // The picture is read back before it is presented: after presenting,
    // the renderer's back buffer is no longer defined.
    const bool fullShot = gInput.KeyPressed(KEY_P);
    const bool fieldShot = gInput.KeyPressed(KEY_O);
    if (fullShot || fieldShot) takeScreenshot(fullShot);
    PresentFrame();
    ClearOverlay();
    advanceFpsWindowAndWait();
    lastFrameEnd = GetTimeMicro();
    frameCount += 1;
  }
  if (showFps) PrintOverlay("FPS %02.2f ", measuredFps);
}

void Module_Graphics::takeScreenshot(bool fullScreen) {
  std::error_code ec;
  std::filesystem::create_directory("snapshot", ec);  // already there is fine
  char name[64];
  std::snprintf(name, sizeof name, "snapshot/vm%04d.bmp", screenshotNumber);
  while (LocalFileSize(name) != -1) {
    screenshotNumber += 1;
    std::snprintf(name, sizeof name, "snapshot/vm%04d.bmp", screenshotNumber);
  }
  // A failed save (unwritable directory, full disk) only loses the picture.
  if (fullScreen) {
    saveScreen(0, 0, 640, 480, name);
  } else {
    saveScreen(32, 16, 416, 464, name);  // the 384 x 448 play field
  }
  screenshotNumber += 1;
}

void Module_Graphics::advanceFpsWindowAndWait() {
  if (fpsSampleCount == 0) fpsWindowStart = GetTimeMicro();
  if (fpsSampleCount + 1 == targetFps) {
    const int64_t elapsed = GetTimeMicro() - fpsWindowStart;
    if (elapsed > 0) measuredFps = static_cast<double>(targetFps) * 1000000.0 / elapsed;
    fpsSampleCount = 0;
  } else {
    fpsSampleCount += 1;
  }
  // Due times count from the window start, so the extra millisecond of each
  // sleep is taken back by the next frame's shorter wait. Low 32 bits only,
  // wrapping, as the due time is never far from now.
  const uint32_t due = static_cast<uint32_t>(fpsSampleCount) * static_cast<uint32_t>(kFrameMicro) +
                       static_cast<uint32_t>(fpsWindowStart);
  const int32_t delay = static_cast<int32_t>(due - static_cast<uint32_t>(GetTimeMicro()));
  if (delay > 0) SleepMilli(delay / 1000 + 1);
}
