#pragma once
// Making a library, or one part of it: deals a range of the seeded stream, solves it and
// appends the records to the output, batch by batch, so that a run stopped at any moment can
// be continued by running the same command again.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vk::mklib {

// The seed of the sample library shipped in data/.
inline constexpr uint64_t kSampleSeed = 20261206;

struct GenerateOptions {
  std::filesystem::path out;  // ".bin" or ".asc": the record form follows the name
  int64_t deals = 0;          // deals in the finished part
  uint64_t seed = kSampleSeed;
  int64_t first = 1;           // stream number of the part's first deal
  int threads = 0;             // DDS threads; 0 one per core
  std::FILE* report = stderr;  // progress and notes; null for none
};

// Runs until the part holds `deals` records. An existing output with M whole records made
// from the same seed and first deal is continued at deal first + M (a partial record at its
// end is cut off first); one made otherwise is refused.
bool Generate(const GenerateOptions& options, std::string& error);

}  // namespace vk::mklib
