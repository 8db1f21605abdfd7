#pragma once
// What the benchmarks share: a full-size library of 717,102 deals made by repeating the records
// of the sample library (or, without one, seeded random deals with random trick tables), and the
// median of the runs.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "deals/library_reader.h"
#include "deals/library_writer.h"

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

}  // namespace vk::bench
