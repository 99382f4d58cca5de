// Game text is CP932 (Shift-JIS) bytes; source files are UTF-8. Japanese
// literals are written readably in UTF-8 and turned into game text here.
#pragma once

#include <string>
#include <string_view>

// The CP932 bytes of a UTF-8 text. A character CP932 cannot hold becomes
// '?', and broken UTF-8 is skipped byte by byte, so the result is always
// valid game text.
std::string Sjis(std::string_view utf8);
