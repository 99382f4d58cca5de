// Reading the game's data archives: standard ZIP files whose members are
// encrypted (AES-256) with the archive key as password.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct zip;
struct zip_stat;

namespace engine {

class Archive {
 public:
  struct Member {
    std::string name;  // path inside the archive, '/' separated (UTF-8)
    int64_t size;
  };

  // Null when the file is missing or not a readable ZIP.
  static std::unique_ptr<Archive> OpenFile(const std::string& path);
  // Over a caller-owned buffer that must outlive the archive.
  static std::unique_ptr<Archive> OpenMemory(const uint8_t* data, size_t size);

  ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // Every file member (directory entries are left out).
  std::vector<Member> Members() const;
  // Size of a member that can be opened with the key, -1 otherwise. Only
  // the password check runs: the contents are not read.
  int64_t MemberSize(const std::string& name, const char* key) const;
  // The whole decrypted, decompressed member; false on a wrong key, a
  // missing member or damaged data (out is then empty).
  bool Read(const std::string& name, const char* key, std::vector<uint8_t>& out) const;

 private:
  explicit Archive(zip* handle) : zip_(handle) {}
  int64_t indexOf(const std::string& name) const;
  bool readAesMember(uint64_t index, const zip_stat& st, int keyBits, const char* key,
                     std::vector<uint8_t>& out) const;

  zip* zip_;
};

}  // namespace engine
