// CP932 (Shift-JIS as Windows writes it) to UTF-8 through iconv. The plain
// SHIFT_JIS table rejects common characters such as the wave dash, so the
// code page is named explicitly.
#include <iconv.h>

#include <vector>

#include "Backend.h"

namespace engine {

std::string Cp932ToUtf8(const std::string& cp932) {
  if (cp932.empty()) return {};
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return cp932;
  std::vector<char> out(cp932.size() * 4 + 4);
  char* in = const_cast<char*>(cp932.data());
  size_t inLeft = cp932.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1)) break;
    // An invalid or cut byte: show a replacement mark and go on after it.
    if (outLeft < 3) break;
    *dst++ = '\xEF';
    *dst++ = '\xBF';
    *dst++ = '\xBD';
    outLeft -= 3;
    ++in;
    --inLeft;
  }
  iconv_close(cd);
  return std::string(out.data(), static_cast<size_t>(dst - out.data()));
}

}  // namespace engine
