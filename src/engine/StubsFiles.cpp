// Placeholder realisations, removed as data files, input and random are built.
#include <cstdio>

#include "Backend.h"
#include "Engine.h"

namespace engine {
std::unique_ptr<InputDevice> MakeSdlInput() { return MakeHeadlessInput(); }
void ReleaseDataFiles() {}
bool ReadWholeDataFile(const char* path, std::vector<uint8_t>& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  out.clear();
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return true;
}
}  // namespace engine

void SetArchiveExtension(const char*) {}
void SetArchiveKey(const char*) {}
int OpenDataFile(const char*) { return 0; }
int64_t DataFileSize(const char*) { return -1; }
int CloseDataFile(int) { return -1; }
int SeekDataFile(int, int64_t, int) { return -1; }
int64_t ReadDataFile(void*, int64_t, int) { return -1; }
int DataFileAtEnd(int) { return 1; }
int ReadDataChar(int) { return -1; }
int FindFirstDataFile(const char*, DataFileInfo*) { return -1; }
int FindNextDataFile(int, DataFileInfo*) { return -1; }
int FindCloseDataFile(int) { return 0; }
void SeedRandom(int) {}
int RandomUpTo(int) { return 0; }
