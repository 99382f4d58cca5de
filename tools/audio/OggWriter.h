// Ogg Vorbis encoding of rendered music.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// Encodes interleaved stereo floats at 44.1 kHz. The stream serial number is
// derived from the title so that the same input always gives the same bytes.
bool WriteOggVorbis(const std::string& path, const std::vector<float>& stereo, int64_t frames,
                    float quality, const std::string& title, std::string* error);

}  // namespace audio
