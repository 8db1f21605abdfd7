// The way from the main window to "Compare evaluations": a context menu on the window's background
// and Ctrl+E, so the designed window keeps its controls as they are; and the way back, a row of the
// ranking setting the option buttons.
#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QShortcut>

#include "mainwindow/clickable_label.h"
#include "mainwindow/main_window.h"

namespace vk {

void Form1::InstallCompareShortcut() {
  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
  shortcut->setObjectName(QStringLiteral("shortcutCompare"));
  connect(shortcut, &QShortcut::activated, this, [this] { ShowCompareWindow(); });
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
  // The background and the frames and labels on it; buttons and boxes keep their own behaviour.
  const QWidget* child = childAt(event->pos());
  if (qobject_cast<const QAbstractButton*>(child) != nullptr || qobject_cast<const QLineEdit*>(child) != nullptr ||
      child == LibraryName_ || child == Language_)
    return;
  QMenu menu(this);
  QAction* compare =
      menu.addAction(QString::fromUtf8(state_.ctx.language == 0 ? kCompareCaptionEnglish : kCompareCaptionJapanese) +
                     QStringLiteral("...\tCtrl+E"));
  compare->setObjectName(QStringLiteral("actCompare"));
  if (menu.exec(event->globalPos()) == compare) ShowCompareWindow();
}

void Form1::ShowCompareWindow() {
  if (closing_) return;
  if (!compare_) {
    CompareWindow::Hooks hooks;
    hooks.mayRun = [this] { return !scanning_ && !closing_; };
    hooks.runningChanged = [this](bool running) {
      // The Start button ignores clicks while scanning_ is set; the options stay locked.
      scanning_ = running;
      if (running) {
        DisableButtons();
      } else {
        EnableButtons();
        EnableDisableButtons();
      }
    };
    hooks.selectOptions = [this](const OptionSet& options) { SelectOptionSet(options); };
    compare_ = new CompareWindow(state_, std::move(hooks), this);
  }
  compare_->SetLanguage(state_.ctx.language);
  compare_->show();
  Platform::RestoreAndRaise(compare_);
}

void Form1::SelectOptionSet(const OptionSet& options) {
  if (scanning_ || closing_) return;
  for (int i = 1; i <= 7; ++i) (options[i] ? opt_[i] : off_[i])->setChecked(true);
  EnableDisableButtons();
}

}  // namespace vk
