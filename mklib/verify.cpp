#include "mklib/verify.h"

#include <algorithm>
#include <random>
#include <vector>

#include "deals/card_coding.h"
#include "deals/library_reader.h"
#include "mklib/dds_solver.h"
#include "mklib/library_files.h"
#include "mklib/progress.h"

namespace vk::mklib {

namespace {

// The first trick count the solver disagrees with, in the record's order of denominations.
bool SameTricks(const DealRecord& stored, const DealRecord& solved, int32_t dealNo, std::string& error) {
  const NameTables& names = Names();
  for (int d = -1; d <= 3; ++d)
    for (int p : {kNorth, kEast, kSouth, kWest}) {
      int have = stored.tricks[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(p)];
      int want = solved.tricks[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(p)];
      if (have != want) {
        std::string seat = names.PlayerName[p];
        seat.erase(std::remove(seat.begin(), seat.end(), ' '), seat.end());
        error = "deal " + NumText(dealNo) + ": with " + seat + " declaring in " + names.DenomName[d] +
                " the library gives the declaring side " + NumText(have) + " tricks, double dummy it takes " +
                NumText(want);
        return false;
      }
    }
  return true;
}

}  // namespace

bool VerifyLibrary(const VerifyOptions& o, std::string& error) {
  LibraryFile library;
  if (!OpenLibrary(o.file, library, error)) return false;
  const int32_t count = library.dealCount();
  auto named = [&o](const std::string& e) { return "\"" + o.file.string() + "\": " + e; };

  std::vector<DealRecord> deals(static_cast<std::size_t>(count));
  for (int32_t k = 1; k <= count; ++k)
    if (!ReadLibraryDeal(library, k, deals[static_cast<std::size_t>(k - 1)], error)) {
      error = named(error);
      return false;
    }
  if (o.report) std::fprintf(o.report, "%d deals: every hand holds 13 cards, every card once, tricks 0..13\n", count);

  uint64_t seed = o.sampleSeed ? *o.sampleSeed : std::random_device{}();
  std::mt19937_64 rng(seed);
  std::vector<int32_t> sample;
  // Selection sampling: each deal is taken with the chance (still needed) / (still left), which
  // gives every set of deals the same chance and keeps deal order, so the first mismatch found
  // is the lowest-numbered one of the sample.
  int64_t needed = std::min<int64_t>(std::max<int64_t>(o.sample, 0), count);
  for (int32_t k = 1; k <= count && needed > 0; ++k)
    if (std::uniform_int_distribution<int64_t>(0, count - k)(rng) < needed) {
      sample.push_back(k);
      --needed;
    }
  if (sample.empty()) return true;

  ConfigureSolver(o.threads);
  if (o.report)
    std::fprintf(o.report, "solving %zu deals again (sample seed %llu)\n", sample.size(),
                 static_cast<unsigned long long>(seed));
  Progress progress(o.report, "verify", static_cast<int64_t>(sample.size()), 0);
  std::vector<DealRecord> batch;
  for (std::size_t start = 0; start < sample.size(); start += kDealsPerBatch) {
    std::size_t n = std::min<std::size_t>(kDealsPerBatch, sample.size() - start);
    batch.clear();
    for (std::size_t i = 0; i < n; ++i) batch.push_back(deals[static_cast<std::size_t>(sample[start + i] - 1)]);
    if (!SolveDeals(batch, error)) {
      error = named(error);
      return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
      int32_t k = sample[start + i];
      if (!SameTricks(deals[static_cast<std::size_t>(k - 1)], batch[i], k, error)) {
        if (o.report) progress.Finish();
        error = named(error);
        return false;
      }
    }
    progress.Update(static_cast<int64_t>(start + n));
  }
  progress.Finish();
  if (o.report) std::fprintf(o.report, "all 20 trick counts of the %zu deals agree\n", sample.size());
  return true;
}

}  // namespace vk::mklib
