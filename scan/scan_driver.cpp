#include "scan/scan_driver.h"

#include <unistd.h>

#include <cmath>
#include <system_error>

#include "deals/card_coding.h"
#include "scan/per_deal_evaluation.h"
#include "scan/tally_files.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

void NoteDamagedDeal(ScanReport& report, int32_t dealNo, DealDefect defect) {
  if (report.damagedDeals++ == 0) {
    report.firstDamagedDeal = dealNo;
    report.firstDefect = defect;
  }
}

std::string ChangedMessage(const LibraryFile& library) {
  return "\"" + library.path().string() +
         "\" changed during the scan (shortened, rewritten or replaced); nothing was written and the deal cache of "
         "this pass was discarded";
}

// Returns false when the pass could not go on; `error` says why.
bool LibraryPass(ScanContext& ctx, ScanUi& ui, const LibraryFile& library, CacheWriter& cache, int32_t Nstart,
                 int32_t Nend, std::string& error) {
  std::error_code ec;
  PassIo io{ui, &cache, fs::exists(ctx.folder / kFailLogName, ec)};
  int32_t DealNo = Nstart;
  while (DealNo <= Nend) {
    if (DealNo % 100 == 0) {
      ui.ShowCounter(NumText(DealNo));
      ui.ProcessEvents();
      if (ctx.stopFlag != 0) break;
      if (ctx.tableState == kTableNone) ui.EnableReShowTable();
    }
    const ReadStatus status = MainProc(library, DealNo, ctx.deal, ctx.analysis);
    if (status == ReadStatus::Changed) {
      error = ChangedMessage(library);
      return false;
    }
    if (status == ReadStatus::PastEnd) {
      // The count asked for runs past the library: the pass ends with its last deal.
      ctx.report.reachedLibraryEnd = true;
      break;
    }
    if (status == ReadStatus::Malformed || ctx.deal.damaged) {
      NoteDamagedDeal(ctx.report, DealNo, status == ReadStatus::Malformed ? DealDefect::CardCount : ctx.deal.defect);
    } else {
      for (int32_t k = 0; k <= 1; ++k) {
        ctx.corrections.fill(0);
        const int32_t hcp = PairHCP(ctx.deal, k);
        if (k == 0) ctx.tallies.HCPfreq[hcp] += 1;
        EvaluatePair(ctx, io, k, hcp);
      }
    }
    ++DealNo;
  }
  ctx.report.lastDeal = DealNo - 1;
  ui.ShowCounter(NumText(DealNo - 1));
  if (!library.Unchanged()) {
    error = ChangedMessage(library);
    return false;
  }
  return true;
}

bool CachePass(ScanContext& ctx, ScanUi& ui, std::string& error) {
  CacheReader reader;
  if (!reader.Open(ctx.DataFolder() / kCacheFileName, ctx.cache.size, error)) return false;
  ctx.report.cachePass = true;
  const double records = static_cast<double>(ctx.cache.size / 4);
  int32_t RecCount = 0;
  for (;;) {
    ctx.corrections.fill(0);
    ++RecCount;
    if (RecCount % 200 == 0) {
      ui.ProcessEvents();
      const double dealsSoFar = records > 0 ? RecCount / records * ctx.library.dealCount : 0.0;
      ui.ShowCounter(NumText(static_cast<int32_t>(std::floor(dealsSoFar + 0.5))));
      if (ctx.stopFlag != 0) break;
      if (ctx.tableState == kTableNone) ui.EnableReShowTable();
    }
    reader.GetRec25bin(RecCount, ctx.currentRecord);
    if (RecCount < 0) {
      ui.ShowCounter(ui.DealsToScanText());
      break;
    }
    ctx.report.recordsRead = RecCount;
    if (!Korvancommon(ctx, ui) && ctx.report.damagedRecords++ == 0) ctx.report.firstDamagedRecord = RecCount;
  }
  if (reader.failed()) {
    error = "the deal cache \"" + (ctx.DataFolder() / kCacheFileName).string() +
            "\" lost records during the scan; start the program again to make a new one";
    return false;
  }
  // The deals the library pass skipped are skipped again by the replay.
  const CacheStamp& stamp = ctx.cacheStamp;
  ctx.report.damagedDeals = stamp.damagedDeals;
  ctx.report.firstDamagedDeal = stamp.firstDamagedDeal;
  ctx.report.firstDefect = stamp.firstDefect;
  ctx.report.wholeLibrary = true;
  return true;
}

