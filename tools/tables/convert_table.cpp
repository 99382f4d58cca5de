// Turns a hand-written table source (UTF-8, LF) into the bytes the game
// reads: Shift-JIS (code page 932) with CR LF line ends. Fails on text that
// has no CP932 form, so a stray character never reaches the game as garbage.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

bool ToCp932(const std::string& in, std::string& out) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.assign(in.size() * 2 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || srcLeft != 0) {
    std::fprintf(stderr, "convert_table: no CP932 form at byte %zu\n", in.size() - srcLeft);
    return false;
  }
  out.resize(out.size() - dstLeft);
  return true;
}

// Every line ends in CR LF; a CR already in place is kept, not doubled, and
// a last line without a line feed gets one (the readers want it).
std::string WithCrLf(const std::string& in) {
  std::string out;
  out.reserve(in.size() + in.size() / 16 + 2);
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\r') continue;
    if (in[i] == '\n') out += '\r';
    out += in[i];
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: convert_table <source.csv> <output.csv>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "convert_table: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string converted;
  if (!ToCp932(WithCrLf(text), converted)) {
    std::fprintf(stderr, "convert_table: %s\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(converted.data(), static_cast<std::streamsize>(converted.size()));
  if (!out) {
    std::fprintf(stderr, "convert_table: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
