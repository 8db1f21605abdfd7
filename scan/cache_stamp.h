#pragma once
// "DataFiles/Korvan.stamp" says which library the deal cache was made from. It is written only
// after a library pass that covered every deal of the library, beside the cache and
// "HCPfreq.dat" of that pass; a cache without a stamp that matches the library, the cache
// itself and "HCPfreq.dat" is never replayed.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "deals/deal.h"

namespace vk {

inline constexpr const char* kCacheStampName = "Korvan.stamp";

// Size, modification time and a digest of the first, middle and last 64 KiB of a file (the
// whole file when it is smaller): enough to tell a replaced or rewritten file from the one seen.
struct FileFingerprint {
  int64_t size = -1;
  int64_t mtimeNs = 0;
  uint64_t digest = 0;
  bool operator==(const FileFingerprint&) const = default;
};
std::optional<FileFingerprint> Fingerprint(const std::filesystem::path& file);

struct CacheStamp {
  std::string library;  // file name of the library, beside the program
  FileFingerprint libraryPrint;
  int32_t deals = 0;
  int64_t records = 0;
  FileFingerprint cachePrint;
  FileFingerprint hcpfreqPrint;
  // Damaged deals the pass skipped: a replay reports them as the pass did.
  int64_t damagedDeals = 0;
  int32_t firstDamagedDeal = 0;
  DealDefect firstDefect = DealDefect::None;
};

std::string CacheStampText(const CacheStamp& stamp);
std::optional<CacheStamp> ParseCacheStamp(std::string_view text);

std::filesystem::path CacheStampPath(const std::filesystem::path& folder);

// Fingerprints the cache and "HCPfreq.dat" as they lie now and writes the stamp atomically.
bool WriteCacheStamp(const std::filesystem::path& folder, CacheStamp stamp, std::string& error);

// Reads the stamp and checks it against the library it names, the cache and "HCPfreq.dat" in
// the program folder. Returns the stamp, or an empty value with `why` saying what does not match.
std::optional<CacheStamp> MatchingCacheStamp(const std::filesystem::path& folder, std::string& why);

}  // namespace vk
