// The music list "Sounds/BGM/BGM.tsv": one tune per line, tab-separated file
// name, loop point (in samples) and title.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct BgmEntry {
  std::string path;       // "Sounds/BGM/" + file name
  int32_t loopPoint = 0;  // sample position where the loop restarts
  std::string title;      // kept for the list's readers; the game does not show it
};

inline constexpr const char* kBgmListPath = "Sounds/BGM/BGM.tsv";
inline constexpr size_t kBgmFieldMax = 63;  // longer fields are cut to this

// Splits the list's bytes into entries, in file order.
std::vector<BgmEntry> ParseBgmList(const uint8_t* data, size_t size);

// Reads the list through the data-file layer; empty when missing.
std::vector<BgmEntry> ReadBgmList(const char* path = kBgmListPath);
