// Any bytes as a music list: the reader must not crash, and every entry it
// keeps has a path and fields no longer than a field may be.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/BgmList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto list = ParseBgmList(data, size);
  for (const auto& e : list) {
    if (e.path.size() <= 11 || e.path.size() > 11 + kBgmFieldMax) std::abort();
    if (e.title.size() > kBgmFieldMax) std::abort();
  }
  return 0;
}
