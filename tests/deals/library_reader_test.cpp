#include "deals/library_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "deals/card_coding.h"
#include "deals/deal_analysis.h"
#include "deals/library_writer.h"
#include "test_support.h"

namespace vk {
namespace {

using test::HandsToRecord;

// A binary record with every card West's and every trick byte zero.
std::array<uint8_t, 26> EmptyBinRecord() { return {}; }

TEST(BinRecord, TrickBytesReadAsFourDigitsEastNorthWestSouth) {
  auto rec = EncodeBinRecord(test::RandomDeals(1, 3)[0]);
  for (int i = 16; i < 26; ++i) rec[static_cast<std::size_t>(i)] = 0;
  rec[16] = 0x5C;  // notrump
  rec[17] = 0x0A;
  Deal deal;
  ASSERT_TRUE(DecodeBinRecord(rec, deal));
  EXPECT_EQ(deal.TrickHex[-1].str(), "5C0A");
  DecodeTricks(deal);
  EXPECT_EQ(deal.Tricks[kEast][-1], 8);
  EXPECT_EQ(deal.Tricks[kNorth][-1], 12);
  EXPECT_EQ(deal.Tricks[kWest][-1], 13);
  EXPECT_EQ(deal.Tricks[kSouth][-1], 10);
  // Zero bytes: West and East take everything, North and South nothing.
  EXPECT_EQ(deal.TrickHex[0].str(), "0000");
  EXPECT_EQ(deal.Tricks[kWest][0], 13);
  EXPECT_EQ(deal.Tricks[kEast][0], 13);
  EXPECT_EQ(deal.Tricks[kNorth][0], 0);
  EXPECT_EQ(deal.Tricks[kSouth][0], 0);
  EXPECT_FALSE(deal.damaged);
}

TEST(BinRecord, EveryRankSitsAtItsOwnBitPosition) {
  // rank letter, byte within the suit's four, bit shift
  struct Position {
    char letter;
    int byte;
    int shift;
  };
  const Position positions[] = {{'A', 3, 0}, {'K', 3, 2}, {'Q', 3, 4}, {'J', 3, 6}, {'T', 2, 0},
                                {'9', 2, 2}, {'8', 2, 4}, {'7', 2, 6}, {'6', 1, 0}, {'5', 1, 2},
                                {'4', 1, 4}, {'3', 1, 6}, {'2', 0, 0}};
  for (int suit = 0; suit <= 3; ++suit)
    for (const Position& pos : positions)
      for (int owner = 1; owner <= 3; ++owner) {
        auto rec = EmptyBinRecord();
        rec[static_cast<std::size_t>(4 * suit + pos.byte)] = static_cast<uint8_t>(owner << pos.shift);
        Deal deal;
        ASSERT_TRUE(DecodeBinRecord(rec, deal));
        EXPECT_EQ(deal.Holding[owner][suit].str(), std::string(1, pos.letter)) << "suit " << suit << " " << pos.letter;
        EXPECT_EQ(deal.Holding[0][suit].size(), 12);
      }
}

TEST(BinRecord, UnusedBitsOfTheLowestByteAreIgnored) {
  auto rec = EmptyBinRecord();
  rec[0] = 0xFC;  // bits 2..7 of the two's byte are not cards
  Deal deal;
  ASSERT_TRUE(DecodeBinRecord(rec, deal));
  EXPECT_EQ(deal.Holding[0][0].str(), "AKQJT98765432");
  EXPECT_TRUE(deal.Holding[3][0].empty());
}

TEST(AscRecord, VoidsAndHoldingsHighestFirst) {
  DealRecord r = HandsToRecord("AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432");
  auto asc = EncodeAscRecord(r);
  std::string text(asc.begin(), asc.end());
  EXPECT_EQ(text.substr(0, 17), "AKQJT98765432... ");
  EXPECT_EQ(text.substr(51, 16), "...AKQJT98765432");
  Deal deal;
  ASSERT_TRUE(DecodeAscRecord(asc, deal));
  EXPECT_EQ(deal.Holding[kWest][0].str(), "AKQJT98765432");
  EXPECT_TRUE(deal.Holding[kWest][3].empty());
  EXPECT_TRUE(deal.Holding[kSouth][0].empty());
  EXPECT_EQ(deal.Holding[kSouth][3].str(), "AKQJT98765432");
  CountHCP(deal);
  EXPECT_EQ(deal.PlayerHCP[kWest], 10.0f);
}

TEST(AscRecord, MalformedFieldsAreReportedNotOverrun) {
  DealRecord r = test::RandomDeals(1, 7)[0];
  auto asc = EncodeAscRecord(r);
  Deal deal;
  // Fewer than three dots in a hand field.
  auto noDots = asc;
  for (int i = 17; i < 33; ++i)
    if (noDots[static_cast<std::size_t>(i)] == '.') noDots[static_cast<std::size_t>(i)] = 'x';
  EXPECT_FALSE(DecodeAscRecord(noDots, deal));
  // A short record.
  EXPECT_FALSE(DecodeAscRecord(std::span<const uint8_t>(asc.data(), 60), deal));
  // Characters that are no rank letter count as cards of no points.
  auto odd = asc;
  odd[0] = 'a';
  deal.Clear();
  ASSERT_TRUE(DecodeAscRecord(odd, deal));
  EXPECT_EQ(deal.Holding[kWest][0][0], 'a');
  EXPECT_EQ(CardPoints('a'), 0);
  EXPECT_EQ(CardPoints(' '), 0);
  EXPECT_EQ(CardPoints('T'), 0);
  EXPECT_EQ(CardPoints('A') + CardPoints('K') + CardPoints('Q') + CardPoints('J'), 10);
}

TEST(AscRecord, NonHexTrickCharactersReadAsZero) {
  auto asc =
      EncodeAscRecord(HandsToRecord("AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432"));
  asc[68] = 'z';  // notrump, declarer East
  asc[69] = 'c';  // lower case is hexadecimal too: North 12
  Deal deal;
  ASSERT_TRUE(DecodeAscRecord(asc, deal));
  DecodeTricks(deal);
  EXPECT_EQ(deal.Tricks[kEast][-1], 13);
  EXPECT_EQ(deal.Tricks[kNorth][-1], 12);
}

TEST(TrickDigits, AboveThirteenMarkTheDealDamaged) {
  auto rec = EmptyBinRecord();
  rec[18] = 0xE0;  // spades, East digit 14
  Deal deal;
  ASSERT_TRUE(DecodeBinRecord(rec, deal));
  DecodeTricks(deal);
  EXPECT_EQ(deal.Tricks[kEast][0], -1);  // passed through as the digit says
  EXPECT_TRUE(deal.damaged);
}

TEST(LibraryFile, CountsWholeRecordsAndStopsAtTheEnd) {
  test::ScratchFolder dir;
  auto deals = test::RandomDeals(3, 11);
  test::WriteLibrary(dir / "Library.bin", deals, kLibraryKindBin);
  // A stray partial record at the end is ignored.
  test::WriteWholeFile(dir / "Library.bin", test::ReadWholeFile(dir / "Library.bin") + "xyz");
  LibraryFile file;
  std::string error;
  ASSERT_TRUE(file.Open(dir / "Library.bin", kLibraryKindBin, error)) << error;
  EXPECT_EQ(file.dealCount(), 3);
  Deal deal;
  EXPECT_EQ(ReadDeal(file, 3, deal), ReadStatus::Ok);
  EXPECT_EQ(ReadDeal(file, 4, deal), ReadStatus::PastEnd);
  EXPECT_EQ(ReadDeal(file, 0, deal), ReadStatus::PastEnd);
  EXPECT_EQ(ReadDeal(file, 1000000, deal), ReadStatus::PastEnd);
  EXPECT_EQ(DealCountFor(89 * 5 + 88, kAscRecordLength), 5);
}

TEST(LibraryFile, BothFormsRoundTripSeededDealsIdentically) {
  test::ScratchFolder dir;
  auto deals = test::RandomDeals(500, 2026);
  test::WriteLibrary(dir / "Library.bin", deals, kLibraryKindBin);
  test::WriteLibrary(dir / "Library.asc", deals, kLibraryKindAsc);
  LibraryFile bin, asc;
  std::string error;
  ASSERT_TRUE(bin.Open(dir / "Library.bin", kLibraryKindBin, error));
  ASSERT_TRUE(asc.Open(dir / "Library.asc", kLibraryKindAsc, error));
  ASSERT_EQ(bin.dealCount(), 500);
  ASSERT_EQ(asc.dealCount(), 500);
  for (int k = 1; k <= 500; ++k) {
    Deal a, b;
    Analysis aa, ab;
    ASSERT_EQ(MainProc(bin, k, a, aa), ReadStatus::Ok);
    ASSERT_EQ(MainProc(asc, k, b, ab), ReadStatus::Ok);
    auto back = RecordFromDeal(a, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(*back, deals[static_cast<std::size_t>(k - 1)]) << "deal " << k;
    for (int p = 0; p <= 3; ++p) {
      EXPECT_EQ(a.PlayerHCP[p], b.PlayerHCP[p]);
      for (int d = -1; d <= 3; ++d) {
        EXPECT_EQ(a.Holding[p][d].view(), b.Holding[p][d].view());
        EXPECT_EQ(a.Tricks[p][d], b.Tricks[p][d]);
      }
    }
  }
}

TEST(RecordFromDeal, RejectsDuplicatedAndMissingCards) {
  Deal deal = test::DecodedDeal(test::RandomDeals(1, 3)[0]);
  std::string error;
  deal.Holding[0][0].assign("AAKQ");
  EXPECT_FALSE(RecordFromDeal(deal, error));
  EXPECT_NE(error.find("twice"), std::string::npos);
}

// Random bytes through both decoders and the analysis: nothing reads or writes out of range
// (the sanitizer build checks every index), and every deal the fast checks let through is a
// real deal by the builder's thorough check.
TEST(Robustness, RandomRecordsNeverOverrunAndOnlyRealDealsPass) {
  std::mt19937_64 rng(99);
  const auto real = test::RandomDeals(64, 12);
  int passed = 0;
  for (int i = 0; i < 6000; ++i) {
    std::array<uint8_t, 89> bytes;
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    if (i % 3 == 2) {
      // A real deal in either form with one to three bytes changed.
      const DealRecord& d = real[static_cast<std::size_t>(i % 64)];
      const auto bin = EncodeBinRecord(d);
      const auto asc = EncodeAscRecord(d);
      std::copy(bin.begin(), bin.end(), bytes.begin());
      if (i % 2) std::copy(asc.begin(), asc.end(), bytes.begin());
      for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
        const std::size_t at = rng() % (i % 2 ? 89 : 26);
        bytes[at] = static_cast<uint8_t>(i % 2 ? "AKQJT98765432. x\n"[rng() % 17] : rng());
      }
    } else if (i % 2) {
      // Mostly dots and rank letters, so that many records get past the dot test.
      const char alphabet[] = "AKQJT98765432....xa ";
      for (auto& b : bytes) b = static_cast<uint8_t>(alphabet[rng() % (sizeof alphabet - 1)]);
    }
    for (bool text : {false, true}) {
      Deal deal;
      Analysis analysis;
      deal.Clear();
      bool ok = text ? DecodeAscRecord(bytes, deal) : DecodeBinRecord(std::span(bytes).first(26), deal);
      if (!ok) continue;
      CountHCP(deal);
      AnalyseDeal(deal, analysis);
      if (!deal.damaged) {
        ++passed;
        std::string error;
        EXPECT_TRUE(RecordFromDeal(deal, error).has_value()) << error;
        EXPECT_LE(PairHCP(deal, 0), 40);
        for (int d = -1; d <= 3; ++d)
          for (int p = 0; p <= 3; ++p) EXPECT_TRUE(deal.Tricks[p][d] >= 0 && deal.Tricks[p][d] <= 13);
      }
    }
  }
  EXPECT_GT(passed, 100);  // the changed real deals whose change kept them a deal
}

// Impossible deals that decode without complaint are marked with what is wrong with them.
TEST(DealChecks, EachKindOfImpossibleDealIsMarked) {
  const DealRecord good = test::RandomDeals(1, 21)[0];
  auto check = [](std::span<const uint8_t> record, bool text) {
    Deal deal;
    Analysis analysis;
    deal.Clear();
    EXPECT_TRUE(text ? DecodeAscRecord(record, deal) : DecodeBinRecord(record, deal));
    CountHCP(deal);
    AnalyseDeal(deal, analysis);
    return deal.defect;
  };
  auto bin = EncodeBinRecord(good);
  EXPECT_EQ(check(bin, false), DealDefect::None);
  // All-zero record: West holds all 52 cards.
  EXPECT_EQ(check(EmptyBinRecord(), false), DealDefect::CardCount);
  // One card moved from its owner to another: hands of 14 and 12 cards.
  bin[3] = static_cast<uint8_t>(bin[3] ^ 1);
  EXPECT_EQ(check(bin, false), DealDefect::CardCount);

  const auto ascBytes = EncodeAscRecord(good);
  const std::string asc(reinterpret_cast<const char*>(ascBytes.data()), ascBytes.size());
  auto text = [&](std::string s) {
    return check(std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()), true);
  };
  EXPECT_EQ(text(asc), DealDefect::None);
  // A card held by two players: East's first card written as West's first.
  std::string twice = asc;
  const std::size_t westCard = twice.find_first_not_of('.');
  const std::size_t eastCard = 34 + std::string_view(twice).substr(34, 16).find_first_not_of('.');
  twice[eastCard] = twice[westCard];
  EXPECT_EQ(text(twice), twice[eastCard] == asc[eastCard] ? DealDefect::None : DealDefect::CardTwice);
  std::string letter = asc;
  letter[westCard] = 'Z';
  EXPECT_EQ(text(letter), DealDefect::CardTwice);
  std::string digit = asc;
  digit[70] = 'G';
  EXPECT_EQ(text(digit), DealDefect::TrickDigit);
  // A record read one byte off its place, as a CR LF file read in 89-byte steps.
  std::string shifted = "\r" + asc.substr(0, 88);
  EXPECT_NE(text(shifted), DealDefect::None);
  std::string noLineEnd = asc;
  noLineEnd[88] = '\r';
  EXPECT_EQ(text(noLineEnd), DealDefect::TextLayout);
}

}  // namespace
}  // namespace vk
