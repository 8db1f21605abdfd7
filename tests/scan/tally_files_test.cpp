#include "scan/tally_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "deals/cache_file.h"
#include "test_support.h"

namespace vk {
namespace {

TEST(TallyFile, WritesZeroAsBlankZeroAndOtherValuesBetweenBlanks) {
  WeightTable w{};
  FillAll(w, 0.0f);
  w[-1][0][0] = 12.0f;
  w[-1][0][1] = 2.5f;  // halves to even: 2
  w[-1][0][2] = 3.5f;  // 4
  w[-1][0][3] = 0.4f;  // 0
  const std::string text = TallyFileText(w, 717102);
  EXPECT_EQ(text.substr(0, 10), " 717102 \r\n");
  const std::string firstValues = text.substr(10, 4 + 3 + 3 + 2 + 2);
  EXPECT_EQ(firstValues, " 12  2  4  0 0");
  // 29 lines, each ended by CR LF; no hand reached 40 points, so every line ends in " 0".
  int lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    ++lines;
    if (lines > 1) {
      EXPECT_EQ(text.substr(at - 2, 2), " 0");
    }
  }
  EXPECT_EQ(lines, 29);
}

TEST(TallyFile, ReadsBackEveryWrittenCell) {
  test::ScratchFolder dir;
  std::filesystem::create_directory(dir / "DataFiles");
  Tallies t;
  t.Clear();
  for (int c = -1; c <= 0; ++c)
    for (int tr = 0; tr <= 13; ++tr)
      for (int p = 0; p <= 40; ++p) t.HandWeight[c][tr][p] = static_cast<float>((c + 2) * 1000 + tr * 41 + p) / 2;
  std::string error;
  ASSERT_TRUE(Fout(dir.path(), "(DL)Korvan", t, 42, 0, error)) << error;
  CountTable counts{};
  ASSERT_TRUE(Fin(TallyFilePath(dir.path(), "(DL)Korvan"), counts, error)) << error;
  for (int c = -1; c <= 0; ++c)
    for (int tr = 0; tr <= 13; ++tr)
      for (int p = 0; p <= 40; ++p) ASSERT_EQ(counts[c][tr][p], RoundHalfEven(t.HandWeight[c][tr][p]));
  // No HCP was counted: no "HCPfreq.dat" full of zeros that would never be replaced.
  EXPECT_FALSE(std::filesystem::exists(HCPfreqFilePath(dir.path())));
}

TEST(TallyFile, MissingOrShortFilesAreReportedAndChangeNothing) {
  test::ScratchFolder dir;
  CountTable counts{};
  counts[0][10][25] = 7;
  std::string error;
  EXPECT_FALSE(Fin(dir / "missing.dat", counts, error));
  test::WriteWholeFile(dir / "short.dat", " 5 \r\n 1 2 3\r\n");
  EXPECT_FALSE(Fin(dir / "short.dat", counts, error));
  EXPECT_NE(error.find("short.dat"), std::string::npos);
  EXPECT_EQ(counts[0][10][25], 7);
}

TEST(HCPfreqFile, WrittenOnceInTheLanguageOfTheTimeAndReadByPosition) {
  test::ScratchFolder dir;
  std::filesystem::create_directory(dir / "DataFiles");
  Tallies t;
  t.Clear();
  t.HCPfreq[25] = 24583;
  t.HandWeight[0][10][25] = 1;
  std::string error;
  ASSERT_TRUE(Fout(dir.path(), "(none)Korvan", t, 1, 1, error)) << error;
  const std::string text = test::ReadWholeFile(HCPfreqFilePath(dir.path()));
  EXPECT_NE(text.find("\r\n25 24583\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_NE(text.find(" このファイルには, HCP による分布を記録しました｡\r\n"), std::string::npos);
  EXPECT_EQ(text.find("This file"), std::string::npos);
  // A later scan in English leaves the file alone.
  t.HCPfreq[25] = 1;
  ASSERT_TRUE(Fout(dir.path(), "(none)Korvan", t, 1, 0, error));
  EXPECT_EQ(test::ReadWholeFile(HCPfreqFilePath(dir.path())), text);
  // Extra blanks after the first word are trimmed away.
  test::WriteWholeFile(dir / "freq.dat", [] {
    std::string s;
    for (int h = 0; h <= 40; ++h) s += std::to_string(h) + "    " + std::to_string(h * 3) + "  \r\n";
    return s;
  }());
  HCPfreqTable freq{};
  ASSERT_TRUE(FinHCPfreq(dir / "freq.dat", freq, error));
  EXPECT_EQ(freq[40], 120);
}

TEST(NextWord, SplitsAtTheFirstBlankAndTrimsTheRest) {
  std::string text = "25   24583  ";
  EXPECT_EQ(NextWord(text), "25");
  EXPECT_EQ(text, "24583");
  EXPECT_EQ(NextWord(text), "24583");
  EXPECT_EQ(text, "");
}

TEST(TallyFile, WritingGoesThroughATemporaryNameThatIsRenamed) {
  test::ScratchFolder dir;
  // A folder standing where the temporary file would go makes the write fail before the
  // rename: the final name must keep its old contents.
  test::WriteWholeFile(dir / "result.dat", "old contents");
  std::filesystem::create_directory(dir / ("result.dat.part" + std::to_string(::getpid())));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir / "result.dat", "new", error));
  EXPECT_EQ(test::ReadWholeFile(dir / "result.dat"), "old contents");
  std::filesystem::remove(dir / ("result.dat.part" + std::to_string(::getpid())));
  ASSERT_TRUE(WriteFileAtomically(dir / "result.dat", "new", error));
  EXPECT_EQ(test::ReadWholeFile(dir / "result.dat"), "new");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace vk
