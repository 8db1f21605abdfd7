#include "evaluation/corrections.h"

namespace vk {

int32_t DummyPoints(const Deal& deal, const EvalSwitch& sw, int32_t dummy, int32_t trumpSuit) {
  if (!sw.Evaluates(kDummyPoints)) return 0;
  const int32_t trumps = deal.SuitLen[dummy][trumpSuit];
  if (trumps <= 2) return 0;
  // Points for a void, a singleton and a doubleton side suit.
  static constexpr int32_t kThreeTrumps[3] = {3, 2, 1};
  static constexpr int32_t kFourTrumps[3] = {5, 3, 1};
  const int32_t* table = trumps >= 4 ? kFourTrumps : kThreeTrumps;
  // The last short side suit in suit order decides, not the sum and not the largest.
  int32_t result = 0;
  for (int s = 0; s <= 3; ++s) {
    if (s == trumpSuit) continue;
    int32_t len = deal.SuitLen[dummy][s];
    if (len <= 2) result = table[len];
  }
  return result;
}

int32_t LengthPts(const Deal& deal, int32_t player) {
  int32_t points = 0;
  for (int s = 0; s <= 3; ++s)
    if (deal.SuitLen[player][s] >= 5) points += deal.SuitLen[player][s] - 4;
  return points;
}

int32_t LengthPointsNT(const Deal& deal, const EvalSwitch& sw, int32_t dummy) {
  return sw.Evaluates(kLengthPoints) ? LengthPts(deal, dummy) : 0;
}

int32_t LengthPointsSuit(const Deal& deal, const EvalSwitch& sw, int32_t declarer) {
  return sw.Evaluates(kLengthPoints) ? LengthPts(deal, declarer) : 0;
}

namespace {
// Whether any suit of the pair's two hands passes the test. Every suit is looked at, without an
// early exit: the answer is the same, and the scan avoids a hard-to-predict branch per suit.
template <typename Test>
bool AnySuitOfPair(const Deal& deal, int32_t pair, Test test) {
  bool any = false;
  for (int32_t p : {pair, pair + 2})
    for (int s = 0; s <= 3; ++s) any |= test(deal.SuitLen[p][s], deal.Holding[p][s]);
  return any;
}

int32_t AceCount(const Deal& deal, int32_t player) {
  int32_t aces = 0;
  for (int s = 0; s <= 3; ++s) aces += deal.Holding[player][s].hasAce();
  return aces;
}

bool IsHonour(char c) { return (c == 'K') | (c == 'Q') | (c == 'J'); }
}  // namespace

int32_t SingletonHonors(const Deal& deal, const EvalSwitch& sw, int32_t pair) {
  if (!sw.Evaluates(kSingletonHonors)) return 0;
  // Exactly "K", "Q" or "J".
  return AnySuitOfPair(deal, pair, [](int32_t len, const HoldingText& h) { return (len == 1) & IsHonour(h[0]); });
}

int32_t DoubletonHonors(const Deal& deal, const EvalSwitch& sw, int32_t pair) {
  if (!sw.Evaluates(kDoubletonHonors)) return 0;
  // Exactly "KQ", "KJ" or "QJ": two honours below the ace, the first above the second.
  return AnySuitOfPair(deal, pair, [](int32_t len, const HoldingText& h) {
    return (len == 2) & (((h[0] == 'K') & ((h[1] == 'Q') | (h[1] == 'J'))) | ((h[0] == 'Q') & (h[1] == 'J')));
  });
}

int32_t FourAces(const Deal& deal, const EvalSwitch& sw, int32_t pair) {
  if (!sw.Evaluates(kFourAces)) return 0;
  return (AceCount(deal, pair) == 4) | (AceCount(deal, pair + 2) == 4);
}

int32_t Aceless(const Deal& deal, const EvalSwitch& sw, int32_t pair) {
  if (!sw.Evaluates(kAceless)) return 0;
  return (AceCount(deal, pair) == 0) | (AceCount(deal, pair + 2) == 0);
}

int32_t checkNT(const Deal& deal, int32_t declarer, int32_t dummy) {
  for (int s = 0; s <= 3; ++s) {
    if (deal.SuitLen[declarer][s] < 2) return 0;
    if (deal.SuitLen[dummy][s] == 0) return 0;
  }
  return kDeclarerFlag;
}

int32_t CheckSuit(const Deal& deal, int32_t declarer, int32_t trumpSuit) {
  for (int s = 0; s <= 3; ++s) {
    if (s == trumpSuit) continue;
    if (deal.SuitLen[declarer][s] <= 1) return kDeclarerFlag;
  }
  return 0;
}

int32_t CorrectionTotal(const Corrections& c, const OptionSet& options) {
  int32_t total = 0;
  if (options[kDummyPoints]) total += c[1];
  if (options[kLengthPoints]) total += c[2];
  if (options[kSingletonHonors]) total -= c[3];
  if (options[kDoubletonHonors]) total -= c[4];
  if (options[kFourAces]) total += c[5];
  if (options[kAceless]) total -= c[6];
  return total;
}

namespace {
void HonourCorrections(const Deal& deal, const EvalSwitch& sw, Corrections& c, int32_t pair) {
  c[3] = SingletonHonors(deal, sw, pair);
  c[4] = DoubletonHonors(deal, sw, pair);
  c[5] = FourAces(deal, sw, pair);
  c[6] = Aceless(deal, sw, pair);
}
}  // namespace

int32_t NTcorrectionPts(const Deal& deal, const EvalSwitch& sw, Corrections& c, int32_t pair, int32_t dummy) {
  c[1] = 0;
  c[2] = LengthPointsNT(deal, sw, dummy);
  HonourCorrections(deal, sw, c, pair);
  return CorrectionTotal(c, sw.options);
}

int32_t SuitCorrectionPts(const Deal& deal, const EvalSwitch& sw, Corrections& c, int32_t pair, int32_t declarer,
                          int32_t dummy, int32_t trumpSuit) {
  c[1] = DummyPoints(deal, sw, dummy, trumpSuit);
  c[2] = LengthPointsSuit(deal, sw, declarer);
  HonourCorrections(deal, sw, c, pair);
  return CorrectionTotal(c, sw.options);
}

}  // namespace vk
