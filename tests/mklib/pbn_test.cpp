// PBN deal values and the tag scanner of PBN files.

#include "mklib/pbn.h"

#include <gtest/gtest.h>

#include "deals/card_coding.h"
#include "mklib/deal_stream.h"
#include "test_support.h"

namespace vk::mklib {
namespace {

constexpr const char* kWestFirst = "W:KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96";

TEST(PbnDeal, WrittenDealsParseBackToTheSameCards) {
  for (int k = 1; k <= 20; ++k) {
    DealRecord deal = DealOfStream(11, k);
    DealRecord back;
    std::string error;
    ASSERT_TRUE(ParsePbnDealValue(PbnDealValue(deal), back, error)) << error;
    EXPECT_EQ(back.owner, deal.owner) << k;
  }
}

TEST(PbnDeal, DealWrittenFromAnySeatStartsWithThatSeatAndReadsBackTheSame) {
  const DealRecord deal = DealOfStream(20261206, 1);
  const char* expected[4] = {kWestFirst, "N:J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96 KQT4.763.KQ8.A83",
                             "E:97.QJ842.75.KT75 A5.AKT95.AJ2.Q96 KQT4.763.KQ8.A83 J8632..T9643.J42",
                             "S:A5.AKT95.AJ2.Q96 KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75"};
  for (int first : {kWest, kNorth, kEast, kSouth}) {
    const std::string value = PbnDealValue(deal, first);
    EXPECT_EQ(value, expected[first]);
    DealRecord back;
    std::string error;
    ASSERT_TRUE(ParsePbnDealValue(value, back, error)) << error;
    EXPECT_EQ(back.owner, deal.owner) << value;
  }
}

TEST(PbnDeal, AnyFirstSeatNamesTheSameDeal) {
  DealRecord fromWest, fromNorth, fromSouth;
  std::string error;
  ASSERT_TRUE(ParsePbnDealValue(kWestFirst, fromWest, error)) << error;
  ASSERT_TRUE(
      ParsePbnDealValue("N:J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96 KQT4.763.KQ8.A83", fromNorth, error))
      << error;
  ASSERT_TRUE(
      ParsePbnDealValue("s:a5.akt95.aj2.q96   kqt4.763.kq8.a83 J8632..T9643.J42 97.QJ842.75.KT75", fromSouth, error))
      << error;
  EXPECT_EQ(fromNorth.owner, fromWest.owner);
  EXPECT_EQ(fromSouth.owner, fromWest.owner);
  EXPECT_EQ(fromWest.owner[kHearts][0], kSouth);  // the heart ace
  EXPECT_EQ(fromWest.owner[kClubs][12], kNorth);  // the club two
}

TEST(PbnDeal, OneUnknownHandIsFilledWithTheRemainingCards) {
  DealRecord full, partial;
  std::string error;
  ASSERT_TRUE(ParsePbnDealValue(kWestFirst, full, error)) << error;
  ASSERT_TRUE(ParsePbnDealValue("W:KQT4.763.KQ8.A83 J8632..T9643.J42 - A5.AKT95.AJ2.Q96", partial, error)) << error;
  EXPECT_EQ(partial.owner, full.owner);
  EXPECT_FALSE(ParsePbnDealValue("W:KQT4.763.KQ8.A83 - - A5.AKT95.AJ2.Q96", partial, error));
}

TEST(PbnDeal, MalformedDealsAreRefusedWithTheReason) {
  struct Case {
    const char* value;
    const char* says;
  } cases[] = {
      {"KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96", "seat"},
      {"W:KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75", "3 hands"},
      {"W:KQT4.763.KQ8.A8 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q963", "W holds 12 cards"},
      {"W:KQT4.763.KQ8.A83 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q9K", "K of Clubs is held by both E and S"},
      {"W:KQ104.763.KQ8.A8 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96", "ten is written T"},
      {"W:KQT4.763.KQ8A83 J8632..T9643.J42 97.QJ842.75.KT75 A5.AKT95.AJ2.Q96", "four suits"},
  };
  for (const Case& c : cases) {
    DealRecord deal;
    std::string error;
    EXPECT_FALSE(ParsePbnDealValue(c.value, deal, error)) << c.value;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.value << " -> " << error;
  }
}

TEST(PbnFile, DealTagsAreFoundPastCommentsAndOtherSections) {
  std::string text = std::string("% PBN 2.1\r\n% [Deal \"not a tag\"]\r\n\r\n") +
                     "[Event \"x\"]\r\n{ a comment with [Deal \"W:junk\"] in it\r\nover two lines }\r\n" +
                     "[Board \"1\"] ; [Deal \"W:junk\"]\r\n[Deal \"" + kWestFirst + "\"]\r\n" +
                     "[Auction \"N\"]\r\n1S Pass 2NT Pass\r\n\r\n[Board \"2\"]\r\n[Deal \"#\"]\r\n";
  std::vector<PbnDeal> deals;
  std::string error;
  ASSERT_TRUE(ReadPbnDeals(text, deals, error)) << error;
  ASSERT_EQ(deals.size(), 2u);
  EXPECT_EQ(deals[0].line, 8);
  EXPECT_EQ(deals[1].line, 13);
  EXPECT_EQ(deals[1].deal.owner, deals[0].deal.owner);
}

TEST(PbnFile, ErrorsNameTheLine) {
  std::string error;
  std::vector<PbnDeal> deals;
  std::string badCard = std::string("[Deal \"") + kWestFirst + "\"]\n\n[Deal \"W:KQT4.763.KQ8.A8X - - -\"]\n";
  EXPECT_FALSE(ReadPbnDeals(badCard, deals, error));
  EXPECT_NE(error.find("line 3:"), std::string::npos) << error;

  deals.clear();
  EXPECT_FALSE(ReadPbnDeals("[Event \"x\"]\n[Deal \"W:AK.\n", deals, error));
  EXPECT_NE(error.find("line 2:"), std::string::npos) << error;

  deals.clear();
  EXPECT_FALSE(ReadPbnDeals("[Event \"x\"]\n\n{ never closed\n[Deal \"W:x\"]\n", deals, error));
  EXPECT_NE(error.find("line 3:"), std::string::npos) << error;
}

}  // namespace
}  // namespace vk::mklib
