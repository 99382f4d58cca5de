// Where the game reads its data and keeps the player's own files (scores,
// settings, key configuration, replays, screenshots). In the build tree both
// are the working directory; an installed game reads its data from the
// system's share folder and writes into the player's home.
#pragma once

#include <functional>
#include <string>

#include "app/CommandLine.h"

// What the choice depends on: read off the machine, or made up by a test.
struct FolderFacts {
  std::string workingFolder;  // absolute
  std::string programFolder;  // the folder holding the program file; may be empty
  std::string xdgDataHome;    // may be empty
  std::string home;           // may be empty
  std::function<bool(const std::string&)> holdsData;
  std::function<bool(const std::string&)> writable;
};

struct GameFolders {
  std::string data;  // absolute, or empty for the working directory
  std::string save;  // absolute, or empty for the working directory
};

// Data: --data; else the working directory when it holds the data; else
// <program folder>/../share/velmora when that does; else the working
// directory (whose missing data start-up then reports).
// Saves: --save; else the working directory when the data is read from it
// and it is writable; else $XDG_DATA_HOME/velmora, else
// $HOME/.local/share/velmora; with neither variable set, the working
// directory. When the saves leave the working directory the data folder is
// made absolute, since the working directory becomes the save folder.
GameFolders ChooseGameFolders(const GameOptions& options, const FolderFacts& facts);

// One part of the data (Graphics, Sounds, Data) as a folder or an archive
// (<part>.dat) in the given folder; an empty folder is the working one.
bool HoldsDataPart(const std::string& folder, const char* part);

// A folder holding the game's data: its Data folder or archive.
bool HoldsGameData(const std::string& folder);

FolderFacts MachineFolderFacts();

// Creates the save folder if needed and makes it the working directory, and
// points the data reads at the data folder. False, told on stderr, when the
// save folder cannot be created or entered.
bool EnterGameFolders(const GameFolders& folders);
