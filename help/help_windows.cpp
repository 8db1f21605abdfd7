#include "help/help_windows.h"

#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "deals/rounding.h"
#include "desktop/app_state.h"
#include "platform/platform.h"

namespace vk {

namespace {

const QColor kCaptionBlue(0, 0, 255);

// A framed panel in the manner of a group frame: an etched border that starts half a caption
// below the panel's top, the caption sitting on the border.
class PanelFrame : public QWidget {
 public:
  PanelFrame(QWidget* parent, const QFont& captionFont, const QString& caption) : QWidget(parent) {
    caption_ = new QLabel(caption, this);
    caption_->setObjectName("caption");
    caption_->setFont(captionFont);
    QPalette pal = caption_->palette();
    pal.setColor(QPalette::WindowText, kCaptionBlue);
    caption_->setPalette(pal);
    caption_->setAutoFillBackground(true);  // hides the border behind the caption
    caption_->adjustSize();
    caption_->move(TwipsToPixels(120), 0);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int y = caption_->height() / 2;
    const QRect box(0, y, width() - 2, height() - y - 2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));
  }

 private:
  QLabel* caption_;
};

QFont CaptionFont(const AppState& state, int language) {
  QFont font;
  if (language == 1) {
    font.setFamilies({QStringLiteral("メイリオ"), state.UiFont(1)});
  } else {
    font.setFamily(QStringLiteral("Arial"));
  }
  font.setPointSizeF(12);
  return font;
}

QFont LabelFont(const AppState& state, int language) {
  QFont font;
  if (language == 1) {
    font.setFamilies({state.UiFont(1), QStringLiteral("Times New Roman")});
    font.setPointSizeF(10.5);
  } else {
    font.setFamily(QStringLiteral("Times New Roman"));
    font.setPointSizeF(12);
  }
  return font;
}

// Gives a top-level window the outer (frame) geometry `outer`, whatever its frame adds.
void SetOuterGeometry(QWidget* window, const QRect& outer) {
  const QSize frameExtra = window->frameGeometry().size() - window->geometry().size();
  const QSize client = outer.size() - frameExtra;
  if (window->size() != client) window->resize(client);
  if (window->frameGeometry().topLeft() != outer.topLeft()) window->move(outer.topLeft());
}

}  // namespace

HelpWindow::HelpWindow(AppState& state, int language) : state_(state), language_(language) {
  setObjectName(language == 1 ? "frmInfoJ" : "frmInfoE");
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(" VelKorvan Help");
  setFont(QFont("Times New Roman"));
  setAutoFillBackground(true);

  const QFont captionFont = CaptionFont(state, language);
  const QFont labelFont = LabelFont(state, language);
  for (int topic = 1; topic <= 7; ++topic) {
    const HelpPanel& design = HelpPanelFor(language, topic);
    auto* panel = new PanelFrame(this, captionFont, QString::fromUtf8(design.caption));
    panel->setObjectName(QString("frame%1").arg(topic));
    panel->resize(TwipsToPixels(design.width), TwipsToPixels(design.height));
    for (const HelpLabel& l : design.labels) {
      auto* label = new QLabel(QString::fromUtf8(l.text), panel);
      label->setObjectName(l.name);
      label->setFont(labelFont);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      QPalette pal = label->palette();
      pal.setColor(QPalette::WindowText, Qt::black);
      label->setPalette(pal);
      label->setGeometry(TwipsRect(l.left, l.top, l.width, l.height));
    }
    if (design.ruleY != 0) {
      auto* rule = new QFrame(panel);
      rule->setObjectName("Line1");
      rule->setFrameShape(QFrame::HLine);
      rule->setFrameShadow(QFrame::Sunken);
      rule->setGeometry(TwipsRect(120, design.ruleY, design.width - 240, 30));
    }
    frame_[static_cast<std::size_t>(topic)] = panel;
  }

  // As designed, all seven panels lie in two rows: 1, 2 and 7 above, 3 to 6 below.
  const int gap = 120;
  int x = gap, rowHeight = 0;
  for (int topic : {1, 2, 7}) {
    const HelpPanel& d = HelpPanelFor(language, topic);
    frame_[static_cast<std::size_t>(topic)]->move(TwipsToPixels(x), TwipsToPixels(90));
    x += d.width + gap;
    rowHeight = std::max(rowHeight, d.height);
  }
  int width = x;
  x = gap;
  int secondRow = 90 + rowHeight + gap, secondHeight = 0;
  for (int topic : {3, 4, 5, 6}) {
    const HelpPanel& d = HelpPanelFor(language, topic);
    frame_[static_cast<std::size_t>(topic)]->move(TwipsToPixels(x), TwipsToPixels(secondRow));
    x += d.width + gap;
    secondHeight = std::max(secondHeight, d.height);
  }
  width = std::max(width, x);
  designedGeometry_ =
      QRect(QPoint(0, 0), QSize(TwipsToPixels(width + 210 - gap), TwipsToPixels(secondRow + secondHeight + 600)));
  resize(designedGeometry_.size());
}

