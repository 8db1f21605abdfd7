#pragma once
// Checking a library: every record's cards and trick digits, and the trick tables of a random
// sample of deals solved again.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace vk::mklib {

struct VerifyOptions {
  std::filesystem::path file;
  int64_t sample = 100;                // deals to solve again; all of them when the library is smaller
  std::optional<uint64_t> sampleSeed;  // picks the sample; a fresh one each run when absent
  int threads = 0;
  std::FILE* report = stderr;  // what was checked, and progress; null for none
};

// False, with the deal number and what is wrong, at the first faulty record: first among all
// records for their cards and digits, then among the sample, in deal order, for the tricks.
bool VerifyLibrary(const VerifyOptions& options, std::string& error);

}  // namespace vk::mklib
