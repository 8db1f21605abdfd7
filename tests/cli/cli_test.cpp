#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "deals/library_writer.h"
#include "test_support.h"

namespace vk {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun Cli(const std::string& args, const test::ScratchFolder& dir) {
  const std::string errFile = (dir / "stderr.txt").string();
  const std::string command = std::string(VK_CLI_EXE) + " " + args + " 2>'" + errFile + "'";
  CliRun run{};
  FILE* pipe = ::popen(command.c_str(), "r");
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = test::ReadWholeFile(errFile);
  return run;
}

std::string In(const test::ScratchFolder& dir) { return "--dir '" + dir.path().string() + "'"; }

TEST(Cli, ASecondScanReplaysTheCacheAndPrintsTheSame) {
  test::ScratchFolder dir;
  // Enough deals for a cache of more than 1,000,000 bytes, which later runs replay.
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(150000, 77), 1);
  CliRun first = Cli("scan --options DL " + In(dir), dir);
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_NE(first.err.find("library pass"), std::string::npos);
  EXPECT_NE(first.out.find("Table(DL)Korvan"), std::string::npos);
  CliRun second = Cli("scan --options DL " + In(dir), dir);
  ASSERT_EQ(second.code, 0) << second.err;
  EXPECT_NE(second.err.find("cache pass"), std::string::npos);
  EXPECT_EQ(second.out, first.out);
  CliRun shown = Cli("show --options LD " + In(dir), dir);
  EXPECT_EQ(shown.out, first.out);

  CliRun json = Cli("show --options DL --format json " + In(dir), dir);
  ASSERT_EQ(json.code, 0);
  auto j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["optionCode"], "(DL)");
  EXPECT_EQ(j["table"]["rows"].size(), 5u);
  EXPECT_EQ(j["curves"].size(), 6u);
  CliRun csv = Cli("show --options DL --format csv " + In(dir), dir);
  EXPECT_EQ(csv.out.substr(0, 7), "row,20,");

  // Pictures without a display, from the same tally files.
  CliRun png = Cli("graph --options DL --out '" + (dir / "g.png").string() + "' " + In(dir), dir);
  ASSERT_EQ(png.code, 0) << png.err;
  EXPECT_EQ(test::ReadWholeFile(dir / "g.png").substr(1, 3), "PNG");
  CliRun svg = Cli("graph --kind hcp --lang ja --out '" + (dir / "h.svg").string() + "' " + In(dir), dir);
  ASSERT_EQ(svg.code, 0) << svg.err;
  EXPECT_NE(test::ReadWholeFile(dir / "h.svg").find("<svg"), std::string::npos);
  CliRun missing = Cli("graph --options U --out '" + (dir / "u.png").string() + "' " + In(dir), dir);
  EXPECT_EQ(missing.code, 3);
  EXPECT_FALSE(std::filesystem::exists(dir / "u.png"));
}

TEST(Cli, BadInputGivesAClearErrorAndAnExitCode) {
  test::ScratchFolder dir;
  CliRun noLibrary = Cli("scan " + In(dir), dir);
  EXPECT_EQ(noLibrary.code, 3);
  EXPECT_NE(noLibrary.err.find("no library"), std::string::npos);

  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(200, 1), 1);
  CliRun letters = Cli("scan --options DX " + In(dir), dir);
  EXPECT_EQ(letters.code, 2);
  EXPECT_NE(letters.err.find("DX"), std::string::npos);
  CliRun count = Cli("scan --deals 12abc " + In(dir), dir);
  EXPECT_EQ(count.code, 2);
  EXPECT_NE(count.err.find("whole number"), std::string::npos);
  CliRun notYet = Cli("show --options U " + In(dir), dir);
  EXPECT_EQ(notYet.code, 3);
  EXPECT_NE(notYet.err.find("(U)Korvan.dat"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "DataFiles" / "(U)Korvan.dat"));

  // A damaged deal is skipped, counted and named.
  std::string bytes = test::ReadWholeFile(dir / "Library.bin");
  bytes[26 * 6 + 20] = static_cast<char>(0xEE);
  test::WriteWholeFile(dir / "Library.bin", bytes);
  CliRun damaged = Cli("scan " + In(dir), dir);
  EXPECT_EQ(damaged.code, 4);
  EXPECT_NE(damaged.err.find("deal 7 of"), std::string::npos);
  EXPECT_NE(damaged.out.find("Table(none)Korvan"), std::string::npos);
}

