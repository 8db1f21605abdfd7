#pragma once
// "Compare evaluations": runs the comparison of all 128 option sets from the desktop program and
// shows the ranking as a sortable table with 95 % intervals and the ranking chart. The pass lets
// window events run as a scan does, so the window answers and its Stop button ends the pass
// without writing anything. A double-click on a row hands that option set to the main window.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "compare/compare_run.h"
#include "scan/scan_ui.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vk {

struct AppState;

inline constexpr const char* kCompareCaptionEnglish = "Compare evaluations";
inline constexpr const char* kCompareCaptionJapanese = "評価法の比較";
// The page that explains the method, in the "docs" folder beside the program.
inline constexpr const char* kComparePageEnglish = "docs/CompareEvaluations.html";
inline constexpr const char* kComparePageJapanese = "docs/CompareEvaluations_ja.html";

class CompareWindow : public QWidget, public ScanUi {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<bool()> mayRun;                         // false while the main window scans
    std::function<void(bool running)> runningChanged;     // lock or free the main window's controls
    std::function<void(const OptionSet&)> selectOptions;  // a row was double-clicked
  };
  CompareWindow(AppState& state, Hooks hooks, QWidget* parent = nullptr);

  // Captions in the language of the program.
  void SetLanguage(int32_t language);
  // Runs the comparison (the Start button); returns when it has ended.
  void Run();
  void RequestStop();
  bool running() const { return running_; }
  const Comparison& comparison() const { return comparison_; }
  // The curve the table and its ranks show.
  int curve() const;

  // The pass's user interface.
  void ShowCounter(const std::string& text) override;
  void ProcessEvents() override;
  std::string DealsToScanText() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FillTable();
  void RowActivated(int row);
  void OpenMethodPage();

  AppState& state_;
  Hooks hooks_;
  std::unique_ptr<ScanContext> ctx_;  // the comparison's own, made afresh for each run
  Comparison comparison_;
  bool running_ = false;
  int32_t language_ = 0;

  QPushButton* start_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* method_ = nullptr;
  QComboBox* curveBox_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* chart_ = nullptr;
};

}  // namespace vk
