// The game's own small files in the working directory (high scores,
// settings, key configuration). They are read and written with the platform's
// file interface, never through the data archives, and every write goes to a
// temporary file first and is renamed over the old one: a crash or a full disk
// in the middle of a save leaves the previous file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Size in bytes, or -1 when the file does not exist or is not a regular file.
int64_t LocalFileSize(const char* path);

// Reads the whole file; false when it cannot be opened or is larger than
// maxBytes (then out is left empty).
bool ReadLocalFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes);

// Writes path + ".tmp", flushes it to disk and renames it over path. False,
// with path untouched and the temporary removed, when any step fails; the
// failure is also told on stderr, since the player would not see it.
bool WriteLocalFileAtomic(const char* path, const void* data, size_t size);

// Removes the temporary a save killed halfway left behind (path + ".tmp").
void RemoveInterruptedSave(const char* path);

// The same for every file of a folder whose name ends in extension + ".tmp".
void RemoveInterruptedSaves(const char* directory, const char* extension);

// Moves an existing file aside under another name so its bytes survive a
// fresh file being written in its place. An earlier backup is never
// replaced: backupPath is taken if free, else backupPath.2, .3 and so on.
// False when there was nothing to move or it could not be moved.
bool KeepLocalFileAs(const char* path, const char* backupPath);
