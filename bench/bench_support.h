#pragma once
// What the benchmarks share: a full-size library of 717,102 deals made by repeating the records
// of the sample library (or, without one, seeded random deals with random trick tables), and the
// median of the runs.

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "deals/library_reader.h"
#include "deals/library_writer.h"
#include "scan/scan_driver.h"

namespace vk::bench {

inline constexpr int32_t kFullLibrary = 717102;

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The sample library's records repeated to full size; false when there is no sample.
inline bool MakeFullLibrary(const std::filesystem::path& sample, const std::filesystem::path& out) {
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

struct Timing {
  double wall, cpu;
};

// Wall time and the processor time of the clock named (CLOCK_THREAD_CPUTIME_ID: what one engine
// thread costs when other work shares the cores; CLOCK_PROCESS_CPUTIME_ID: all threads).
inline Timing Seconds(clockid_t cpuClock, const std::function<void()>& f) {
  auto cpuNow = [cpuClock] {
    timespec ts{};
    clock_gettime(cpuClock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
  };
  const double c0 = cpuNow();
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), cpuNow() - c0};
}

inline Timing Medians(const std::vector<Timing>& runs) {
  std::vector<double> wall, cpu;
  for (const Timing& t : runs) {
    wall.push_back(t.wall);
    cpu.push_back(t.cpu);
  }
  return {Median(wall), Median(cpu)};
}

// A fresh folder ~/<folderName> with the full-size library built from the sample named by the
// first argument (default data/Library.bin), and a context started on it. Says on stdout what the
// benchmark measures and on what; false, with a message on stderr, when the context cannot start.
inline bool StartOnFullLibrary(int argc, char** argv, const char* folderName, const char* what, ScanContext& ctx) {
  namespace fs = std::filesystem;
  const fs::path sample = argc > 1 ? fs::path(argv[1]) : fs::path("data/Library.bin");
  const char* home = std::getenv("HOME");
  const fs::path dir = fs::path(home ? home : ".") / folderName;
  fs::remove_all(dir);
  fs::create_directories(dir);
  const bool haveSample = fs::exists(sample);
  MakeFullLibrary(haveSample ? sample : fs::path(), dir / "Library.bin");
  std::printf("%s, %d deals built from %s\n", what, kFullLibrary,
              haveSample ? sample.string().c_str() : "seeded random deals (synthetic)");
  ctx.folder = dir;
  std::string error;
  if (!PrepareDataFolder(ctx, error) || !ChooseLibrary(ctx)) {
    std::fprintf(stderr, "bench: %s\n", error.c_str());
    return false;
  }
  return true;
}

// The machine's cores and load, printed above the figures.
inline void PrintMachine() {
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("%ld cores, load average %.1f while measuring\n", sysconf(_SC_NPROCESSORS_ONLN), load[0]);
}

}  // namespace vk::bench
