// UTF-8 to CP932 through iconv. The plain SHIFT_JIS table lacks characters
// the game's texts use (the wave dash, circled numbers), so the code page is
// named explicitly.
#include "app/Sjis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

std::string Sjis(std::string_view utf8) {
  if (utf8.empty()) return {};
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  // CP932 never needs more bytes than UTF-8 for the same text.
  std::vector<char> out(utf8.size() + 4);
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || outLeft == 0) break;
    // Skip the whole character that has no CP932 form (or the one broken
    // byte) and mark the gap.
    size_t skip = 1;
    const auto lead = static_cast<unsigned char>(*in);
    if (lead >= 0xF0) {
      skip = 4;
    } else if (lead >= 0xE0) {
      skip = 3;
    } else if (lead >= 0xC0) {
      skip = 2;
    }
    for (size_t i = 1; i < skip && i < inLeft; ++i) {
      if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
        skip = i;
        break;
      }
    }
    if (skip > inLeft) skip = inLeft;
    *dst++ = '?';
    --outLeft;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return std::string(out.data(), static_cast<size_t>(dst - out.data()));
}
