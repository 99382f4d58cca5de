// Helpers shared by the readers of the game's text tables (music list,
// animation tables): whole-file reads through the data-file layer and the
// number conversion of one field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Reads a data file character by character, as the tables are read. False
// when it does not exist or does not open. Files above maxBytes are cut there.
bool ReadDataFileText(const char* path, std::vector<uint8_t>& out, size_t maxBytes = 1 << 20);

// The decimal value of a field the way the tables expect it: leading blanks,
// an optional sign, digits up to the first other character; no digits give 0.
// Values beyond the 32-bit range stop at its ends instead of overflowing.
int32_t DecimalFieldValue(std::string_view text);
