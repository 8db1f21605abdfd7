// Files that are no library are refused with every earlier result file untouched; deals that
// cannot be are skipped and named; a library that changes under a pass ends it with an error.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "deals/library_writer.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

ScanContext Restart(const fs::path& folder) { return test::StartedContext(folder); }

struct HookUi : SilentScanUi {
  std::function<void()> hook;
  void ProcessEvents() override {
    if (hook) hook();
  }
};

// Every file of the data folder with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder / "DataFiles"))
    files[e.path().filename().string()] = test::ReadWholeFile(e.path());
  return files;
}

std::string BinBytes(const std::vector<DealRecord>& deals) { return test::LibraryBytes(deals, 1); }
std::string AscBytes(const std::vector<DealRecord>& deals) { return test::LibraryBytes(deals, 0); }

TEST(Refusal, FilesThatAreNoLibraryLeaveEveryEarlierResultFileAsItWas) {
  test::ScratchFolder dir;
  const auto deals = test::RandomDeals(3000, 17);
  test::WriteWholeFile(dir / "Library.bin", BinBytes(deals));
  ScanContext first = Restart(dir.path());
  SilentScanUi ui;
  ASSERT_EQ(Start(first, ui, 1, 3000).outcome, ScanOutcome::Finished);
  Restart(dir.path());  // the files as start-up leaves them (a cache this small is deleted)
  const auto before = Snapshot(dir.path());
  ASSERT_EQ(before.count("HCPfreq.dat"), 1u);

  std::string crlf;
  const std::string asc = AscBytes(deals);
  for (std::size_t at = 0; at < asc.size(); at += 89) crlf += asc.substr(at, 88) + "\r\n";
  std::mt19937_64 rng(5);
  std::string noise(26 * 5000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  std::string mostlyDamaged = BinBytes(deals);
  for (int k = 1200; k <= 1240; ++k) std::fill_n(mostlyDamaged.begin() + 26 * (k - 1), 16, '\0');
  struct Case {
    const char* file;
    std::string bytes;
    LibraryRefusal::Kind kind;
    const char* words;
  };
  const Case cases[] = {
      {"Library.bin", "", LibraryRefusal::Kind::Empty, "holds no deal"},
      {"Library.bin", "short", LibraryRefusal::Kind::Empty, "holds no deal"},
      {"Library.asc", crlf, LibraryRefusal::Kind::CrLf, "velkorvan-mklib convert"},
      {"Library.asc", asc.substr(0, asc.size() - 1), LibraryRefusal::Kind::NoLastLineEnd, "no line end"},
      {"Library.asc", std::string(500, 'x') + "\n", LibraryRefusal::Kind::LineLength, "not 89"},
      {"Library.bin", noise, LibraryRefusal::Kind::MostlyDamaged, "no possible deals"},
      // Damage beyond the deals looked at first: refused at the end of the pass.
      {"Library.bin", mostlyDamaged, LibraryRefusal::Kind::MostlyDamaged, "41 of 3000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    fs::remove(dir / "Library.bin");
    test::WriteWholeFile(dir / c.file, c.bytes);
    for (int language : {0, 1}) {
      ScanContext ctx = Restart(dir.path());
      ctx.language = language;
      HookUi hui;
      const ScanResult r = Start(ctx, hui, 1, std::max(ctx.library.dealCount, 1));
      ASSERT_EQ(r.outcome, ScanOutcome::Refused);
      ASSERT_TRUE(r.refusal);
      EXPECT_EQ(r.refusal->kind, c.kind);
      EXPECT_NE(r.error.find((dir / c.file).string()), std::string::npos) << r.error;
      if (language == 0) {
        EXPECT_NE(r.error.find(c.words), std::string::npos) << r.error;
      }
      EXPECT_EQ(Snapshot(dir.path()), before);
    }
    fs::remove(dir / c.file);
  }
}

TEST(ImpossibleDeals, AreSkippedCountedAndNamedNeverTallied) {
  test::ScratchFolder dir;
  const auto deals = test::RandomDeals(400, 23);
  std::string bin = BinBytes(deals);
  std::fill_n(bin.begin() + 26 * 9, 16, '\0');                 // deal 10: West holds all 52 cards
  bin[26 * 19 + 3] = static_cast<char>(bin[26 * 19 + 3] ^ 1);  // deal 20: hands of 14 and 12 cards
  test::WriteWholeFile(dir / "Library.bin", bin);
  ScanContext ctx = Restart(dir.path());
  SilentScanUi ui;
  ASSERT_EQ(Start(ctx, ui, 1, 400).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ctx.report.damagedDeals, 2);
  EXPECT_EQ(ctx.report.firstDamagedDeal, 10);
  EXPECT_EQ(ctx.report.firstDefect, DealDefect::CardCount);
  int32_t counted = 0;
  for (int32_t n : ctx.tallies.HCPfreq) counted += n;
  EXPECT_EQ(counted, 398);

  // In the text form: a card held by two players.
  fs::remove(dir / "Library.bin");
  std::string asc = AscBytes(deals);
  // The first deal in which West and East both hold spades: East's top spade is written as West's.
  int k = 1;
  while (asc[89 * (k - 1)] == '.' || asc[89 * (k - 1) + 34] == '.') ++k;
  asc[89 * (k - 1) + 34] = asc[89 * (k - 1)];
  test::WriteWholeFile(dir / "Library.asc", asc);
  ctx = Restart(dir.path());
  ASSERT_EQ(Start(ctx, ui, 1, 400).outcome, ScanOutcome::Finished);
  EXPECT_EQ(ctx.report.damagedDeals, 1);
  EXPECT_EQ(ctx.report.firstDamagedDeal, k);
  EXPECT_EQ(ctx.report.firstDefect, DealDefect::CardTwice);
}

TEST(ChangingLibrary, AShortenedOrReplacedLibraryEndsThePassWithAnErrorAndWritesNothing) {
  test::ScratchFolder dir;
  // More than one read-ahead chunk of 1 MiB, so the change is seen both at a refill and at the end.
  const auto deals = test::RandomDeals(50000, 29);
  const std::string bytes = BinBytes(deals);
  for (int how = 0; how < 3; ++how) {
    SCOPED_TRACE(how);
    test::WriteWholeFile(dir / "Library.bin", bytes);
    ScanContext ctx = Restart(dir.path());
    const auto before = Snapshot(dir.path());
    HookUi ui;
    // At deal 200 another program shortens, rewrites or replaces the file.
    ui.hook = [&] {
      if (ui.counter != "200") return;
      if (how == 0) fs::resize_file(dir / "Library.bin", 26 * 1000);
      if (how == 1) test::WriteWholeFile(dir / "Library.bin", bytes.substr(26) + bytes.substr(0, 26));
      if (how == 2) {
        test::WriteWholeFile(dir / "other.bin", bytes);
        fs::rename(dir / "other.bin", dir / "Library.bin");
      }
    };
    const ScanResult r = Start(ctx, ui, 1, 50000);
    EXPECT_EQ(r.outcome, ScanOutcome::Failed);
    EXPECT_NE(r.error.find("changed during the scan"), std::string::npos) << r.error;
    EXPECT_EQ(Snapshot(dir.path()), before);
  }
}

}  // namespace
}  // namespace vk
