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

#include "deals/cache_file.h"
#include "deals/library_writer.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"

namespace fs = std::filesystem;
using namespace vk;

namespace {

constexpr int32_t kFullLibrary = 717102;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Medians {
  double wall, cpu;
};

struct Timing {
  double wall;
  double cpu;  // this thread's processor time: what the engine costs when other work shares the cores
};

double ThreadCpu() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Timing Seconds(const std::function<void()>& f) {
  const double c0 = ThreadCpu();
  auto t0 = std::chrono::steady_clock::now();
  f();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), ThreadCpu() - c0};
}

// The sample library's records repeated to full size; false when there is no sample.
bool MakeFullLibrary(const fs::path& sample, const fs::path& out) {
  std::ifstream in(sample, std::ios::binary);
  std::string records((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  records.resize(records.size() / kBinRecordLength * kBinRecordLength);
  std::string full;
  full.reserve(static_cast<std::size_t>(kFullLibrary) * kBinRecordLength);
  if (records.empty()) {
    // Seeded random deals with random trick tables.
    uint64_t x = 0x9E3779B97F4A7C15ull;
    auto next = [&x] {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      return x;
    };
    for (int k = 0; k < 20000; ++k) {
      DealRecord r;
      int8_t pack[52];
      for (int i = 0; i < 52; ++i) pack[i] = static_cast<int8_t>(i / 13);
      for (int i = 51; i > 0; --i) std::swap(pack[i], pack[next() % static_cast<uint64_t>(i + 1)]);
      for (int c = 0; c < 52; ++c)
        r.owner[static_cast<std::size_t>(c / 13)][static_cast<std::size_t>(c % 13)] = pack[c];
      for (auto& d : r.tricks)
        for (auto& t : d) t = static_cast<int8_t>(next() % 14);
      auto bytes = EncodeBinRecord(r);
      records.append(bytes.begin(), bytes.end());
    }
  }
  while (full.size() < static_cast<std::size_t>(kFullLibrary) * kBinRecordLength)
    full.append(records, 0,
                std::min(records.size(), static_cast<std::size_t>(kFullLibrary) * kBinRecordLength - full.size()));
  std::ofstream(out, std::ios::binary).write(full.data(), static_cast<std::streamsize>(full.size()));
  return in.good() || !records.empty();
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path sample = argc > 1 ? fs::path(argv[1]) : fs::path("data/Library.bin");
  const char* home = std::getenv("HOME");
  const fs::path dir = fs::path(home ? home : ".") / ".velkorvan-bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const bool haveSample = fs::exists(sample);
  MakeFullLibrary(haveSample ? sample : fs::path(), dir / "Library.bin");
  std::printf("scan engine, %d deals built from %s\n", kFullLibrary,
              haveSample ? sample.string().c_str() : "seeded random deals (synthetic)");

  ScanContext ctx;
  ctx.folder = dir;
  std::string error;
  if (!PrepareDataFolder(ctx, error) || !ChooseLibrary(ctx)) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return 1;
  }
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

  auto medians = [](const std::vector<Timing>& t) {
    std::vector<double> wall, cpu;
    for (const Timing& x : t) {
      wall.push_back(x.wall);
      cpu.push_back(x.cpu);
    }
    return Medians{Median(wall), Median(cpu)};
  };
  const Medians lib = medians(library), cac = medians(cache), fio = medians(files);
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("%ld cores, load average %.1f while measuring\n", sysconf(_SC_NPROCESSORS_ONLN), load[0]);
  std::printf("| measurement | median wall time of %d | median CPU time | deals/s (CPU) |\n|---|---|---|---|\n", runs);
  std::printf("| library pass, all seven options, cache written | %.3f s | %.3f s | %.0f |\n", lib.wall, lib.cpu,
              kFullLibrary / lib.cpu);
  std::printf("| cache pass (%lld records) | %.4f s | %.4f s | %.0f |\n", static_cast<long long>(cacheSize / 4),
              cac.wall, cac.cpu, kFullLibrary / cac.cpu);
  std::printf("| Fout then Fin | %.5f s | %.5f s | |\n", fio.wall, fio.cpu);
  fs::remove_all(dir);
  return 0;
}
