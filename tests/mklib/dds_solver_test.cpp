// The DDS adapter: table order, hand-worked positions, batch against single solving, and the
// trip of solved deals through the library reader.

#include "mklib/dds_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "deals/card_coding.h"
#include "mklib/deal_stream.h"
#include "mklib/library_files.h"
#include "mklib/pbn.h"
#include "test_support.h"

namespace vk::mklib {
namespace {

int Tricks(const DealRecord& deal, int denomination, int declarer) {
  return deal.tricks[static_cast<std::size_t>(denomination + 1)][static_cast<std::size_t>(declarer)];
}

TEST(DdsSolver, TableOrderMapsStrainsAndHandsToRecordDenominationsAndPlayers) {
  // Every cell of DDS's table holds its own number, 4 x strain + hand.
  DdsTable table{};
  for (int strain = 0; strain < 5; ++strain)
    for (int hand = 0; hand < 4; ++hand)
      table[static_cast<std::size_t>(strain)][static_cast<std::size_t>(hand)] = 4 * strain + hand;
  TrickTable t = TricksFromDdsTable(table);
  // DDS: strains S=0 H=1 D=2 C=3 NT=4, hands N=0 E=1 S=2 W=3.
  EXPECT_EQ(t[kNoTrump + 1][kNorth], 4 * 4 + 0);
  EXPECT_EQ(t[kNoTrump + 1][kWest], 4 * 4 + 3);
  EXPECT_EQ(t[kSpades + 1][kEast], 4 * 0 + 1);
  EXPECT_EQ(t[kHearts + 1][kSouth], 4 * 1 + 2);
  EXPECT_EQ(t[kDiamonds + 1][kWest], 4 * 2 + 3);
  EXPECT_EQ(t[kClubs + 1][kNorth], 4 * 3 + 0);
  // And nothing lost or doubled on the way.
  std::vector<int> seen;
  for (const auto& row : t)
    for (int8_t v : row) seen.push_back(v);
  std::sort(seen.begin(), seen.end());
  for (int i = 0; i < 20; ++i) EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
}

TEST(DdsSolver, EachHandOneWholeSuitGivesTheTrumpHoldersEverything) {
  // West all spades, North all hearts, East all diamonds, South all clubs. In a suit the side
  // holding the trumps ruffs everything; at notrump the opening leader's side runs its suit.
  DealRecord deal = test::HandsToRecord("AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432");
  std::string error;
  ASSERT_TRUE(SolveSingleDeal(deal, error)) << error;
  for (int p = 0; p < 4; ++p) {
    bool northSouth = p == kNorth || p == kSouth;
    EXPECT_EQ(Tricks(deal, kNoTrump, p), 0) << p;
    EXPECT_EQ(Tricks(deal, kSpades, p), northSouth ? 0 : 13) << p;
    EXPECT_EQ(Tricks(deal, kHearts, p), northSouth ? 13 : 0) << p;
    EXPECT_EQ(Tricks(deal, kDiamonds, p), northSouth ? 0 : 13) << p;
    EXPECT_EQ(Tricks(deal, kClubs, p), northSouth ? 13 : 0) << p;
  }
}

TEST(DdsSolver, NotrumpResultDependsOnWhichPartnerDeclares) {
  // East holds the top seven diamonds and six clubs, South the small ones. At notrump only East
  // as declarer gets South's harmless lead; every other declarer's left-hand opponent (North
  // with hearts, East, West with spades) runs thirteen tricks.
  DealRecord deal = test::HandsToRecord("AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98.AKQJT9", "..765432.8765432");
  std::string error;
  ASSERT_TRUE(SolveSingleDeal(deal, error)) << error;
  EXPECT_EQ(Tricks(deal, kNoTrump, kWest), 0);
  EXPECT_EQ(Tricks(deal, kNoTrump, kNorth), 0);
  EXPECT_EQ(Tricks(deal, kNoTrump, kEast), 13);
  EXPECT_EQ(Tricks(deal, kNoTrump, kSouth), 0);
  // West's spades and East's diamonds are trumps nobody can over-ruff; North's hearts likewise.
  for (int p = 0; p < 4; ++p) {
    bool northSouth = p == kNorth || p == kSouth;
    EXPECT_EQ(Tricks(deal, kSpades, p), northSouth ? 0 : 13) << p;
    EXPECT_EQ(Tricks(deal, kHearts, p), northSouth ? 13 : 0) << p;
    EXPECT_EQ(Tricks(deal, kDiamonds, p), northSouth ? 0 : 13) << p;
  }
}

TEST(DdsSolver, PublishedDoubleDummyTableOfAKnownDealIsReproduced) {
  // A deal published with its [DoubleDummyTricks] by a club results service.
  DealRecord deal;
  std::string error;
  ASSERT_TRUE(ParsePbnDealValue("N:A764.AK4.A8.J832 85.Q62.KT954.T75 KQJ92.9873.Q3.Q6 T3.JT5.J762.AK94", deal, error))
      << error;
  ASSERT_TRUE(SolveSingleDeal(deal, error)) << error;
  EXPECT_EQ(DoubleDummyTricksValue(deal), "89967899674347643476");
}

TEST(DdsSolver, BatchSolvingAgreesWithSolvingEachDealAlone) {
  // Three batches, the last one short: a slip in batch indexing shows as a mismatch.
  std::vector<DealRecord> deals;
  for (int k = 1; k <= 5; ++k) deals.push_back(DealOfStream(99, k));
  std::string error;
  ASSERT_TRUE(SolveDeals(deals, error, 2)) << error;
  for (std::size_t i = 0; i < deals.size(); ++i) {
    DealRecord alone = deals[i];
    alone.tricks = {};
    ASSERT_TRUE(SolveSingleDeal(alone, error)) << error;
    EXPECT_EQ(alone.tricks, deals[i].tricks) << "deal " << i + 1;
  }
}

TEST(DdsSolver, SolvedDealsReadBackThroughTheLibraryReaderInBothForms) {
  std::vector<DealRecord> deals;
  for (int k = 1; k <= 3; ++k) deals.push_back(DealOfStream(5, k));
  std::string error;
  ASSERT_TRUE(SolveDeals(deals, error)) << error;
  test::ScratchFolder folder;
  for (int32_t kind : {kLibraryKindBin, kLibraryKindAsc}) {
    auto file = folder / (kind == kLibraryKindBin ? "Library.bin" : "Library.asc");
    test::WriteLibrary(file, deals, kind);
    LibraryFile library;
    ASSERT_TRUE(OpenLibrary(file, library, error)) << error;
    ASSERT_EQ(library.dealCount(), 3);
    for (int32_t k = 1; k <= 3; ++k) {
      DealRecord back;
      ASSERT_TRUE(ReadLibraryDeal(library, k, back, error)) << error;
      EXPECT_EQ(back, deals[static_cast<std::size_t>(k - 1)]) << file << " deal " << k;
    }
  }
}

}  // namespace
}  // namespace vk::mklib
