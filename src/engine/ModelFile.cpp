// Reader of the game's model files ("mv1"), a small text format: a subset of
// Wavefront OBJ with a colour on every vertex.
//
//   # a comment runs to the end of the line
//   v x y z r g b [a]   a vertex: position, then colour 0..255 (alpha 255 if left out)
//   f i j k [l ...]     a face: 1-based vertex numbers (negative counts back from
//                       the last vertex read), split into a fan of triangles
//   o, g, s lines       object, group and smoothing names: accepted and ignored
//
// Anything else, a number that does not parse, a colour out of range or a
// face naming a vertex not yet read makes the whole file invalid.
#include <charconv>
#include <cmath>
#include <string_view>

#include "Model.h"

namespace engine {
namespace {

constexpr size_t kMaxVertices = 1 << 20;
constexpr size_t kMaxIndices = 3 << 20;

class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  bool word(std::string_view& out) {
    skipSpace();
    if (rest_.empty()) return false;
    size_t end = 0;
    while (end < rest_.size() && rest_[end] != ' ' && rest_[end] != '\t') ++end;
    out = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return true;
  }
  bool number(float& out) {
    std::string_view w;
    if (!word(w)) return false;
    const char* first = w.data();
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, w.data() + w.size(), out);
    return ec == std::errc() && ptr == w.data() + w.size() && std::isfinite(out);
  }
  bool integer(long& out) {
    std::string_view w;
    if (!word(w)) return false;
    auto [ptr, ec] = std::from_chars(w.data(), w.data() + w.size(), out);
    return ec == std::errc() && ptr == w.data() + w.size();
  }
  bool atEnd() {
    skipSpace();
    return rest_.empty();
  }

 private:
  void skipSpace() {
    while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) {
      rest_.remove_prefix(1);
    }
  }
  std::string_view rest_;
};

bool fail(std::string* error, size_t lineNo, const char* why) {
  if (error) *error = "line " + std::to_string(lineNo) + ": " + why;
  return false;
}

bool colour(LineReader& r, uint8_t& out) {
  long v;
  if (!r.integer(v) || v < 0 || v > 255) return false;
  out = static_cast<uint8_t>(v);
  return true;
}

}  // namespace

bool ParseModel(const char* text, size_t size, ModelData& out, std::string* error) {
  out.vertices.clear();
  out.indices.clear();
  if (!text) return fail(error, 0, "no data");
  std::string_view all(text, size);
  size_t lineNo = 0;
  while (!all.empty()) {
    ++lineNo;
    size_t end = all.find('\n');
    std::string_view line = all.substr(0, end);
    all.remove_prefix(end == std::string_view::npos ? all.size() : end + 1);
    size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    LineReader r(line);
    std::string_view keyword;
    if (!r.word(keyword)) continue;
    if (keyword == "v") {
      ModelVertex v{};
      v.a = 255;
      if (!r.number(v.x) || !r.number(v.y) || !r.number(v.z)) {
        return fail(error, lineNo, "bad vertex position");
      }
      if (!colour(r, v.r) || !colour(r, v.g) || !colour(r, v.b)) {
        return fail(error, lineNo, "bad vertex colour");
      }
      if (!r.atEnd() && !colour(r, v.a)) return fail(error, lineNo, "bad vertex alpha");
      if (!r.atEnd()) return fail(error, lineNo, "extra values after vertex");
      if (out.vertices.size() >= kMaxVertices) return fail(error, lineNo, "too many vertices");
      out.vertices.push_back(v);
    } else if (keyword == "f") {
      int corners[64];
      int count = 0;
      long n;
      while (!r.atEnd()) {
        if (count == 64 || !r.integer(n)) return fail(error, lineNo, "bad face");
        long vertexCount = static_cast<long>(out.vertices.size());
        long index = n > 0 ? n - 1 : vertexCount + n;
        if (n == 0 || index < 0 || index >= vertexCount) {
          return fail(error, lineNo, "face names a missing vertex");
        }
        corners[count++] = static_cast<int>(index);
      }
      if (count < 3) return fail(error, lineNo, "face with fewer than three corners");
      if (out.indices.size() + 3 * (count - 2) > kMaxIndices) {
        return fail(error, lineNo, "too many faces");
      }
      for (int i = 1; i + 1 < count; ++i) {
        out.indices.push_back(corners[0]);
        out.indices.push_back(corners[i]);
        out.indices.push_back(corners[i + 1]);
      }
    } else if (keyword == "o" || keyword == "g" || keyword == "s") {
      continue;
    } else {
      return fail(error, lineNo, "unknown line");
    }
  }
  if (out.indices.empty()) return fail(error, lineNo, "no faces");
  return true;
}

}  // namespace engine
