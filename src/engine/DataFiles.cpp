// Read-only data files. A path is looked up in the working directory first;
// "Top/rest" that is not there comes from member "rest" of the archive
// "Top.<ext>" beside the folder. An open file is held whole in memory, which
// keeps seeking and reading trivial and the archive closed while it is used.
#include "DataFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>

#include "Archive.h"
#include "Backend.h"
#include "Engine.h"

namespace engine {
namespace {

struct Settings {
  std::string folder;  // data folder with a trailing '/', or empty
  std::string extension;
  std::string key;
  bool hasKey = false;
};

Settings& settings() {
  static Settings s;
  return s;
}

struct OpenFile {
  std::vector<uint8_t> data;
  int64_t pos = 0;
};

struct Handles {
  std::map<int, OpenFile> files;
  int next = 1;
};

Handles& handles() {
  static Handles h;
  return h;
}

OpenFile* fileFor(int handle) {
  auto it = handles().files.find(handle);
  return it == handles().files.end() ? nullptr : &it->second;
}

// Regular file in the directory tree: its size, else -1.
int64_t directorySize(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool readDirectoryFile(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t buffer[16384];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
    out.insert(out.end(), buffer, buffer + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool loadDataFile(const char* gamePath, std::vector<uint8_t>& out) {
  out.clear();
  std::string path;
  if (!NormaliseDataPath(gamePath, path)) return false;
  const std::string onDisk = OnDisk(path);
  if (directorySize(onDisk) >= 0) return readDirectoryFile(onDisk, out);
  std::string archivePath, member;
  if (!ArchiveFor(path, archivePath, member)) return false;
  auto archive = Archive::OpenFile(archivePath);
  return archive && archive->Read(member, ArchivePassword(), out);
}

}  // namespace

bool NormaliseDataPath(const char* path, std::string& out) {
  out.clear();
  if (!path || !*path) return false;
  const std::string utf8 = Cp932ToUtf8(path);
  if (utf8.empty() || utf8[0] == '/') return false;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = utf8.find('/', start);
    if (end == std::string::npos) end = utf8.size();
    const std::string part = utf8.substr(start, end - start);
    if (part == "..") return false;
    if (!part.empty() && part != ".") {
      if (!out.empty()) out += '/';
      out += part;
    }
    start = end + 1;
  }
  return !out.empty();
}

bool ArchiveFor(const std::string& path, std::string& archivePath, std::string& member) {
  const std::string& ext = settings().extension;
  const size_t slash = path.find('/');
  if (ext.empty() || slash == std::string::npos) return false;
  archivePath = OnDisk(path.substr(0, slash) + "." + ext);
  member = path.substr(slash + 1);
  return true;
}

std::string OnDisk(const std::string& dataPath) { return settings().folder + dataPath; }

const char* ArchivePassword() { return settings().hasKey ? settings().key.c_str() : nullptr; }

bool ReadWholeDataFile(const char* path, std::vector<uint8_t>& out) {
  return loadDataFile(path, out);
}

void ReleaseDataFiles() {
  handles().files.clear();
  ReleaseSearches();
}

}  // namespace engine

using engine::fileFor;

void SetDataFolder(const char* folder) {
  std::string& f = engine::settings().folder;
  f = folder ? folder : "";
  if (!f.empty() && f.back() != '/') f += '/';
}

void SetArchiveExtension(const char* extension) {
  auto& s = engine::settings();
  if (!extension || std::strlen(extension) >= 64) {
    s.extension.clear();
  } else {
    s.extension = extension;
  }
}

void SetArchiveKey(const char* key) {
  auto& s = engine::settings();
  s.hasKey = key != nullptr && *key != '\0';
  // Only the first twelve characters of a key take part.
  s.key = s.hasKey ? std::string(key, strnlen(key, 12)) : std::string();
}

int OpenDataFile(const char* path) {
  engine::OpenFile file;
  if (!engine::loadDataFile(path, file.data)) return 0;
  auto& h = engine::handles();
  // Handles count up and are not reused, so a stale handle never reaches
  // somebody else's file.
  while (h.files.count(h.next)) h.next = h.next == INT_MAX ? 1 : h.next + 1;
  const int handle = h.next;
  h.next = handle == INT_MAX ? 1 : handle + 1;
  h.files.emplace(handle, std::move(file));
  return handle;
}

int64_t DataFileSize(const char* path) {
  std::string normal;
  if (!engine::NormaliseDataPath(path, normal)) return -1;
  const int64_t size = engine::directorySize(engine::OnDisk(normal));
  if (size >= 0) return size;
  std::string archivePath, member;
  if (!engine::ArchiveFor(normal, archivePath, member)) return -1;
  auto archive = engine::Archive::OpenFile(archivePath);
  return archive ? archive->MemberSize(member, engine::ArchivePassword()) : -1;
}

int CloseDataFile(int handle) { return engine::handles().files.erase(handle) ? 0 : -1; }

int SeekDataFile(int handle, int64_t offset, int origin) {
  engine::OpenFile* f = fileFor(handle);
  if (!f) return -1;
  const int64_t size = static_cast<int64_t>(f->data.size());
  int64_t base;
  switch (origin) {
    case 0:
      base = 0;
      break;
    case 1:
      base = f->pos;
      break;
    case 2:
      base = size;
      break;
    default:
      return -1;
  }
  // Positions stay inside the file: before the start means the start, past
  // the end means the end.
  if (offset < -base) {
    f->pos = 0;
  } else if (offset > size - base) {
    f->pos = size;
  } else {
    f->pos = base + offset;
  }
  return 0;
}

int64_t ReadDataFile(void* buffer, int64_t size, int handle) {
  engine::OpenFile* f = fileFor(handle);
  if (!f || size < 0 || (!buffer && size > 0)) return -1;
  const int64_t left = static_cast<int64_t>(f->data.size()) - f->pos;
  const int64_t count = std::min(size, left);
  if (count > 0) std::memcpy(buffer, f->data.data() + f->pos, static_cast<size_t>(count));
  f->pos += count;
  return count;
}

int DataFileAtEnd(int handle) {
  engine::OpenFile* f = fileFor(handle);
  // An unknown handle reads as ended, so read loops over it stop at once.
  if (!f) return -1;
  return f->pos >= static_cast<int64_t>(f->data.size()) ? 1 : 0;
}

int ReadDataChar(int handle) {
  engine::OpenFile* f = fileFor(handle);
  if (!f || f->pos >= static_cast<int64_t>(f->data.size())) return -1;
  return f->data[static_cast<size_t>(f->pos++)];
}
