#pragma once
// One comparison of all 128 option sets: a single pass, over the cache when a scan would replay
// it and otherwise over the library (writing the cache and "HCPfreq.dat" as a library pass does),
// under the same rules as a scan: the same damaged-deal counting, refusals and stop flag. After a
// finished pass every set's tally file is written, each as the scan with that set would write it;
// a stopped or failed pass writes none.

#include <string>
#include <vector>

#include "compare/compare_stats.h"
#include "compare/option_set_tallies.h"
#include "scan/scan_driver.h"

namespace vk {

struct Comparison {
  ScanResult scan;                     // how the pass ended; Finished only when all files are written
  std::vector<OptionSetScore> scores;  // [set], filled after a finished pass
  int64_t records = 0;                 // cache records evaluated
  int groups = 0;                      // jackknife groups
};

// The option codes of sets 0..127.
std::vector<std::string> OptionSetCodes();

// Runs the pass for deals 1..Nend with `ui` as a scan's user interface. The context's option set
// is (none) during the pass and is restored afterwards.
Comparison CompareOptionSets(ScanContext& ctx, ScanUi& ui, int32_t Nend);

}  // namespace vk
