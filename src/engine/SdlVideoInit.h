// Bringing up SDL's video for the game's window.
#pragma once

namespace engine {

// Starts SDL's video subsystem on a real display. SDL quietly falls back to
// a windowless driver when it cannot reach the display (a busy X server can
// refuse a connection for a moment), and a game without a window is no use:
// such a start is retried for a few seconds and then reported on stderr and
// refused. A windowless driver named in SDL_VIDEODRIVER is taken as asked.
bool InitVideoOnADisplay();

}  // namespace engine
