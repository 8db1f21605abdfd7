#pragma once
// Hand counts by contract class (-1 notrump, 0 suit), tricks 0..13 and points 0..40.

#include <cstdint>

#include "deals/range_array.h"
#include "deals/rounding.h"
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

// Theo(p) / Theo(h) for every pair of point counts, formed once: the weight of a hand moved from
// h HCP to p points.
struct TheoWeights {
  explicit TheoWeights(const TheoTable& theo);
  RangeArray2<float, 0, 40, 0, 40> ratio;  // [p][h]
};

// Adds one hand and returns the points column it went to (HCP when Corr is 0).
int32_t UpdateWithProbability(Tallies& tallies, const TheoWeights& weights, int32_t corr, int32_t cls, int32_t tricks,
                              int32_t hcp);

}  // namespace vk
