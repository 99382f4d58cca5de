#include "app/Version.h"

const char* GameVersion() { return VELMORA_VERSION; }
