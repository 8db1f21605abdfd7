#pragma once
// One scan: over the library (writing the cache) or over the cache, with the deal counter,
// event processing and stop test every 100 deals or 200 cache records.

#include <cstdint>
#include <string>

#include "scan/scan_context.h"
#include "scan/scan_ui.h"

namespace vk {

enum class ScanOutcome {
  NotRun,    // Nstart > Nend: nothing changed
  Finished,  // tally file written
  Stopped,   // the stop flag was seen; no tally file
  Failed,    // a file could not be opened or written; `error` says which
};

struct ScanResult {
  ScanOutcome outcome = ScanOutcome::NotRun;
  std::string error;
};

ScanResult Start(ScanContext& ctx, ScanUi& ui, int32_t Nstart, int32_t Nend);

// Start-up decisions shared by every front end: the data folder exists, the cache check, and
// the library choice ("Library.bin" when present, otherwise "Library.asc") with its deal count.
bool PrepareDataFolder(ScanContext& ctx, std::string& error);
// True when a library file was found.
bool ChooseLibrary(ScanContext& ctx);

}  // namespace vk
