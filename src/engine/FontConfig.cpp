// Face-name resolution through fontconfig.
#include "FontConfig.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "DataFiles.h"

namespace engine {
namespace {

constexpr const char* kGameConfig = "Fonts/fonts.conf";

struct ConfigState {
  FcConfig* config = nullptr;
  bool loaded = false;
  std::string requested;  // explicit file, or empty for the data folder's
  std::string inUse;
};

ConfigState& state() {
  static ConfigState s;
  return s;
}

std::string absolutePath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return {};
  return resolved;
}

FcConfig* loadGameConfig(const std::string& path) {
  // fontconfig resolves relative names against its own directory, not ours.
  const std::string absolute = absolutePath(path);
  if (absolute.empty() || access(absolute.c_str(), R_OK) != 0) return nullptr;
  FcConfig* config = FcConfigCreate();
  if (config == nullptr) return nullptr;
  if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(absolute.c_str()), FcTrue) ||
      !FcConfigBuildFonts(config)) {
    FcConfigDestroy(config);
    return nullptr;
  }
  state().inUse = absolute;
  return config;
}

FcConfig* currentConfig() {
  ConfigState& s = state();
  if (s.loaded) return s.config;
  s.loaded = true;
  s.inUse.clear();
  s.config = loadGameConfig(s.requested.empty() ? OnDisk(kGameConfig) : s.requested);
  if (s.config == nullptr) s.config = FcInitLoadConfigAndFonts();
  return s.config;
}

void addFamily(FcPattern* pattern, const char* family) {
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
}

bool match(FcPattern* pattern, int weight, bool italic, bool japanese, FaceChoice& out) {
  FcConfig* config = currentConfig();
  if (config == nullptr) {
    FcPatternDestroy(pattern);
    return false;
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (found == nullptr) return false;
  FcChar8* file = nullptr;
  FcChar8* family = nullptr;
  int index = 0;
  const bool ok = FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    out.file = reinterpret_cast<const char*>(file);
    out.family = FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch
                     ? reinterpret_cast<const char*>(family)
                     : std::string();
    out.index = FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
    FcMatrix* matrix = nullptr;
    out.widthScale = FcPatternGetMatrix(found, FC_MATRIX, 0, &matrix) == FcResultMatch &&
                             matrix->xx > 0.25 && matrix->xx <= 4.0
                         ? matrix->xx
                         : 1.0;
  }
  FcPatternDestroy(found);
  return ok;
}

}  // namespace

bool ResolveFontFace(const std::string& nameUtf8, int weight, bool italic, bool japanese,
                     FaceChoice& out) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  if (!nameUtf8.empty()) addFamily(pattern, nameUtf8.c_str());
  addFamily(pattern, japanese ? "IPAGothic" : "sans-serif");
  return match(pattern, weight, italic, japanese, out);
}

bool ResolveFallbackFace(int weight, bool italic, FaceChoice& out) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  addFamily(pattern, "IPAGothic");
  addFamily(pattern, "IPAPGothic");
  addFamily(pattern, "sans-serif");
  return match(pattern, weight, italic, true, out);
}

void SetFontConfigFile(const std::string& path) {
  ConfigState& s = state();
  if (s.config != nullptr) FcConfigDestroy(s.config);
  s.config = nullptr;
  s.loaded = false;
  s.requested = path;
  s.inUse.clear();
}

std::string FontConfigFileInUse() {
  currentConfig();
  return state().inUse;
}

}  // namespace engine
