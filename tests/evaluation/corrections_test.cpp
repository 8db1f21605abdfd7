#include <gtest/gtest.h>

#include <string>

#include "deals/card_coding.h"
#include "evaluation/corrections.h"
#include "evaluation/options.h"

namespace vk {
namespace {

// Gives a player a hand written "spades.hearts.diamonds.clubs"; the other hands stay empty.
void SetHand(Deal& deal, int player, const std::string& hand) {
  std::string rest = hand;
  for (int s = 0; s <= 3; ++s) {
    std::size_t dot = rest.find('.');
    std::string suit = s < 3 ? rest.substr(0, dot) : rest;
    if (s < 3) rest = rest.substr(dot + 1);
    deal.Holding[player][s].assign(suit);
    deal.SuitLen[player][s] = static_cast<int32_t>(suit.size());
  }
}

Deal OneHand(int player, const std::string& hand) {
  Deal deal;
  SetHand(deal, player, hand);
  return deal;
}

EvalSwitch Only(int option) {
  EvalSwitch sw;
  sw.options[option] = true;
  return sw;
}

TEST(OptionCode, LettersInIndexOrderOrNone) {
  OptionSet set;
  EXPECT_EQ(SetupFilename(set).optionCode, "(none)");
  EXPECT_EQ(SetupFilename(set).resultBaseName, "(none)Korvan");
  set[7] = true;
  EXPECT_EQ(SetupFilename(set).optionCode, "(U)");
  set[2] = true;
  EXPECT_EQ(SetupFilename(set).optionCode, "(LU)");
  set[7] = false;
  set[1] = true;  // switched on after Length: still (DL)
  EXPECT_EQ(SetupFilename(set).resultBaseName, "(DL)Korvan");
  for (int i = 1; i <= 7; ++i) set[i] = true;
  EXPECT_EQ(SetupFilename(set).optionCode, "(DLSBACU)");
  EXPECT_EQ(ParseOptionLetters("UD"), ParseOptionLetters("(DU)"));
  EXPECT_EQ(ParseOptionLetters(""), OptionSet{});
  EXPECT_FALSE(ParseOptionLetters("DX"));
}

TEST(DummyPoints, TheLastShortSideSuitDecides) {
  const EvalSwitch sw = Only(kDummyPoints);
  // Two trumps and a void: nothing.
  EXPECT_EQ(DummyPoints(OneHand(kEast, "KQ32.65.AT98765."), sw, kEast, kHearts), 0);
  // Three trumps, a singleton, four and five cards: 2.
  EXPECT_EQ(DummyPoints(OneHand(kEast, "K32.6.AT98.J7654"), sw, kEast, kSpades), 2);
  // Four trumps, 4-4-1 outside: 3 wherever the singleton lies.
  EXPECT_EQ(DummyPoints(OneHand(kEast, "K632.6.AT98.J765"), sw, kEast, kSpades), 3);
  EXPECT_EQ(DummyPoints(OneHand(kEast, "K632.AT98.J765.6"), sw, kEast, kSpades), 3);
  // Four trumps, void in hearts, doubleton club: the club doubleton, visited last, gives 1.
  EXPECT_EQ(DummyPoints(OneHand(kEast, "K632..AT98765.J7"), sw, kEast, kSpades), 1);
  // Doubleton spade, void club with four trumps (hearts): 5.
  EXPECT_EQ(DummyPoints(OneHand(kEast, "K6.AT98.J765432."), sw, kEast, kHearts), 5);
  // Five hearts, void spades, singleton diamond: spades give 5, then diamonds set 3.
  EXPECT_EQ(DummyPoints(OneHand(kEast, ".AT987.6.KJ76543"), sw, kEast, kHearts), 3);
  // Switched off and no cache being written: 0 even with four trumps and a void.
  EXPECT_EQ(DummyPoints(OneHand(kEast, ".AT987.6.KJ76543"), EvalSwitch{}, kEast, kHearts), 0);
  // Writing the cache forces the evaluation whatever the options.
  EXPECT_EQ(DummyPoints(OneHand(kEast, ".AT987.6.KJ76543"), EvalSwitch{{}, true}, kEast, kHearts), 3);
}

TEST(LengthPoints, EveryLongSuitCountsWithoutCap) {
  EXPECT_EQ(LengthPts(OneHand(kWest, "AK32.Q32.J32.432"), kWest), 0);
  EXPECT_EQ(LengthPts(OneHand(kWest, "AK432.QJ432.32.2"), kWest), 2);
  EXPECT_EQ(LengthPts(OneHand(kWest, "AK65432.QJ43.2.2"), kWest), 3);
  EXPECT_EQ(LengthPts(OneHand(kWest, "AKQJT98765432..."), kWest), 9);
  EXPECT_EQ(LengthPts(OneHand(kWest, "AK5432.QJ432.2."), kWest), 3);
  const Deal deal = OneHand(kWest, "AK432.QJ432.32.2");
  EXPECT_EQ(LengthPointsNT(deal, Only(kLengthPoints), kWest), 2);
  EXPECT_EQ(LengthPointsSuit(deal, Only(kLengthPoints), kWest), 2);
  EXPECT_EQ(LengthPointsNT(deal, Only(kDummyPoints), kWest), 0);
  EXPECT_EQ(LengthPointsSuit(deal, EvalSwitch{}, kWest), 0);
}

TEST(HonourAdjustments, CountOncePerPairAndOnlyTheNamedHoldings) {
  Deal deal;
  SetHand(deal, kNorth, "K.AT9876.5432.32");
  SetHand(deal, kSouth, "Q5432.Q.AKJ.T987");
  EXPECT_EQ(SingletonHonors(deal, Only(kSingletonHonors), 1), 1);  // K and Q singletons: still 1
  SetHand(deal, kNorth, "A.KT9876.5432.32");
  SetHand(deal, kSouth, "Q5432.AK.J32.T98");
  EXPECT_EQ(SingletonHonors(deal, Only(kSingletonHonors), 1), 0);  // singleton ace
  EXPECT_EQ(DoubletonHonors(deal, Only(kDoubletonHonors), 1), 0);  // ace-king doubleton
  SetHand(deal, kNorth, "KQ.T98765.5432.3");
  SetHand(deal, kSouth, "5432.QJ.AKJ.T987");
  EXPECT_EQ(DoubletonHonors(deal, Only(kDoubletonHonors), 1), 1);
  SetHand(deal, kNorth, "KT.T98765.5432.3");
  SetHand(deal, kSouth, "5432.Q2.AKJ.T987");
  EXPECT_EQ(DoubletonHonors(deal, Only(kDoubletonHonors), 1), 0);  // K-T and Q-x give nothing

  // All four aces in one hand leave the partner aceless: both adjustments apply.
  SetHand(deal, kWest, "A5432.A.AK32.A32");
  SetHand(deal, kEast, "KQ.KQ32.Q54.KQ54");
  EXPECT_EQ(FourAces(deal, Only(kFourAces), 0), 1);
  EXPECT_EQ(Aceless(deal, Only(kAceless), 0), 1);
  // Both hands without an ace.
  SetHand(deal, kWest, "K5432.K.KQ32.K32");
  EXPECT_EQ(Aceless(deal, Only(kAceless), 0), 1);
  EXPECT_EQ(FourAces(deal, Only(kFourAces), 0), 0);

  // Switched off: 0 whatever the hands.
  SetHand(deal, kNorth, "K.AT9876.5432.32");
  EXPECT_EQ(SingletonHonors(deal, EvalSwitch{}, 1), 0);
  EXPECT_EQ(Aceless(deal, EvalSwitch{}, 0), 0);
}

TEST(ShapeTests, NotrumpWantsBalancedDeclarerSuitWantsShortness) {
  Deal deal;
  SetHand(deal, kNorth, "AK432.QJ43.32.32");
  SetHand(deal, kSouth, "Q765.K765.A765.4");
  EXPECT_EQ(checkNT(deal, kNorth, kSouth), kDeclarerFlag);  // 5-4-2-2 with a 4-4-4-1 dummy
  EXPECT_EQ(checkNT(deal, kSouth, kNorth), 0);              // 4-4-4-1 declarer
  SetHand(deal, kNorth, "AK43.QJ4.432.432");
  SetHand(deal, kSouth, "Q765.K7652.A765.");
  EXPECT_EQ(checkNT(deal, kNorth, kSouth), 0);  // dummy void in clubs

  SetHand(deal, kNorth, "A.KQ9876.432.432");
  EXPECT_EQ(CheckSuit(deal, kNorth, kHearts), kDeclarerFlag);  // six hearts, singleton spade
  SetHand(deal, kNorth, "AK4.QJ432.43.432");
  EXPECT_EQ(CheckSuit(deal, kNorth, kHearts), 0);  // 5-3-3-2
  SetHand(deal, kNorth, "AK43.Q.A432.5432");
  EXPECT_EQ(CheckSuit(deal, kNorth, kHearts), 0);  // the only singleton is in trumps
}

TEST(CorrectionTotals, OnlyOptionsThatAreOnCount) {
  Deal deal;
  SetHand(deal, kWest, "A5432.A.AK32.A32");  // four aces; length 1
  SetHand(deal, kEast, "KQ.KQ32.Q54.KQ54");  // aceless; KQ doubleton
  Corrections c{};
  // The library pass evaluates everything but the total counts nothing with every option off.
  EvalSwitch writing{{}, true};
  EXPECT_EQ(SuitCorrectionPts(deal, writing, c, 0, kWest, kEast, kSpades), 0);
  EXPECT_EQ(c[2], 1);
  EXPECT_EQ(c[4], 1);
  EXPECT_EQ(c[5], 1);
  EXPECT_EQ(c[6], 1);
  EXPECT_EQ(NTcorrectionPts(deal, writing, c, 0, kEast), 0);
  EXPECT_EQ(c[1], 0);  // no Dummy points in notrump
  // Four aces and aceless cancel.
  EvalSwitch acesBoth;
  acesBoth.options[kFourAces] = acesBoth.options[kAceless] = true;
  EXPECT_EQ(NTcorrectionPts(deal, acesBoth, c, 0, kEast), 0);
  // Only aceless, both hands aceless: -1.
  SetHand(deal, kWest, "K5432.K.KQ32.K32");
  EXPECT_EQ(NTcorrectionPts(deal, Only(kAceless), c, 0, kEast), -1);
  // Every correction that is on, with its sign.
  SetHand(deal, kWest, "K5432.K.KQJ2.KJ2");  // singleton K; length 1
  SetHand(deal, kEast, "AQ76.QJ.A543.A54");  // QJ doubleton; dummy with 4 trumps and a doubleton: 1
  EvalSwitch all;
  for (int i = 1; i <= 7; ++i) all.options[i] = true;
  EXPECT_EQ(SuitCorrectionPts(deal, all, c, 0, kWest, kEast, kSpades), 1 + 1 - 1 - 1 + 0 - 1);
}

}  // namespace
}  // namespace vk
