// Inside the data-file part of the engine: path rules and the lookup shared
// by the handle operations, the whole-file reads of the decoders and the
// file search. Engine files and tests only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

// Turns a game path (CP932) into a clean relative UTF-8 path: '/' separated,
// no empty or "." parts. False for empty and absolute paths and for any ".."
// part, so that data reads never leave the working directory.
bool NormaliseDataPath(const char* path, std::string& out);

// Wildcard match of one file name: '*' any run of characters, '?' one
// character; letters match regardless of case.
bool MatchWildcard(const std::string& pattern, const std::string& name);

// The archive that may hold a normalised path "Top/rest": "Top.<ext>" and
// member "rest". False when no extension is set or the path has no folder.
bool ArchiveFor(const std::string& path, std::string& archivePath, std::string& member);

// Where a normalised data path (or its archive) lies on disk: under the
// folder SetDataFolder chose, else as it stands (the working directory).
std::string OnDisk(const std::string& dataPath);

// The key archives are read with; null when none is set.
const char* ArchivePassword();

// A name from the file system or an archive (UTF-8) as the game's CP932;
// false when it cannot be written in CP932.
bool Utf8ToCp932(const std::string& utf8, std::string& out);

// Searches started and not yet closed are dropped.
void ReleaseSearches();

}  // namespace engine
