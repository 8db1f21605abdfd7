#include "scan/tallies.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scan/theo.h"

namespace vk {
namespace {

TEST(Theo, MatchesTheCombinatoricsOfTwentySixCards) {
  EXPECT_EQ(Combin(52, 26), 495918532948104.0);
  EXPECT_EQ(Combin(4, 0), 1.0);
  EXPECT_EQ(Combin(4, 4), 1.0);
  EXPECT_EQ(Combin(36, 37), 0.0);
  const TheoTable theo = MakeTheo();
  // Percentages with their printed precision.
  const std::pair<int, double> known[] = {{0, 0.0000513}, {5, 0.0427},  {10, 0.9547}, {15, 4.8919}, {19, 8.0468},
                                          {20, 8.2222},   {24, 5.9073}, {26, 3.8834}, {27, 2.9434}};
  for (auto [h, percent] : known) {
    EXPECT_NEAR(theo[h] * 100.0, percent, percent * 1e-3) << h;
    EXPECT_EQ(theo[h], theo[40 - h]) << h;
  }
  double sum = 0;
  for (float v : theo) {
    EXPECT_GT(v, 0.0f);
    sum += v;
  }
  EXPECT_NEAR(sum, 1.0, 1e-6);
}

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(0.4), 0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
}

TEST(UpdateWithProbability, CorrectedHandsAreWeightedAndClamped) {
  const TheoTable theo = MakeTheo();
  const TheoWeights w(theo);
  Tallies t;
  t.Clear();
  // Uncorrected hands count one each.
  EXPECT_EQ(UpdateWithProbability(t, w, 0, 0, 10, 25), 25);
  EXPECT_EQ(t.HandCount[0][10][25], 1);
  EXPECT_EQ(t.HandWeight[0][10][25], 1.0f);
  // Clamped at 40 and at 0, weighted by the theoretical ratio.
  EXPECT_EQ(UpdateWithProbability(t, w, 3, -1, 13, 39), 40);
  EXPECT_FLOAT_EQ(t.HandWeight[-1][13][40], theo[40] / theo[39]);
  EXPECT_EQ(UpdateWithProbability(t, w, -3, -1, 0, 1), 0);
  EXPECT_FLOAT_EQ(t.HandWeight[-1][0][0], theo[0] / theo[1]);
  // Lifted from 24 to 26: less than one hand; the count is the rounded weight.
  UpdateWithProbability(t, w, 2, 0, 9, 24);
  EXPECT_LT(t.HandWeight[0][9][26], 1.0f);
  EXPECT_EQ(t.HandCount[0][9][26], RoundHalfEven(t.HandWeight[0][9][26]));
  // A weighted hand then an unweighted one: the rounded weight plus one.
  const int before = t.HandCount[0][9][26];
  UpdateWithProbability(t, w, 0, 0, 9, 26);
  EXPECT_EQ(t.HandCount[0][9][26], before + 1);
}

TEST(UpdateWithProbability, HalfWeightsRoundToEven) {
  // A table in which moving from 20 to 21 points weighs exactly one half.
  TheoTable theo{};
  theo.fill(1.0f);
  theo[21] = 0.5f;
  const TheoWeights w(theo);
  Tallies t;
  t.Clear();
  UpdateWithProbability(t, w, 1, 0, 10, 20);
  EXPECT_EQ(t.HandCount[0][10][21], 0);  // 0.5 rounds to 0
  UpdateWithProbability(t, w, 1, 0, 10, 20);
  EXPECT_EQ(t.HandCount[0][10][21], 1);  // 1.0
}

}  // namespace
}  // namespace vk
