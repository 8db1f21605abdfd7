#pragma once
// The graph commands of the main window: a new success-probability graph window per press,
// and the one shared HCP frequency graph window.

#include <QPointer>

class QWidget;

namespace vk {

struct AppState;
class CommentWindow;

class GraphWindows {
 public:
  GraphWindows(AppState& state, CommentWindow& comments);
  ~GraphWindows();
  void cmdGrph_Click();
  void cmdGraphHCP_Click();
  // Closes the shared HCP graph window if it is open (and with it the comments window).
  void CloseHcpGraph();

 private:
  AppState& state_;
  CommentWindow& comments_;
  QPointer<QWidget> hcpWindow_;
};

}  // namespace vk
