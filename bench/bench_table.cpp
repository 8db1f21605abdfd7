// What the live frequency table costs a scan: the same library pass timed with the table
// window showing (every tallied hand of the five rows at 20..31 points marks its cell, and the
// marked labels are rewritten and repainted when events are processed) and with the table
// hidden by its Hide Table button right after it was built. The shown table is timed twice:
// with the program's 50 ms between label rewrites, and rewriting at every progress step (every
// 100 deals), the most the screen could follow. Offscreen; medians of several alternating
// runs, each in a fresh folder. The target is a ratio of at most 3.
#include <time.h>

#include <QAbstractButton>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "deals/library_reader.h"
#include "deals/library_writer.h"
#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "results/table_window.h"
#include "scan/scan_driver.h"

namespace fs = std::filesystem;
using namespace vk;

namespace {

// The scan's hooks as the desktop program wires them, minus the buttons.
class TableScanUi : public ScanUi {
 public:
  TableScanUi(TableWindows& tables, bool hide) : tables_(tables), hide_(hide) {}
  void ShowCounter(const std::string&) override {}
  void ProcessEvents() override { QCoreApplication::processEvents(); }
  std::string DealsToScanText() override { return ""; }
  void LoadTab() override {
    tables_.LoadTab();
    if (hide_) tables_.window()->findChild<QAbstractButton*>("cmdHide")->click();
    QCoreApplication::processEvents();
  }
  void UpdateTable(int32_t c, int32_t t, int32_t p) override {
    ++updates;
    tables_.UpdateTable(c, t, p);
  }
  long updates = 0;

 private:
  TableWindows& tables_;
  bool hide_;
};

double ThreadCpu() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Run {
  double wall = 0, cpu = 0;
  long updates = 0;
};

// One library pass over `library` in a fresh folder.
Run TimeScan(const fs::path& library, const fs::path& folder, bool hide, int flushMs = 50) {
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(library, folder / kBinLibraryName);
  Platform platform;
  AppState state(platform);
  state.ctx.folder = folder;
  std::string error;
  if (!PrepareDataFolder(state.ctx, error) || !ChooseLibrary(state.ctx)) {
    std::fprintf(stderr, "bench_table: %s\n", error.c_str());
    std::exit(1);
  }
  QWidget main;
  main.setGeometry(40, 40, 493, 374);
  state.mainWindow = &main;
  main.show();
  CommentWindow comments(state);
  TableWindows tables(state, comments);
  tables.setCellFlushInterval(flushMs);
  TableScanUi ui(tables, hide);

  const double c0 = ThreadCpu();
  const auto t0 = std::chrono::steady_clock::now();
  const ScanResult result = Start(state.ctx, ui, 1, state.ctx.library.dealCount);
  QCoreApplication::processEvents();
  Run run{std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), ThreadCpu() - c0, ui.updates};
  if (result.outcome != ScanOutcome::Finished) {
    std::fprintf(stderr, "bench_table: the scan did not finish: %s\n", result.error.c_str());
    std::exit(1);
  }
  return run;
}

// Seeded random deals with random trick tables, for when there is no sample library.
void WriteSyntheticLibrary(const fs::path& file, int deals) {
  std::mt19937_64 rng(20240611);
  std::ofstream out(file, std::ios::binary);
  std::array<int8_t, 52> pack{};
  for (int i = 0; i < 52; ++i) pack[static_cast<std::size_t>(i)] = static_cast<int8_t>(i / 13);
  for (int k = 0; k < deals; ++k) {
    std::shuffle(pack.begin(), pack.end(), rng);
    DealRecord r;
    for (int c = 0; c < 52; ++c)
      r.owner[static_cast<std::size_t>(c / 13)][static_cast<std::size_t>(c % 13)] = pack[static_cast<std::size_t>(c)];
    for (auto& d : r.tricks)
      for (auto& t : d) t = static_cast<int8_t>(rng() % 14);
    const auto bytes = EncodeBinRecord(r);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Times the three ways of scanning `library` and prints them as a table.
void Measure(const fs::path& library, const std::string& origin, const fs::path& dir, int runs) {
  const auto deals = static_cast<long>(fs::file_size(library) / kBinRecordLength);
  std::printf("\ntable window during a library pass of %ld deals from %s, options (none)\n", deals, origin.c_str());
  std::vector<double> shownWall, stepWall, hiddenWall, shownCpu, stepCpu, hiddenCpu;
  long updates = 0;
  for (int r = 0; r < runs; ++r) {
    const Run shown = TimeScan(library, dir / "shown", false);
    const Run everyStep = TimeScan(library, dir / "step", false, 0);
    const Run hidden = TimeScan(library, dir / "hidden", true);
    shownWall.push_back(shown.wall);
    shownCpu.push_back(shown.cpu);
    stepWall.push_back(everyStep.wall);
    stepCpu.push_back(everyStep.cpu);
    hiddenWall.push_back(hidden.wall);
    hiddenCpu.push_back(hidden.cpu);
    updates = shown.updates;
  }
  const double sw = Median(shownWall), tw = Median(stepWall), hw = Median(hiddenWall);
  const double sc = Median(shownCpu), tc = Median(stepCpu), hc = Median(hiddenCpu);
  std::printf("| table | median wall time of %d | median CPU time | ratio to hidden (wall, CPU) |\n|---|---|---|---|\n",
              runs);
  std::printf("| shown, labels rewritten every 50 ms | %.3f s | %.3f s | %.2f, %.2f |\n", sw, sc, sw / hw, sc / hc);
  std::printf("| shown, labels rewritten every 100 deals | %.3f s | %.3f s | %.2f, %.2f |\n", tw, tc, tw / hw, tc / hc);
  std::printf("| hidden | %.3f s | %.3f s | 1 |\n", hw, hc);
  std::printf("%ld cell updates per scan; target: shown / hidden at most 3\n", updates);
}

// The records of `library` repeated to 717,102 deals.
void RepeatToFullSize(const fs::path& library, const fs::path& out) {
  constexpr std::size_t kFullBytes = std::size_t{717102} * kBinRecordLength;
  std::ifstream in(library, std::ios::binary);
  std::string records((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  records.resize(records.size() / kBinRecordLength * kBinRecordLength);
  std::string full;
  full.reserve(kFullBytes);
  while (full.size() < kFullBytes) full.append(records, 0, std::min(records.size(), kFullBytes - full.size()));
  std::ofstream(out, std::ios::binary).write(full.data(), static_cast<std::streamsize>(full.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  const fs::path sample = argc > 1 ? fs::path(argv[1]) : fs::path("data/Library.bin");
  const char* home = std::getenv("HOME");
  const fs::path dir = fs::path(home ? home : ".") / ".velkorvan-bench-table";
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::path library = sample;
  std::string origin = sample.string();
  if (!fs::exists(sample)) {
    library = dir / "Synthetic.bin";
    WriteSyntheticLibrary(library, 20000);
    origin = "20000 seeded random deals (synthetic)";
  }
  Measure(library, origin, dir, 5);
  // The same records repeated to the size of the full library: a scan long enough for the
  // table to be rewritten many times while it runs.
  const fs::path full = dir / "Full.bin";
  RepeatToFullSize(library, full);
  Measure(full, origin + " repeated to the full library size", dir, 3);
  fs::remove_all(dir);
  return 0;
}
