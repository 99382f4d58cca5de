// "score.dat": every persistent play record in one fixed 3944-byte image,
// little-endian, no header. Per score slot (charge type + 2 x (difficulty - 1),
// 0..11) a best score, a clear counter and a ten-row ranking table; then the
// continue bonus and the Extra-unlocked flag.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int kScoreSlots = 12;
inline constexpr int kRankingRows = 10;
inline constexpr size_t kScoreFileSize = 3944;
inline constexpr const char* kScoreFilePath = "score.dat";
inline constexpr const char* kScoreBackupPath = "score.dat.bak";

struct ScoreEntry {
  int32_t score;
  int32_t reserved;  // always 0
  int64_t time;      // seconds since 1970 when the row was made; 0 = empty row
  char name[16];     // ASCII, NUL-terminated
};

struct ScoreData {
  int32_t bestScore[kScoreSlots];
  int32_t clearCount[kScoreSlots];                // read only as zero / not zero
  ScoreEntry ranking[kScoreSlots][kRankingRows];  // row 0 the best
  int32_t continueBonus;  // games lost for want of a continue: one more continue each
  uint8_t extraUnlocked;  // 1 once Normal or harder was cleared without a continue
  uint8_t reserved[3];

  // Set while a replay is being watched: watching never writes the file.
  // Saving also stands still while the input module plays a replay back; the
  // flag covers the screens around the playback as well.
  static inline bool replayPlayback = false;

  ScoreData() { Reset(); }

  // Start-up. A missing file, or one of any size but 3944 bytes, leaves all
  // records zero and writes a fresh file at once; a file of the wrong size is
  // first kept as "score.dat.bak". Contents are taken over unchecked.
  void Load();
  // Rewrites "score.dat" whole (temporary file, then rename). Skipped while a
  // replay is being watched; false when the file cannot be written (the
  // in-memory record stays and goes out with the next save).
  bool Save() const;
  void Reset();
  // Moves rows place..8 of the slot down one (row 9 is lost) and writes the
  // new row at place. Out-of-range slots or places change nothing.
  void InsertRanking(int slot, int place, int32_t score, int64_t time, const char* name);

  // The file image, byte for byte.
  void ToBytes(uint8_t out[kScoreFileSize]) const;
  void FromBytes(const uint8_t in[kScoreFileSize]);
};
