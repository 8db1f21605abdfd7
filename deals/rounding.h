#pragma once
// Rounding to whole numbers as the point counts and tallies need it.

#include <cmath>
#include <cstdint>

namespace vk {

// Round to nearest, exact halves to the even neighbour. lrint rounds in the current mode,
// which is to nearest with halves to even.
inline int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::lrint(v)); }

}  // namespace vk
