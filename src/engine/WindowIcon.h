// The window icon, drawn in code: a pale arrowhead ship rising through a
// few pink shots on a deep violet disc.
#pragma once

#include <cstdint>
#include <vector>

namespace engine {

constexpr int kGameIconId = 101;
constexpr int kWindowIconSize = 32;

// RGBA pixels (R in the lowest byte) of the icon with that id; false for
// ids the game has no icon for.
bool BuildWindowIcon(int iconId, std::vector<uint32_t>& rgba);

}  // namespace engine
