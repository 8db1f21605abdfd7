#include "results/graph_windows.h"

#include <QMessageBox>
#include <QThread>
#include <algorithm>

#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "platform/drawing_surface.h"
#include "platform/platform.h"
#include "results/graph_window.h"
#include "results/hcp_graph.h"
#include "results/success_graph.h"
#include "results/success_log.h"
#include "results/success_prob.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"

namespace vk {

namespace {

const QString kHcpCaption = QStringLiteral("[Frequency vs HCP]");
// How far a new success graph window sits from the previous one, so it never covers it exactly.
constexpr int kCascade = 28;

bool IsOpen(const QPointer<frmGrph>& window) { return window && !window->IsClosed(); }

QString ToQString(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

// The pace of an animated success graph in its window: a timed pause after every marker while
// window events run, so that Close, F1 and F11 act during the drawing.
class WindowPace : public GraphPace {
 public:
  WindowPace(AppState& state, QPointer<frmGrph> window, std::shared_ptr<bool> alive)
      : state_(state), window_(std::move(window)), alive_(std::move(alive)) {}

  bool NextCurve() override { return Usable() && state_.graphAbort == 0; }

  bool MarkerPause() override {
    if (state_.instantDraw) return true;
    Platform& platform = state_.platform;
    const double deadline = platform.MonotonicSeconds() + (state_.fastDraw ? 0.2 : 0.5);
    double remaining = 0;
    do {
      platform.ProcessEvents();
      // The window, this graph's owner or the whole program may have gone meanwhile.
      if (!Usable() || state_.graphAbort != 0) return false;
      remaining = deadline - platform.MonotonicSeconds();
      if (remaining > 0) QThread::msleep(static_cast<unsigned long>(std::min(remaining, 0.01) * 1000));
    } while (remaining > 0);
    return true;
  }

  // Checked before anything else is touched: when the owner has gone, so has the state.
  bool Usable() const { return *alive_ && IsOpen(window_); }

 private:
  AppState& state_;
  QPointer<frmGrph> window_;
  std::shared_ptr<bool> alive_;
};

}  // namespace

GraphWindows::GraphWindows(AppState& state, CommentWindow& comments) : state_(state), comments_(comments) {}

GraphWindows::~GraphWindows() {
  *alive_ = false;
  for (const QPointer<frmGrph>& window : successWindows_) delete window.data();
  delete hcpWindow_.data();
}

frmGrph* GraphWindows::HcpWindow() const {
  auto* window = qobject_cast<frmGrph*>(hcpWindow_.data());
  return window != nullptr && !window->IsClosed() ? window : nullptr;
}

std::vector<frmGrph*> GraphWindows::SuccessWindows() const {
  std::vector<frmGrph*> open;
  for (const QPointer<frmGrph>& window : successWindows_) {
    if (IsOpen(window)) open.push_back(window.data());
  }
  return open;
}

void GraphWindows::ShowFileMessage(const QString& file, const std::string& error) {
  const bool japanese = state_.ctx.language == 1;
  const QString text =
      japanese ? QStringLiteral("結果ファイル %1 を読めません (%2)。このオプションでもう一度スキャンしてください。")
               : QStringLiteral("The result file %1 cannot be read (%2). Scan again with these options.");
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("VelKorvan"),
                              text.arg(file, QString::fromStdString(error)), QMessageBox::Ok, state_.mainWindow);
  box->setObjectName(QStringLiteral("msgGraphFile"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  if (japanese && !state_.UiFont(1).isEmpty()) box->setFont(QFont(state_.UiFont(1)));
  box->show();
}

frmGrph* GraphWindows::NewSuccessWindow(const QString& caption) {
  successWindows_.erase(std::remove_if(successWindows_.begin(), successWindows_.end(),
                                       [](const QPointer<frmGrph>& w) { return w.isNull(); }),
                        successWindows_.end());
  frmGrph* previous = nullptr;
  for (const QPointer<frmGrph>& window : successWindows_) {
    if (IsOpen(window) && window->isVisible()) previous = window.data();
  }
  auto* window = new frmGrph(state_, comments_);
  window->setWindowTitle(caption);
  // The first window goes where the system puts it; later ones step down from the newest.
  if (previous != nullptr) window->move(previous->pos() + QPoint(kCascade, kCascade));
  successWindows_.emplace_back(window);
  window->show();
  return window;
}

void GraphWindows::cmdGrph_Click() {
  const bool points = state_.ctx.options.AnyCorrection();
  const QString optionCode = QString::fromStdString(state_.ctx.names.optionCode);
  const QString caption = QStringLiteral("Graph") + optionCode;

  // An open graph with these options comes forward; a new one still opens on top of it.
  if (QWidget* open = state_.platform.FindWindowByCaption(caption)) Platform::RestoreAndRaise(open);
  state_.commentTopic = 2;

  const std::filesystem::path file = TallyFilePath(state_.ctx.folder, state_.ctx.names.resultBaseName);
  CountTable counts{};
  std::string error;
  if (!Fin(file, counts, error)) {
    ShowFileMessage(ToQString(file.filename()), error);
    return;
  }
  state_.ctx.tallies.HandCount = counts;
  state_.SuccessProb = GetSuccessProb(counts);
  // The graph does not depend on the log: a log that cannot be written is let go. Figures from
  // a scan that skipped damaged deals are drawn but never logged as the library's.
  std::string logError;
  if (!HasSkippedNote(state_.ctx.folder, state_.ctx.names.resultBaseName))
    SaveResult(state_.ctx.folder / kSuccessLogName, state_.ctx.names.optionCode, state_.ctx.language,
               state_.SuccessProb, logError);

  // This graph keeps its own copy of the probabilities (and DrawSuccessGraph its own curve
  // counter): another graph started during its marker pauses recomputes the shared table.
  const SuccessProbTable table = state_.SuccessProb;
  const SuccessGraphText text{state_.ctx.language, state_.UiFont(1), points, optionCode};

  // Events run during the marker pauses may close the window or even end this object; after
  // them only `alive` and `pace` are asked before anything else is touched.
  const std::shared_ptr<bool> alive = alive_;
  QPointer<frmGrph> window = NewSuccessWindow(caption);
  state_.graphAbort = 0;
  WindowPace pace(state_, window, alive);
  const bool complete = DrawSuccessGraph(*window->p, table, text, pace);
  if (!*alive) return;
  // F1 lasts for the rest of one complete graph.
  if (complete) state_.fastDraw = false;
  state_.graphAbort = 0;
}

void GraphWindows::cmdGraphHCP_Click() {
  if (QWidget* open = state_.platform.FindWindowByCaption(kHcpCaption)) {
    Platform::RestoreAndRaise(open);
    return;
  }
  const std::filesystem::path file = HCPfreqFilePath(state_.ctx.folder);
  HCPfreqTable freq{};
  std::string error;
  if (!FinHCPfreq(file, freq, error)) {
    ShowFileMessage(ToQString(file.filename()), error);
    return;
  }
  state_.ctx.tallies.HCPfreq = freq;
  state_.commentTopic = 3;

  frmGrph* window = HcpWindow();
  if (window == nullptr) {
    window = new frmGrph(state_, comments_);
    hcpWindow_ = window;
  }
  window->setWindowTitle(kHcpCaption);
  window->show();
  DrawHcpGraph(*window->p, freq, state_.ctx.Theo, HcpGraphText{state_.ctx.language, state_.UiFont(1)});
}

void GraphWindows::CloseHcpGraph() {
  if (frmGrph* window = HcpWindow()) window->close();
}

}  // namespace vk
