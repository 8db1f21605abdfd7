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
using vk::bench::Median;

namespace {

struct Timing {
  double wall, cpu;
};

double ProcessCpu() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Timing Seconds(const std::function<void()>& f) {
  const double c0 = ProcessCpu();
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), ProcessCpu() - c0};
}

Timing Medians(const std::vector<Timing>& runs) {
  std::vector<double> wall, cpu;
  for (const Timing& t : runs) {
    wall.push_back(t.wall);
    cpu.push_back(t.cpu);
  }
  return {Median(wall), Median(cpu)};
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path sample = argc > 1 ? fs::path(argv[1]) : fs::path("data/Library.bin");
  const char* home = std::getenv("HOME");
  const fs::path dir = fs::path(home ? home : ".") / ".velkorvan-bench-compare";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const bool haveSample = fs::exists(sample);
  vk::bench::MakeFullLibrary(haveSample ? sample : fs::path(), dir / "Library.bin");
  std::printf("comparison of all 128 option sets, %d deals built from %s\n", kFullLibrary,
              haveSample ? sample.string().c_str() : "seeded random deals (synthetic)");

  ScanContext ctx;
  ctx.folder = dir;
  std::string error;
  if (!PrepareDataFolder(ctx, error) || !ChooseLibrary(ctx)) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return 1;
  }
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
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("%ld cores, load average %.1f while measuring\n", sysconf(_SC_NPROCESSORS_ONLN), load[0]);
  std::printf("| measurement | median wall time of %d | median CPU time | against 128 single scans (wall) |\n", runs);
  std::printf("|---|---|---|---|\n");
  std::printf("| 128 single scans of the cache (%lld records), tally files written | %.3f s | %.3f s | 1 |\n",
              static_cast<long long>(records), single.wall, single.cpu);
  std::printf("| compare over the cache, 128 tally files and scores | %.3f s | %.3f s | %.3f |\n", cache.wall,
              cache.cpu, cache.wall / single.wall);
  std::printf("| compare over the library, cache written too | %.3f s | %.3f s | %.3f |\n", lib.wall, lib.cpu,
              lib.wall / single.wall);
  fs::remove_all(dir);
  return 0;
}
