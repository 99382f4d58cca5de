// The reader under conversation files ("Data/Event/event<n>.csv"): two header
// lines, then lines of "type,data" ending in CR LF. Columns are read one at a
// time on demand, so a conversation reads only as far as it has played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kEventColumnRead = 256;  // characters a column may take
inline constexpr size_t kEventColumnKept = 255;  // characters of them kept
inline constexpr size_t kEventHeaderMax = 10000;
inline constexpr size_t kEventFileMax = size_t{4} << 20;

// Why a column ended.
enum ColumnEnd {
  COLUMN_COMMA,     // a comma
  COLUMN_LINE_END,  // a carriage return (and the line feed after it)
  COLUMN_FULL,      // 256 characters taken; the rest waits for the next column
  COLUMN_FILE_END,  // nothing more to read
};

class EventFile {
 public:
  // Takes in the whole file. False when it is missing or does not open.
  bool open(const char* path);
  // The same from bytes in memory (tests and fuzzing).
  void openBytes(const uint8_t* data, size_t size);
  void close();
  bool isOpen() const { return open_; }
  bool atEnd() const { return pos_ >= bytes_.size(); }
  size_t size() const { return bytes_.size(); }

  // Skips one header line, up to and including its line feed, taking at
  // most kEventHeaderMax characters.
  void skipHeaderLine();
  // Reads one column into text (cut to 255 characters, and at a NUL byte as
  // game text ends there). A slash throws away what the column has read and
  // the rest of its line; the column goes on after that line's feed.
  ColumnEnd readColumn(std::string& text);
  // Nothing more will be read.
  void moveToEnd() { pos_ = bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
  bool open_ = false;

  int next() { return pos_ < bytes_.size() ? bytes_[pos_++] : -1; }
  void skipPastLineFeed();
};
