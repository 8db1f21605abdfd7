// velkorvan-cli: the scan engine without windows. Same files and folder layout as the desktop
// program: the library beside it, results in "DataFiles".
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "apps/command_line.h"
#include "cli/compare_report.h"
#include "cli/report.h"
#include "cli/terminal_progress.h"
#include "compare/compare_chart.h"
#include "compare/compare_run.h"
#include "results/graph_export.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"

namespace {

using namespace vk;

enum ExitCode { kOk = 0, kUsage = apps::kExitBadArguments, kFailed = 3, kDamaged = 4, kStopped = 130 };

constexpr const char* kExitCodes =
    "  0    done\n"
    "  2    bad arguments\n"
    "  3    a missing library or tally file, a file that cannot be read or written, or a library\n"
    "       refused as not a library (empty, text lines not 89 bytes, most deals damaged, changed\n"
    "       during the scan); the message names the file\n"
    "  4    the scan finished but skipped damaged deals or cache records, named on stderr\n"
    "  130  stopped (Ctrl-C); no tally file written";

struct Common {
  std::string dir = ".";
  std::string options;
  std::string format = "text";
  std::string lang = "en";
};

int Fail(const std::string& message, int code = kFailed) {
  std::cerr << "velkorvan-cli: " << message << "\n";
  return code;
}

// Reads the folder, options, format and language into a context ready for a scan or a report.
int Prepare(const Common& c, ScanContext& ctx, cli::Format& format, bool needLibrary) {
  auto options = ParseOptionLetters(c.options);
  if (!options) return Fail("unknown option letters \"" + c.options + "\": use any of DLSBACU", kUsage);
  auto f = cli::ParseFormat(c.format);
  if (!f) return Fail("unknown format \"" + c.format + "\": use text, csv or json", kUsage);
  format = *f;
  if (c.lang != "en" && c.lang != "ja") return Fail("unknown language \"" + c.lang + "\": use en or ja", kUsage);
  ctx.language = c.lang == "ja" ? 1 : 0;
  if (c.dir.empty()) return Fail("--dir names no folder (give . for the current folder)", kUsage);
  std::error_code ec;
  ctx.folder = std::filesystem::absolute(c.dir, ec).lexically_normal();
  if (ec || !std::filesystem::is_directory(ctx.folder, ec)) {
    const bool exists = !ec && std::filesystem::exists(ctx.folder, ec);
    return Fail((exists ? "\"" + c.dir + "\" is not a folder" : "no folder \"" + c.dir + "\"") + " (--dir)", kUsage);
  }
  ctx.options = *options;
  ctx.SetupFilename();
  if (!ChooseLibrary(ctx) && needLibrary)
    return Fail("no library in \"" + ctx.folder.string() +
                "\": neither Library.bin nor Library.asc (make one with velkorvan-mklib generate)");
  return kOk;
}

int PrintFromTallyFile(ScanContext& ctx, cli::Format format, const std::optional<ScanReport>& scan, bool ci = false) {
  cli::Report r;
  r.ci = ci;
  r.optionCode = ctx.names.optionCode;
  r.resultBaseName = ctx.names.resultBaseName;
  r.library = ctx.library.fileName;
  r.dealCount = ctx.library.dealCount;
  r.language = ctx.language;
  r.scan = scan;
  std::string error;
  const auto file = TallyFilePath(ctx.folder, ctx.names.resultBaseName);
  if (!std::filesystem::exists(file))
    return Fail("no tally file \"" + file.string() + "\": scan with these options first");
  if (!Fin(file, r.counts, error)) return Fail(error);
  r.prob = GetSuccessProb(r.counts);
  std::cout << cli::FormatReport(r, format);
  return kOk;
}

// The number of deals of --deals, by default the whole library.
int ParseDeals(const ScanContext& ctx, const std::string& dealsText, int32_t& deals) {
  deals = ctx.library.dealCount;
  if (dealsText.empty()) return kOk;
  std::size_t used = 0;
  long long n = 0;
  try {
    n = std::stoll(dealsText, &used);
  } catch (...) {
    used = 0;
  }
  if (used != dealsText.size() || n < 0 || n > INT32_MAX)
    return Fail("--deals takes a whole number of deals, not \"" + dealsText + "\"", kUsage);
  deals = static_cast<int32_t>(n);
  return kOk;
}

// Names the damaged deals and cache records a finished pass skipped; the exit code says whether any were.
int ReportSkipped(const ScanContext& ctx) {
  const ScanReport& rep = ctx.report;
  if (rep.damagedDeals > 0)
    Fail(std::to_string(rep.damagedDeals) + " damaged deal(s) skipped, the first is deal " +
         std::to_string(rep.firstDamagedDeal) + " of " + (ctx.folder / ctx.library.fileName).string() + ": " +
         DealDefectText(rep.firstDefect, 0));
  if (rep.damagedRecords > 0)
    Fail(std::to_string(rep.damagedRecords) + " damaged cache record(s) skipped, the first is record " +
         std::to_string(rep.firstDamagedRecord) + " of " + (ctx.DataFolder() / kCacheFileName).string());
  return rep.damagedDeals + rep.damagedRecords > 0 ? kDamaged : kOk;
}

// What a pass (a scan or a comparison) needs before it starts: the arguments read, the data folder
// ready, and on stderr what the cache found at start means for the pass.
int PreparePass(const Common& c, const std::string& dealsText, const char* pass, ScanContext& ctx, cli::Format& format,
                int32_t& deals) {
  if (int rc = Prepare(c, ctx, format, true)) return rc;
  if (int rc = ParseDeals(ctx, dealsText, deals)) return rc;
  std::string error;
  if (!PrepareDataFolder(ctx, error)) return Fail(error);
  if (!ctx.cache.discarded.empty())
    std::cerr << "velkorvan-cli: the deal cache was deleted and the library is read instead: " << ctx.cache.discarded
              << "\n";
  if (ctx.cache.usable && !dealsText.empty() && deals != ctx.library.dealCount)
    std::cerr << "velkorvan-cli: --deals " << deals << " is ignored: the " << pass
              << " replays the deal cache of the whole library\n";
  return kOk;
}

// The exit code of a pass that did not finish, or kOk after telling stderr which pass it was.
// `pass` names it ("scan", "comparison"), `verb` what it had to do ("scan", "compare"), `wrote` what
// it left in the data folder.
int ReportPass(const ScanContext& ctx, const ScanResult& result, const char* pass, const char* verb, int32_t deals,
               const std::string& wrote) {
  switch (result.outcome) {
    case ScanOutcome::NotRun:
      return Fail(std::string("nothing to ") + verb + ": --deals is " + std::to_string(deals), kUsage);
    case ScanOutcome::Stopped:
      return Fail(std::string(pass) + " stopped; no tally file written", kStopped);
    case ScanOutcome::Failed:
      return Fail(result.error);
    case ScanOutcome::Refused:
      return Fail(result.error + " No result file was written.");
    case ScanOutcome::Finished:
      break;
  }
  const ScanReport& rep = ctx.report;
  if (!rep.libraryPassReason.empty()) std::cerr << "velkorvan-cli: library pass: " << rep.libraryPassReason << "\n";
  std::cerr << (rep.cachePass
                    ? "cache pass: " + std::to_string(rep.recordsRead) + " cache records"
                    : "library pass: deals 1 to " + std::to_string(rep.lastDeal) + " of " + ctx.library.fileName)
            << "; " << wrote << "\n";
  return kOk;
}

int Scan(const Common& c, const std::string& dealsText) {
  ScanContext ctx;
  cli::Format format;
  int32_t deals = 0;
  if (int rc = PreparePass(c, dealsText, "scan", ctx, format, deals)) return rc;
  cli::TerminalScanUi ui(ctx, deals, ::isatty(STDERR_FILENO) != 0);
  const ScanResult result = Start(ctx, ui, 1, deals);
  ui.Finish();
  if (int rc = ReportPass(ctx, result, "scan", "scan", deals,
                          "tally file " + TallyFilePath(ctx.folder, ctx.names.resultBaseName).string()))
    return rc;
  if (int rc = PrintFromTallyFile(ctx, format, ctx.report)) return rc;
  return ReportSkipped(ctx);
}

int Show(const Common& c, bool ci) {
  ScanContext ctx;
  cli::Format format;
  if (int rc = Prepare(c, ctx, format, false)) return rc;
  return PrintFromTallyFile(ctx, format, std::nullopt, ci);
}

int Graph(const Common& c, const std::string& out, const std::string& kind) {
  ScanContext ctx;
  cli::Format format;
  if (int rc = Prepare(c, ctx, format, false)) return rc;
  const std::string ext = std::filesystem::path(out).extension().string();
  if (ext != ".png" && ext != ".svg") return Fail("--out must name a .png or .svg file, not \"" + out + "\"", kUsage);
  GraphRequest request;
  request.kind = kind == "hcp" ? GraphRequest::Kind::Hcp : GraphRequest::Kind::Success;
  request.language = ctx.language;
  request.folder = ctx.folder;
  request.options = ctx.options;
  request.scale = 2.0;
  std::string error;
  if (!RenderGraph(request, out, error)) return Fail(error);
  std::cerr << "wrote " << out << "\n";
  return kOk;
}

int Compare(const Common& c, const std::string& dealsText, const std::string& chart, int top) {
  if (!chart.empty() && !IsChartFileName(chart))
    return Fail("--chart must name a .png or .svg file, not \"" + chart + "\"", kUsage);
  ScanContext ctx;
  cli::Format format;
  int32_t deals = 0;
  if (int rc = PreparePass(c, dealsText, "comparison", ctx, format, deals)) return rc;
  cli::TerminalScanUi ui(ctx, deals, ::isatty(STDERR_FILENO) != 0);
  const Comparison result = CompareOptionSets(ctx, ui, deals);
  ui.Finish();
  if (int rc = ReportPass(ctx, result.scan, "comparison", "compare", deals,
                          std::to_string(kOptionSetCount) + " tally files in " + ctx.DataFolder().string()))
    return rc;
  cli::CompareReport report;
  report.library = ctx.library.fileName;
  report.dealCount = ctx.library.dealCount;
  report.language = ctx.language;
  report.comparison = &result;
  report.cachePass = ctx.report.cachePass;
  report.top = top;
  std::cout << cli::FormatCompareReport(report, format);
  if (!chart.empty()) {
    std::string error;
    if (!RenderCompareChart(result.scores, ctx.language, chart, error)) return Fail(error);
    std::cerr << "wrote " << chart << "\n";
  }
  return ReportSkipped(ctx);
}

void AddCommon(CLI::App* app, Common& c) {
  app->add_option("--dir", c.dir, "Folder holding Library.bin or Library.asc and DataFiles (default: .)");
  app->add_option("--options", c.options, "Options that are on: any of the letters DLSBACU (default: none)");
  app->add_option("--format", c.format, "Output format: text, csv or json")
      ->check(CLI::IsMember({"text", "csv", "json"}));
  app->add_option("--lang", c.lang, "Language of labels and files: en or ja")->check(CLI::IsMember({"en", "ja"}));
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"VelKorvan headless scanner: how often a partnership with a given point count makes its game"};
  vk::apps::SetUpProgram(app, "velkorvan-cli", kExitCodes);
  app.require_subcommand(1);
  Common common;
  std::string deals;

