#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

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
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')), "option_code,measure,class,tricks,points,value");

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

// Splits CSV text into records of fields (quoted fields may hold separators, quotes and breaks).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"')
        records.back().back() += c;
      else if (i + 1 < text.size() && text[i + 1] == '"')
        records.back().back() += text[++i];
      else
        quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      records.back().emplace_back();
    } else if (c == '\n') {
      records.emplace_back(1);
    } else if (c != '\r') {
      records.back().back() += c;
    }
  }
  if (records.back() == std::vector<std::string>(1)) records.pop_back();
  return records;
}

// The values of the text report keyed "measure class tricks points": the grid's rows (20..31
// points) and the six curves (20..40), each value the last columns of its line.
std::map<std::string, std::string> TextValues(const std::string& text) {
  struct Line {
    const char* measure;
    const char* cls;
    int tricks;
    int first;
    int last;
  };
  // Line numbers of the grid and the curves in the text report, top to bottom.
  const std::map<int, Line> lines = {{2, {"hands", "suit", 11, 20, 31}},
                                     {3, {"hands", "suit", 10, 20, 31}},
                                     {4, {"hands", "suit", 9, 20, 31}},
                                     {6, {"hands", "notrump", 9, 20, 31}},
                                     {7, {"hands", "notrump", 8, 20, 31}},
                                     {11, {"success_percent", "suit", 9, 20, 40}},
                                     {12, {"success_percent", "suit", 10, 20, 40}},
                                     {13, {"success_percent", "suit", 11, 20, 40}},
                                     {14, {"success_percent", "notrump", 8, 20, 40}},
                                     {15, {"success_percent", "notrump", 9, 20, 40}},
                                     {16, {"success_percent", "notrump", 12, 20, 40}}};
  std::map<std::string, std::string> values;
  std::istringstream in(text);
  std::string line;
  for (int n = 0; std::getline(in, line); ++n) {
    auto it = lines.find(n);
    if (it == lines.end()) continue;
    std::vector<std::string> words;
    std::istringstream split(line);
    for (std::string w; split >> w;) words.push_back(w);
    const Line& l = it->second;
    const std::size_t count = static_cast<std::size_t>(l.last - l.first + 1);
    if (words.size() < count) return {};
    for (int p = l.first; p <= l.last; ++p)
      values[std::string(l.measure) + " " + l.cls + " " + std::to_string(l.tricks) + " " + std::to_string(p)] =
          words[words.size() - count + static_cast<std::size_t>(p - l.first)];
  }
  return values;
}

TEST(Cli, CsvAndJsonCarryTheNumbersOfTheTextReport) {
  test::ScratchFolder dir;
  test::WriteLibrary(dir / "Library.bin", test::RandomDeals(3000, 5), 1);
  CliRun scan = Cli("scan --options DL --deals 2500 --format json " + In(dir), dir);
  ASSERT_EQ(scan.code, 0) << scan.err;
  CliRun text = Cli("show --options DL " + In(dir), dir);
  ASSERT_EQ(text.code, 0) << text.err;
  const std::map<std::string, std::string> expected = TextValues(text.out);
  ASSERT_EQ(expected.size(), 5u * 12 + 6u * 21) << text.out;

  CliRun csv = Cli("show --options DL --format csv " + In(dir), dir);
  ASSERT_EQ(csv.code, 0) << csv.err;
  const auto records = ParseCsv(csv.out);
  ASSERT_EQ(records.size(), expected.size() + 1);
  EXPECT_EQ(records[0], (std::vector<std::string>{"option_code", "measure", "class", "tricks", "points", "value"}));
  std::map<std::string, std::string> fromCsv;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const auto& f = records[i];
    ASSERT_EQ(f.size(), 6u) << i;
    EXPECT_EQ(f[0], "(DL)");
    fromCsv[f[1] + " " + f[2] + " " + f[3] + " " + f[4]] = f[5];
  }
  EXPECT_EQ(fromCsv, expected);

  for (const CliRun& run : {scan, Cli("show --options DL --format json " + In(dir), dir)}) {
    auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["optionCode"], "(DL)");
    EXPECT_EQ(j["library"], "Library.bin");
    EXPECT_EQ(j["dealCount"], 3000);
    std::map<std::string, std::string> fromJson;
    for (const auto& row : j["table"]["rows"])
      for (std::size_t i = 0; i < row["counts"].size(); ++i)
        fromJson["hands " + row["class"].get<std::string>() + " " + std::to_string(row["tricks"].get<int>()) + " " +
                 std::to_string(j["table"]["points"][i].get<int>())] = std::to_string(row["counts"][i].get<int>());
    for (const auto& curve : j["curves"])
      for (const auto& [points, percent] : curve["percent"].items()) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", percent.get<double>());
        fromJson["success_percent " + curve["class"].get<std::string>() + " " +
                 std::to_string(curve["tricks"].get<int>()) + " " + points] = buf;
      }
    EXPECT_EQ(fromJson, expected);
  }
  // The scan's JSON says what it read and skipped; show has no scan to tell of.
  auto j = nlohmann::json::parse(scan.out);
  EXPECT_EQ(j["scan"]["pass"], "library");
  EXPECT_EQ(j["scan"]["lastDeal"], 2500);
  EXPECT_EQ(j["scan"]["damagedDeals"], 0);
  EXPECT_EQ(j["scan"]["firstDamagedDeal"], 0);
  EXPECT_TRUE(nlohmann::json::parse(Cli("show --options DL --format json " + In(dir), dir).out)["scan"].is_null());
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
  CliRun damagedJson = Cli("scan --format json " + In(dir), dir);
  EXPECT_EQ(damagedJson.code, 4);
  auto j = nlohmann::json::parse(damagedJson.out);
  EXPECT_EQ(j["scan"]["damagedDeals"], 1);
  EXPECT_EQ(j["scan"]["firstDamagedDeal"], 7);
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
  CliRun csv = Cli("show --ci --format csv " + In(dir), dir);
  EXPECT_NE(csv.out.find(",success_percent_low95,notrump,9,24,"), std::string::npos);
  EXPECT_NE(csv.out.find(",success_percent_high95,suit,10,25,"), std::string::npos);
  // The scan's JSON carries them too.
  CliRun scan = Cli("scan --format json " + In(dir), dir);
  EXPECT_TRUE(nlohmann::json::parse(scan.out)["curves"][0].contains("interval95"));
}

}  // namespace
}  // namespace vk
