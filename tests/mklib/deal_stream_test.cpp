// The seeded deal stream: fixed forever once libraries exist, and fair.

#include "mklib/deal_stream.h"

#include <gtest/gtest.h>

#include "mklib/pbn.h"

namespace vk::mklib {
namespace {

TEST(DealStream, DealsOfExistingLibrariesStayTheSame) {
  // The first deal of the sample library, and a deal far into a classic-size library: a change
  // of the generator or of the mixing of seed and deal number would make every library made so
  // far impossible to continue or to check.
  EXPECT_EQ(PbnDealValue(DealOfStream(20261206, 1)),
            "W:KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96");
  EXPECT_EQ(PbnDealValue(DealOfStream(7, 717102)),
            "W:K3.Q52.A763.T764 A4.AK7.K54.QJ853 T852.JT843.J9.AK QJ976.96.QT82.92");
}

TEST(DealStream, EveryCardGoesToEveryPlayerEquallyOften) {
  constexpr int kDeals = 20000;
  int count[4][13][4] = {};
  for (int k = 1; k <= kDeals; ++k) {
    DealRecord deal = DealOfStream(3, k);
    int handSize[4] = {};
    for (int s = 0; s < 4; ++s)
      for (int r = 0; r < 13; ++r) {
        int p = deal.owner[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)];
        ASSERT_TRUE(p >= 0 && p < 4);
        ++count[s][r][p];
        ++handSize[p];
      }
    for (int n : handSize) ASSERT_EQ(n, 13) << "deal " << k;
  }
  // Chi-square over 52 x 4 cells with 156 degrees of freedom: mean 156, spread about 18. A
  // shuffle that leaves one card's chances off by a few per cent lands far above the bound.
  double expected = kDeals / 4.0;
  double chi2 = 0;
  for (auto& suit : count)
    for (auto& card : suit)
      for (int n : card) chi2 += (n - expected) * (n - expected) / expected;
  EXPECT_LT(chi2, 156 + 6 * 17.7);
}

TEST(DealStream, SeedsNextToEachOtherAreNotShiftedCopies) {
  for (int k = 1; k <= 50; ++k) {
    EXPECT_NE(DealOfStream(1, k + 1).owner, DealOfStream(2, k).owner) << k;
    EXPECT_NE(DealOfStream(1, k).owner, DealOfStream(2, k).owner) << k;
  }
}

}  // namespace
}  // namespace vk::mklib
