// Archive members through libzip. Everything a member holds is checked on
// the way in (password verifier, authentication code, declared size), so a
// wrong key or a damaged archive ends in a failed read, never in bad data.
// AES members are decrypted here rather than by libzip (see ArchiveAes.h).
#include "Archive.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>

#include "ArchiveAes.h"

namespace engine {
namespace {

// No game file comes near this; a larger claim is taken as damage.
constexpr int64_t kMaxMemberSize = int64_t{512} << 20;
constexpr size_t kChunk = 64 * 1024;

// Reads until the end of the member or until limit bytes are in out. Grows
// with the data actually read rather than trusting a declared size for the
// allocation. False on a read error.
bool readUpTo(zip_file_t* file, size_t limit, std::vector<uint8_t>& out) {
  out.clear();
  out.reserve(std::min(limit, size_t{16} << 20));
  while (out.size() < limit) {
    const size_t have = out.size();
    const size_t want = std::min(kChunk, limit - have);
    out.resize(have + want);
    const zip_int64_t got = zip_fread(file, out.data() + have, want);
    if (got < 0) return false;
    out.resize(have + static_cast<size_t>(got));
    if (got == 0) break;
  }
  return true;
}

// Key length of a WinZip AES member, 0 for any other kind.
int aesKeyBits(const zip_stat_t& st) {
  if (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD)) return 0;
  switch (st.encryption_method) {
    case ZIP_EM_AES_128:
      return 128;
    case ZIP_EM_AES_192:
      return 192;
    case ZIP_EM_AES_256:
      return 256;
    default:
      return 0;
  }
}

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
  const size_t expected = static_cast<size_t>(st.size);
  const int keyBits = aesKeyBits(st);
  if (keyBits && (st.comp_method == ZIP_CM_STORE || st.comp_method == ZIP_CM_DEFLATE)) {
    return readAesMember(static_cast<zip_uint64_t>(index), st, keyBits, key, out);
  }
  zip_file_t* file = zip_fopen_index_encrypted(zip_, static_cast<zip_uint64_t>(index), 0, key);
  if (!file) return false;
  // One byte past the declared end lets overlong data show; reaching the
  // end runs libzip's checks.
  bool ok = readUpTo(file, expected + 1, out);
  if (zip_fclose(file) != 0) ok = false;
  if (!ok || out.size() != expected) {
    out.clear();
    return false;
  }
  return true;
}

bool Archive::readAesMember(uint64_t index, const zip_stat_t& st, int keyBits, const char* key,
                            std::vector<uint8_t>& out) const {
  out.clear();
  if (!key || !(st.valid & ZIP_STAT_COMP_SIZE) ||
      st.comp_size > static_cast<zip_uint64_t>(kMaxMemberSize)) {
    return false;
  }
  // The member's bytes as stored, salt to authentication code. Reading stops
  // at their end: libzip would otherwise test them against the CRC.
  zip_file_t* file = zip_fopen_index(zip_, index, ZIP_FL_ENCRYPTED);
  if (!file) return false;
  std::vector<uint8_t> stored;
  const size_t storedSize = static_cast<size_t>(st.comp_size);
  const bool complete = readUpTo(file, storedSize, stored) && stored.size() == storedSize;
  zip_fclose(file);
  std::vector<uint8_t> plain;
  if (!complete || !DecryptWinZipAes(stored, keyBits, key, plain)) return false;

  const size_t expected = static_cast<size_t>(st.size);
  if (st.comp_method == ZIP_CM_DEFLATE) {
    if (!InflateExactly(plain, expected, out)) return false;
  } else if (plain.size() == expected) {
    out = std::move(plain);
  } else {
    return false;
  }
  // The "AE-2" form stores no CRC (zero); the authentication code stands
  // in for it. Members that carry one are held to it as well.
  const bool hasCrc = (st.valid & ZIP_STAT_CRC) && st.crc != 0;
  if (hasCrc && crc32(crc32(0, nullptr, 0), out.data(), static_cast<uInt>(out.size())) != st.crc) {
    out.clear();
    return false;
  }
  return true;
}

}  // namespace engine