void HelpWindow::ApplyColours() {
  const QColor background = state_.background.isValid() ? state_.background : state_.platform.Color3DLight();
  if (palette().color(QPalette::Window) == background) return;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, background);
  pal.setColor(QPalette::Button, background);
  setPalette(pal);  // the panels and labels inherit it
}

void HelpWindow::Layout() {
  layoutQueued_ = false;
  const int topic = state_.helpTopic;
  shownTopic_ = topic;
  ApplyColours();
  if (topic < 1 || topic > 7) return;

  for (int i = 1; i <= 7; ++i) frame_[static_cast<std::size_t>(i)]->setVisible(i == topic);
  QWidget* panel = frame_[static_cast<std::size_t>(topic)];
  const QPoint panelPos(TwipsToPixels(0), TwipsToPixels(90));
  if (panel->pos() != panelPos) panel->move(panelPos);

  const HelpPanel& design = HelpPanelFor(language_, topic);
  QRect outer(frameGeometry().topLeft(), QSize(TwipsToPixels(design.width + 210), TwipsToPixels(design.height + 600)));
  if (state_.mainWindow != nullptr) {
    const QRect main = state_.mainWindow->frameGeometry();
    outer.moveLeft(main.left() + RoundHalfEven(0.65 * main.width()));
    outer.moveTop(main.top() + main.height() - outer.height());
  }
  SetOuterGeometry(this, outer);
}

void HelpWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  // Every repaint reads the help topic again; the layout itself waits until painting is over.
  if (!layoutQueued_) {
    layoutQueued_ = true;
    QTimer::singleShot(0, this, &HelpWindow::Layout);
  }
}

HelpWindows::HelpWindows(AppState& state) : state_(state) {}

HelpWindows::~HelpWindows() {
  for (auto& w : windows_) delete w.data();
}

void HelpWindows::Show(int language) {
  const std::size_t i = language == 1 ? 1 : 0;
  auto* open = qobject_cast<HelpWindow*>(windows_[i].data());
  if (open != nullptr && open->isVisible()) {
    open->Layout();
    Platform::RestoreAndRaise(open);
    return;
  }
  HelpWindow* w = language == 1 ? static_cast<HelpWindow*>(new frmInfoJ(state_)) : new frmInfoE(state_);
  windows_[i] = w;
  w->Layout();
  w->show();
  w->Layout();  // again, now that the window's frame is known
}

void HelpWindows::CloseIfOpen(int language) {
  const std::size_t i = language == 1 ? 1 : 0;
  if (QWidget* w = windows_[i].data()) {
    windows_[i] = nullptr;
    w->close();  // deletes itself
  }
}

QWidget* HelpWindows::window(int language) const { return windows_[language ? 1 : 0]; }

}  // namespace vk
