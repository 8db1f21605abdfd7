#pragma once
// How well a point count predicts success, with 95 % confidence intervals.
//
// For each success curve (contract class and tricks needed), the skill of an option set is the
// Brier skill score of predicting each hand's success by the curve's own probability at the hand's
// point count, against predicting the class's overall success rate for every hand: 1 is perfect
// foresight, 0 no better than the overall rate. It equals the share of the variance of success
// that the point count explains. The thresholds are the point counts at which success first
// reaches 50 % and 75 %, read from the monotone (isotonic) fit of the curve and interpolated
// between neighbouring point counts.
//
// Intervals come from a delete-a-group jackknife: the hands are split into groups of consecutive
// deals, each statistic is recomputed with one group left out at a time, and the spread of those
// values gives its standard error; the interval is the estimate plus or minus Student's t for
// (groups - 1) degrees of freedom times that error. Because every statistic is recomputed from
// the weighted sums, the weights of corrected hands and the correlation of the hands of one deal
// enter the interval as they are, which a binomial interval on the weighted counts would miss.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace vk {

inline constexpr int kCurveCount = 6;
// The curves the ranking is made for: notrump nine tricks (3NT) and a suit ten tricks (4S).
inline constexpr int kCurve3NT = 4;
inline constexpr int kCurve4S = 1;

// Weighted sums of one option set over some hands, for the six success curves of the graph:
// the weight of the hands of each contract class with each point count, and of those among them
// that take the curve's tricks.
struct CurveSums {
  std::array<std::array<double, 41>, 2> total{};              // [class + 1][points]
  std::array<std::array<double, 41>, kCurveCount> success{};  // [curve][points]
  CurveSums& operator+=(const CurveSums& other);
  CurveSums& operator-=(const CurveSums& other);
};

// The hands' weight of a curve's class.
double CurveWeight(const CurveSums& sums, int curve);
// Brier skill score of the curve; NaN when the class has no hands or all succeed or all fail.
double BrierSkill(const CurveSums& sums, int curve);
// Point count at which the isotonic fit of the curve first reaches `level` (0..1), interpolated
// linearly; NaN when it never does or already does at the lowest point count with hands.
double SuccessThreshold(const CurveSums& sums, int curve, double level);

inline constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct Estimate {
  double value = kNoValue;
  double low = kNoValue;
  double high = kNoValue;
  bool HasValue() const { return value == value; }
  bool HasInterval() const { return low == low && high == high; }
};

// Student's t quantile for the two-sided 95 % interval with `df` degrees of freedom.
double StudentT975(int df);

// Jackknife interval of a statistic. `statistic(g)` is its value with group g left out, and
// `statistic(-1)` its value on all groups. No interval with fewer than two groups or when a
// leave-one-out value is undefined.
template <typename F>
Estimate JackknifeEstimate(int groups, F&& statistic);

struct CurveScore {
  double weight = 0.0;   // weighted hands of the curve's class
  Estimate skill;        // Brier skill score
  Estimate skillGain;    // skill minus the skill of (none) on the same deals
  Estimate threshold50;  // points where success reaches 50 %
  Estimate threshold75;
};

struct OptionSetScore {
  int set = 0;             // option set number (bit i - 1 is option i)
  std::string optionCode;  // "(DL)"
  std::array<CurveScore, kCurveCount> curves{};
};

// Scores every option set from its groups' sums ([set][group], the same groups for every set);
// set 0 must be (none), the reference of the gains.
std::vector<OptionSetScore> ScoreOptionSets(const std::vector<std::vector<CurveSums>>& groups,
                                            const std::vector<std::string>& optionCodes);

// Option sets by falling skill on a curve; sets without a skill come last.
std::vector<int> RankBySkill(const std::vector<OptionSetScore>& scores, int curve);

// Wilson score interval of a share `successes` of `total` (unweighted hands), 95 %.
Estimate WilsonInterval(double successes, double total);

template <typename F>
Estimate JackknifeEstimate(int groups, F&& statistic) {
  Estimate e;
  e.value = statistic(-1);
  if (!e.HasValue() || groups < 2) return e;
  std::vector<double> values(static_cast<std::size_t>(groups));
  double mean = 0.0;
  for (int g = 0; g < groups; ++g) {
    values[static_cast<std::size_t>(g)] = statistic(g);
    if (values[static_cast<std::size_t>(g)] != values[static_cast<std::size_t>(g)]) return e;
    mean += values[static_cast<std::size_t>(g)];
  }
  mean /= groups;
  double ss = 0.0;
  for (double v : values) ss += (v - mean) * (v - mean);
  const double se = std::sqrt(ss * (groups - 1) / groups);
  const double half = StudentT975(groups - 1) * se;
  e.low = e.value - half;
  e.high = e.value + half;
  return e;
}

}  // namespace vk
