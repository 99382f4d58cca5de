#include "persist/ScoreData.h"

#include <cstring>
#include <vector>

#include "app/Module_Input.h"
#include "app/SafeFile.h"

static_assert(sizeof(ScoreEntry) == 32);

namespace {

void Put32(uint8_t*& p, uint32_t v) {
  for (int i = 0; i < 4; ++i) *p++ = static_cast<uint8_t>(v >> (8 * i));
}
void Put64(uint8_t*& p, uint64_t v) {
  for (int i = 0; i < 8; ++i) *p++ = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t Get32(const uint8_t*& p) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t{*p++} << (8 * i);
  return v;
}
uint64_t Get64(const uint8_t*& p) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= uint64_t{*p++} << (8 * i);
  return v;
}

}  // namespace

void ScoreData::Reset() {
  std::memset(bestScore, 0, sizeof bestScore);
  std::memset(clearCount, 0, sizeof clearCount);
  std::memset(ranking, 0, sizeof ranking);
  continueBonus = 0;
  extraUnlocked = 0;
  std::memset(reserved, 0, sizeof reserved);
}

void ScoreData::ToBytes(uint8_t out[kScoreFileSize]) const {
  uint8_t* p = out;
  for (int32_t v : bestScore) Put32(p, static_cast<uint32_t>(v));
  for (int32_t v : clearCount) Put32(p, static_cast<uint32_t>(v));
  for (const auto& slot : ranking) {
    for (const ScoreEntry& e : slot) {
      Put32(p, static_cast<uint32_t>(e.score));
      Put32(p, static_cast<uint32_t>(e.reserved));
      Put64(p, static_cast<uint64_t>(e.time));
      std::memcpy(p, e.name, sizeof e.name);
      p += sizeof e.name;
    }
  }
  Put32(p, static_cast<uint32_t>(continueBonus));
  *p++ = extraUnlocked;
  // The reserved bytes always go out as zero.
  std::memset(p, 0, sizeof reserved);
}

void ScoreData::FromBytes(const uint8_t in[kScoreFileSize]) {
  const uint8_t* p = in;
  for (int32_t& v : bestScore) v = static_cast<int32_t>(Get32(p));
  for (int32_t& v : clearCount) v = static_cast<int32_t>(Get32(p));
  for (auto& slot : ranking) {
    for (ScoreEntry& e : slot) {
      e.score = static_cast<int32_t>(Get32(p));
      e.reserved = static_cast<int32_t>(Get32(p));
      e.time = static_cast<int64_t>(Get64(p));
      std::memcpy(e.name, p, sizeof e.name);
      p += sizeof e.name;
    }
  }
  continueBonus = static_cast<int32_t>(Get32(p));
  extraUnlocked = *p++;
  std::memcpy(reserved, p, sizeof reserved);
}

void ScoreData::Load() {
  std::vector<uint8_t> bytes;
  const int64_t size = LocalFileSize(kScoreFilePath);
  if (size == static_cast<int64_t>(kScoreFileSize) &&
      ReadLocalFile(kScoreFilePath, bytes, kScoreFileSize) && bytes.size() == kScoreFileSize) {
    // Taken over as it is: nothing in the file is checked.
    FromBytes(bytes.data());
    return;
  }
  Reset();
  // A file that is there but unusable is moved aside first, so that writing
  // the fresh file never destroys somebody's records. If it cannot be moved,
  // it is left alone for now.
  if (size != -1 && !KeepLocalFileAs(kScoreFilePath, kScoreBackupPath)) return;
  Save();
}

bool ScoreData::Save() const {
  // Watching a replay, paused or not, never touches the player's records.
  if (replayPlayback || gInput.replayMode == REPLAY_PLAYING ||
      gInput.replayMode == REPLAY_PLAYING_SUSPENDED) {
    return false;
  }
  uint8_t bytes[kScoreFileSize];
  ToBytes(bytes);
  return WriteLocalFileAtomic(kScoreFilePath, bytes, sizeof bytes);
}

void ScoreData::InsertRanking(int slot, int place, int32_t score, int64_t time, const char* name) {
  if (slot < 0 || slot >= kScoreSlots || place < 0 || place >= kRankingRows) return;
  ScoreEntry* rows = ranking[slot];
  for (int r = kRankingRows - 1; r > place; --r) rows[r] = rows[r - 1];
  ScoreEntry& row = rows[place];
  row.score = score;
  row.reserved = 0;
  row.time = time;
  // The name takes at most 10 bytes with its NUL; the bytes after it keep
  // whatever the row held before, as the file always had them.
  size_t n = 0;
  if (name) {
    while (n < 9 && name[n] != '\0') ++n;
    std::memcpy(row.name, name, n);
  }
  row.name[n] = '\0';
}
