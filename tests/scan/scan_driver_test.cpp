#include "scan/scan_driver.h"

#include <gtest/gtest.h>

#include <functional>

#include "deals/card_coding.h"
#include "scan/per_deal_evaluation.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

// A scan interface that records the counter and can act when events are processed.
class RecordingUi : public ScanUi {
 public:
  void ShowCounter(const std::string& text) override { counters.push_back(text); }
  void ProcessEvents() override {
    if (onEvents) onEvents();
  }
  std::string DealsToScanText() override { return "250"; }
  void LoadTab() override { ++loadTabs; }
  void ScanFinished() override { finished = true; }
  std::vector<std::string> counters;
  std::function<void()> onEvents;
  int loadTabs = 0;
  bool finished = false;
};

ScanContext ContextOn(const fs::path& folder) { return test::StartedContext(folder, 0); }

OptionSet Options(std::string_view letters) { return *ParseOptionLetters(letters); }

// Deals whose West-East HCP the scan counted.
int32_t DealsCounted(const ScanContext& ctx) {
  int32_t counted = 0;
  for (int32_t n : ctx.tallies.HCPfreq) counted += n;
  return counted;
}

TEST(Scan, CachePassWritesExactlyTheTallyFileOfALibraryPass) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(3000, 5), 1);
  for (std::string_view letters : {"", "DLSBACU", "DL", "U", "SBAC", "LU"}) {
    SCOPED_TRACE(letters);
    fs::remove(dir / "DataFiles" / kCacheFileName);
    ScanContext ctx = ContextOn(dir.path());
    ctx.options = Options(letters);
    ctx.SetupFilename();
    RecordingUi ui;
    ASSERT_EQ(Start(ctx, ui, 1, ctx.library.dealCount).outcome, ScanOutcome::Finished);
    const std::string fromLibrary = test::ReadWholeFile(TallyFilePath(dir.path(), ctx.names.resultBaseName));
    // The next run of the program finds the cache and replays it.
    ctx = ContextOn(dir.path());
    ctx.options = Options(letters);
    ctx.SetupFilename();
    ASSERT_EQ(ctx.cache.usable, 1) << ctx.cache.discarded;
    ASSERT_EQ(Start(ctx, ui, 1, ctx.library.dealCount).outcome, ScanOutcome::Finished);
    EXPECT_TRUE(ctx.report.cachePass);
    EXPECT_EQ(test::ReadWholeFile(TallyFilePath(dir.path(), ctx.names.resultBaseName)), fromLibrary);
    EXPECT_EQ(DealsCounted(ctx), 0);
  }
}

TEST(Scan, CounterStepsEveryHundredDealsAndShowsTheLastDeal) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(300, 8), 1);
  ScanContext ctx = ContextOn(dir.path());
  RecordingUi ui;
  int events = 0;
  ui.onEvents = [&] { ++events; };
  ASSERT_EQ(Start(ctx, ui, 1, 250).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ui.counters, (std::vector<std::string>{"100", "200", "250"}));
  EXPECT_EQ(events, 2);
  EXPECT_TRUE(ui.finished);
  EXPECT_EQ(DealsCounted(ctx), 250);
}

TEST(Scan, AStopTakesEffectAtTheNextProgressStepAndWritesNoTallyFile) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(2000, 9), 1);
  ScanContext ctx = ContextOn(dir.path());
  RecordingUi ui;
  // The user presses Stop while deals 1,201 to 1,299 are evaluated.
  ui.onEvents = [&] {
    if (ui.counters.back() == "1200") ctx.stopFlag = 1;
  };
  EXPECT_EQ(Start(ctx, ui, 1, 2000).outcome, ScanOutcome::Stopped);
  EXPECT_EQ(ui.counters.back(), "1199");
  EXPECT_FALSE(ui.finished);
  EXPECT_FALSE(fs::exists(TallyFilePath(dir.path(), ctx.names.resultBaseName)));
  EXPECT_FALSE(fs::exists(HCPfreqFilePath(dir.path())));
  // The tallies keep the partial counts; no cache of the deals reached is left to be replayed.
  EXPECT_EQ(DealsCounted(ctx), 1199);
  EXPECT_FALSE(fs::exists(dir / "DataFiles" / kCacheFileName));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "DataFiles"), fs::directory_iterator()), 0);
}