// The cache accepted at start-up is replayed only while it still belongs to the library in use:
// a click on the library name, or a library replaced since start-up, makes it a library pass.
bool ReplayCache(ScanContext& ctx) {
  if (ctx.cache.usable != 1) return false;
  const auto print = Fingerprint(ctx.folder / ctx.library.fileName);
  if (ctx.cacheStamp.library == ctx.library.fileName && print && *print == ctx.cacheStamp.libraryPrint) return true;
  ctx.report.libraryPassReason = "the deal cache was made from another library than \"" + ctx.library.fileName + "\"";
  return false;
}

std::filesystem::path SkippedNotePath(const ScanContext& ctx) {
  return ctx.DataFolder() / (ctx.names.resultBaseName + kSkippedNoteExtension);
}

// Writes the tally file, and for a pass over the whole library "HCPfreq.dat", the cache and its
// stamp; a tally file from a scan that skipped deals gets a note beside it.
bool SaveFinishedScan(ScanContext& ctx, CacheWriter& cache, const LibraryFile& library, std::string& error) {
  const bool whole = cache.isOpen() && ctx.report.wholeLibrary;
  if (!Fout(ctx.folder, ctx.names.resultBaseName, ctx.tallies, ctx.library.dealCount, ctx.language, error, whole))
    return false;
  const ScanReport& rep = ctx.report;
  std::error_code ec;
  if (rep.damagedDeals + rep.damagedRecords > 0) {
    std::string note = "skipped-deals " + std::to_string(rep.damagedDeals) + " " +
                       std::to_string(rep.firstDamagedDeal) + "\r\nskipped-cache-records " +
                       std::to_string(rep.damagedRecords) + " " + std::to_string(rep.firstDamagedRecord) + "\r\n";
    std::string ignored;
    WriteFileAtomically(SkippedNotePath(ctx), note, ignored);
  } else {
    fs::remove(SkippedNotePath(ctx), ec);
  }
  if (!whole) return true;
  CacheStamp stamp;
  stamp.library = library.path().filename().string();
  stamp.deals = library.dealCount();
  stamp.records = cache.recordsWritten();
  stamp.damagedDeals = rep.damagedDeals;
  stamp.firstDamagedDeal = rep.firstDamagedDeal;
  stamp.firstDefect = rep.firstDefect;
  const auto print = Fingerprint(library.path());
  std::string cacheError;
  // A cache that cannot be put in place or stamped is only lost time: the next scan reads the
  // library again. The tally file is right either way.
  if (!print || !cache.Commit(cacheError)) return true;
  stamp.libraryPrint = *print;
  if (!WriteCacheStamp(ctx.folder, stamp, cacheError)) fs::remove(ctx.DataFolder() / kCacheFileName, ec);
  return true;
}

}  // namespace

bool HasSkippedNote(const fs::path& folder, std::string_view resultBaseName) {
  std::error_code ec;
  return fs::exists(folder / kDataFolder / (std::string(resultBaseName) + kSkippedNoteExtension), ec);
}

