// The game's music list: which file plays for each music number, and where
// each file's loop restarts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

struct BgmEntry {
  int index = 0;
  std::string score;  // score name without extension; the file is <score>.ogg
  std::string title;
  int64_t loopPoint = 0;
};

// Reads the track list source: one "index score title words..." line per
// music number, numbers counting up from 0 without gaps ('#' starts a comment).
bool ParseTrackList(const std::string& text, std::vector<BgmEntry>* entries, std::string* error);

// Writes the list the game reads: a comment line, then one line per entry with
// file name, loop point and title separated by tabs, each line ending in CR LF.
// Fails when a field could not be read back as written (a tab, a line break or
// a '/' inside it, or more than 63 characters).
bool FormatBgmList(const std::vector<BgmEntry>& entries, std::string* out, std::string* error);

}  // namespace audio
