#include "MusicList.h"

#include <sstream>

namespace audio {

namespace {

constexpr size_t kMaxField = 63;

bool FieldIsSafe(const std::string& field) {
  if (field.empty() || field.size() > kMaxField) return false;
  // The reader treats '/' as the start of a comment and tabs and line breaks
  // as field and line ends.
  return field.find_first_of("/\t\r\n") == std::string::npos;
}

}  // namespace

bool ParseTrackList(const std::string& text, std::vector<BgmEntry>* entries, std::string* error) {
  entries->clear();
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    BgmEntry e;
    if (!(words >> e.index)) {
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      *error = "line " + std::to_string(lineNo) + ": expected a music number";
      return false;
    }
    if (e.index != static_cast<int>(entries->size())) {
      *error = "line " + std::to_string(lineNo) + ": music numbers must count up from 0";
      return false;
    }
    std::string word;
    if (!(words >> e.score)) {
      *error = "line " + std::to_string(lineNo) + ": expected a score name";
      return false;
    }
    while (words >> word) e.title += (e.title.empty() ? "" : " ") + word;
    if (e.title.empty()) e.title = e.score;
    entries->push_back(e);
  }
  if (entries->empty()) {
    *error = "the track list is empty";
    return false;
  }
  return true;
}

bool FormatBgmList(const std::vector<BgmEntry>& entries, std::string* out, std::string* error) {
  out->assign("// Velmora music: file, loop start in samples, title\r\n");
  for (const BgmEntry& e : entries) {
    const std::string file = e.score + ".ogg";
    const std::string loop = std::to_string(e.loopPoint);
    for (const std::string* field : {&file, &loop, &e.title}) {
      if (!FieldIsSafe(*field)) {
        *error = "music " + std::to_string(e.index) + ": field '" + *field +
                 "' is empty, too long or holds a tab, line break or '/'";
        return false;
      }
    }
    if (e.loopPoint < 0) {
      *error = "music " + std::to_string(e.index) + ": negative loop point";
      return false;
    }
    *out += file + "\t" + loop + "\t" + e.title + "\r\n";
  }
  return true;
}

}  // namespace audio
