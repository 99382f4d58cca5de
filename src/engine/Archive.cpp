// Archive members through libzip. Everything a member holds is checked on
// the way in (password verifier, authentication code, declared size), so a
// wrong key or a damaged archive ends in a failed read, never in bad data.
#include "Archive.h"

#include <zip.h>

#include <algorithm>

namespace engine {
namespace {

// No game file comes near this; a larger claim is taken as damage.
constexpr int64_t kMaxMemberSize = int64_t{512} << 20;
constexpr size_t kChunk = 64 * 1024;

}  // namespace

std::unique_ptr<Archive> Archive::OpenFile(const std::string& path) {
  int error = 0;
  zip_t* handle = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!handle) return nullptr;
  return std::unique_ptr<Archive>(new Archive(handle));
}

std::unique_ptr<Archive> Archive::OpenMemory(const uint8_t* data, size_t size) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
  if (!source) {
    zip_error_fini(&error);
    return nullptr;
  }
  zip_t* handle = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (!handle) {
    zip_source_free(source);
    return nullptr;
  }
  return std::unique_ptr<Archive>(new Archive(handle));
}

Archive::~Archive() { zip_discard(zip_); }

std::vector<Archive::Member> Archive::Members() const {
  std::vector<Member> members;
  const zip_int64_t count = zip_get_num_entries(zip_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    if (zip_stat_index(zip_, static_cast<zip_uint64_t>(i), 0, &st) != 0) continue;
    if (!(st.valid & ZIP_STAT_NAME) || !st.name || !*st.name) continue;
    std::string name(st.name);
    if (name.back() == '/') continue;
    const int64_t size = (st.valid & ZIP_STAT_SIZE) ? static_cast<int64_t>(st.size) : -1;
    members.push_back({std::move(name), size});
  }
  return members;
}

int64_t Archive::indexOf(const std::string& name) const {
  if (name.empty() || name.back() == '/') return -1;
  return zip_name_locate(zip_, name.c_str(), 0);
}

int64_t Archive::MemberSize(const std::string& name, const char* key) const {
  const int64_t index = indexOf(name);
  if (index < 0) return -1;
  zip_stat_t st;
  if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0) return -1;
  if (!(st.valid & ZIP_STAT_SIZE) || st.size > static_cast<zip_uint64_t>(kMaxMemberSize)) {
    return -1;
  }
  zip_file_t* file = zip_fopen_index_encrypted(zip_, static_cast<zip_uint64_t>(index), 0, key);
  if (!file) return -1;
  zip_fclose(file);
  return static_cast<int64_t>(st.size);
}

bool Archive::Read(const std::string& name, const char* key, std::vector<uint8_t>& out) const {
  out.clear();
  const int64_t index = indexOf(name);
  if (index < 0) return false;
  zip_stat_t st;
  if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0) return false;
  if (!(st.valid & ZIP_STAT_SIZE) || st.size > static_cast<zip_uint64_t>(kMaxMemberSize)) {
    return false;
  }
  zip_file_t* file = zip_fopen_index_encrypted(zip_, static_cast<zip_uint64_t>(index), 0, key);
  if (!file) return false;
  const size_t expected = static_cast<size_t>(st.size);
  // Grow with the data actually read rather than trusting the declared size
  // for the allocation.
  out.reserve(std::min(expected, size_t{16} << 20));
  bool ok = true;
  for (;;) {
    const size_t have = out.size();
    // Ask for one byte past the declared end so that overlong data shows.
    const size_t want = std::min(kChunk, expected + 1 - have);
    out.resize(have + want);
    const zip_int64_t got = zip_fread(file, out.data() + have, want);
    if (got < 0) {
      ok = false;
      break;
    }
    out.resize(have + static_cast<size_t>(got));
    if (got == 0 || out.size() > expected) break;
  }
  if (zip_fclose(file) != 0) ok = false;
  if (!ok || out.size() != expected) {
    out.clear();
    return false;
  }
  return true;
}

}  // namespace engine
