// Times the scan engine on a full-size library of 717,102 deals made by repeating the records
// of the sample library (or, without one, seeded random deals, labelled synthetic):
// (a) a library pass with all seven options on, writing the cache; (b) a cache pass over that
// cache; (c) writing a tally file and reading it back. Medians of several runs.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "deals/cache_file.h"
#include "deals/library_writer.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"

namespace fs = std::filesystem;
using namespace vk;
using vk::bench::kFullLibrary;
using vk::bench::Medians;
using vk::bench::Timing;

namespace {
// This thread's processor time: what the engine costs when other work shares the cores.
Timing Seconds(const std::function<void()>& f) { return vk::bench::Seconds(CLOCK_THREAD_CPUTIME_ID, f); }
}  // namespace

int main(int argc, char** argv) {
  ScanContext ctx;
  if (!vk::bench::StartOnFullLibrary(argc, argv, ".velkorvan-bench", "scan engine", ctx)) return 1;
  std::string error;
  for (int i = 1; i <= 7; ++i) ctx.options[i] = true;
  ctx.SetupFilename();
  SilentScanUi ui;
  const int runs = 5;

  std::vector<Timing> library, cache, files;
  for (int r = 0; r < runs; ++r) {
    ctx.cache = CacheState{};
    library.push_back(Seconds([&] { Start(ctx, ui, 1, ctx.library.dealCount); }));
  }
  const auto cacheSize = static_cast<int64_t>(fs::file_size(ctx.DataFolder() / kCacheFileName));
  // As the next start of the program: the whole, stamped cache is accepted and replayed.
  if (!PrepareDataFolder(ctx, error) || ctx.cache.usable != 1) {
    std::fprintf(stderr, "bench: the cache of the library pass was not accepted: %s\n", ctx.cache.discarded.c_str());
    return 1;
  }
  for (int r = 0; r < runs; ++r) {
    cache.push_back(Seconds([&] { Start(ctx, ui, 1, ctx.library.dealCount); }));
  }
  CountTable counts{};
  for (int r = 0; r < runs; ++r)
    files.push_back(Seconds([&] {
      Fout(ctx.folder, ctx.names.resultBaseName, ctx.tallies, ctx.library.dealCount, 0, error);
      Fin(TallyFilePath(ctx.folder, ctx.names.resultBaseName), counts, error);
    }));

  const Timing lib = Medians(library), cac = Medians(cache), fio = Medians(files);
  vk::bench::PrintMachine();
  std::printf("| measurement | median wall time of %d | median CPU time | deals/s (CPU) |\n|---|---|---|---|\n", runs);
  std::printf("| library pass, all seven options, cache written | %.3f s | %.3f s | %.0f |\n", lib.wall, lib.cpu,
              kFullLibrary / lib.cpu);
  std::printf("| cache pass (%lld records) | %.4f s | %.4f s | %.0f |\n", static_cast<long long>(cacheSize / 4),
              cac.wall, cac.cpu, kFullLibrary / cac.cpu);
  std::printf("| Fout then Fin | %.5f s | %.5f s | |\n", fio.wall, fio.cpu);
  fs::remove_all(ctx.folder);
  return 0;
}
