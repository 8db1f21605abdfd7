#include "compare/compare_stats.h"

#include <gtest/gtest.h>

#include <random>

namespace vk {
namespace {

// Notrump hands for the nine-trick curve at the given points: `hands` of them, `made` taking nine.
void AddNotrump(CurveSums& sums, int points, double hands, double made) {
  sums.total[0][static_cast<std::size_t>(points)] += hands;
  sums.success[kCurve3NT][static_cast<std::size_t>(points)] += made;
}

TEST(CompareStats, SkillAndThresholdsOfAHandMadeTallyMatchTheHandComputation) {
  CurveSums sums;
  AddNotrump(sums, 23, 4, 1);  // 25 %
  AddNotrump(sums, 24, 4, 2);  // 50 %
  AddNotrump(sums, 25, 2, 2);  // 100 %
  // Overall rate 5/10: reference Brier score 0.25. Own curve: (4 x 3/16 + 4 x 1/4 + 0) / 10 = 0.175.
  EXPECT_NEAR(BrierSkill(sums, kCurve3NT), 1.0 - 0.175 / 0.25, 1e-12);
  // 50 % is reached at 24 exactly; 75 % between 24 (50 %) and 25 (100 %): 24.5.
  EXPECT_NEAR(SuccessThreshold(sums, kCurve3NT, 0.5), 24.0, 1e-12);
  EXPECT_NEAR(SuccessThreshold(sums, kCurve3NT, 0.75), 24.5, 1e-12);
  EXPECT_DOUBLE_EQ(CurveWeight(sums, kCurve3NT), 10.0);

  // A dip at 26 (2 of 4) is pooled with 25 (2 of 2) to 4 of 6 = 2/3 for both; with one more hand
  // at 27 (1 of 1), 75 % lies between 26 (2/3) and 27 (1): 26 + (0.75 - 2/3) / (1/3) = 26.25.
  AddNotrump(sums, 26, 4, 2);
  AddNotrump(sums, 27, 1, 1);
  EXPECT_NEAR(SuccessThreshold(sums, kCurve3NT, 0.75), 26.25, 1e-12);
  // Without the pooling the dip would put 50 % at 24 and 75 % past 26; with it 50 % stays at 24.
  EXPECT_NEAR(SuccessThreshold(sums, kCurve3NT, 0.5), 24.0, 1e-12);
  // The other curves have no hands: nothing to score.
  EXPECT_TRUE(std::isnan(BrierSkill(sums, kCurve4S)));
  EXPECT_TRUE(std::isnan(SuccessThreshold(sums, kCurve4S, 0.5)));
}

TEST(CompareStats, UndefinedScoresAreNaNNotNumbers) {
  CurveSums all;
  AddNotrump(all, 25, 5, 5);  // every hand succeeds: no variance to explain
  EXPECT_TRUE(std::isnan(BrierSkill(all, kCurve3NT)));
  CurveSums never;
  AddNotrump(never, 20, 3, 0);
  AddNotrump(never, 21, 3, 1);
  EXPECT_TRUE(std::isnan(SuccessThreshold(never, kCurve3NT, 0.5)));  // never reaches 50 %
  EXPECT_TRUE(std::isnan(SuccessThreshold(all, kCurve3NT, 0.5)));    // already there at the lowest count
}

TEST(CompareStats, StudentQuantilesMatchTheTables) {
  EXPECT_NEAR(StudentT975(1), 12.706, 1e-3);
  EXPECT_NEAR(StudentT975(20), 2.0860, 2e-4);
  EXPECT_NEAR(StudentT975(31), 2.0395, 2e-4);
  EXPECT_NEAR(StudentT975(63), 1.9983, 2e-4);
}

// The true curve: success at p points with probability q(p); points uniform on 18..30.
double TrueShare(int p) { return 1.0 / (1.0 + std::exp(-(p - 24.5) * 0.6)); }

TEST(CompareStats, JackknifeIntervalsCoverTheTrueValuesAbout95PercentOfTheTime) {
  // The population values of the skill and the 50 % threshold.
  double brier = 0.0, rate = 0.0;
  for (int p = 18; p <= 30; ++p) {
    brier += TrueShare(p) * (1 - TrueShare(p)) / 13.0;
    rate += TrueShare(p) / 13.0;
  }
  const double trueSkill = 1.0 - brier / (rate * (1 - rate));
  const double trueThreshold = 24.5;  // q(24) < 0.5 < q(25), symmetric about 24.5

  std::mt19937_64 rng(20261206);
  std::uniform_int_distribution<int> points(18, 30);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // Weights as a corrected option set gives them: a hand counts between 0.4 and 2.5 hands.
  std::uniform_real_distribution<double> weight(0.4, 2.5);
  const int runs = 600, groups = 40, handsPerGroup = 60;
  int skillCovered = 0, thresholdCovered = 0, naiveCovered = 0;
  for (int run = 0; run < runs; ++run) {
    std::vector<CurveSums> g(groups);
    double n = 0.0, s = 0.0;
    for (auto& sums : g)
      for (int h = 0; h < handsPerGroup; ++h) {
        const int p = points(rng);
        const double w = weight(rng);
        const bool made = unit(rng) < TrueShare(p);
        AddNotrump(sums, p, w, made ? w : 0.0);
        n += w;
        s += made ? w : 0.0;
      }
    CurveSums all;
    for (const auto& x : g) all += x;
    auto skill = JackknifeEstimate(groups, [&](int leave) {
      CurveSums t = all;
      if (leave >= 0) t -= g[static_cast<std::size_t>(leave)];
      return BrierSkill(t, kCurve3NT);
    });
    auto threshold = JackknifeEstimate(groups, [&](int leave) {
      CurveSums t = all;
      if (leave >= 0) t -= g[static_cast<std::size_t>(leave)];
      return SuccessThreshold(t, kCurve3NT, 0.5);
    });
    ASSERT_TRUE(skill.HasInterval());
    skillCovered += skill.low <= trueSkill && trueSkill <= skill.high;
    thresholdCovered += threshold.HasInterval() && threshold.low <= trueThreshold && trueThreshold <= threshold.high;
    // The binomial interval that takes the weighted count for the number of hands.
    const Estimate naive = WilsonInterval(s, n);
    naiveCovered += naive.low <= rate && rate <= naive.high;
  }
  EXPECT_NEAR(skillCovered / double(runs), 0.95, 0.03);
  EXPECT_NEAR(thresholdCovered / double(runs), 0.95, 0.04);
  // It is too narrow: the weights make the hands fewer than their weighted count says.
  EXPECT_LT(naiveCovered / double(runs), 0.91);
}

TEST(CompareStats, GainsAgainstNoneAreZeroForNoneAndRankingPutsMissingSkillsLast) {
  std::vector<std::vector<CurveSums>> groups(3, std::vector<CurveSums>(4));
  for (std::size_t i = 0; i < 4; ++i) {
    AddNotrump(groups[0][i], 22, 10, 2 + static_cast<double>(i));
    AddNotrump(groups[0][i], 26, 10, 8);
    // Set 1 separates better: fewer make at 22, more at 26.
    AddNotrump(groups[1][i], 22, 10, 1);
    AddNotrump(groups[1][i], 26, 10, 9 - 0.5 * static_cast<double>(i));
  }  // set 2 has no hands
  const auto scores = ScoreOptionSets(groups, {"(none)", "(D)", "(L)"});
  EXPECT_DOUBLE_EQ(scores[0].curves[kCurve3NT].skillGain.value, 0.0);
  EXPECT_DOUBLE_EQ(scores[0].curves[kCurve3NT].skillGain.high, 0.0);
  EXPECT_GT(scores[1].curves[kCurve3NT].skillGain.value, 0.0);
  EXPECT_NEAR(scores[1].curves[kCurve3NT].skillGain.value,
              scores[1].curves[kCurve3NT].skill.value - scores[0].curves[kCurve3NT].skill.value, 1e-12);
  EXPECT_EQ(RankBySkill(scores, kCurve3NT), (std::vector<int>{1, 0, 2}));
}

}  // namespace
}  // namespace vk
