#pragma once
// Everything a scan works on, owned by whoever runs scans (the main window, the headless
// scanner, a test) and passed by reference: the current deal and its analysis, the
// corrections, the tallies, the library and cache choices and the flags through which the
// windows talk to the scan.

#include <cstdint>
#include <filesystem>
#include <string>

#include "deals/cache_file.h"
#include "deals/deal.h"
#include "deals/deal_analysis.h"
#include "deals/library_reader.h"
#include "evaluation/corrections.h"
#include "evaluation/options.h"
#include "scan/cache_stamp.h"
#include "scan/tallies.h"
#include "scan/theo.h"

namespace vk {

// Table-window states.
inline constexpr int32_t kTableNone = 0;    // no table window is being fed
inline constexpr int32_t kTableShown = 1;   // shown and receiving live updates
inline constexpr int32_t kTableHidden = 2;  // hidden with its Hide Table button
inline constexpr int32_t kTableReShow = 4;  // scan running without a table; Show Table re-enabled

// What the last scan read and skipped.
struct ScanReport {
  int64_t damagedDeals = 0;
  int32_t firstDamagedDeal = 0;
  DealDefect firstDefect = DealDefect::None;
  int64_t damagedRecords = 0;
  int32_t firstDamagedRecord = 0;
  int32_t lastDeal = 0;     // last library deal evaluated (library pass)
  int32_t recordsRead = 0;  // cache records evaluated (cache pass)
  bool cachePass = false;
  bool reachedLibraryEnd = false;  // the requested count ran past the last deal
  bool wholeLibrary = false;       // every deal of the library was read (or replayed)
  std::string libraryPassReason;   // why a cache found at start-up was not replayed
};

struct ScanContext {
  // The program folder: the library lies in it, the results in its "DataFiles".
  std::filesystem::path folder;
  std::filesystem::path DataFolder() const { return folder / kDataFolder; }

  LibraryChoice library;
  CacheState cache;
  CacheStamp cacheStamp;  // of the cache start-up accepted
  // A smaller cache is deleted at start-up; tests lower it to keep their libraries small.
  int64_t cacheMinimumSize = kCacheMinimumSize;
  TheoTable Theo = MakeTheo();
  TheoWeights weights{Theo};
  int32_t language = 0;  // 0 English, 1 Japanese

  // The option set, filled by the front end from its option buttons, and its names.
  OptionSet options;
  OptionNames names = vk::SetupFilename(OptionSet{});

  // The current deal, its analysis and the corrections of the contract being evaluated.
  Deal deal;
  Analysis analysis;
  Corrections corrections{};
  CacheRecord currentRecord{};

  Tallies tallies;

  int32_t stopFlag = 0;
  int32_t tableState = kTableNone;

  ScanReport report;

  // Rebuilds the option code and result base name from `options`.
  void SetupFilename() { names = vk::SetupFilename(options); }
};

}  // namespace vk
