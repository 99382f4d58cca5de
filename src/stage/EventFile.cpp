#include "stage/EventFile.h"

#include "app/DataFileText.h"

bool EventFile::open(const char* path) {
  close();
  // Conversation files are small; a runaway file is read only so far.
  if (!ReadDataFileText(path, bytes_, kEventFileMax)) {
    bytes_.clear();
    return false;
  }
  open_ = true;
  return true;
}

void EventFile::openBytes(const uint8_t* data, size_t size) {
  close();
  if (size > kEventFileMax) size = kEventFileMax;
  if (size > 0) bytes_.assign(data, data + size);
  open_ = true;
}

void EventFile::close() {
  bytes_.clear();
  bytes_.shrink_to_fit();
  pos_ = 0;
  open_ = false;
}

void EventFile::skipHeaderLine() {
  for (size_t n = 0; n < kEventHeaderMax; ++n) {
    const int c = next();
    if (c < 0 || c == '\n') return;
  }
}

void EventFile::skipPastLineFeed() {
  for (int c = next(); c >= 0 && c != '\n'; c = next()) {
  }
}

ColumnEnd EventFile::readColumn(std::string& text) {
  text.clear();
  size_t taken = 0;
  ColumnEnd end = COLUMN_FULL;
  while (taken < kEventColumnRead) {
    const int c = next();
    if (c < 0) {
      end = COLUMN_FILE_END;
      break;
    }
    if (c == ',') {
      end = COLUMN_COMMA;
      break;
    }
    if (c == '\r') {
      if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
      end = COLUMN_LINE_END;
      break;
    }
    if (c == '/') {
      text.clear();
      taken = 0;
      skipPastLineFeed();
      continue;
    }
    if (text.size() < kEventColumnKept) text.push_back(static_cast<char>(c));
    ++taken;
  }
  // Text stops at a NUL byte, as everywhere else in the game.
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return end;
}
