// The game's own start-up without a window or sound card, for the tools that
// play the real stage at full speed (the replay checker, the playtest bot).
#pragma once

#include <string>

// Enters `gameDir` (when not empty), starts the engine on the headless
// backend with the start-up question answered No, and loads the music list,
// fonts, shared pictures and key configuration as the game does. On failure
// prints why, prefixed with `program`, and returns false.
bool StartHeadlessGame(const char* program, const std::string& gameDir);

// Releases what StartHeadlessGame loaded and stops the engine.
void EndHeadlessGame();
