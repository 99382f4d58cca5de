// CP932 to UTF-32 through iconv, with a cache of recent strings.
#include "TextDecode.h"

#include <errno.h>
#include <iconv.h>

#include <functional>
#include <unordered_map>
#include <vector>

namespace engine {
namespace {

constexpr size_t kCacheLimit = 4096;

// Lets the cache be searched with the caller's bytes without copying them.
struct BytesHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

iconv_t converter() {
  // Opening a converter loads a gconv module: far too slow to do per string.
  static iconv_t cd = iconv_open("UTF-32LE", "CP932");
  return cd;
}

}  // namespace

std::u32string DecodeCp932Uncached(std::string_view cp932) {
  std::u32string out;
  out.reserve(cp932.size());
  bool ascii = true;
  for (char c : cp932) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    for (char c : cp932) out.push_back(static_cast<char32_t>(c));
    return out;
  }
  iconv_t cd = converter();
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (char c : cp932) {
      const auto byte = static_cast<unsigned char>(c);
      out.push_back(byte < 0x80 ? byte : U'\uFFFD');
    }
    return out;
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> buffer(cp932.size() * 4 + 4);
  char* in = const_cast<char*>(cp932.data());
  size_t inLeft = cp932.size();
  while (inLeft > 0) {
    char* dst = buffer.data();
    size_t outLeft = buffer.size();
    const size_t result = iconv(cd, &in, &inLeft, &dst, &outLeft);
    const size_t produced = static_cast<size_t>(dst - buffer.data());
    for (size_t i = 0; i + 3 < produced; i += 4) {
      const auto* b = reinterpret_cast<const unsigned char*>(buffer.data() + i);
      out.push_back(static_cast<char32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                          (static_cast<uint32_t>(b[3]) << 24)));
    }
    if (result != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // An invalid lead or trail byte, or a character cut at the end.
    out.push_back(U'\uFFFD');
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

const std::u32string& DecodeCp932(std::string_view cp932) {
  static std::unordered_map<std::string, std::u32string, BytesHash, std::equal_to<>> cache;
  auto it = cache.find(cp932);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kCacheLimit) cache.clear();
  return cache.emplace(std::string(cp932), DecodeCp932Uncached(cp932)).first->second;
}

}  // namespace engine
