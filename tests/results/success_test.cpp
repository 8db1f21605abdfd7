#include <gtest/gtest.h>

#include "results/success_log.h"
#include "results/success_prob.h"
#include "test_support.h"

namespace vk {
namespace {

TEST(GetSuccessProb, ShareOfHandsTakingAtLeastTTricks) {
  CountTable counts{};
  counts[0][8][25] = 1;
  counts[0][9][25] = 1;
  counts[0][10][25] = 2;
  const SuccessProbTable prob = GetSuccessProb(counts);
  EXPECT_FLOAT_EQ(prob[0][0][25], 1.0f);
  EXPECT_FLOAT_EQ(prob[0][9][25], 0.75f);
  EXPECT_FLOAT_EQ(prob[0][10][25], 0.5f);
  EXPECT_FLOAT_EQ(prob[0][11][25], 0.0f);
  EXPECT_FLOAT_EQ(prob[-1][0][25], 0.0f);  // no notrump hands at all
  // Without hands: drawn at 100 % above 30 points, 0 % at or below.
  EXPECT_FLOAT_EQ(CurveValue(prob, 0, 9, 31), 100.0f);
  EXPECT_FLOAT_EQ(CurveValue(prob, 0, 9, 30), 0.0f);
  EXPECT_FLOAT_EQ(CurveValue(prob, 0, 9, 25), 75.0f);
}

SuccessProbTable Table(float nt, float suit) {
  SuccessProbTable prob{};
  for (int p = 24; p <= 27; ++p) {
    prob[-1][9][p] = nt;
    prob[0][10][p] = suit;
  }
  return prob;
}

TEST(SuccessLog, HeaderOnceThenOneLinePerOptionCode) {
  test::ScratchFolder dir;
  const auto log = dir / kSuccessLogName;
  std::string error;
  EXPECT_EQ(SaveResult(log, "(none)", 0, Table(1.0f, 0.0f), error), LogResult::Appended);
  EXPECT_EQ(SaveResult(log, "(none)", 1, Table(0.5f, 0.5f), error), LogResult::AlreadyLogged);
  EXPECT_EQ(SaveResult(log, "(DL)", 1, Table(0.1234f, 0.5f), error), LogResult::Appended);
  EXPECT_EQ(test::ReadWholeFile(log),
            SuccessLogHeader(0) + "(none)     [3NT] 100.0, 100.0, 100.0, 100.0  [4S] 0.0, 0.0, 0.0, 0.0\r\n" +
                "(DL)       [3NT] 12.3, 12.3, 12.3, 12.3  [4S] 50.0, 50.0, 50.0, 50.0\r\n");
  EXPECT_EQ(SuccessLogHeader(0).substr(0, 53), "  Every time you draw a figure using this software, \r");
}

TEST(SuccessLog, JapaneseHeaderAndExistingEmptyFile) {
  test::ScratchFolder dir;
  std::string error;
  ASSERT_EQ(SaveResult(dir / "a.txt", "(U)", 1, Table(0.25f, 0.75f), error), LogResult::Appended);
  EXPECT_EQ(test::ReadWholeFile(dir / "a.txt").rfind("    このソフトウェアを使って", 0), 0u);
  // An empty file gets the record without a header.
  test::WriteWholeFile(dir / "b.txt", "");
  ASSERT_EQ(SaveResult(dir / "b.txt", "(U)", 0, Table(0.25f, 0.75f), error), LogResult::Appended);
  EXPECT_EQ(test::ReadWholeFile(dir / "b.txt"),
            "(U)        [3NT] 25.0, 25.0, 25.0, 25.0  [4S] 75.0, 75.0, 75.0, 75.0\r\n");
  // A folder that cannot hold the log reports failure.
  EXPECT_EQ(SaveResult(dir / "missing" / "c.txt", "(U)", 0, Table(0, 0), error), LogResult::Failed);
}

}  // namespace
}  // namespace vk
