#pragma once
// The frequency table window: suit 11/10/9 and notrump 9/8 tricks against 20..31 points.

#include <QPointer>
#include <cstdint>

class QWidget;

namespace vk {

struct AppState;
class CommentWindow;

class TableWindows {
 public:
  TableWindows(AppState& state, CommentWindow& comments);
  ~TableWindows();
  // Builds the table window, or brings back the one on screen with the current caption.
  void LoadTab();
  void ShowWholeTable();
  // Refreshes one cell; the scan calls it only while the table is shown (state 1).
  void UpdateTable(int32_t cls, int32_t tricks, int32_t points);
  // The main window's Show Table button.
  void cmdTable_Click();
  // Closes the table window without changing the table-window state.
  void Close();
  QWidget* window() const;

 private:
  AppState& state_;
  CommentWindow& comments_;
  QPointer<QWidget> window_;
};

}  // namespace vk
