#pragma once
// One scan: over the library (writing the cache) or over the cache, with the deal counter,
// event processing and stop test every 100 deals or 200 cache records.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "scan/library_check.h"
#include "scan/scan_context.h"
#include "scan/scan_ui.h"

namespace vk {

enum class ScanOutcome {
  NotRun,    // Nstart > Nend: nothing changed
  Finished,  // tally file written
  Stopped,   // the stop flag was seen; no tally file
  Failed,    // a file could not be opened or written, or the library changed; `error` says which
  Refused,   // the library is no library (`refusal`); nothing was written
};

struct ScanResult {
  ScanOutcome outcome = ScanOutcome::NotRun;
  std::string error;  // for Failed and Refused, in the context's language for a refusal
  std::optional<LibraryRefusal> refusal;
};

ScanResult Start(ScanContext& ctx, ScanUi& ui, int32_t Nstart, int32_t Nend);

// A tally file written by a scan that skipped damaged deals or cache records has a note
// "DataFiles/<result base name>.skipped" beside it; the success log takes no figures from it.
inline constexpr const char* kSkippedNoteExtension = ".skipped";
bool HasSkippedNote(const std::filesystem::path& folder, std::string_view resultBaseName);

// Start-up decisions shared by every front end: the data folder exists, the cache check, and
// the library choice ("Library.bin" when present, otherwise "Library.asc") with its deal count.
// The cache is kept only when it is at least 1,000,000 bytes and its stamp matches the library
// it was made from, the cache and "HCPfreq.dat"; otherwise it is deleted and
// ctx.cache.discarded says why. Temporary caches of passes that were killed are removed.
bool PrepareDataFolder(ScanContext& ctx, std::string& error);
// True when a library file was found.
bool ChooseLibrary(ScanContext& ctx);

}  // namespace vk
