#include <gtest/gtest.h>

#include "compare/compare_run.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

// Random deals and trick tables (ties, slams, deals nobody can make) with hands of extreme
// shape mixed in: a thirteen-card suit, a void-rich 7-6 hand, four aces in one hand, aceless pairs.
std::vector<DealRecord> RarePathDeals(int count, uint64_t seed) {
  std::vector<DealRecord> deals = test::RandomDeals(count, seed);
  const DealRecord odd[] = {
      test::HandsToRecord("AKQJT98765432...", ".AKQJT98765432..", "..AKQJT98765432.", "...AKQJT98765432", 13),
      test::HandsToRecord("AKQJ432.AKQ432..", "T98.JT9.AKQJ.T98", "765.8765.T98.765", "..765432.AKQJ432", 11),
      test::HandsToRecord("A432.A432.A32.A2", "KQJ.KQJ.KQJ.KQJT", "T98.T98.T98.9876", "765.765.7654.543", 9),
      test::HandsToRecord("5432.5432.543.54", "KQJ.KQJ.KQJ.KQJT", "T98.T98.T98.9876", "A76.A76.A762.A32", 7),
  };
  for (std::size_t i = 0; i < deals.size(); i += 97) deals[i] = odd[i / 97 % 4];
  return deals;
}

ScanContext ContextOn(const fs::path& folder) { return test::StartedContext(folder); }

std::string TallyText(const fs::path& folder, int set) {
  return test::ReadWholeFile(TallyFilePath(folder, SetupFilename(OptionSetAt(set)).resultBaseName));
}

// A library-pass scan of one option set in its own folder over the same library.
std::string LibraryScanFile(const fs::path& library, int set) {
  test::ScratchFolder dir;
  fs::copy_file(library, dir / "Library.bin");
  ScanContext ctx = ContextOn(dir.path());
  ctx.options = OptionSetAt(set);
  ctx.SetupFilename();
  SilentScanUi ui;
  EXPECT_EQ(Start(ctx, ui, 1, ctx.library.dealCount).outcome, ScanOutcome::Finished);
  EXPECT_FALSE(ctx.report.cachePass);
  return TallyText(dir.path(), set);
}

TEST(CompareOptionSets, EveryTallyFileEqualsTheSingleScansFileByteForByte) {
  test::ScratchFolder dir;
  // Enough deals for a cache that later runs replay, and many chunks and group boundaries.
  test::WriteLibrary(dir / "Library.bin", RarePathDeals(130000, 21), 1);
  ScanContext ctx = ContextOn(dir.path());
  SilentScanUi ui;
  const Comparison first = CompareOptionSets(ctx, ui, ctx.library.dealCount);
  ASSERT_EQ(first.scan.outcome, ScanOutcome::Finished) << first.scan.error;
  EXPECT_FALSE(ctx.report.cachePass);
  EXPECT_TRUE(fs::exists(HCPfreqFilePath(dir.path())));
  std::vector<std::string> fromLibrary;
  for (int set = 0; set < kOptionSetCount; ++set) fromLibrary.push_back(TallyText(dir.path(), set));
  for (int set : {0, 1, 2, 3, 12, 48, 64, 66, 67, 95, 127}) {
    SCOPED_TRACE(SetupFilename(OptionSetAt(set)).optionCode);
    EXPECT_EQ(fromLibrary[static_cast<std::size_t>(set)], LibraryScanFile(dir / "Library.bin", set));
  }

  // The next run of the program replays the cache the comparison wrote: the same 128 files.
  for (int set = 0; set < kOptionSetCount; ++set)
    fs::remove(TallyFilePath(dir.path(), SetupFilename(OptionSetAt(set)).resultBaseName));
  ctx = ContextOn(dir.path());
  ASSERT_EQ(ctx.cache.usable, 1) << ctx.cache.discarded;
  const Comparison second = CompareOptionSets(ctx, ui, ctx.library.dealCount);
  ASSERT_EQ(second.scan.outcome, ScanOutcome::Finished) << second.scan.error;
  EXPECT_TRUE(ctx.report.cachePass);
  for (int set = 0; set < kOptionSetCount; ++set) {
    SCOPED_TRACE(SetupFilename(OptionSetAt(set)).optionCode);
    EXPECT_EQ(TallyText(dir.path(), set), fromLibrary[static_cast<std::size_t>(set)]);
  }
  // Both passes cut the same groups, so they give the same scores.
  EXPECT_EQ(second.groups, first.groups);
  EXPECT_EQ(second.scores[127].curves[kCurve3NT].skill.low, first.scores[127].curves[kCurve3NT].skill.low);

  // A single cache-pass scan of every set writes the file the comparison wrote.
  ScanContext single = ContextOn(dir.path());
  for (int set = 0; set < kOptionSetCount; ++set) {
    SCOPED_TRACE(SetupFilename(OptionSetAt(set)).optionCode);
    single.options = OptionSetAt(set);
    single.SetupFilename();
    ASSERT_EQ(Start(single, ui, 1, single.library.dealCount).outcome, ScanOutcome::Finished);
    EXPECT_TRUE(single.report.cachePass);
    EXPECT_EQ(TallyText(dir.path(), set), fromLibrary[static_cast<std::size_t>(set)]);
  }
}

