// Times the comparison of all 128 option sets on a full-size library of 717,102 deals (the
// sample library repeated): over the cache and over the library (which writes the cache), against
// 128 single scans of the cache measured in the same run. Medians of five runs, wall and CPU time
// of the whole process (the comparison uses two threads).
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "compare/compare_run.h"
#include "scan/scan_driver.h"

namespace fs = std::filesystem;
using namespace vk;
using vk::bench::kFullLibrary;
using vk::bench::Medians;
using vk::bench::Timing;

namespace {
Timing Seconds(const std::function<void()>& f) { return vk::bench::Seconds(CLOCK_PROCESS_CPUTIME_ID, f); }
}  // namespace

int main(int argc, char** argv) {
  ScanContext ctx;
  if (!vk::bench::StartOnFullLibrary(argc, argv, ".velkorvan-bench-compare", "comparison of all 128 option sets", ctx))
    return 1;
  std::string error;
  SilentScanUi ui;
  const int runs = 5;
  std::vector<Timing> fromLibrary, fromCache, singles;
  int64_t records = 0;
  for (int r = 0; r < runs; ++r) {
    ctx.cache = CacheState{};
    fs::remove(ctx.DataFolder() / kCacheFileName);
    fromLibrary.push_back(Seconds([&] {
      if (CompareOptionSets(ctx, ui, ctx.library.dealCount).scan.outcome != ScanOutcome::Finished) std::exit(1);
    }));
  }
  // The next start of the program finds the whole cache and replays it.
  if (!PrepareDataFolder(ctx, error) || ctx.cache.usable != 1) {
    std::fprintf(stderr, "bench: the cache written is not replayed\n");
    return 1;
  }
  for (int r = 0; r < runs; ++r)
    fromCache.push_back(Seconds([&] {
      const Comparison c = CompareOptionSets(ctx, ui, ctx.library.dealCount);
      if (c.scan.outcome != ScanOutcome::Finished) std::exit(1);
      records = c.records;
    }));
  for (int r = 0; r < runs; ++r)
    singles.push_back(Seconds([&] {
      for (int s = 0; s < kOptionSetCount; ++s) {
        ctx.options = OptionSetAt(s);
        ctx.SetupFilename();
        if (Start(ctx, ui, 1, ctx.library.dealCount).outcome != ScanOutcome::Finished) std::exit(1);
      }
    }));

  const Timing lib = Medians(fromLibrary), cache = Medians(fromCache), single = Medians(singles);
  vk::bench::PrintMachine();
  std::printf("| measurement | median wall time of %d | median CPU time | against 128 single scans (wall) |\n", runs);
  std::printf("|---|---|---|---|\n");
  std::printf("| 128 single scans of the cache (%lld records), tally files written | %.3f s | %.3f s | 1 |\n",
              static_cast<long long>(records), single.wall, single.cpu);
  std::printf("| compare over the cache, 128 tally files and scores | %.3f s | %.3f s | %.3f |\n", cache.wall,
              cache.cpu, cache.wall / single.wall);
  std::printf("| compare over the library, cache written too | %.3f s | %.3f s | %.3f |\n", lib.wall, lib.cpu,
              lib.wall / single.wall);
  fs::remove_all(ctx.folder);
  return 0;
}
