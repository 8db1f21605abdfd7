// A cache is replayed only when it holds the whole library that lies beside it now, with the
// "HCPfreq.dat" of the same pass.
#include <gtest/gtest.h>

#include "deals/library_writer.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

constexpr int kDeals = 3000;

// A fresh start of the program on the folder, as every front end makes it.
ScanContext Restart(const fs::path& folder, std::string_view letters = "DL") {
  ScanContext ctx = test::StartedContext(folder, 0);  // the size rule has its own test
  ctx.options = *ParseOptionLetters(letters);
  ctx.SetupFilename();
  return ctx;
}

ScanResult Scan(ScanContext& ctx, int32_t deals, std::function<void()> onEvents = {}) {
  struct Ui : SilentScanUi {
    std::function<void()> hook;
    void ProcessEvents() override {
      if (hook) hook();
    }
  } ui;
  ui.hook = std::move(onEvents);
  return Start(ctx, ui, 1, deals);
}

std::string Tally(const fs::path& folder, std::string_view letters = "DL") {
  return test::ReadWholeFile(TallyFilePath(folder, SetupFilename(*ParseOptionLetters(letters)).resultBaseName));
}

// The tally file and "HCPfreq.dat" of a first, whole scan of the deals in a fresh folder.
struct Reference {
  std::string tally, hcpfreq;
};
Reference WholeScanOf(const std::vector<DealRecord>& deals) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", deals, 1);
  ScanContext ctx = Restart(dir.path());
  EXPECT_EQ(Scan(ctx, ctx.library.dealCount).outcome, ScanOutcome::Finished);
  return {Tally(dir.path()), test::ReadWholeFile(HCPfreqFilePath(dir.path()))};
}

class WholeCache : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    deals_ = new std::vector<DealRecord>(test::RandomDeals(kDeals, 41));
    reference_ = new Reference(WholeScanOf(*deals_));
  }
  static void TearDownTestSuite() {
    delete deals_;
    delete reference_;
  }
  static std::vector<DealRecord>* deals_;
  static Reference* reference_;
  test::ScratchFolder dir_;
};
std::vector<DealRecord>* WholeCache::deals_ = nullptr;
Reference* WholeCache::reference_ = nullptr;

TEST_F(WholeCache, APartialPassThenAWholeScanGiveTheWholeLibrarysTallies) {
  test::WriteLibrary(dir_ / "Library.bin", *deals_, 1);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, 1200).outcome, ScanOutcome::Finished);
  EXPECT_FALSE(fs::exists(dir_ / "DataFiles" / kCacheFileName));
  // The next start finds no cache to replay and reads the whole library.
  ctx = Restart(dir_.path());
  EXPECT_EQ(ctx.cache.usable, 0);
  ASSERT_EQ(Scan(ctx, ctx.library.dealCount).outcome, ScanOutcome::Finished);
  EXPECT_FALSE(ctx.report.cachePass);
  EXPECT_EQ(Tally(dir_.path()), reference_->tally);
  // "HCPfreq.dat" of the short pass is replaced by the whole library's.
  EXPECT_EQ(test::ReadWholeFile(HCPfreqFilePath(dir_.path())), reference_->hcpfreq);
  // And now the cache is whole: the next start replays it to the same file.
  ctx = Restart(dir_.path());
  ASSERT_EQ(ctx.cache.usable, 1) << ctx.cache.discarded;
  ASSERT_EQ(Scan(ctx, 10).outcome, ScanOutcome::Finished);
  EXPECT_TRUE(ctx.report.cachePass);
  EXPECT_EQ(Tally(dir_.path()), reference_->tally);
}

TEST_F(WholeCache, AStoppedPassLeavesNoCacheAndKeepsAnOlderWholeOne) {
  test::WriteLibrary(dir_ / "Library.bin", *deals_, 1);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals, [&] { ctx.stopFlag = 1; }).outcome, ScanOutcome::Stopped);
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "DataFiles"), fs::directory_iterator()), 0);

  ctx.stopFlag = 0;
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  const std::string cache = test::ReadWholeFile(dir_ / "DataFiles" / kCacheFileName);
  // A second library pass in the same run, stopped halfway: the whole cache stays as it was.
  ctx.options = *ParseOptionLetters("U");
  ctx.SetupFilename();
  int steps = 0;
  ASSERT_EQ(Scan(ctx, kDeals, [&] { ctx.stopFlag = ++steps > 15 ? 1 : 0; }).outcome, ScanOutcome::Stopped);
  EXPECT_EQ(test::ReadWholeFile(dir_ / "DataFiles" / kCacheFileName), cache);
  ctx = Restart(dir_.path());
  ASSERT_EQ(ctx.cache.usable, 1) << ctx.cache.discarded;
  ASSERT_EQ(Scan(ctx, 1).outcome, ScanOutcome::Finished);
  EXPECT_EQ(Tally(dir_.path()), reference_->tally);
}

