#include "compare/compare_stats.h"

#include <algorithm>

#include "results/success_prob.h"

namespace vk {

namespace {
int ClassRow(int curve) { return kSuccessCurves[static_cast<std::size_t>(curve)].cls + 1; }
}  // namespace

CurveSums& CurveSums::operator+=(const CurveSums& o) {
  for (std::size_t c = 0; c < total.size(); ++c)
    for (std::size_t p = 0; p < 41; ++p) total[c][p] += o.total[c][p];
  for (std::size_t k = 0; k < success.size(); ++k)
    for (std::size_t p = 0; p < 41; ++p) success[k][p] += o.success[k][p];
  return *this;
}

CurveSums& CurveSums::operator-=(const CurveSums& o) {
  for (std::size_t c = 0; c < total.size(); ++c)
    for (std::size_t p = 0; p < 41; ++p) total[c][p] -= o.total[c][p];
  for (std::size_t k = 0; k < success.size(); ++k)
    for (std::size_t p = 0; p < 41; ++p) success[k][p] -= o.success[k][p];
  return *this;
}

double CurveWeight(const CurveSums& sums, int curve) {
  double n = 0.0;
  for (double v : sums.total[static_cast<std::size_t>(ClassRow(curve))]) n += v;
  return n;
}

// Sums below this are taken as no hands: the difference of two running float sums may leave dust.
constexpr double kEmpty = 1e-6;

double BrierSkill(const CurveSums& sums, int curve) {
  const auto& total = sums.total[static_cast<std::size_t>(ClassRow(curve))];
  const auto& success = sums.success[static_cast<std::size_t>(curve)];
  double n = 0.0, s = 0.0, brier = 0.0;
  for (std::size_t p = 0; p < 41; ++p) {
    if (total[p] <= kEmpty) continue;
    n += total[p];
    s += success[p];
    // The hands at p predicted by their own share q: weight x q (1 - q) = s - s^2 / n.
    brier += success[p] - success[p] * success[p] / total[p];
  }
  if (n <= kEmpty) return kNoValue;
  const double rate = s / n;
  const double reference = rate * (1.0 - rate);
  if (reference <= 1e-12) return kNoValue;
  return 1.0 - (brier / n) / reference;
}

double SuccessThreshold(const CurveSums& sums, int curve, double level) {
  const auto& total = sums.total[static_cast<std::size_t>(ClassRow(curve))];
  const auto& success = sums.success[static_cast<std::size_t>(curve)];
  // Pool-adjacent-violators: blocks of neighbouring point counts whose pooled shares rise.
  struct Block {
    double weight, success;
    int first, last;
  };
  std::vector<Block> blocks;
  for (int p = 0; p <= 40; ++p) {
    if (total[static_cast<std::size_t>(p)] <= kEmpty) continue;
    blocks.push_back({total[static_cast<std::size_t>(p)], success[static_cast<std::size_t>(p)], p, p});
    while (blocks.size() >= 2) {
      Block& b = blocks[blocks.size() - 1];
      Block& a = blocks[blocks.size() - 2];
      if (a.success / a.weight < b.success / b.weight) break;
      a.weight += b.weight;
      a.success += b.success;
      a.last = b.last;
      blocks.pop_back();
    }
  }
  if (blocks.empty()) return kNoValue;
  // The fit at each point count with hands, in rising order.
  int prevPoint = -1;
  double prevFit = 0.0;
  for (const Block& b : blocks) {
    const double fit = b.success / b.weight;
    for (int p = b.first; p <= b.last; ++p) {
      if (total[static_cast<std::size_t>(p)] <= kEmpty) continue;
      if (fit >= level) {
        if (prevPoint < 0) return kNoValue;
        return prevPoint + (level - prevFit) / (fit - prevFit) * (p - prevPoint);
      }
      prevPoint = p;
      prevFit = fit;
    }
  }
  return kNoValue;
}

double StudentT975(int df) {
  if (df < 1) return kNoValue;
  // Exact for few degrees of freedom, then the Cornish-Fisher expansion around the normal quantile.
  static constexpr double small[] = {12.7062, 4.3027, 3.1824, 2.7764, 2.5706, 2.4469, 2.3646, 2.3060, 2.2622, 2.2281};
  if (df <= 10) return small[df - 1];
  const double z = 1.959963985, n = df;
  const double z3 = z * z * z, z5 = z3 * z * z, z7 = z5 * z * z;
  return z + (z3 + z) / (4 * n) + (5 * z5 + 16 * z3 + 3 * z) / (96 * n * n) +
         (3 * z7 + 19 * z5 + 17 * z3 - 15 * z) / (384 * n * n * n);
}

Estimate WilsonInterval(double successes, double total) {
  Estimate e;
  if (total <= 0.0) return e;
  const double z = 1.959963985, q = successes / total;
  const double denom = 1.0 + z * z / total;
  const double centre = (q + z * z / (2 * total)) / denom;
  const double half = z * std::sqrt(q * (1 - q) / total + z * z / (4 * total * total)) / denom;
  e.value = q;
  e.low = std::max(0.0, centre - half);
  e.high = std::min(1.0, centre + half);
  return e;
}

std::vector<OptionSetScore> ScoreOptionSets(const std::vector<std::vector<CurveSums>>& groups,
                                            const std::vector<std::string>& optionCodes) {
  const std::size_t sets = groups.size();
  const int G = sets == 0 ? 0 : static_cast<int>(groups[0].size());
  // values[set][leave-out + 1][curve][statistic]: skill, threshold 50 %, threshold 75 %.
  using Stats = std::array<std::array<double, 3>, kCurveCount>;
  std::vector<std::vector<Stats>> values(sets, std::vector<Stats>(static_cast<std::size_t>(G + 1)));
  std::vector<OptionSetScore> scores(sets);
  for (std::size_t s = 0; s < sets; ++s) {
    CurveSums all;
    for (const CurveSums& g : groups[s]) all += g;
    for (int leave = -1; leave < G; ++leave) {
      CurveSums sums = all;
      if (leave >= 0) sums -= groups[s][static_cast<std::size_t>(leave)];
      Stats& st = values[s][static_cast<std::size_t>(leave + 1)];
      for (int k = 0; k < kCurveCount; ++k)
        st[static_cast<std::size_t>(k)] = {BrierSkill(sums, k), SuccessThreshold(sums, k, 0.5),
                                           SuccessThreshold(sums, k, 0.75)};
    }
    scores[s].set = static_cast<int>(s);
    scores[s].optionCode = s < optionCodes.size() ? optionCodes[s] : "";
    for (int k = 0; k < kCurveCount; ++k) scores[s].curves[static_cast<std::size_t>(k)].weight = CurveWeight(all, k);
  }
  for (std::size_t s = 0; s < sets; ++s)
    for (std::size_t k = 0; k < kCurveCount; ++k) {
      auto stat = [&](std::size_t set, std::size_t which) {
        return [&, set, which](int leave) { return values[set][static_cast<std::size_t>(leave + 1)][k][which]; };
      };
      CurveScore& cs = scores[s].curves[k];
      cs.skill = JackknifeEstimate(G, stat(s, 0));
      cs.threshold50 = JackknifeEstimate(G, stat(s, 1));
      cs.threshold75 = JackknifeEstimate(G, stat(s, 2));
      cs.skillGain = JackknifeEstimate(G, [&](int leave) {
        const std::size_t i = static_cast<std::size_t>(leave + 1);
        return values[s][i][k][0] - values[0][i][k][0];
      });
    }
  return scores;
}

std::vector<int> RankBySkill(const std::vector<OptionSetScore>& scores, int curve) {
  std::vector<int> order(scores.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const double x = scores[static_cast<std::size_t>(a)].curves[static_cast<std::size_t>(curve)].skill.value;
    const double y = scores[static_cast<std::size_t>(b)].curves[static_cast<std::size_t>(curve)].skill.value;
    if (x == x && y == y) return x > y;
    return x == x && y != y;
  });
  return order;
}

}  // namespace vk
