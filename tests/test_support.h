#pragma once
// Helpers shared by the test programs: scratch folders and hand-built deals.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "deals/library_writer.h"
#include "scan/scan_context.h"

namespace vk::test {

// A fresh empty folder for one test, removed when the object goes. Its path never contains
// "tmp" or "zip", which the desktop program refuses to run from.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Folder of the hand-built fixtures.
std::filesystem::path DataDir();

// A deal given as four hands in the text form "AKQ.JT9.876.5432" (West, North, East, South),
// with every trick value `tricks` unless changed afterwards.
DealRecord HandsToRecord(std::string_view west, std::string_view north, std::string_view east, std::string_view south,
                         int tricks = 7);

// Seeded random deals with random trick tables (not solved: for codec and scan cross-checks).
std::vector<DealRecord> RandomDeals(int count, uint64_t seed);

// A context as a fresh start of the program on the folder makes it: the data folder prepared
// (the cache checked, with a cache of fewer than `cacheMinimumSize` bytes deleted) and the library chosen.
ScanContext StartedContext(const std::filesystem::path& folder, int64_t cacheMinimumSize = kCacheMinimumSize);

// The bytes of a library of the kind (0 text, 1 binary) holding the deals.
std::string LibraryBytes(const std::vector<DealRecord>& deals, int32_t kind);
// Writes the deals as a library of the kind (0 text, 1 binary).
void WriteLibrary(const std::filesystem::path& file, const std::vector<DealRecord>& deals, int32_t kind);

std::string ReadWholeFile(const std::filesystem::path& file);
void WriteWholeFile(const std::filesystem::path& file, std::string_view bytes);

// A program run through the shell: its exit code (-1 when a signal ended it), stdout and stderr.
struct CommandOutcome {
  int code = -1;
  std::string out;
  std::string err;
};
// `errFile` holds stderr on the way.
CommandOutcome RunCommand(const std::string& command, const std::filesystem::path& errFile);

}  // namespace vk::test

#include "deals/deal.h"

namespace vk::test {
// The deal tables of a record, as the library reader fills them (holdings, HCP, trick texts).
Deal DecodedDeal(const DealRecord& record);
}  // namespace vk::test
