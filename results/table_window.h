#pragma once
// The frequency table window: suit 11/10/9 and notrump 9/8 tricks against 20..31 points.

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

namespace vk {

struct AppState;
class CommentWindow;

// Label index of the cell for row 1..5 (1 NT 8, 2 NT 9, 3 suit 9, 4 suit 10, 5 suit 11 tricks)
// and points 20..31: 13 per row, column 0 holding the row caption.
constexpr int lblNo(int DenomNo, int HCP) { return 13 * DenomNo + HCP - 19; }

// The table window: 78 labels L0..L77 made at run time, row 0 the points, rows 1..5 the hand
// counts, with the Hide Table and Comments buttons.
class frmTab : public QWidget {
  Q_OBJECT

 public:
  frmTab(const QColor& background, const QString& caption);
  // Creates the labels, placing them by the size of "A" in the window font, and fitting them
  // into the frame when that font is wider or taller than the designed one.
  void BuildGrid();
  // The rectangle that frames the grid, in pixels.
  static QRect GridFrame();
  QLabel* L(int index) const { return labels_[static_cast<std::size_t>(index)]; }
  // Button captions and fonts of the language.
  void ShowCaptions(int32_t language, const QString& englishFont, const QString& japaneseFont);
  // Closes the window without running the close-box reaction.
  void CloseQuietly();

  std::function<void()> onHide;          // cmdHide
  std::function<void()> onComment;       // cmdComment
  std::function<void()> onCloseBox;      // closed by the user, not by the program
  std::function<void()> onShowCaptions;  // load and every resize

  // Where the build put the grid, in twips: the rule above the points row and the width of
  // "A" and its height in the window font.
  int pointsRuleY() const { return pointsRuleY_; }
  int wA() const { return wA_; }
  int hA() const { return hA_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  std::array<QLabel*, 78> labels_{};
  QPushButton* cmdComment_;
  QPushButton* cmdHide_;
  bool closingQuietly_ = false;
  int pointsRuleY_ = 0;
  int wA_ = 0, hA_ = 0;
};

class TableWindows {
 public:
  TableWindows(AppState& state, CommentWindow& comments);
  ~TableWindows();
  // Builds the table window, or brings back the one on screen with the current caption.
  void LoadTab();
  void ShowWholeTable();
  // Refreshes one cell; the scan calls it only while the table is shown (state 1). The label
  // takes its new count when window events are next processed, at most every
  // cellFlushInterval milliseconds, so that a scan pays next to nothing per hand.
  void UpdateTable(int32_t cls, int32_t tricks, int32_t points);
  // Writes the counts of the cells refreshed since the last time into their labels.
  void FlushCells();
  void setCellFlushInterval(int milliseconds) { flushTimer_.setInterval(milliseconds); }
  // The main window's Show Table button.
  void cmdTable_Click();
  // Closes the table window without changing the table-window state.
  void Close();
  QWidget* window() const;

  // The message shown when Show Table finds no table to show; tests answer it.
  QWidget* message() const { return message_; }
  // When false, Show Table's message is kept for inspection but never put on screen.
  void setShowMessages(bool show) { showMessages_ = show; }
  // The caption of the table window of the current options.
  QString Caption() const;

 private:
  void BuildWindow();
  // A scan is running when the main window's Start button reads "Working".
  bool ScanRunning() const;
  // Shows the table of the tally file; false, with a message and nothing changed, when the
  // file is missing or unreadable.
  bool ShowFromTallyFile();
  void Message(const QString& text);

  AppState& state_;
  CommentWindow& comments_;
  QPointer<frmTab> window_;
  QPointer<QWidget> message_;
  bool showMessages_ = true;
  std::array<bool, 78> dirty_{};  // cells whose label lags behind the tallies
  QTimer flushTimer_;
};

}  // namespace vk