TEST(Cli, AFileThatIsNoLibraryIsRefusedWithExitThreeAndAShortPassIsNeverReplayed) {
  test::ScratchFolder dir;
  test::WriteWholeFile(dir / "Library.bin", "");
  CliRun empty = Cli("scan " + In(dir), dir);
  EXPECT_EQ(empty.code, 3);
  EXPECT_NE(empty.err.find("holds no deal"), std::string::npos) << empty.err;
  EXPECT_FALSE(std::filesystem::exists(dir / "DataFiles" / "(none)Korvan.dat"));

  // A short pass leaves no cache; the whole scan after it says why it reads the library and
  // --deals given to a replay is said to be ignored.
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(130000, 78), 1);
  CliRun part = Cli("scan --deals 20000 " + In(dir), dir);
  ASSERT_EQ(part.code, 0) << part.err;
  CliRun whole = Cli("scan " + In(dir), dir);
  ASSERT_EQ(whole.code, 0) << whole.err;
  EXPECT_NE(whole.err.find("deals 1 to 130000"), std::string::npos) << whole.err;
  CliRun replay = Cli("scan --deals 5 " + In(dir), dir);
  ASSERT_EQ(replay.code, 0) << replay.err;
  EXPECT_NE(replay.err.find("--deals 5 is ignored"), std::string::npos) << replay.err;
  EXPECT_EQ(replay.out, whole.out);
  // Another library of the same size: the cache is deleted, and stderr says why.
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(130000, 79), 1);
  CliRun other = Cli("scan " + In(dir), dir);
  ASSERT_EQ(other.code, 0) << other.err;
  EXPECT_NE(other.err.find("made from another"), std::string::npos) << other.err;
  EXPECT_NE(other.out, whole.out);
}

TEST(Cli, CompareWritesEveryTallyFileRanksTheSetsAndDrawsTheChart) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(4000, 13), 1);
  CliRun run = Cli("compare --chart '" + (dir / "rank.png").string() + "' " + In(dir), dir);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("library pass"), std::string::npos);
  EXPECT_NE(run.out.find("3NT: Notrump 9 Tricks."), std::string::npos);
  EXPECT_NE(run.out.find("4S: Suit 10 Tricks."), std::string::npos);
  EXPECT_NE(run.out.find("(none)"), std::string::npos);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "DataFiles"))
    files += entry.path().filename().string().ends_with("Korvan.dat");
  EXPECT_EQ(files, 128);
  EXPECT_TRUE(std::filesystem::exists(dir / "DataFiles" / "HCPfreq.dat"));
  EXPECT_EQ(test::ReadWholeFile(dir / "rank.png").substr(1, 3), "PNG");
  // A compare's tally file is the one a scan with the same options writes.
  const std::string fromCompare = test::ReadWholeFile(dir / "DataFiles" / "(SBU)Korvan.dat");
  CliRun scan = Cli("scan --options SBU " + In(dir), dir);
  ASSERT_EQ(scan.code, 0) << scan.err;
  EXPECT_EQ(test::ReadWholeFile(dir / "DataFiles" / "(SBU)Korvan.dat"), fromCompare);

  CliRun json = Cli("compare --format json --lang ja " + In(dir), dir);
  ASSERT_EQ(json.code, 0) << json.err;
  auto j = nlohmann::json::parse(json.out);
  ASSERT_EQ(j["optionSets"].size(), 128u);
  EXPECT_EQ(j["ranking"]["3NT"].size(), 128u);
  for (const auto& set : j["optionSets"]) {
    ASSERT_EQ(set["curves"].size(), 6u);
    const auto& skill = set["curves"][4]["skill"];
    if (skill["low"].is_null()) continue;
    EXPECT_LE(skill["low"].get<double>(), skill["value"].get<double>());
    EXPECT_LE(skill["value"].get<double>(), skill["high"].get<double>());
  }
  EXPECT_EQ(j["optionSets"][0]["curves"][4]["label"], "ノートランプ 9 トリック");
  CliRun csv = Cli("compare --format csv " + In(dir), dir);
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 1 + 128 * 6);
  CliRun svg = Cli("compare --chart '" + (dir / "rank.gif").string() + "' " + In(dir), dir);
  EXPECT_EQ(svg.code, 2);
  EXPECT_FALSE(std::filesystem::exists(dir / "rank.gif"));
}

TEST(Cli, ShowCiPrintsAnIntervalAroundEverySuccessProbability) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(3000, 14), 1);
  ASSERT_EQ(Cli("scan " + In(dir), dir).code, 0);
  CliRun text = Cli("show --ci " + In(dir), dir);
  ASSERT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.out.find("  95 % low"), std::string::npos);
  EXPECT_NE(text.out.find("  95 % high"), std::string::npos);
  CliRun json = Cli("show --format json " + In(dir), dir);
  auto j = nlohmann::json::parse(json.out);
  int checked = 0;
  for (const auto& curve : j["curves"])
    // Above 30 points a share of 0 is shown as 100 %; the interval is of the share itself.
    for (int p = 20; p <= 30; ++p) {
      const auto& ci = curve["interval95"][std::to_string(p)];
      if (ci.is_null()) continue;
      const double v = curve["percent"][std::to_string(p)].get<double>();
      EXPECT_LE(ci[0].get<double>(), v + 0.05);
      EXPECT_GE(ci[1].get<double>(), v - 0.05);
      EXPECT_LT(ci[0].get<double>(), ci[1].get<double>());
      ++checked;
    }
  EXPECT_GT(checked, 40);
  // The scan's JSON carries them too.
  CliRun scan = Cli("scan --format json " + In(dir), dir);
  EXPECT_TRUE(nlohmann::json::parse(scan.out)["curves"][0].contains("interval95"));
}

}  // namespace
}  // namespace vk
