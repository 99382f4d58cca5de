// File search over the data tree: a pattern "Folder/sub/*.csv" lists the
// matching names of the folder on disk and of the same folder inside the
// folder's archive. A name present in both is listed once, from the disk.
// Results come sorted by name so that every run sees the same order.
#include <dirent.h>
#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <map>

#include "Archive.h"
#include "Backend.h"
#include "DataFiles.h"
#include "Engine.h"

namespace engine {
namespace {

struct Search {
  std::vector<DataFileInfo> results;
  size_t next = 0;
};

struct Searches {
  std::map<int, Search> open;
  int next = 1;
};

Searches& searches() {
  static Searches s;
  return s;
}

struct Found {
  int64_t size;
  bool isDirectory;
};
using FoundMap = std::map<std::string, Found>;  // UTF-8 name -> entry

void listDirectory(const std::string& dir, const std::string& pattern, FoundMap& found) {
  std::string onDisk = OnDisk(dir);
  if (!onDisk.empty() && onDisk.back() != '/') onDisk += '/';
  DIR* d = opendir(onDisk.empty() ? "." : onDisk.c_str());
  if (!d) return;
  while (dirent* entry = readdir(d)) {
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || !MatchWildcard(pattern, name)) continue;
    struct stat st;
    const std::string full = onDisk + name;
    if (stat(full.c_str(), &st) != 0) continue;
    const bool isDir = S_ISDIR(st.st_mode);
    if (!isDir && !S_ISREG(st.st_mode)) continue;
    found[name] = {isDir ? 0 : static_cast<int64_t>(st.st_size), isDir};
  }
  closedir(d);
}

void listArchive(const std::string& dir, const std::string& pattern, FoundMap& found) {
  std::string archivePath, inside;
  // The archive of "Top/sub" is "Top.<ext>", searched under "sub/".
  if (!ArchiveFor(dir + "/x", archivePath, inside)) return;
  const std::string prefix = inside.substr(0, inside.size() - 1);
  auto archive = Archive::OpenFile(archivePath);
  if (!archive) return;
  for (const Archive::Member& m : archive->Members()) {
    if (m.name.compare(0, prefix.size(), prefix) != 0) continue;
    std::string rest = m.name.substr(prefix.size());
    const size_t slash = rest.find('/');
    const bool isDir = slash != std::string::npos;
    if (isDir) rest.resize(slash);
    if (rest.empty() || rest == "." || rest == ".." || !MatchWildcard(pattern, rest)) continue;
    // Disk entries were listed first and stay.
    found.emplace(rest, Found{isDir ? 0 : m.size, isDir});
  }
}

bool fill(const std::string& utf8Name, const Found& entry, DataFileInfo& out) {
  std::string name;
  if (!Utf8ToCp932(utf8Name, name) || name.size() >= sizeof out.name) return false;
  std::memset(&out, 0, sizeof out);
  std::memcpy(out.name, name.data(), name.size());
  out.size = entry.size;
  out.isDirectory = entry.isDirectory;
  return true;
}

}  // namespace

bool MatchWildcard(const std::string& pattern, const std::string& name) {
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  size_t p = 0, n = 0;
  size_t starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      // Let the last star swallow one more character and retry.
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool Utf8ToCp932(const std::string& utf8, std::string& out) {
  out.clear();
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
    out = utf8;
    return true;
  }
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> buffer(utf8.size() * 2 + 4);
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = buffer.data();
  size_t outLeft = buffer.size();
  const bool ok = iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (ok) out.assign(buffer.data(), static_cast<size_t>(dst - buffer.data()));
  return ok;
}

void ReleaseSearches() { searches().open.clear(); }

}  // namespace engine

int FindFirstDataFile(const char* pattern, DataFileInfo* out) {
  if (!pattern || !out) return -1;
  std::string utf8 = engine::Cp932ToUtf8(pattern);
  std::string dir, namePattern = utf8;
  const size_t slash = utf8.rfind('/');
  if (slash != std::string::npos) {
    if (!engine::NormaliseDataPath(utf8.substr(0, slash).c_str(), dir)) return -1;
    namePattern = utf8.substr(slash + 1);
  }
  if (namePattern.empty() || utf8[0] == '/') return -1;

  engine::FoundMap found;
  engine::listDirectory(dir, namePattern, found);
  if (!dir.empty()) engine::listArchive(dir, namePattern, found);

  engine::Search search;
  for (const auto& [name, entry] : found) {
    DataFileInfo info;
    if (engine::fill(name, entry, info)) search.results.push_back(info);
  }
  if (search.results.empty()) return -1;
  *out = search.results[0];
  search.next = 1;
  auto& s = engine::searches();
  while (s.open.count(s.next)) s.next = s.next == INT_MAX ? 1 : s.next + 1;
  const int handle = s.next;
  s.next = handle == INT_MAX ? 1 : handle + 1;
  s.open.emplace(handle, std::move(search));
  return handle;
}

int FindNextDataFile(int search, DataFileInfo* out) {
  auto& open = engine::searches().open;
  auto it = open.find(search);
  if (it == open.end() || !out) return -1;
  engine::Search& s = it->second;
  if (s.next >= s.results.size()) return -1;
  *out = s.results[s.next++];
  return 0;
}

int FindCloseDataFile(int search) { return engine::searches().open.erase(search) ? 0 : -1; }
