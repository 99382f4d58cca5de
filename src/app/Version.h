// The game's version, set by the build.
#pragma once

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "0.0.0"
#endif

// "0.1.0" and so on.
const char* GameVersion();
