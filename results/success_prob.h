#pragma once
// The share of the hands with a given point count that take at least t tricks.

#include "deals/range_array.h"
#include "scan/tallies.h"

namespace vk {

using SuccessProbTable = RangeArray3<float, -1, 0, 0, 13, 0, 40>;

SuccessProbTable GetSuccessProb(const CountTable& counts);

// Value drawn for point count p: the percentage, except that above 30 points a count with no
// hands reads as certain success.
float CurveValue(const SuccessProbTable& prob, int cls, int tricks, int points);

}  // namespace vk
