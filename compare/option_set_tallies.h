#pragma once
// All 128 option sets evaluated from one stream of cache records. Each record is applied to each
// set exactly as a cache pass applies it to the set in force (the same 32-bit float sums, record
// after record), so each set's weights are those a scan with that set ends with and its tally
// file is byte for byte the scan's. Records are evaluated in chunks on two threads, each owning
// half of the sets and so adding to each of its tallies in record order. Memory does not grow
// with the library: one chunk of records, the tallies, and the curve sums at no more than 64
// evenly spaced record numbers for the confidence intervals.

#include <cstdint>
#include <string>
#include <vector>

#include "compare/compare_stats.h"
#include "evaluation/options.h"
#include "scan/record_sink.h"
#include "scan/tallies.h"

namespace vk {

inline constexpr int kOptionSetCount = 128;
// Option set number n has option i on when bit i - 1 of n is set: 0 is (none), 127 (DLSBACU).
OptionSet OptionSetAt(int index);
int OptionSetIndex(const OptionSet& options);

// The curve sums of one set's weights.
CurveSums SumCurves(const WeightTable& weights);

class OptionSetTallies : public RecordSink {
 public:
  explicit OptionSetTallies(const TheoWeights& weights);
  void Take(const CacheRecord& record) override {
    chunk_.push_back(record);
    if (chunk_.size() == kChunkRecords) EvaluateChunk();
  }
  // Evaluates the records still waiting and closes the last group.
  void Finish();
  // Forgets everything taken so far.
  void Clear();

  const WeightTable& Weights(int set) const { return weights_[static_cast<std::size_t>(set)]; }
  int64_t records() const { return halves_[0].done; }
  // The curve sums of each group of consecutive records, [set][group]: the jackknife's units.
  std::vector<std::vector<CurveSums>> Groups() const;

  static constexpr std::size_t kChunkRecords = 1 << 15;
  static constexpr std::size_t kMaxGroups = 64;

 private:
  // The sets whose options 1..6 form the masks first..last - 1, each with and without option 7.
  struct Half {
    int firstMask = 0, lastMask = 0;
    int64_t done = 0;              // records evaluated
    int64_t groupSize = 64;        // records per group; doubles whenever kMaxGroups groups are full
    std::vector<CurveSums> marks;  // cumulative sums at each group's end, [mark][local set]
    int64_t markedRecords = 0;     // records covered by the marks
  };
  void EvaluateChunk();
  void Evaluate(Half& half, const CacheRecord* records, std::size_t count);
  void Kernel(const Half& half, const CacheRecord* records, std::size_t count);
  void Mark(Half& half);
  std::size_t LocalSets(const Half& half) const {
    return static_cast<std::size_t>(2 * (half.lastMask - half.firstMask));
  }
  int SetOf(const Half& half, std::size_t local) const;

  const TheoWeights& theo_;
  std::vector<WeightTable> weights_;
  std::vector<CacheRecord> chunk_;
  Half halves_[2];
};

}  // namespace vk
