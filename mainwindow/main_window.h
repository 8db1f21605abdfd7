#pragma once
// Form1, the desktop program's main window: the seven ON/OFF option pairs, the number of deals
// to scan, Start and END, the table and graph buttons, the deal counter and the two clickable
// labels (library file and language). It owns the program-wide state and the other windows,
// and it is the scan's user interface.

#include <QFont>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "compare/compare_window.h"
#include "deals/range_array.h"
#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "help/help_windows.h"
#include "results/graph_windows.h"
#include "results/table_window.h"
#include "scan/scan_driver.h"
#include "scan/scan_ui.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QRadioButton;

namespace vk {

class ClickableLabel;

// Caption of the main window as designed; start-up appends the version.
inline constexpr const char* kDesignedCaption = " Korvan based on Halvard's Double-Dummy Library";
inline constexpr const char* kVersionSuffix = " Ver " VK_VERSION;
// Face of the table and graph buttons while a tally file stands behind them.
inline const QColor kHighlightColour{240, 250, 255};
// Captions of the Start button besides the idle one; the same in both languages.
inline constexpr const char* kWorking = "Working";
inline constexpr const char* kStopped = "Stopped";
inline constexpr const char* kFinished = "Finished";

// The number of deals typed in the deals box: blanks around it are ignored, a fraction goes
// to the nearest whole number (halves to even). Text that is no number, or a number outside
// the 32-bit range, gives nothing.
std::optional<int32_t> DealsToScan(const QString& text);
// What the Start button says when DealsToScan gives nothing: the text is no number, or one
// too large (or too small) for a number of deals.
QString DealsBoxMessage(const QString& text, int32_t language);

// The default address of the library pages: the "docs" folder beside the program.
QUrl DefaultSiteAddress(const std::filesystem::path& programFolder);

class Form1 : public QWidget, public ScanUi {
  Q_OBJECT

 public:
  enum class Startup {
    NotRun,
    Ready,            // a library file was found
    LibraryMissing,   // the library message is shown and the library page opened
    Refused,          // run from a folder whose path holds "tmp" or "zip"
    DataFolderFailed  // "DataFiles" could not be created or written
  };

  // One piece of text printed on the window's surface, at its top-left corner in twips.
  struct PrintedRun {
    QString text;
    QFont font;
    QPointF topLeftTwips;
  };

  // `programFolder` holds the library and receives "DataFiles"; start-up makes it the current
  // directory.
  Form1(Platform& platform, const std::filesystem::path& programFolder, QWidget* parent = nullptr);
  ~Form1() override;

  AppState& state() { return state_; }
  const AppState& state() const { return state_; }
  Startup startup() const { return startup_; }
  // True once the window has been closed: the program is ending.
  bool closing() const { return closing_; }

  // Start-up: checks, library choice, buttons and housekeeping; shows the window.
  void Form_Load();

  // Captions in two languages.
  void SetMsgs();
  void SetOptMsg();
  void Language_Click();
  QString Msg(int row, int language) const { return msgs_[row][language == 0 ? 0 : 1]; }

  // Option controls and button states.
  void opt_Click(int i);
  void off_Click(int i);
  void cmd_Click(int i);
  void cmdStart_Click();
  void cmdEnd_Click();
  void SetupFilename();
  void DisableButtons() override;
  void EnableButtons() override;
  void EnableDisableButtons() override;

  // Start-up checks and housekeeping.
  bool ChkZip(int32_t flag);
  void LibraryNotFound(const QString& fLib);
  void MoveTxtFiles();
  void RenameTxtFiles();
  void LibraryName_Click();

  // Text printed on the window at the text cursor: prnt sets full stops and commas in bold.
  void prnt(const QString& a);
  const std::vector<PrintedRun>& printedText() const { return printed_; }
  QString PrintedString() const;

  // The scan's user interface.
  void ShowCounter(const std::string& text) override;
  void ProcessEvents() override;
  std::string DealsToScanText() override;
  void LoadTab() override;
  void EnableReShowTable() override;
  void UpdateTable(int32_t cls, int32_t tricks, int32_t points) override;
  void ScanFinished() override;

  // "Compare evaluations", from the window's context menu or Ctrl+E.
  void ShowCompareWindow();
  CompareWindow* compareWindow() const { return compare_; }
  // Sets the option buttons to the set, as the user's clicks would (not while a scan runs).
  void SelectOptionSet(const OptionSet& options);

  // The last message shown in the message box, empty when none was shown.
  QString lastMessage() const { return lastMessage_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildControls();
  void InstallCompareShortcut();
  void SetTabOrder();
  void ApplyBackground();
  void SetFontFamily(QWidget* w, const QString& family);
  QString FontOrFallback(const QString& family, int language) const;
  void SetButtonFace(QPushButton* button, const QColor& colour);
  void HighlightButton(QPushButton* button);
  void HideAllButEnd();
  void ShowMessage(const QString& text);
  void RefreshOptions();
  // Why "DataFiles" cannot serve, found at start-up.
  enum class DataFolderProblem { None, FileInTheWay, CannotCreate, CannotWrite };
  DataFolderProblem CheckDataFolder();
  void DataFolderFailed(DataFolderProblem problem);

  // Printing on the window.
  double LineHeightTwips() const;
  void PrintPlain(const QString& text);
  void EndLine();
  // Prints `text` after `indent` on as many lines as it needs to stay inside the window,
  // breaking after a "/" or a blank where it can; each line ends.
  void PrintWrapped(const QString& indent, const QString& text);

  AppState state_;
  CommentWindow comments_;
  HelpWindows help_;
  TableWindows tables_;
  GraphWindows graphs_;

  Startup startup_ = Startup::NotRun;
  bool closing_ = false;
  bool scanning_ = false;
  QString lastMessage_;
  QPointer<QMessageBox> messageBox_;
  QPointer<CompareWindow> compare_;

  // Message table: rows 1..12, columns English and Japanese.
  RangeArray<std::array<QString, 2>, 1, 12> msgs_;

  // Text cursor and font for printing on the window.
  double cursorX_ = 0;  // twips
  double cursorY_ = 0;  // twips
  QFont printFont_;
  std::vector<PrintedRun> printed_;

  QPushButton* cmdEnd_ = nullptr;
  QLabel* lblDealCount_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QLineEdit* tBox_ = nullptr;
  QPushButton* cmdStart_ = nullptr;
  QPushButton* cmdTable_ = nullptr;
  QPushButton* cmdGrph_ = nullptr;
  QPushButton* cmdGraphHCP_ = nullptr;
  ClickableLabel* LibraryName_ = nullptr;
  ClickableLabel* Language_ = nullptr;
  RangeArray<QGroupBox*, 1, 7> frame_{};
  RangeArray<QPushButton*, 1, 7> cmd_{};
  RangeArray<QRadioButton*, 1, 7> opt_{};
  RangeArray<QRadioButton*, 1, 7> off_{};
};

}  // namespace vk
