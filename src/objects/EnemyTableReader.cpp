#include "objects/EnemyTableReader.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/DataFileText.h"

namespace {

constexpr size_t kSkippedLineMax = 10000;
constexpr double kDegreesToRadians = 0.017453292;
constexpr double kFloatMax = 3.4028234663852886e38;
constexpr int kHeaderFields = 7;
constexpr int kRowFields = 6;
constexpr int kShortestRow = 3;
constexpr uint8_t kEndByte = 0xFF;  // the files' own end mark: reading stops there

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips one line up to and including its line feed, at most kSkippedLineMax bytes.
size_t SkipLine(const uint8_t* data, size_t size, size_t pos) {
  for (size_t n = 0; pos < size && n < kSkippedLineMax; ++n) {
    if (data[pos++] == '\n') break;
  }
  return pos;
}

class EnemyFileParser {
 public:
  EnemyFileParser(int32_t difficulty, EnemyRowCarry& carry, EnemyRecord& record)
      : difficulty_(difficulty), carry_(carry), record_(record) {}

  void run(const uint8_t* data, size_t size) {
    size_t pos = SkipLine(data, size, SkipLine(data, size, 0));
    for (;;) {
      if (pos >= size || data[pos] == kEndByte) {
        // A row cut short by the end of the file still counts, like one ended
        // by a line feed; nothing at all after the last line feed is no field.
        if (consumed_ > 0 || fieldIndex_ > 0) endField(true);
        return;
      }
      const char c = static_cast<char>(data[pos++]);
      if (c == '/') {
        // A comment drops the row it interrupts.
        while (pos < size && data[pos] != kEndByte) {
          if (data[pos++] == '\n') break;
        }
        fieldIndex_ = 0;
        clearField();
        continue;
      }
      if (c == ',' || c == '\n') {
        endField(c == '\n');
        continue;
      }
      ++consumed_;
      if (c == 'd') {
        degrees_ = true;
      } else if (c == 'o') {
        over_ = true;
      } else if (c == 'u') {
        under_ = true;
      } else {
        text_.push_back(c);
      }
      if (consumed_ >= kEnemyFieldMax) endField(false);
    }
  }

 private:
  void clearField() {
    text_.clear();
    consumed_ = 0;
    degrees_ = over_ = under_ = false;
  }

  int32_t intValue() const { return DecimalFieldValue(text_); }
  float floatValue() const {
    double v = DecimalFloatValue(text_);
    if (degrees_) v *= kDegreesToRadians;
    return static_cast<float>(v);
  }

  void endField(bool lineEnd) {
    if (inHeader_) {
      headerField(lineEnd);
    } else {
      actionField(lineEnd);
    }
    clearField();
  }

  void headerField(bool lineEnd) {
    const int32_t v = intValue();
    switch (fieldIndex_) {
      case 0:
        record_.graphic = static_cast<uint8_t>(v);
        break;
      case 1:
        record_.hitPoints = v;
        break;
      case 2:
        record_.radius = v;
        break;
      default:
        record_.drops[fieldIndex_ - 3] = static_cast<uint8_t>(v);
        break;
    }
    ++fieldIndex_;
    if (fieldIndex_ == kHeaderFields || lineEnd) {
      inHeader_ = false;
      fieldIndex_ = 0;
    }
  }

  void actionField(bool lineEnd) {
    switch (fieldIndex_) {
      case 0:
        carry_.time = intValue();
        break;
      case 1:
        carry_.duration = intValue();
        break;
      case 2:
        carry_.op = intValue() & 0xFF;
        break;
      case 3:
        carry_.p1 = floatValue();
        break;
      case 4:
        carry_.p2 = floatValue();
        break;
      default:
        carry_.qualifier = intValue();
        qualifierOver_ = over_;
        qualifierUnder_ = under_;
        break;
    }
    ++fieldIndex_;
    if (fieldIndex_ == kRowFields) {
      if (appliesToDifficulty()) appendRow();
      carry_.qualifier = 0;
      fieldIndex_ = 0;
    } else if (lineEnd) {
      // Short rows carry no qualifier and count on every difficulty.
      if (fieldIndex_ >= kShortestRow) appendRow();
      fieldIndex_ = 0;
    }
  }

  // 0 means every difficulty; "o" extends a row upward from its difficulty,
  // "u" downward.
  bool appliesToDifficulty() const {
    const int32_t q = carry_.qualifier;
    return q == 0 || q == difficulty_ || (q > difficulty_ && qualifierUnder_) ||
           (q < difficulty_ && qualifierOver_);
  }

  void appendRow() {
    record_.actions.emplace_back(carry_.time, carry_.duration, carry_.op, carry_.p1, carry_.p2);
  }

  int32_t difficulty_;
  EnemyRowCarry& carry_;
  EnemyRecord& record_;
  bool inHeader_ = true;
  int fieldIndex_ = 0;
  std::string text_;
  size_t consumed_ = 0;  // characters of the field, flag letters included
  bool degrees_ = false;
  bool over_ = false;
  bool under_ = false;
  bool qualifierOver_ = false;
  bool qualifierUnder_ = false;
};

}  // namespace

double DecimalFloatValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t start = i;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return 0.0;
  bool tinyExponent = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool minus = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) minus = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
      tinyExponent = minus;
    }
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data() + start, text.data() + i, value);
  if (result.ec == std::errc::result_out_of_range) value = tinyExponent ? 0.0 : kFloatMax;
  if (value > kFloatMax) value = kFloatMax;
  return negative ? -value : value;
}

void ParseEnemyFile(const uint8_t* data, size_t size, int32_t difficulty, EnemyRowCarry& carry,
                    EnemyRecord& record) {
  EnemyFileParser(difficulty, carry, record).run(data, size);
}

void LoadEnemyTable(int32_t difficulty) {
  gEnemyTable.clear();
  gEnemyTable.reserve(kEnemyTableSize);
  EnemyRowCarry carry;
  std::vector<uint8_t> bytes;
  char path[64];
  for (int n = 1; n <= kEnemyTableSize; ++n) {
    EnemyRecord record;
    std::snprintf(path, sizeof path, "Data/EnemyDB/enemy%d.csv", n);
    if (ReadDataFileText(path, bytes)) {
      ParseEnemyFile(bytes.data(), bytes.size(), difficulty, carry, record);
    }
    gEnemyTable.push_back(std::move(record));
  }
}
