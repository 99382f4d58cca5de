// Shared by the archive and data-file tests: writing archives the way the
// packer does, and a scratch working directory.
#pragma once

#include <unistd.h>
#include <zip.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace testing_archive {

using Members = std::vector<std::pair<std::string, std::string>>;

// Writes a ZIP at path; each member AES-256 encrypted with key (none when
// key is null). False when libzip refuses.
inline bool WriteZip(const std::string& path, const Members& members, const char* key) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) return false;
  for (const auto& [name, data] : members) {
    // libzip keeps the buffer until close; the strings outlive that.
    zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
    const zip_int64_t i = s ? zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8) : -1;
    if (i < 0 ||
        (key && zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, key))) {
      zip_discard(z);
      return false;
    }
  }
  return zip_close(z) == 0;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path().empty()
                                          ? std::filesystem::path(".")
                                          : std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, text.data(), text.size());
}

// Makes a fresh directory and works inside it for the test's lifetime.
class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/velmora-files-XXXXXX";
    root_ = mkdtemp(pattern) ? pattern : "";
    old_ = std::filesystem::current_path();
    std::filesystem::create_directories(root_ + "/work");
    std::filesystem::current_path(root_ + "/work");
  }
  ~ScratchDir() {
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::string& root() const { return root_; }

 private:
  std::string root_;
  std::filesystem::path old_;
};

}  // namespace testing_archive
