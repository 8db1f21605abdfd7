#include "compare/option_set_tallies.h"

#include <algorithm>
#include <thread>

#include "results/success_prob.h"

namespace vk {

OptionSet OptionSetAt(int index) {
  OptionSet set;
  for (int i = 1; i <= 7; ++i) set[i] = (index >> (i - 1) & 1) != 0;
  return set;
}

int OptionSetIndex(const OptionSet& options) {
  int index = 0;
  for (int i = 1; i <= 7; ++i)
    if (options[i]) index |= 1 << (i - 1);
  return index;
}

CurveSums SumCurves(const WeightTable& w) {
  CurveSums sums;
  for (int c = -1; c <= 0; ++c)
    for (int p = 0; p <= 40; ++p) {
      double total = 0.0;
      for (int t = 0; t <= 13; ++t) total += w[c][t][p];
      sums.total[static_cast<std::size_t>(c + 1)][static_cast<std::size_t>(p)] = total;
    }
  for (std::size_t k = 0; k < kSuccessCurves.size(); ++k) {
    const SuccessCurve& curve = kSuccessCurves[k];
    for (int p = 0; p <= 40; ++p) {
      double success = 0.0;
      for (int t = curve.tricks; t <= 13; ++t) success += w[curve.cls][t][p];
      sums.success[k][static_cast<std::size_t>(p)] = success;
    }
  }
  return sums;
}

OptionSetTallies::OptionSetTallies(const TheoWeights& weights) : theo_(weights), weights_(kOptionSetCount) {
  chunk_.reserve(kChunkRecords);
  halves_[0].firstMask = 0;
  halves_[0].lastMask = 32;
  halves_[1].firstMask = 32;
  halves_[1].lastMask = 64;
  Clear();
}

void OptionSetTallies::Clear() {
  for (WeightTable& w : weights_) FillAll(w, 0.0f);
  chunk_.clear();
  for (Half& h : halves_) {
    h.done = 0;
    h.groupSize = 64;
    h.marks.clear();
    h.markedRecords = 0;
  }
}

int OptionSetTallies::SetOf(const Half& half, std::size_t local) const {
  const int masks = half.lastMask - half.firstMask;
  const int i = static_cast<int>(local);
  return i < masks ? half.firstMask + i : (half.firstMask + i - masks) | 64;
}

void OptionSetTallies::EvaluateChunk() {
  if (chunk_.empty()) return;
  std::thread helper([this] { Evaluate(halves_[1], chunk_.data(), chunk_.size()); });
  Evaluate(halves_[0], chunk_.data(), chunk_.size());
  helper.join();
  chunk_.clear();
}

void OptionSetTallies::Evaluate(Half& half, const CacheRecord* records, std::size_t count) {
  // Group ends fall at multiples of the group size, wherever the chunks begin.
  while (count > 0) {
    const int64_t nextEnd = (half.done / half.groupSize + 1) * half.groupSize;
    const std::size_t take =
        static_cast<std::size_t>(std::min<int64_t>(static_cast<int64_t>(count), nextEnd - half.done));
    Kernel(half, records, take);
    records += take;
    count -= take;
    half.done += static_cast<int64_t>(take);
    if (half.done == nextEnd) Mark(half);
  }
}

void OptionSetTallies::Mark(Half& half) {
  const std::size_t n = LocalSets(half);
  if (half.marks.capacity() < kMaxGroups * n) half.marks.reserve(kMaxGroups * n);
  for (std::size_t i = 0; i < n; ++i)
    half.marks.push_back(SumCurves(weights_[static_cast<std::size_t>(SetOf(half, i))]));
  half.markedRecords = half.done;
  if (half.marks.size() / n == kMaxGroups) {
    // Keep every second mark, in place: the groups pair up and double in size.
    for (std::size_t m = 1; m < kMaxGroups; m += 2)
      std::copy(half.marks.begin() + static_cast<std::ptrdiff_t>(m * n),
                half.marks.begin() + static_cast<std::ptrdiff_t>((m + 1) * n),
                half.marks.begin() + static_cast<std::ptrdiff_t>(m / 2 * n));
    half.marks.resize(kMaxGroups / 2 * n);
    half.groupSize *= 2;
  }
}

void OptionSetTallies::Kernel(const Half& half, const CacheRecord* records, std::size_t count) {
  const auto& ratio = theo_.ratio;
  for (std::size_t r = 0; r < count; ++r) {
    const CacheRecord& rec = records[r];
    const int hcp = rec[0] & 63, tricks = rec[1];
    if (hcp > 40 || tricks > 13) continue;  // a damaged record is never tallied
    const int cls = (rec[0] & 128) ? -1 : 0;
    const bool flag = (rec[0] & 64) != 0;
    // Signed corrections of options 1..6, and the total of every subset of them.
    const int value[6] = {rec[2] >> 4,          rec[2] & 15,       -((rec[3] >> 6) & 3),
                          -((rec[3] >> 4) & 3), (rec[3] >> 2) & 3, -(rec[3] & 3)};
    int corr[64];
    corr[0] = 0;
    for (int m = 1; m < 64; ++m) corr[m] = corr[m & (m - 1)] + value[__builtin_ctz(static_cast<unsigned>(m))];
    for (int m = half.firstMask; m < half.lastMask; ++m) {
      int p = hcp + corr[m];
      p = p < 0 ? 0 : p > 40 ? 40 : p;
      // Theo(p) / Theo(hcp) is exactly 1 when p = hcp, the weight of an uncorrected hand.
      const float w = ratio[p][hcp];
      weights_[static_cast<std::size_t>(m)][cls][tricks][p] += w;
      if (flag) weights_[static_cast<std::size_t>(m | 64)][cls][tricks][p] += w;
    }
  }
}

void OptionSetTallies::Finish() {
  EvaluateChunk();
  for (Half& half : halves_) {
    if (half.done == half.markedRecords) continue;
    const std::size_t n = LocalSets(half);
    // A short last group joins the one before it.
    if (half.done - half.markedRecords < half.groupSize / 2 && half.marks.size() >= n)
      half.marks.resize(half.marks.size() - n);
    for (std::size_t i = 0; i < n; ++i)
      half.marks.push_back(SumCurves(weights_[static_cast<std::size_t>(SetOf(half, i))]));
    half.markedRecords = half.done;
  }
}

std::vector<std::vector<CurveSums>> OptionSetTallies::Groups() const {
  std::vector<std::vector<CurveSums>> groups(kOptionSetCount);
  for (const Half& half : halves_) {
    const std::size_t n = LocalSets(half), marks = half.marks.size() / n;
    for (std::size_t i = 0; i < n; ++i) {
      auto& g = groups[static_cast<std::size_t>(SetOf(half, i))];
      CurveSums before;
      for (std::size_t m = 0; m < marks; ++m) {
        CurveSums at = half.marks[m * n + i];
        CurveSums diff = at;
        diff -= before;
        g.push_back(diff);
        before = at;
      }
    }
  }
  return groups;
}

}  // namespace vk
