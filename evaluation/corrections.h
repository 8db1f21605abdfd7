#pragma once
// The point corrections of one contract, and the declarer shape tests of option 7.

#include <cstdint>

#include "deals/deal.h"
#include "deals/range_array.h"
#include "evaluation/options.h"

namespace vk {

// Entries 1..6: Dummy points, Length points, Singleton honors, Doubleton honors, Four aces,
// Aceless, each as the non-negative amount its routine found.
using Corrections = RangeArray<int32_t, 1, 6>;

inline constexpr int32_t kDeclarerFlag = 64;

int32_t DummyPoints(const Deal& deal, const EvalSwitch& sw, int32_t dummy, int32_t trumpSuit);
int32_t LengthPts(const Deal& deal, int32_t player);
int32_t LengthPointsNT(const Deal& deal, const EvalSwitch& sw, int32_t dummy);
int32_t LengthPointsSuit(const Deal& deal, const EvalSwitch& sw, int32_t declarer);

int32_t SingletonHonors(const Deal& deal, const EvalSwitch& sw, int32_t pair);
int32_t DoubletonHonors(const Deal& deal, const EvalSwitch& sw, int32_t pair);
int32_t FourAces(const Deal& deal, const EvalSwitch& sw, int32_t pair);
int32_t Aceless(const Deal& deal, const EvalSwitch& sw, int32_t pair);

// Notrump shape test: 64 when the declarer has no void or singleton and the dummy no void.
int32_t checkNT(const Deal& deal, int32_t declarer, int32_t dummy);
// Suit shape test: 64 when the declarer holds a void or singleton outside trumps.
int32_t CheckSuit(const Deal& deal, int32_t declarer, int32_t trumpSuit);

// Signed sum of the entries whose option is on.
int32_t CorrectionTotal(const Corrections& corrections, const OptionSet& options);

int32_t NTcorrectionPts(const Deal& deal, const EvalSwitch& sw, Corrections& corrections, int32_t pair,
                        int32_t dummy);
int32_t SuitCorrectionPts(const Deal& deal, const EvalSwitch& sw, Corrections& corrections, int32_t pair,
                          int32_t declarer, int32_t dummy, int32_t trumpSuit);

}  // namespace vk
