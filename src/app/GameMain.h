// The whole program: start-up, the scene loop, shutdown.
#pragma once

// Returns the process exit code: 0 after a normal end (last scene named no
// successor, or the window was closed) and after --help or --version, 2
// after a mistake on the command line, -1 when the engine or the save folder
// could not start.
int RunGame(int argc, const char* const* argv);
