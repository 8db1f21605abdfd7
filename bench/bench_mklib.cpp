// Times the library builder against DDS alone: the same deals solved (a) by plain CalcAllTables
// batches, through the builder's DDS adapter, and (b) by the whole generate path: dealing,
// solving, encoding and writing with a sync after every batch. The two alternate in rounds so
// that a change of load on a shared machine falls on both alike.
//
// Usage: bench_mklib [deals (200)] [threads (0: one per core)]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "mklib/dds_solver.h"
#include "mklib/deal_stream.h"
#include "mklib/generate.h"

namespace fs = std::filesystem;
using namespace vk;

namespace {

constexpr uint64_t kSeed = 20261206;
constexpr int kRoundDeals = 2 * mklib::kDealsPerBatch;

double Since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

bool TimeSolveOnly(int64_t first, int64_t count, double& seconds, std::string& error) {
  std::vector<DealRecord> deals;
  for (int64_t k = first; k < first + count; ++k) deals.push_back(mklib::DealOfStream(kSeed, k));
  auto t0 = std::chrono::steady_clock::now();
  bool ok = mklib::SolveDeals(deals, error);
  seconds += Since(t0);
  return ok;
}

bool TimeGenerate(const fs::path& out, int64_t first, int64_t count, int threads, double& seconds, std::string& error) {
  mklib::GenerateOptions o;
  o.out = out;
  o.deals = count;
  o.seed = kSeed;
  o.first = first;
  o.threads = threads;
  o.report = nullptr;
  auto t0 = std::chrono::steady_clock::now();
  bool ok = mklib::Generate(o, error);
  seconds += Since(t0);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int64_t deals = argc > 1 ? std::max(1L, std::atol(argv[1])) : 200;
  const int threads = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;
  const int solverThreads = mklib::ConfigureSolver(threads);
  const fs::path folder = fs::temp_directory_path() / ("velkorvan-bench-mklib-" + std::to_string(::getpid()));
  fs::create_directories(folder);

  std::string error;
  double plain = 0, generate = 0;
  // Warm-up: DDS builds its per-thread tables on first use.
  double ignored = 0;
  bool ok = TimeSolveOnly(1000000, mklib::kDealsPerBatch, ignored, error);
  int round = 0;
  for (int64_t first = 1; ok && first <= deals; first += kRoundDeals, ++round) {
    int64_t count = std::min<int64_t>(kRoundDeals, deals - first + 1);
    fs::path out = folder / ("round" + std::to_string(round) + ".bin");
    // Alternate which of the two goes first.
    if (round % 2 == 0)
      ok = TimeSolveOnly(first, count, plain, error) && TimeGenerate(out, first, count, threads, generate, error);
    else
      ok = TimeGenerate(out, first, count, threads, generate, error) && TimeSolveOnly(first, count, plain, error);
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  if (!ok) {
    std::fprintf(stderr, "bench_mklib: %s\n", error.c_str());
    return 1;
  }

  double plainRate = static_cast<double>(deals) / plain;
  double generateRate = static_cast<double>(deals) / generate;
  double ratio = 100.0 * generateRate / plainRate;
  std::printf("velkorvan-mklib: %lld deals of seed %llu, %d DDS threads, %d alternating rounds\n",
              static_cast<long long>(deals), static_cast<unsigned long long>(kSeed), solverThreads, round);
  std::printf("  plain CalcAllTables batches        %8.2f deals/s  (%.1f s)\n", plainRate, plain);
  std::printf("  generate: deal+solve+encode+write  %8.2f deals/s  (%.1f s)\n", generateRate, generate);
  std::printf("  generate / plain                   %8.1f %%  (target >= 95 %%: %s)\n", ratio,
              ratio >= 95.0 ? "met" : "NOT met");
  return 0;
}
