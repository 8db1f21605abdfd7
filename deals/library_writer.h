#pragma once
// Writes deals in the library's two record forms: the inverse of the reader. The library
// builder makes libraries with it, and the tests build fixtures with it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "deals/deal.h"

namespace vk {

// One deal as the builder knows it.
struct DealRecord {
  // owner[suit][rank]: the player (0 West .. 3 South) holding that card; suit 0 spades .. 3 clubs,
  // rank 0 ace .. 12 two.
  std::array<std::array<int8_t, 13>, 4> owner{};
  // tricks[denomination + 1][declarer]: tricks the declaring side takes double dummy, 0..13.
  std::array<std::array<int8_t, 4>, 5> tricks{};

  bool operator==(const DealRecord&) const = default;
};

std::array<uint8_t, 26> EncodeBinRecord(const DealRecord& deal);
std::array<uint8_t, 89> EncodeAscRecord(const DealRecord& deal);
// The record of the library kind (0 text, 1 binary).
std::vector<uint8_t> EncodeRecord(const DealRecord& deal, int32_t kind);

// The card owners and tricks of a decoded deal (after DecodeTricks). Fails with a message when
// the holdings are not 52 distinct cards, 13 to each hand.
std::optional<DealRecord> RecordFromDeal(const Deal& deal, std::string& error);

}  // namespace vk
