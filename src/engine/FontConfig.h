// Face-name resolution through fontconfig. The game names its faces the way
// its layouts were designed; the game's own configuration file (Fonts/
// fonts.conf in the data folder) maps those names to the free faces
// it installs. Without that file the machine's configuration is used.
#pragma once

#include <string>

namespace engine {

struct FaceChoice {
  std::string family;  // first family name of the chosen face
  std::string file;
  int index = 0;  // face index inside the file (collections)
  // Horizontal scale the configuration asks for (its "matrix"): a face
  // narrowed to fit text designed for a narrower one.
  double widthScale = 1.0;
};

// Resolves a UTF-8 face name. `japanese` prefers a face with Japanese glyphs
// when the name itself is unknown. False only when no face exists at all.
bool ResolveFontFace(const std::string& nameUtf8, int weight, bool italic, bool japanese,
                     FaceChoice& out);

// The Japanese-capable gothic face behind the default font and behind glyphs
// a chosen face lacks.
bool ResolveFallbackFace(int weight, bool italic, FaceChoice& out);

// Uses the given configuration file from the next resolution on; an empty
// path looks for Fonts/fonts.conf in the data folder again.
void SetFontConfigFile(const std::string& path);

// The configuration file in use: its absolute path, or empty when the
// machine's own configuration serves.
std::string FontConfigFileInUse();

}  // namespace engine
