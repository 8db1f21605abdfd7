#include "deals/deal_analysis.h"

#include <array>

#include "deals/rounding.h"

namespace vk {

void CountLengths(Deal& deal, Analysis& analysis) {
  for (auto& row : deal.SuitLen) row.fill(0);
  for (int p = 0; p <= 3; ++p)
    for (int s = 0; s <= 3; ++s) deal.SuitLen[p][s] = deal.Holding[p][s].size();
  for (int k = 0; k <= 1; ++k)
    for (int s = 0; s <= 3; ++s) analysis.Contract[k][s].fit = deal.SuitLen[k][s] + deal.SuitLen[k + 2][s];
}

Declaration ChooseDeclarer(const Deal& deal, int32_t pair, int32_t denomination) {
  const int32_t a = pair, b = pair + 2;
  const bool bHasMorePoints = deal.PlayerHCP[a] < deal.PlayerHCP[b];
  int32_t declarer = a;
  if (denomination == -1) {
    declarer = bHasMorePoints ? b : a;
  } else if (deal.SuitLen[a][denomination] != deal.SuitLen[b][denomination]) {
    declarer = deal.SuitLen[a][denomination] > deal.SuitLen[b][denomination] ? a : b;
  } else {
    declarer = bHasMorePoints ? b : a;
  }
  return {declarer, deal.Tricks[declarer][denomination]};
}

namespace {
// Every score of ContractScore, looked up per deal: [denomination + 1][tricks].
constexpr auto kScores = [] {
  std::array<std::array<int32_t, 14>, 5> table{};
  for (int d = -1; d <= 3; ++d)
    for (int t = 0; t <= 13; ++t)
      table[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(t)] = ContractScore(d, t);
  return table;
}();
}  // namespace

namespace {
// Highest value wins, ties to the lower suit; spades give way to hearts (diamonds to clubs)
// on an equal value only when the lower-ranking suit has the longer fit.
template <typename Field>
BestSuit BestSuitBy(const Analysis& analysis, int32_t pair, Field field) {
  int32_t best = 0, s = 0;
  for (int suit = 0; suit <= 3; ++suit) {
    int32_t v = field(analysis.Contract[pair][suit]);
    if (v > best) {
      best = v;
      s = suit;
    }
  }
  if (s == 0 || s == 2) {
    const ContractEntry& next = analysis.Contract[pair][s + 1];
    if (field(next) == best && next.fit > analysis.Contract[pair][s].fit) s = s + 1;
  }
  return {s, best};
}
}  // namespace

int32_t BestSuitByTricks(const Analysis& analysis, int32_t pair) {
  return BestSuitBy(analysis, pair, [](const ContractEntry& c) { return c.tricks; }).suit;
}

BestSuit BestSuitByScore(const Analysis& analysis, int32_t pair) {
  return BestSuitBy(analysis, pair, [](const ContractEntry& c) { return c.score; });
}

int32_t PairHCP(const Deal& deal, int32_t pair) {
  return RoundHalfEven(static_cast<double>(deal.PlayerHCP[pair] + deal.PlayerHCP[pair + 2]));
}

void AnalyseDeal(Deal& deal, Analysis& analysis) {
  CountLengths(deal, analysis);
  DecodeTricks(deal);
  if (PairHCP(deal, 0) > 40 || PairHCP(deal, 1) > 40) deal.MarkDamaged(DealDefect::PairHcp);
  if (deal.damaged) return;
  int32_t byTricks[2] = {0, 0};
  for (int k = 0; k <= 1; ++k) {
    for (int d = -1; d <= 3; ++d) {
      Declaration decl = ChooseDeclarer(deal, k, d);
      ContractEntry& c = analysis.Contract[k][d];
      c.declarer = decl.declarer;
      c.tricks = decl.tricks;
      c.score = kScores[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(decl.tricks)];
    }
    byTricks[k] = BestSuitByTricks(analysis, k);
  }
  for (int k = 0; k <= 1; ++k) {
    BestSuit best = BestSuitByScore(analysis, k);
    int32_t s = best.best == 0 ? byTricks[k] : best.suit;
    const ContractEntry& c = analysis.Contract[k][s];
    analysis.PairContract[k] = {c.declarer, c.tricks, c.fit, s, c.score};
  }
}

ReadStatus MainProc(const LibraryFile& file, int32_t dealNo, Deal& deal, Analysis& analysis) {
  ReadStatus status = ReadDeal(file, dealNo, deal);
  if (status == ReadStatus::Ok) AnalyseDeal(deal, analysis);
  return status;
}

}  // namespace vk
