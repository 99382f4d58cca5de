#include "app/AnimeTable.h"

#include <cstdio>
#include <string>

#include "app/DataFileText.h"
#include "app/Resources.h"

namespace {

// Reads a table one character at a time. Fields end at a comma, a line feed
// or the end of the file; a carriage return stays in its field and is passed
// over by the number conversion. The seven header fields must share the
// first line that is not a comment.
class AnimeTableReader {
 public:
  // False once the table is known to be broken.
  bool Feed(uint8_t c) {
    if (inComment_) {
      if (c == '\n') inComment_ = false;
      return true;
    }
    switch (c) {
      case '/':
        // The rest of the line is skipped and the current section counts its
        // fields from the start again: in the data section the next value
        // is cell 0's once more.
        inComment_ = true;
        text_.clear();
        if (headerDone_) {
          cell_ = 0;
        } else {
          headerField_ = 0;
        }
        return true;
      case ',':
        return EndField(false);
      case '\n':
        return EndField(true);
      default:
        if (text_.size() < kAnimeFieldMax) text_.push_back(static_cast<char>(c));
        return true;
    }
  }

  std::optional<AnimeTableText> Finish() {
    // The end of the file ends a field that has text; a final line feed
    // does not make one more empty field.
    if (!inComment_ && !text_.empty() && !EndField(false)) return std::nullopt;
    if (!headerDone_) return std::nullopt;
    return std::move(table_);
  }

 private:
  bool EndField(bool lineFeed) {
    const int32_t value = DecimalFieldValue(text_);
    text_.clear();
    if (headerDone_) {
      // Values beyond the last cell have no cell to go to.
      if (cell_ < table_.durations.size()) table_.durations[cell_] = value;
      ++cell_;
      return true;
    }
    header_[headerField_++] = value;
    if (headerField_ < 7) return !lineFeed;
    table_.cellWidth = header_[0];
    table_.cellHeight = header_[1];
    table_.originX = header_[2];
    table_.originY = header_[3];
    table_.columns = header_[4];
    table_.rows = header_[5];
    table_.cellCount = header_[6];
    if (table_.cellCount < 1 || table_.cellCount > kAnimeMaxCells) return false;
    table_.durations.assign(static_cast<size_t>(table_.cellCount), std::nullopt);
    headerDone_ = true;
    return true;
  }

  AnimeTableText table_;
  int32_t header_[7] = {};
  int headerField_ = 0;
  bool headerDone_ = false;
  size_t cell_ = 0;
  std::string text_;
  bool inComment_ = false;
};

}  // namespace

std::optional<AnimeTableText> ParseAnimeTable(const uint8_t* data, size_t size) {
  AnimeTableReader reader;
  for (size_t i = 0; i < size; ++i) {
    if (!reader.Feed(data[i])) return std::nullopt;
  }
  return reader.Finish();
}

std::unique_ptr<Animation> LoadAnimation(int n) {
  char path[64];
  std::snprintf(path, sizeof path, "Graphics/anime%d.csv", n);
  std::vector<uint8_t> bytes;
  if (!ReadDataFileText(path, bytes)) return nullptr;
  const std::optional<AnimeTableText> table = ParseAnimeTable(bytes.data(), bytes.size());
  if (!table) return nullptr;

  std::vector<int> cells(static_cast<size_t>(table->cellCount), 0);
  std::snprintf(path, sizeof path, "Graphics/anime%d.png", n);
  if (gImageCalls.loadCells(path, table->cellCount, table->columns, table->rows, table->cellWidth,
                            table->cellHeight, cells.data()) == -1) {
    cells.assign(cells.size(), 0);
  }

  auto anim = std::make_unique<Animation>();
  anim->frames.resize(cells.size());
  for (size_t k = 0; k < cells.size(); ++k) {
    if (!table->durations[k]) continue;  // a cell without a value stays blank
    anim->frames[k].image = cells[k] > 0 ? cells[k] : 0;
    anim->frames[k].duration = *table->durations[k];
  }
  anim->originX = table->originX;
  anim->originY = table->originY;
  anim->id = n;
  return anim;
}
