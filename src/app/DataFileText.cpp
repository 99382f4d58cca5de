#include "app/DataFileText.h"

#include <limits>

#include "engine/Engine.h"

bool ReadDataFileText(const char* path, std::vector<uint8_t>& out, size_t maxBytes) {
  out.clear();
  if (DataFileSize(path) == -1) return false;
  const int handle = OpenDataFile(path);
  if (handle == 0) return false;
  while (DataFileAtEnd(handle) == 0 && out.size() < maxBytes) {
    const int c = ReadDataChar(handle);
    if (c < 0) break;
    out.push_back(static_cast<uint8_t>(c));
  }
  CloseDataFile(handle);
  return true;
}

int32_t DecimalFieldValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value >= kLimit ? kLimit - 1 : value);
}
