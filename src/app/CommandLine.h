// What a player can ask of the game on its command line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "app/Language.h"

enum class ScreenChoice { Ask, Windowed, FullScreen };

struct GameOptions {
  ScreenChoice screen = ScreenChoice::Ask;
  std::string dataFolder;            // empty: found at start-up
  std::string saveFolder;            // empty: chosen at start-up
  std::optional<Language> language;  // empty: the saved choice, else the locale
};

struct ParsedCommandLine {
  std::optional<GameOptions> options;  // empty: do not start, exit with exitCode
  int exitCode = 0;                    // 0 after --help or --version, 2 after a mistake
};

// Reads argv. --help and --version print to out; a mistake (unknown option,
// a folder option without its folder, a language other than ja or en) is
// told on err with a pointer to --help.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out,
                                   std::FILE* err);