  CLI::App* scan = app.add_subcommand("scan", "Scan the library (or replay the deal cache) and print the results");
  AddCommon(scan, common);
  scan->add_option("--deals", deals, "Number of deals to scan (default: the whole library)");

  CLI::App* show = app.add_subcommand("show", "Print the results of an earlier scan from its tally file");
  AddCommon(show, common);
  bool ci = false;
  show->add_flag("--ci", ci, "Print the 95 % interval of each success probability (Wilson, from the tally counts)");

  CLI::App* graph =
      app.add_subcommand("graph", "Draw the success or HCP graph to a PNG or SVG file, without a display");
  AddCommon(graph, common);
  std::string out, kind = "success";
  graph->add_option("--out", out, "Picture file: FILE.png or FILE.svg")->required();
  graph->add_option("--kind", kind, "success (the six success curves) or hcp (HCP frequencies)")
      ->check(CLI::IsMember({"success", "hcp"}));

  CLI::App* compare = app.add_subcommand(
      "compare", "Scan once for all 128 option sets, write their tally files and rank how well each predicts success");
  compare->add_option("--dir", common.dir, "Folder holding Library.bin or Library.asc and DataFiles (default: .)");
  compare->add_option("--deals", deals, "Number of deals to scan (default: the whole library)");
  compare->add_option("--format", common.format, "Output format: text, csv or json")
      ->check(CLI::IsMember({"text", "csv", "json"}));
  compare->add_option("--lang", common.lang, "Language of labels: en or ja")->check(CLI::IsMember({"en", "ja"}));
  std::string chart;
  int top = 10;
  compare->add_option("--chart", chart, "Also draw the ranking to FILE.png or FILE.svg");
  compare->add_option("--top", top, "Option sets listed per ranking in text (default 10)")->check(CLI::Range(1, 128));

  if (auto code = vk::apps::ParseArguments(app, argc, argv)) return *code;
  try {
    if (compare->parsed()) return Compare(common, deals, chart, top);
    if (scan->parsed()) return Scan(common, deals);
    if (graph->parsed()) return Graph(common, out, kind);
    return Show(common, ci);
  } catch (const std::exception& e) {
    // A file-system call that throws (a folder that vanished, a name the system refuses).
    return Fail(e.what());
  }
}