TEST(Scan, AnEmptyRangeChangesNothing) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(10, 1), 1);
  ScanContext ctx = ContextOn(dir.path());
  ctx.tallies.HandCount[0][10][25] = 3;
  RecordingUi ui;
  EXPECT_EQ(Start(ctx, ui, 1, 0).outcome, ScanOutcome::NotRun);
  EXPECT_EQ(ctx.tallies.HandCount[0][10][25], 3);
  EXPECT_EQ(ui.loadTabs, 0);
  EXPECT_TRUE(ui.counters.empty());
  EXPECT_FALSE(fs::exists(dir / "DataFiles" / kCacheFileName));
}

TEST(Scan, ACountBeyondTheLibraryEndsWithItsLastDeal) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(150, 4), 1);
  ScanContext ctx = ContextOn(dir.path());
  RecordingUi ui;
  EXPECT_EQ(Start(ctx, ui, 1, 1000000).outcome, ScanOutcome::Finished);
  EXPECT_TRUE(ctx.report.reachedLibraryEnd);
  EXPECT_EQ(ui.counters.back(), "150");
}

TEST(Scan, DamagedDealsAndRecordsAreSkippedAndCounted) {
  test::ScratchFolder dir;
  std::string bytes = test::LibraryBytes(test::RandomDeals(200, 6), 1);
  bytes[26 * 4 + 16] = static_cast<char>(0xF0);  // deal 5: a notrump digit of 15
  test::WriteWholeFile(dir / "Library.bin", bytes);
  ScanContext ctx = ContextOn(dir.path());
  RecordingUi ui;
  ASSERT_EQ(Start(ctx, ui, 1, 200).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ctx.report.damagedDeals, 1);
  EXPECT_EQ(ctx.report.firstDamagedDeal, 5);
  EXPECT_EQ(ctx.report.firstDefect, DealDefect::TrickDigit);
  EXPECT_EQ(DealsCounted(ctx), 199);
  EXPECT_TRUE(HasSkippedNote(dir.path(), ctx.names.resultBaseName));

  // A cache record with 50 points or 14 tricks is not tallied, even in a cache its stamp vouches for.
  std::string cache(4 * 300000, '\0');
  cache[0] = 25;
  cache[1] = 9;
  cache[4] = 50;
  cache[9] = 14;
  test::WriteWholeFile(dir / "DataFiles" / kCacheFileName, cache);
  CacheStamp stamp;
  stamp.library = "Library.bin";
  stamp.libraryPrint = *Fingerprint(dir / "Library.bin");
  stamp.deals = 200;
  stamp.records = 300000;
  std::string error;
  ASSERT_TRUE(WriteCacheStamp(dir.path(), stamp, error)) << error;
  ctx = ContextOn(dir.path());
  ASSERT_EQ(ctx.cache.usable, 1) << ctx.cache.discarded;
  ASSERT_EQ(Start(ctx, ui, 1, 20).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ctx.report.damagedRecords, 2);
  EXPECT_EQ(ctx.report.firstDamagedRecord, 2);
  EXPECT_EQ(ctx.tallies.HandCount[0][9][25], 1);
}

TEST(Scan, CachePassCounterStandsForLibraryDeals) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(10, 1), 1);
  ScanContext ctx = ContextOn(dir.path());
  RecordingUi ui;
  ASSERT_EQ(Start(ctx, ui, 1, 10).outcome, ScanOutcome::Finished);
  test::WriteWholeFile(dir / "DataFiles" / kCacheFileName, std::string(4 * 260000, '\0'));
  CacheStamp stamp;
  stamp.library = "Library.bin";
  stamp.libraryPrint = *Fingerprint(dir / "Library.bin");
  stamp.records = 260000;
  std::string error;
  ASSERT_TRUE(WriteCacheStamp(dir.path(), stamp, error)) << error;
  ctx = ContextOn(dir.path());
  ctx.library.dealCount = 1000;
  ui.counters.clear();
  ASSERT_EQ(Start(ctx, ui, 1, 5).outcome, ScanOutcome::Finished);
  // After 130,000 of 260,000 records: half the deal count.
  EXPECT_EQ(ui.counters[130000 / 200 - 1], "500");
  EXPECT_EQ(ui.counters.back(), "250");  // the text of the deals box at the end
}

