// CP932 text decoded to Unicode code points for the text renderer.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// Decodes CP932 bytes; an invalid or cut byte becomes U+FFFD and decoding
// goes on after it. Results are cached (the game draws the same strings every
// frame); the reference stays valid until the next call.
const std::u32string& DecodeCp932(std::string_view cp932);

// The uncached conversion behind it.
std::u32string DecodeCp932Uncached(std::string_view cp932);

}  // namespace engine
