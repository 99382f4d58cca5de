// Replay files ("replay/*.vmr"): the in-memory record of a played game,
// written and read byte for byte. Little-endian, no magic, no version: a
// 32-byte header, then per stage an int32 sample count, the 28-byte start
// state and two bytes per frame.
//
// Reading trusts the counts in a file only as far as the file's bytes go: a
// damaged or hostile file can neither make the game allocate without limit
// nor read past its end. A truncated file loads as far as it goes, with the
// missing fields of a cut-off record as zero. A header that claims more stage
// records than a game can hold marks the whole file as damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Module_InputReplay.h"

inline constexpr size_t kReplayHeaderSize = 32;
inline constexpr size_t kStageRecordSize = 28;
inline constexpr size_t kReplaySampleSize = 2;
inline constexpr const char* kReplayDirectory = "replay";
// One record per stage reached: stages 1 to 6, or the Extra stage alone.
inline constexpr int32_t kReplayMaxStages = 7;
// Reading stops here whatever the file claims: ten hours of play take about
// 4 MiB, so a larger file is damaged and loads only as far as this.
inline constexpr size_t kReplayReadLimit = 64u << 20;

// The file image of a record; the header's stage count is the number of
// stage records, whatever the record's header said.
std::vector<uint8_t> ReplayToBytes(const ReplayRecord& record);

// Why a file of these first bytes and this size cannot be a game's replay:
// shorter than a header, or a stage count no game reaches. Empty when it can.
std::string ReplayFault(const uint8_t* data, size_t size);

// Replaces the record by the contents of a file image (see above). The
// header is taken over as stored, count included; the stage list holds the
// records actually present. The playback position and flags start over.
// False, with no stage records, when the header claims more stages than a
// game holds.
bool ReplayFromBytes(const uint8_t* data, size_t size, ReplayRecord& record);

// Writes the record to path (temporary file, then rename) and sets the
// header's stage count. False when nothing could be written.
bool WriteReplay(const char* path, ReplayRecord& record);

// Replaces the record by the file's contents. A file that cannot be opened
// leaves an empty record (difficulty and charge type 0). False then, and
// for a damaged file (ReplayFromBytes).
bool ReadReplay(const char* path, ReplayRecord& record);

// Reads only the first 32 bytes over header. A file that cannot be opened
// leaves header as it was (false); a shorter file fills the rest with zero.
// fault, when given, receives ReplayFault of the bytes read.
bool ReadReplayHeader(const char* path, ReplayHeader& header, std::string* fault = nullptr);

// How many stage records a file image really holds: the header's count,
// bounded by the records whose bytes begin inside the file; 0 for a file
// that claims more stages than a game holds.
int32_t ReplayStagesPresent(const uint8_t* data, size_t size);

// The stage records a replay file really holds (ReplayStagesPresent of its
// bytes); 0 when it cannot be read.
int32_t ReplayFileStages(const char* path);