ScanResult Start(ScanContext& ctx, ScanUi& ui, int32_t Nstart, int32_t Nend) {
  ScanResult result;
  ctx.report = ScanReport{};
  const bool replay = ReplayCache(ctx);
  LibraryFile library;
  if (!replay) {
    // A file that is no library is refused before anything changes.
    if (!library.Open(ctx.folder / ctx.library.fileName, ctx.library.kind, result.error)) {
      result.outcome = ScanOutcome::Failed;
      return result;
    }
    if ((result.refusal = CheckLibraryShape(library))) {
      result.outcome = ScanOutcome::Refused;
      result.error = RefusalMessage(*result.refusal, ctx.language);
      return result;
    }
  }
  if (Nstart > Nend) return result;
  ctx.tallies.Clear();
  ui.LoadTab();
  ui.DisableButtons();

  CacheWriter cache;
  bool ran = false;
  if (replay) {
    ran = CachePass(ctx, ui, result.error);
  } else if (cache.Open(ctx.DataFolder() / kCacheFileName, result.error)) {
    ran = LibraryPass(ctx, ui, library, cache, Nstart, Nend, result.error);
    ctx.report.wholeLibrary = ran && Nstart == 1 && ctx.report.lastDeal == library.dealCount();
  }
  const int64_t dealsRead = ctx.report.lastDeal - Nstart + 1;
  if (!ran) {
    result.outcome = ScanOutcome::Failed;
  } else if (ctx.stopFlag != 0) {
    result.outcome = ScanOutcome::Stopped;
  } else if (!replay && MostlyDamaged(ctx.report.damagedDeals, dealsRead)) {
    LibraryRefusal refusal;
    refusal.kind = LibraryRefusal::Kind::MostlyDamaged;
    refusal.file = library.path().string();
    refusal.damaged = ctx.report.damagedDeals;
    refusal.looked = dealsRead;
    refusal.firstDamagedDeal = ctx.report.firstDamagedDeal;
    refusal.firstDefect = ctx.report.firstDefect;
    result.error = RefusalMessage(refusal, ctx.language);
    result.refusal = refusal;
    result.outcome = ScanOutcome::Refused;
  } else if (SaveFinishedScan(ctx, cache, library, result.error)) {
    result.outcome = ScanOutcome::Finished;
    ui.ScanFinished();
  } else {
    result.outcome = ScanOutcome::Failed;
  }
  cache.Discard();
  ui.EnableButtons();
  ui.EnableDisableButtons();
  return result;
}

bool PrepareDataFolder(ScanContext& ctx, std::string& error) {
  const fs::path data = ctx.DataFolder();
  std::error_code ec;
  if (!fs::exists(data, ec)) fs::create_directory(data, ec);
  if (ec || !fs::is_directory(data, ec)) {
    error = "the data folder \"" + data.string() + "\" cannot be created" + (ec ? ": " + ec.message() : "");
    return false;
  }
  if (::access(data.c_str(), W_OK | X_OK) != 0) {
    error = "the data folder \"" + data.string() + "\" cannot be written";
    return false;
  }
  ctx.cache = CheckCacheAtStartup(data, ctx.cacheMinimumSize);
  RemoveStaleParts(data);
  if (ctx.cache.usable == 1) {
    std::string why;
    if (auto stamp = MatchingCacheStamp(ctx.folder, why)) {
      ctx.cacheStamp = *stamp;
    } else {
      fs::remove(data / kCacheFileName, ec);
      ctx.cache.usable = 0;
      ctx.cache.discarded = why;
    }
  }
  if (ctx.cache.usable != 1) fs::remove(CacheStampPath(ctx.folder), ec);
  return true;
}

bool ChooseLibrary(ScanContext& ctx) {
  std::error_code ec;
  ctx.library = LibraryChoice{};
  // A folder that merely carries a library's name is no library.
  if (!fs::is_regular_file(ctx.folder / kBinLibraryName, ec) && fs::is_regular_file(ctx.folder / kAscLibraryName, ec))
    ctx.library = ChoiceForFile(kAscLibraryName);
  const fs::path file = ctx.folder / ctx.library.fileName;
  if (!fs::is_regular_file(file, ec)) return false;
  ctx.library.size = static_cast<int64_t>(fs::file_size(file, ec));
  if (ec) return false;
  ctx.library.dealCount = DealCountFor(ctx.library.size, ctx.library.recordLength);
  return true;
}

}  // namespace vk
