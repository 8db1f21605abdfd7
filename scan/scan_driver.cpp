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

void NoteDamagedDeal(ScanReport& report, int32_t dealNo) {
  if (report.damagedDeals++ == 0) report.firstDamagedDeal = dealNo;
}

// Returns false when the pass could not run; `error` says why.
bool LibraryPass(ScanContext& ctx, ScanUi& ui, int32_t Nstart, int32_t Nend, std::string& error) {
  CacheWriter cache;
  if (!cache.Open(ctx.DataFolder() / kCacheFileName, error)) return false;
  LibraryFile library;
  if (!library.Open(ctx.folder / ctx.library.fileName, ctx.library.kind, error)) return false;

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
    if (status == ReadStatus::PastEnd) {
      // The count asked for runs past the library: the pass ends with its last deal.
      ctx.report.reachedLibraryEnd = true;
      break;
    }
    if (status == ReadStatus::Malformed || ctx.deal.damaged) {
      NoteDamagedDeal(ctx.report, DealNo);
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
  library.Close();
  ctx.report.lastDeal = DealNo - 1;
  ui.ShowCounter(NumText(DealNo - 1));
  return cache.Close(error);
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
  return true;
}

}  // namespace

ScanResult Start(ScanContext& ctx, ScanUi& ui, int32_t Nstart, int32_t Nend) {
  ScanResult result;
  if (Nstart > Nend) return result;
  ctx.tallies.Clear();
  ctx.report = ScanReport{};
  ui.LoadTab();
  ui.DisableButtons();

  const bool ran = ctx.cache.usable == 1 ? CachePass(ctx, ui, result.error)
                                         : LibraryPass(ctx, ui, Nstart, Nend, result.error);
  if (!ran) {
    result.outcome = ScanOutcome::Failed;
  } else if (ctx.stopFlag != 0) {
    result.outcome = ScanOutcome::Stopped;
  } else if (Fout(ctx.folder, ctx.names.resultBaseName, ctx.tallies, ctx.library.dealCount, ctx.language,
                  result.error)) {
    result.outcome = ScanOutcome::Finished;
    ui.ScanFinished();
  } else {
    result.outcome = ScanOutcome::Failed;
  }
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
  ctx.cache = CheckCacheAtStartup(data);
  return true;
}

bool ChooseLibrary(ScanContext& ctx) {
  std::error_code ec;
  ctx.library = LibraryChoice{};
  if (!fs::exists(ctx.folder / kBinLibraryName, ec) && fs::exists(ctx.folder / kAscLibraryName, ec))
    ctx.library = ChoiceForFile(kAscLibraryName);
  const fs::path file = ctx.folder / ctx.library.fileName;
  if (!fs::is_regular_file(file, ec)) return false;
  ctx.library.size = static_cast<int64_t>(fs::file_size(file, ec));
  if (ec) return false;
  ctx.library.dealCount = DealCountFor(ctx.library.size, ctx.library.recordLength);
  return true;
}

}  // namespace vk
