#pragma once
// The share of the hands with a given point count that take at least t tricks.

#include "deals/range_array.h"
#include "scan/tallies.h"

#include <array>
#include <cstdint>

namespace vk {

// The six curves of the success graph, in drawing order.
struct SuccessCurve {
  int32_t cls;     // -1 notrump, 0 suit
  int32_t tricks;  // tricks needed
  uint8_t red, green, blue;
  const char* english;
  const char* japanese;
};
inline constexpr std::array<SuccessCurve, 6> kSuccessCurves = {{
    {0, 9, 255, 0, 255, "Suit 9 Tricks.", "スート 9 トリック"},
    {0, 10, 255, 0, 0, "Suit 10 Tricks.", "スート 10 トリック"},
    {0, 11, 255, 0, 255, "Suit 11Tricks.", "スート 11 トリック"},
    {-1, 8, 0, 100, 0, "Notrump 8 Tricks.", "ノートランプ 8 トリック"},
    {-1, 9, 0, 0, 255, "Notrump 9 Tricks.", "ノートランプ 9 トリック"},
    {-1, 12, 0, 0, 0, "Notrump 12 Tricks.", "ノートランプ 12 トリック"},
}};

using SuccessProbTable = RangeArray3<float, -1, 0, 0, 13, 0, 40>;

SuccessProbTable GetSuccessProb(const CountTable& counts);

// Value drawn for point count p: the percentage, except that above 30 points a count with no
// hands reads as certain success.
float CurveValue(const SuccessProbTable& prob, int cls, int tricks, int points);

}  // namespace vk
