#include "deals/deal_analysis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "deals/card_coding.h"
#include "deals/library_reader.h"
#include "test_support.h"

namespace vk {
namespace {

TEST(ContractScore, FollowsTheTrickScoreAndSlamBonusTable) {
  const int tricks[] = {6, 7, 8, 9, 10, 11, 12, 13};
  const int notrump[] = {0, 40, 70, 100, 130, 160, 690, 1220};
  const int major[] = {0, 30, 60, 90, 120, 150, 680, 1210};
  const int minor[] = {0, 20, 40, 60, 80, 100, 620, 1140};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(ContractScore(-1, tricks[i]), notrump[i]);
    EXPECT_EQ(ContractScore(0, tricks[i]), major[i]);
    EXPECT_EQ(ContractScore(1, tricks[i]), major[i]);
    EXPECT_EQ(ContractScore(2, tricks[i]), minor[i]);
    EXPECT_EQ(ContractScore(3, tricks[i]), minor[i]);
  }
  EXPECT_EQ(ContractScore(-1, 0), 0);
}

// West and East 4-3-3-3 with 10 HCP each; North 19 HCP with four spades and three hearts,
// South one spade and four hearts.
Deal EvenWestEast() {
  return test::DecodedDeal(
      test::HandsToRecord("AK32.Q32.J32.432", "T986.JT9.AKQ.AKQ", "QJ54.AK4.T54.T65", "7.8765.9876.J987"));
}

TEST(ChooseDeclarer, TiesGoToTheLowerSeat) {
  Deal deal = EvenWestEast();
  Analysis a;
  CountLengths(deal, a);
  DecodeTricks(deal);
  ASSERT_EQ(deal.PlayerHCP[kWest], deal.PlayerHCP[kEast]);
  EXPECT_EQ(ChooseDeclarer(deal, 0, -1).declarer, kWest);
  EXPECT_EQ(ChooseDeclarer(deal, 0, kSpades).declarer, kWest);  // equal length, equal points
  // Longer trumps declare whatever the points: North has 4 spades, South 1.
  EXPECT_EQ(ChooseDeclarer(deal, 1, kSpades).declarer, kNorth);
  // South has the longer hearts (4 against 3) though North has the points.
  EXPECT_EQ(ChooseDeclarer(deal, 1, kHearts).declarer, kSouth);
  // Notrump: the stronger hand, North.
  EXPECT_EQ(ChooseDeclarer(deal, 1, -1).declarer, kNorth);
  EXPECT_EQ(a.Contract[0][kSpades].fit, 8);
  EXPECT_EQ(a.Contract[1][kClubs].fit, 7);
}

// Sets the tricks and fits of pair 0's suit contracts and scores them.
Analysis SuitTable(std::array<int, 4> tricks, std::array<int, 4> fits) {
  Analysis a;
  for (int s = 0; s <= 3; ++s) {
    a.Contract[0][s].tricks = tricks[static_cast<std::size_t>(s)];
    a.Contract[0][s].fit = fits[static_cast<std::size_t>(s)];
    a.Contract[0][s].score = ContractScore(s, tricks[static_cast<std::size_t>(s)]);
  }
  return a;
}

TEST(BestSuit, TiesFavourTheLowerSuitUnlessItsPartnerSuitHasTheLongerFit) {
  // Spades and hearts 120 each: hearts only with the longer fit.
  EXPECT_EQ(BestSuitByScore(SuitTable({10, 10, 6, 6}, {8, 9, 4, 5}), 0).suit, kHearts);
  EXPECT_EQ(BestSuitByScore(SuitTable({10, 10, 6, 6}, {9, 8, 4, 5}), 0).suit, kSpades);
  EXPECT_EQ(BestSuitByScore(SuitTable({10, 10, 6, 6}, {8, 8, 4, 5}), 0).suit, kSpades);
  // Hearts 60 (8 tricks) against diamonds 60 (9 tricks): hearts whatever the fits.
  EXPECT_EQ(BestSuitByScore(SuitTable({6, 8, 9, 6}, {5, 7, 10, 4}), 0).suit, kHearts);
  // Diamonds and clubs tie: clubs with the longer fit.
  BestSuit minor = BestSuitByScore(SuitTable({6, 6, 10, 10}, {5, 5, 8, 9}), 0);
  EXPECT_EQ(minor.suit, kClubs);
  EXPECT_EQ(minor.best, 80);
  // Nothing makes: spades with best 0; by tricks the most tricks win, ties as above.
  Analysis weak = SuitTable({5, 6, 6, 4}, {6, 7, 8, 5});
  EXPECT_EQ(BestSuitByScore(weak, 0).best, 0);
  EXPECT_EQ(BestSuitByScore(SuitTable({5, 6, 6, 4}, {7, 7, 8, 5}), 0).suit, kSpades);
  EXPECT_EQ(BestSuitByTricks(weak, 0), kHearts);
  EXPECT_EQ(BestSuitByTricks(SuitTable({5, 6, 6, 4}, {6, 5, 8, 5}), 0), kHearts);
  EXPECT_EQ(BestSuitByTricks(SuitTable({6, 6, 5, 4}, {6, 7, 8, 5}), 0), kHearts);
  EXPECT_EQ(BestSuitByTricks(SuitTable({6, 6, 5, 4}, {7, 7, 8, 5}), 0), kSpades);
}

// The hand-built records of tests/data/hand_built.asc, with the analysis worked out by hand in
// tests/data/hand_built_expected.txt (one line per pair; comments say why).
TEST(MainProc, HandBuiltRecordsGiveTheHandWorkedAnalysis) {
  LibraryFile file;
  std::string error;
  ASSERT_TRUE(file.Open(test::DataDir() / "hand_built.asc", kLibraryKindAsc, error)) << error;
  std::ifstream expected(test::DataDir() / "hand_built_expected.txt");
  ASSERT_TRUE(expected);
  std::string line;
  int checked = 0;
  while (std::getline(expected, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    int dealNo, pair, hcp, ntDeclarer, ntTricks, ntScore, suit, suitDeclarer, suitTricks, suitFit, suitScore;
    ASSERT_TRUE(in >> dealNo >> pair >> hcp >> ntDeclarer >> ntTricks >> ntScore >> suit >> suitDeclarer >>
                suitTricks >> suitFit >> suitScore)
        << line;
    Deal deal;
    Analysis a;
    ASSERT_EQ(MainProc(file, dealNo, deal, a), ReadStatus::Ok);
    SCOPED_TRACE(line);
    EXPECT_EQ(PairHCP(deal, pair), hcp);
    EXPECT_EQ(a.Contract[pair][-1].declarer, ntDeclarer);
    EXPECT_EQ(a.Contract[pair][-1].tricks, ntTricks);
    EXPECT_EQ(a.Contract[pair][-1].score, ntScore);
    EXPECT_EQ(a.PairContract[pair].suit, suit);
    EXPECT_EQ(a.PairContract[pair].declarer, suitDeclarer);
    EXPECT_EQ(a.PairContract[pair].tricks, suitTricks);
    EXPECT_EQ(a.PairContract[pair].fit, suitFit);
    EXPECT_EQ(a.PairContract[pair].score, suitScore);
    ++checked;
  }
  EXPECT_EQ(checked, 6);
}

}  // namespace
}  // namespace vk
