#pragma once
// The theoretical distribution of a partnership's combined HCP: 26 cards drawn from 52.

#include "deals/range_array.h"

namespace vk {

using TheoTable = RangeArray<float, 0, 40>;

// Binomial coefficient in double precision; 0 when r lies outside 0..n.
double Combin(int n, int r);
TheoTable MakeTheo();

}  // namespace vk
