#pragma once
// Hand counts by contract class (-1 notrump, 0 suit), tricks 0..13 and points 0..40.

#include <cstdint>

#include "deals/range_array.h"
#include "scan/theo.h"

namespace vk {

using CountTable = RangeArray3<int32_t, -1, 0, 0, 13, 0, 40>;
using WeightTable = RangeArray3<float, -1, 0, 0, 13, 0, 40>;
using HCPfreqTable = RangeArray<int32_t, 0, 40>;

struct Tallies {
  CountTable HandCount{};
  WeightTable HandWeight{};
  HCPfreqTable HCPfreq{};
  void Clear();
};

// Round to nearest, exact halves to the even neighbour.
int32_t RoundHalfEven(double v);

// Adds one hand and returns the points column it went to (HCP when Corr is 0).
int32_t UpdateWithProbability(Tallies& tallies, const TheoTable& theo, int32_t corr, int32_t cls, int32_t tricks,
                              int32_t hcp);

}  // namespace vk