TEST(CompareOptionSets, GroupsCoverEveryRecordAndStayBetween32And64) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", RarePathDeals(9000, 3), 1);
  ScanContext ctx = ContextOn(dir.path());
  OptionSetTallies tallies(ctx.weights);
  ctx.recordSink = &tallies;
  SilentScanUi ui;
  ASSERT_EQ(Start(ctx, ui, 1, ctx.library.dealCount).outcome, ScanOutcome::Finished);
  tallies.Finish();
  const auto groups = tallies.Groups();
  for (int set : {0, 31, 32, 63, 64, 127}) {
    const auto& g = groups[static_cast<std::size_t>(set)];
    EXPECT_GE(g.size(), 32u);
    EXPECT_LE(g.size(), 64u);
    CurveSums sum;
    for (const CurveSums& x : g) sum += x;
    const CurveSums whole = SumCurves(tallies.Weights(set));
    for (int k = 0; k < kCurveCount; ++k) EXPECT_NEAR(CurveWeight(sum, k), CurveWeight(whole, k), 1e-3);
  }
  // (none) is the scan's own option set here: its weights are the context's tallies.
  EXPECT_EQ(TallyFileText(tallies.Weights(0), 1), TallyFileText(ctx.tallies.HandWeight, 1));
}

TEST(CompareOptionSets, AStopWritesNoFile) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", RarePathDeals(3000, 4), 1);
  ScanContext ctx = ContextOn(dir.path());
  struct StoppingUi : SilentScanUi {
    ScanContext* ctx = nullptr;
    void ProcessEvents() override {
      if (counter == "2000") ctx->stopFlag = 1;
    }
  } ui;
  ui.ctx = &ctx;
  const Comparison run = CompareOptionSets(ctx, ui, ctx.library.dealCount);
  EXPECT_EQ(run.scan.outcome, ScanOutcome::Stopped);
  EXPECT_TRUE(run.scores.empty());
  for (const auto& entry : fs::directory_iterator(dir / "DataFiles"))
    EXPECT_NE(entry.path().extension(), ".dat") << entry.path();
}

TEST(CompareOptionSets, DamagedDealsAreSkippedAndNotedBesideEverySetsTallyFile) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", RarePathDeals(3000, 6), 1);
  std::string bytes = test::ReadWholeFile(dir / "Library.bin");
  bytes[26 * 6 + 20] = static_cast<char>(0xEE);  // a trick digit above 13 in deal 7
  test::WriteWholeFile(dir / "Library.bin", bytes);
  ScanContext ctx = ContextOn(dir.path());
  SilentScanUi ui;
  const Comparison run = CompareOptionSets(ctx, ui, ctx.library.dealCount);
  ASSERT_EQ(run.scan.outcome, ScanOutcome::Finished) << run.scan.error;
  EXPECT_EQ(ctx.report.damagedDeals, 1);
  const std::string note = test::ReadWholeFile(dir / "DataFiles" / "(none)Korvan.skipped");
  EXPECT_FALSE(note.empty());
  for (int set : {1, 64, 127}) {
    EXPECT_TRUE(HasSkippedNote(dir.path(), SetupFilename(OptionSetAt(set)).resultBaseName));
    EXPECT_EQ(test::ReadWholeFile(dir / "DataFiles" / (SetupFilename(OptionSetAt(set)).resultBaseName + ".skipped")),
              note);
  }
  // The deal is skipped for every set as for a single scan.
  EXPECT_EQ(TallyText(dir.path(), 67), LibraryScanFile(dir / "Library.bin", 67));
}

TEST(CompareOptionSets, TheSampleLibrarysRankingIsTheOneTheReadmeShows) {
  test::ScratchFolder dir;
  fs::copy_file(test::DataDir() / "../../data/Library.bin", dir / "Library.bin");
  ScanContext ctx = ContextOn(dir.path());
  SilentScanUi ui;
  const Comparison run = CompareOptionSets(ctx, ui, ctx.library.dealCount);
  ASSERT_EQ(run.scan.outcome, ScanOutcome::Finished);
  auto top = [&](int curve) {
    std::vector<std::string> codes;
    for (int s : RankBySkill(run.scores, curve)) codes.push_back(run.scores[static_cast<std::size_t>(s)].optionCode);
    codes.resize(5);
    return codes;
  };
  EXPECT_EQ(top(kCurve3NT), (std::vector<std::string>{"(LSCU)", "(DLSCU)", "(LSBCU)", "(DLSBCU)", "(LSACU)"}));
  EXPECT_EQ(top(kCurve4S), (std::vector<std::string>{"(DLSBU)", "(DLSB)", "(DLSBAU)", "(DLSBA)", "(DLSBC)"}));
  const CurveScore& best3NT = run.scores[OptionSetIndex(*ParseOptionLetters("LSCU"))].curves[kCurve3NT];
  EXPECT_NEAR(best3NT.skill.value, 0.5608, 5e-5);
  EXPECT_NEAR(best3NT.skillGain.low, 0.0358, 5e-5);
  EXPECT_NEAR(run.scores[0].curves[kCurve3NT].skill.value, 0.5119, 5e-5);
  EXPECT_NEAR(run.scores[0].curves[kCurve4S].skill.value, 0.3652, 5e-5);
  const CurveScore& best4S = run.scores[OptionSetIndex(*ParseOptionLetters("DLSB"))].curves[kCurve4S];
  EXPECT_NEAR(best4S.skillGain.value, 0.0569, 5e-5);
  EXPECT_NEAR(best4S.threshold50.value, 25.19, 5e-3);
}

}  // namespace
}  // namespace vk
