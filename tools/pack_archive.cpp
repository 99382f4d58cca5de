// velmora-pack DIR OUT.dat [key]
//
// Packs every file under DIR into a ZIP archive the game reads in place of
// the folder: members are named relative to DIR ("loading.png" for
// Graphics/loading.png), compressed, and AES-256 encrypted with the key.
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultKey = "qtvz@R27";
// The game uses no more of a key than this.
constexpr size_t kKeyLength = 12;

bool collect(const fs::path& root, const fs::path& output, std::vector<fs::path>& files) {
  std::error_code ec;
  fs::recursive_directory_iterator it(root, ec), end;
  if (ec) {
    std::fprintf(stderr, "velmora-pack: cannot read %s: %s\n", root.c_str(), ec.message().c_str());
    return false;
  }
  const fs::path outAbs = fs::weakly_canonical(output, ec);
  for (; it != end; it.increment(ec)) {
    if (ec) {
      std::fprintf(stderr, "velmora-pack: %s\n", ec.message().c_str());
      return false;
    }
    if (!it->is_regular_file(ec)) continue;
    // An archive written inside the folder it packs must not pack itself.
    if (fs::weakly_canonical(it->path(), ec) == outAbs) continue;
    files.push_back(it->path());
  }
  // A stable member order gives the same archive layout on every build.
  std::sort(files.begin(), files.end());
  return true;
}

bool pack(const fs::path& root, const fs::path& output, const std::string& key) {
  std::vector<fs::path> files;
  if (!collect(root, output, files)) return false;

  int error = 0;
  zip_t* archive = zip_open(output.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) {
    zip_error_t ze;
    zip_error_init_with_code(&ze, error);
    std::fprintf(stderr, "velmora-pack: cannot create %s: %s\n", output.c_str(),
                 zip_error_strerror(&ze));
    zip_error_fini(&ze);
    return false;
  }
  for (const fs::path& file : files) {
    const std::string member = file.lexically_relative(root).generic_string();
    zip_source_t* source = zip_source_file(archive, file.c_str(), 0, -1);
    zip_int64_t index =
        source ? zip_file_add(archive, member.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
               : -1;
    if (index < 0) {
      if (source) zip_source_free(source);
    } else if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                        9) != 0 ||
               zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256,
                                       key.c_str()) != 0) {
      index = -1;
    }
    if (index < 0) {
      std::fprintf(stderr, "velmora-pack: %s: %s\n", member.c_str(), zip_strerror(archive));
      zip_discard(archive);
      return false;
    }
  }
  // The archive is written (to a temporary file, then renamed) on close.
  if (zip_close(archive) != 0) {
    std::fprintf(stderr, "velmora-pack: cannot write %s: %s\n", output.c_str(),
                 zip_strerror(archive));
    zip_discard(archive);
    return false;
  }
  std::printf("velmora-pack: %zu files -> %s\n", files.size(), output.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: velmora-pack DIR OUT.dat [key]\n");
    return 2;
  }
  std::string key = argc == 4 ? argv[3] : kDefaultKey;
  if (key.empty()) {
    std::fprintf(stderr, "velmora-pack: the key must not be empty\n");
    return 2;
  }
  if (key.size() > kKeyLength) {
    std::fprintf(stderr, "velmora-pack: key cut to its first %zu characters\n", kKeyLength);
    key.resize(kKeyLength);
  }
  const fs::path root = argv[1];
  std::error_code ec;
  if (!fs::is_directory(root, ec)) {
    std::fprintf(stderr, "velmora-pack: %s is not a directory\n", argv[1]);
    return 1;
  }
  return pack(root, argv[2], key) ? 0 : 1;
}
