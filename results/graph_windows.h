#pragma once
// The graph commands of the main window: a new success-probability graph window per press,
// and the one shared HCP frequency graph window.

#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace vk {

struct AppState;
class CommentWindow;
class frmGrph;

class GraphWindows {
 public:
  GraphWindows(AppState& state, CommentWindow& comments);
  ~GraphWindows();
  void cmdGrph_Click();
  void cmdGraphHCP_Click();
  // Closes the shared HCP graph window if it is open (and with it the comments window).
  void CloseHcpGraph();

  // The open HCP graph window, or nullptr.
  frmGrph* HcpWindow() const;
  // The success graph windows still open, oldest first.
  std::vector<frmGrph*> SuccessWindows() const;

 private:
  frmGrph* NewSuccessWindow(const QString& caption);
  // A message that does not wait for an answer: a result file could not be read.
  void ShowFileMessage(const QString& file, const std::string& error);

  AppState& state_;
  CommentWindow& comments_;
  QPointer<QWidget> hcpWindow_;
  std::vector<QPointer<frmGrph>> successWindows_;
  // Cleared when this object goes; a graph still drawing further down the stack then stops
  // without touching anything.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vk