// The records of the hand-built deals, in the dispatch's order.
TEST(Dispatch, EvaluatesTheContractsThatScoreAndRecordsThemInOrder) {
  test::ScratchFolder dir;
  fs::copy_file(test::DataDir() / "hand_built.asc", dir / "Library.asc");
  ScanContext ctx = ContextOn(dir.path());
  ASSERT_EQ(ctx.library.kind, kLibraryKindAsc);
  RecordingUi ui;
  ASSERT_EQ(Start(ctx, ui, 1, 3).outcome, ScanOutcome::Finished);
  const std::string cache = test::ReadWholeFile(dir / "DataFiles" / kCacheFileName);
  // Deal 1: W-E notrump 100 > spades 30: both; N-S notrump 100 = clubs 100: both.
  // Deal 2: W-E notrump 100 < hearts 120: hearts only; N-S nothing scores: no record.
  // Deal 3: W-E notrump 70 < clubs 80: clubs only; N-S notrump 100 > spades 60: both.
  const std::string classes = "NSNSSSNS";
  const int tricks[] = {9, 7, 9, 11, 10, 10, 9, 8};
  const int hcp[] = {20, 20, 20, 20, 26, 26, 14, 14};
  ASSERT_EQ(cache.size(), 4 * classes.size());
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const auto b0 = static_cast<uint8_t>(cache[4 * i]);
    EXPECT_EQ((b0 & 128) != 0, classes[i] == 'N') << i;
    EXPECT_EQ(b0 & 63, hcp[i]) << i;
    EXPECT_EQ(cache[4 * i + 1], tricks[i]) << i;
  }
  EXPECT_EQ(ctx.tallies.HandCount[-1][9][20], 2);
  EXPECT_EQ(ctx.tallies.HandCount[0][11][20], 1);
}

TEST(FailLog, LineMatchesItsLayoutByteForByte) {
  Corrections c{};
  c[1] = 2;
  EXPECT_EQ(FailLine(1234, kNorth, 9, kSpades, 23, 2, c),
            "#1234    N  9  tricks in Spades HCP = 23 ==> 25 ( 2  0  0  0  0  0 )\r\n");
  c[3] = -1;
  EXPECT_NE(FailLine(1, kWest, 8, kClubs, 26, -1, c).find("==> 25 ( 2  0 -1  0"), std::string::npos);
}

TEST(FailLog, WrittenOnlyForEarlyDealsWhenTheFileExists) {
  test::ScratchFolder dir;
  ScanContext ctx;
  ctx.folder = dir.path();
  ctx.options[kDummyPoints] = true;
  // North declares spades (five against three); South, the dummy, has three spades and a
  // singleton heart: Dummy points 2 on 23 HCP.
  ctx.deal = test::DecodedDeal(
      test::HandsToRecord("T987.QJT98.AT9.A", "AKQ54.K32.Q32.32", "6.7654.87.KQJ984", "J32.A.KJ654.T765"));
  CountLengths(ctx.deal, ctx.analysis);
  ctx.analysis.PairContract[1] = {kNorth, 9, 8, kSpades, 90};
  SilentScanUi ui;
  PassIo io{ui, nullptr, true};
  auto run = [&](int32_t dealNo) {
    ctx.deal.DealNo = dealNo;
    ProcSuit(ctx, io, 1, 23);
  };
  test::WriteWholeFile(dir / kFailLogName, "");
  run(1234);
  run(20001);
  ctx.analysis.PairContract[1].tricks = 10;
  run(1234);
  EXPECT_EQ(test::ReadWholeFile(dir / kFailLogName),
            "#1234    N  9  tricks in Spades HCP = 23 ==> 25 ( 2  0  0  0  0  0 )\r\n");
  // Never created by the program.
  fs::remove(dir / kFailLogName);
  io.failLog = false;
  ctx.analysis.PairContract[1].tricks = 9;
  run(1234);
  EXPECT_FALSE(fs::exists(dir / kFailLogName));
}

TEST(Korvancommon, LimitDeclarerSkipsRecordsWithoutTheFlag) {
  ScanContext ctx;
  SilentScanUi ui;
  ctx.options[kLimitDeclarer] = true;
  ctx.currentRecord = {128 + 24, 9, 0, 0};  // notrump, flag 0
  EXPECT_TRUE(Korvancommon(ctx, ui));
  EXPECT_EQ(ctx.tallies.HandCount[-1][9][24], 0);
  ctx.options[kLimitDeclarer] = false;
  EXPECT_TRUE(Korvancommon(ctx, ui));
  EXPECT_EQ(ctx.tallies.HandCount[-1][9][24], 1);
  // Options apply to the stored corrections with their signs: Dummy +3, Aceless -1.
  ctx.options[kDummyPoints] = ctx.options[kAceless] = true;
  ctx.currentRecord = {20, 10, 0x30, 1};
  EXPECT_TRUE(Korvancommon(ctx, ui));
  EXPECT_GT(ctx.tallies.HandWeight[0][10][22], 0.0f);
}

}  // namespace
}  // namespace vk
