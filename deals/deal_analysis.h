#pragma once
// For each pair and denomination: who declares, the tricks he takes and what the contract
// scores; for each pair, the one suit contract that stands for it in the suit tallies.

#include <cstdint>

#include "deals/deal.h"
#include "deals/library_reader.h"
#include "deals/range_array.h"

namespace vk {

struct ContractEntry {
  int32_t declarer = 0;
  int32_t tricks = 0;
  int32_t fit = 0;  // suits only; notrump keeps 0
  int32_t score = 0;
};

struct PairContractEntry {
  int32_t declarer = 0;
  int32_t tricks = 0;
  int32_t fit = 0;
  int32_t suit = 0;
  int32_t score = 0;
};

struct Analysis {
  RangeArray2<ContractEntry, 0, 1, -1, 3> Contract;  // [pair][denomination]
  RangeArray<PairContractEntry, 0, 1> PairContract;  // [pair]
};

struct Declaration {
  int32_t declarer;
  int32_t tricks;
};

// Reads deal dealNo into `deal` and fills `analysis`. A damaged deal (trick digit above 13,
// pair HCP above 40) is read and flagged but not analysed.
ReadStatus MainProc(const LibraryFile& file, int32_t dealNo, Deal& deal, Analysis& analysis);
// The analysis of a deal already decoded into `deal` (holdings, HCP and TrickHex).
void AnalyseDeal(Deal& deal, Analysis& analysis);

void CountLengths(Deal& deal, Analysis& analysis);
Declaration ChooseDeclarer(const Deal& deal, int32_t pair, int32_t denomination);
// Trick score of the highest contract that makes, plus 500 for a small and 1000 for a grand
// slam; 0 below seven tricks. No game bonus, no doubling.
constexpr int32_t ContractScore(int32_t denomination, int32_t tricks) {
  const int32_t level = tricks - 6;
  if (level < 1) return 0;
  int32_t score = denomination == -1 ? 30 * level + 10 : denomination <= 1 ? 30 * level : 20 * level;
  if (level == 6) score += 500;
  if (level == 7) score += 1000;
  return score;
}
int32_t BestSuitByTricks(const Analysis& analysis, int32_t pair);
struct BestSuit {
  int32_t suit;
  int32_t best;
};
BestSuit BestSuitByScore(const Analysis& analysis, int32_t pair);

// A pair's HCP: its two players' HCP added and rounded to the nearest whole number.
int32_t PairHCP(const Deal& deal, int32_t pair);

}  // namespace vk
