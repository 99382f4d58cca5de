#include "persist/ReplayFile.h"

#include <cstdio>
#include <cstring>

#include "app/SafeFile.h"

namespace {

void Put32(std::vector<uint8_t>& out, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Reads little-endian fields from a file image; bytes past the end read as
// zero, as a short read of the file would leave them.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  size_t remaining() const { return size_ - pos_; }
  bool atEnd() const { return pos_ >= size_; }

  int32_t get32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{getByte()} << (8 * i);
    return static_cast<int32_t>(v);
  }
  uint8_t getByte() { return pos_ < size_ ? data_[pos_++] : 0; }
  void skip(size_t n) { pos_ += n < remaining() ? n : remaining(); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

ReplayHeader ReadHeader(ByteReader& in) {
  ReplayHeader h;
  h.difficulty = in.get32();
  h.chargeType = in.get32();
  h.stageCount = in.get32();
  h.score = in.get32();
  h.continuesUsed = in.get32();
  h.misses = in.get32();
  h.bombsUsed = in.get32();
  h.cleared = in.get32();
  return h;
}

// The samples a record may really have: its count, but never more than the
// bytes left (a trailing odd byte is a sample whose second byte is missing).
size_t SamplesPresent(uint32_t claimed, const ByteReader& in) {
  const size_t available = (in.remaining() + 1) / kReplaySampleSize;
  return claimed < available ? claimed : available;
}

// The header's count as a loop bound: a negative count means no records.
uint32_t RecordsClaimed(const ReplayHeader& h) {
  return h.stageCount > 0 ? static_cast<uint32_t>(h.stageCount) : 0u;
}

bool ClaimsTooManyStages(const ReplayHeader& h) { return h.stageCount > kReplayMaxStages; }

// Whole-file read, bounded: only the first kReplayReadLimit bytes of a larger
// file are taken.
bool ReadFileBounded(const char* path, std::vector<uint8_t>& out, size_t limit) {
  out.clear();
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  const int64_t size = LocalFileSize(path);
  size_t want = size > 0 ? static_cast<size_t>(size) : 0;
  if (want > limit) want = limit;
  out.resize(want);
  const size_t got = want == 0 ? 0 : std::fread(out.data(), 1, want, f);
  out.resize(got);
  std::fclose(f);
  return true;
}

}  // namespace

std::vector<uint8_t> ReplayToBytes(const ReplayRecord& record) {
  std::vector<uint8_t> out;
  size_t total = kReplayHeaderSize;
  for (const ReplayStage& s : record.stages) {
    total += 4 + kStageRecordSize + kReplaySampleSize * s.frames.size();
  }
  out.reserve(total);
  const ReplayHeader& h = record.header;
  Put32(out, h.difficulty);
  Put32(out, h.chargeType);
  Put32(out, static_cast<int32_t>(record.stages.size()));
  Put32(out, h.score);
  Put32(out, h.continuesUsed);
  Put32(out, h.misses);
  Put32(out, h.bombsUsed);
  Put32(out, h.cleared);
  for (const ReplayStage& s : record.stages) {
    Put32(out, static_cast<int32_t>(s.frames.size()));
    const StageRecord& r = s.start;
    for (int32_t v : {r.seed, r.stage, r.lives, r.bombs, r.power, r.points, r.score}) Put32(out, v);
    for (const InputSample& sample : s.frames) {
      out.push_back(sample.buttons);
      out.push_back(sample.directions);
    }
  }
  return out;
}

std::string ReplayFault(const uint8_t* data, size_t size) {
  if (size < kReplayHeaderSize) {
    return "shorter than a replay header (" + std::to_string(size) + " of " +
           std::to_string(kReplayHeaderSize) + " bytes)";
  }
  ByteReader in(data, size);
  const ReplayHeader h = ReadHeader(in);
  if (ClaimsTooManyStages(h)) {
    return "claims " + std::to_string(h.stageCount) + " stage records; a game holds at most " +
           std::to_string(kReplayMaxStages);
  }
  return {};
}

bool ReplayFromBytes(const uint8_t* data, size_t size, ReplayRecord& record) {
  record.Clear();
  ByteReader in(data, size);
  record.header = ReadHeader(in);
  if (ClaimsTooManyStages(record.header)) return false;
  const uint32_t claimed = RecordsClaimed(record.header);
  for (uint32_t i = 0; i < claimed && !in.atEnd(); ++i) {
    ReplayStage stage;
    const auto frames = static_cast<uint32_t>(in.get32());
    StageRecord& r = stage.start;
    r.seed = in.get32();
    r.stage = in.get32();
    r.lives = in.get32();
    r.bombs = in.get32();
    r.power = in.get32();
    r.points = in.get32();
    r.score = in.get32();
    stage.frames.resize(SamplesPresent(frames, in));
    for (InputSample& sample : stage.frames) {
      sample.buttons = in.getByte();
      sample.directions = in.getByte();
    }
    record.stages.push_back(std::move(stage));
  }
  return true;
}

int32_t ReplayStagesPresent(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  const ReplayHeader h = ReadHeader(in);
  if (ClaimsTooManyStages(h)) return 0;
  const uint32_t claimed = RecordsClaimed(h);
  int32_t present = 0;
  for (uint32_t i = 0; i < claimed && !in.atEnd(); ++i) {
    const auto frames = static_cast<uint32_t>(in.get32());
    in.skip(kStageRecordSize);
    in.skip(SamplesPresent(frames, in) * kReplaySampleSize);
    ++present;
  }
  return present;
}

bool WriteReplay(const char* path, ReplayRecord& record) {
  record.header.stageCount = static_cast<int32_t>(record.stages.size());
  const std::vector<uint8_t> bytes = ReplayToBytes(record);
  return WriteLocalFileAtomic(path, bytes.data(), bytes.size());
}

bool ReadReplay(const char* path, ReplayRecord& record) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(path, bytes, kReplayReadLimit)) {
    record.Clear();
    return false;
  }
  return ReplayFromBytes(bytes.data(), bytes.size(), record);
}

bool ReadReplayHeader(const char* path, ReplayHeader& header, std::string* fault) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  uint8_t bytes[kReplayHeaderSize] = {};
  const size_t got = std::fread(bytes, 1, sizeof bytes, f);
  std::fclose(f);
  ByteReader in(bytes, got);
  header = ReadHeader(in);
  if (fault) *fault = ReplayFault(bytes, got);
  return true;
}

int32_t ReplayFileStages(const char* path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(path, bytes, kReplayReadLimit)) return 0;
  return ReplayStagesPresent(bytes.data(), bytes.size());
}