TEST_F(WholeCache, ACacheBesideAnotherLibraryIsNotReplayed) {
  test::WriteLibrary(dir_ / "Library.bin", *deals_, 1);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  // The same number of other deals: same size, other contents.
  const auto other = test::RandomDeals(kDeals, 42);
  test::WriteLibrary(dir_ / "Library.bin", other, 1);
  ctx = Restart(dir_.path());
  EXPECT_EQ(ctx.cache.usable, 0);
  EXPECT_NE(ctx.cache.discarded.find("another"), std::string::npos) << ctx.cache.discarded;
  EXPECT_FALSE(fs::exists(dir_ / "DataFiles" / kCacheFileName));
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  EXPECT_EQ(Tally(dir_.path()), WholeScanOf(other).tally);
}

TEST_F(WholeCache, AMissingOrForeignHCPfreqFileOrAnAlteredCacheMakesItUnusable) {
  test::WriteLibrary(dir_ / "Library.bin", *deals_, 1);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  const fs::path cache = dir_ / "DataFiles" / kCacheFileName;
  const fs::path freqFile = HCPfreqFilePath(dir_.path());
  const std::string bytes = test::ReadWholeFile(cache);
  const std::string freq = test::ReadWholeFile(freqFile);
  const std::string stamp = test::ReadWholeFile(CacheStampPath(dir_.path()));
  const auto cacheTime = fs::last_write_time(cache), freqTime = fs::last_write_time(freqFile);
  // The files as the pass left them, times included, but for the cache's bytes.
  auto restore = [&](const std::string& cacheBytes) {
    test::WriteWholeFile(cache, cacheBytes);
    test::WriteWholeFile(freqFile, freq);
    test::WriteWholeFile(CacheStampPath(dir_.path()), stamp);
    fs::last_write_time(cache, cacheTime);
    fs::last_write_time(freqFile, freqTime);
  };
  restore(bytes);
  ASSERT_EQ(Restart(dir_.path()).cache.usable, 1);
  fs::remove(freqFile);
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 0);
  EXPECT_FALSE(fs::exists(cache));
  restore(bytes.substr(0, bytes.size() - 4000));  // cut short
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 0);
  restore(bytes + std::string(4000, '\0'));  // a stale tail
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 0);
  std::string altered = bytes;
  altered[bytes.size() / 2] ^= 1;  // one bit in the middle
  restore(altered);
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 0);
  // A library pass makes the cache whole again.
  ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  EXPECT_EQ(Restart(dir_.path()).cache.usable, 1);
}

TEST_F(WholeCache, AReplayReportsTheDamagedDealsOfThePassThatMadeIt) {
  std::string bytes = test::LibraryBytes(*deals_, 1);
  for (int k : {700, 900}) std::fill_n(bytes.begin() + 26 * (k - 1), 16, '\0');  // West holds every card
  test::WriteWholeFile(dir_ / "Library.bin", bytes);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ctx.report.damagedDeals, 2);
  ctx = Restart(dir_.path());
  ASSERT_EQ(ctx.cache.usable, 1);
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  EXPECT_TRUE(ctx.report.cachePass);
  EXPECT_EQ(ctx.report.damagedDeals, 2);
  EXPECT_EQ(ctx.report.firstDamagedDeal, 700);
  EXPECT_EQ(ctx.report.firstDefect, DealDefect::CardCount);
  EXPECT_TRUE(HasSkippedNote(dir_.path(), ctx.names.resultBaseName));
}

TEST_F(WholeCache, ALibraryChosenOtherThanTheCachesIsReadNotReplayed) {
  test::WriteLibrary(dir_ / "Library.bin", *deals_, 1);
  test::WriteLibrary(dir_ / "Library.asc", std::vector<DealRecord>(deals_->begin(), deals_->begin() + 2000), 0);
  ScanContext ctx = Restart(dir_.path());
  ASSERT_EQ(Scan(ctx, kDeals).outcome, ScanOutcome::Finished);
  ctx = Restart(dir_.path());
  ASSERT_EQ(ctx.cache.usable, 1);
  // A click on the library name switches to the text library: its deals, not the cache's.
  ctx.library = ChoiceForFile(kAscLibraryName);
  ASSERT_EQ(Scan(ctx, 3000).outcome, ScanOutcome::Finished);
  EXPECT_FALSE(ctx.report.cachePass);
  EXPECT_EQ(ctx.report.lastDeal, 2000);
  EXPECT_FALSE(ctx.report.libraryPassReason.empty());
}

}  // namespace
}  // namespace vk
