#include "app/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace fs = std::filesystem;

int64_t LocalFileSize(const char* path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return -1;
  const auto size = fs::file_size(path, ec);
  if (ec) return -1;
  return static_cast<int64_t>(size);
}

bool ReadLocalFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes) {
  out.clear();
  const int64_t size = LocalFileSize(path);
  if (size < 0 || static_cast<uint64_t>(size) > maxBytes) return false;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  out.resize(static_cast<size_t>(size));
  const size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
  // A file that changed size while being read is read once more at most: a
  // short read simply reports what was there.
  out.resize(got);
  std::fclose(f);
  return true;
}

namespace {

constexpr const char* kTemporarySuffix = ".tmp";
// Backups beyond this many are not made: the damaged file is then replaced.
constexpr int kMaxBackups = 99;

bool ReportSaveFailure(const char* path, const std::string& reason) {
  std::fprintf(stderr, "velmora: could not save %s: %s\n", path, reason.c_str());
  return false;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

bool WriteLocalFileAtomic(const char* path, const void* data, size_t size) {
  const std::string temp = std::string(path) + kTemporarySuffix;
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return ReportSaveFailure(path, std::strerror(errno));
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = std::fflush(f) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
  // The data must be on disk before the rename makes it the file; otherwise a
  // power cut could leave an empty file under the real name.
  ok = ok && fsync(fileno(f)) == 0;
#endif
  ok = std::fclose(f) == 0 && ok;
  const int writeError = errno;
  std::error_code ec;
  if (ok) {
    fs::rename(temp, path, ec);
    if (!ec) return true;
  }
  const std::string reason = ok ? ec.message() : std::strerror(writeError);
  fs::remove(temp, ec);
  return ReportSaveFailure(path, reason);
}

void RemoveInterruptedSave(const char* path) {
  std::error_code ec;
  const std::string temp = std::string(path) + kTemporarySuffix;
  if (fs::is_regular_file(temp, ec)) fs::remove(temp, ec);
}

void RemoveInterruptedSaves(const char* directory, const char* extension) {
  const std::string tail = std::string(extension) + kTemporarySuffix;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    if (entry.is_regular_file(ec) && EndsWith(entry.path().filename().string(), tail)) {
      fs::remove(entry.path(), ec);
    }
  }
}

bool KeepLocalFileAs(const char* path, const char* backupPath) {
  std::error_code ec;
  if (!fs::exists(path, ec)) return false;
  std::string target = backupPath;
  for (int n = 2; fs::exists(target, ec) || ec; ++n) {
    if (n > kMaxBackups) return false;
    target = std::string(backupPath) + "." + std::to_string(n);
  }
  fs::rename(path, target, ec);
  return !ec;
}
