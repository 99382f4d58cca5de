#include "app/BgmList.h"

#include <string_view>

#include "app/DataFileText.h"

namespace {

// Reads the list one character at a time. Fields end at a tab, a line end or
// the end of the file; lines end at a line feed or a carriage return (so CR LF
// gives an empty line, which is ignored). A line's entry is complete when its
// third field ends or its line ends, whichever comes first.
class BgmListReader {
 public:
  void Feed(uint8_t c) {
    if (inComment_) {
      // A comment runs to the end of its line, line end included; the field
      // that was being read starts again on the next line.
      if (c == '\n' || c == '\r') inComment_ = false;
      return;
    }
    switch (c) {
      case '/':
        inComment_ = true;
        text_.clear();
        break;
      case '\t':
        EndField();
        break;
      case '\n':
      case '\r':
        EndField();
        if (field_ != 0) CompleteEntry();
        break;
      default:
        // Characters past the field's 63 are dropped; the field goes on to
        // its separator as usual.
        if (text_.size() < kBgmFieldMax) text_.push_back(static_cast<char>(c));
        break;
    }
  }

  // The end of the file ends the field but not the line: a last line without
  // its third field and without a line end is lost.
  std::vector<BgmEntry> Finish() {
    EndField();
    return std::move(list_);
  }

 private:
  void EndField() {
    switch (field_) {
      case 0:
        entry_.path = text_.empty() ? std::string() : "Sounds/BGM/" + text_;
        field_ = 1;
        break;
      case 1:
        entry_.loopPoint = DecimalFieldValue(text_);
        field_ = 2;
        break;
      default:
        entry_.title = text_;
        CompleteEntry();
        break;
    }
    text_.clear();
  }

  void CompleteEntry() {
    if (!entry_.path.empty()) list_.push_back(entry_);
    // A line without a loop point starts its tune over from the top rather
    // than at the previous line's loop point.
    entry_ = BgmEntry();
    field_ = 0;
  }

  std::vector<BgmEntry> list_;
  BgmEntry entry_;
  std::string text_;
  int field_ = 0;
  bool inComment_ = false;
};

}  // namespace

std::vector<BgmEntry> ParseBgmList(const uint8_t* data, size_t size) {
  BgmListReader reader;
  for (size_t i = 0; i < size; ++i) reader.Feed(data[i]);
  return reader.Finish();
}

std::vector<BgmEntry> ReadBgmList(const char* path) {
  std::vector<uint8_t> bytes;
  if (!ReadDataFileText(path, bytes)) return {};
  return ParseBgmList(bytes.data(), bytes.size());
}
