// The whole program: start-up, the scene loop, shutdown.
#pragma once

// Returns the process exit code: 0 after a normal end (last scene named no
// successor, or the window was closed), -1 when the engine could not start.
int RunGame();
