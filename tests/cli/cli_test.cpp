#include <gtest/gtest.h>
#include <sys/wait.h>

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

}  // namespace
}  // namespace vk
