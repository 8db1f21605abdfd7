#include "help/comment_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>

#include "deals/rounding.h"
#include "desktop/app_state.h"
#include "platform/platform.h"

namespace vk {

namespace {

// Window, text box and button as designed, in twips; the window size is the outer size.
constexpr int kDesignWidth = 7320, kDesignHeight = 7125;
constexpr int kTxtLeft = 180, kTxtTop = 165, kTxtWidth = 6825, kTxtHeight = 2880;
constexpr int kHtmlLeft = 4020, kHtmlTop = 6195, kHtmlWidth = 1965, kHtmlHeight = 435;

// What a topic and language change from the design; 0 keeps the designed value.
struct CommentSizes {
  int windowWidth, windowHeight, txtWidth, txtHeight, htmlTop;
};

CommentSizes SizesFor(int32_t topic, int32_t language) {
  const bool japanese = language == 1;
  switch (topic) {
    case 1:
      return japanese ? CommentSizes{8160, 7200, 7800, 0, 0} : CommentSizes{0, 6000, 0, 0, 0};
    case 2:
      return japanese ? CommentSizes{8160, 8100, 7800, 0, 0} : CommentSizes{0, 4650, 0, 0, 0};
    case 3:
      // The web button sits at the foot of the text box in both languages; at its designed
      // top it would cover the middle of the longer Japanese text.
      return japanese ? CommentSizes{7900, 8400, 7400, 0, 7500} : CommentSizes{7850, 8700, 7500, 8100, 7500};
    default:
      return CommentSizes{0, 0, 0, 0, 0};
  }
}

int OrDesign(int value, int design) { return value != 0 ? value : design; }

// The text box, which can keep the strip under the web button free of text.
class TextBox : public QPlainTextEdit {
 public:
  explicit TextBox(QWidget* parent) : QPlainTextEdit(parent) {}
  void ReserveBottom(int pixels) { setViewportMargins(0, 0, 0, pixels); }
};

int OuterHeight(const QWidget* window) {
  return window->height() + (window->frameGeometry().height() - window->geometry().height());
}

}  // namespace

frmComment::frmComment(AppState& state, int32_t topic, int32_t language)
    : state_(state), topic_(topic), language_(language) {
  setObjectName("frmComment");
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle("Comment");
  setFont(QFont("Times New Roman"));

  txt_ = new TextBox(this);
  txt_->setObjectName("txt");
  txt_->setReadOnly(true);
  QFont textFont("Times New Roman");
  textFont.setPointSizeF(14.25);
  txt_->setGeometry(TwipsRect(kTxtLeft, kTxtTop, kTxtWidth, kTxtHeight));

  cmdHTML_ = new QPushButton("Further Comments", this);
  cmdHTML_->setObjectName("cmdHTML");
  QFont buttonFont("Arial Narrow");
  buttonFont.setPointSizeF(12);
  cmdHTML_->setGeometry(TwipsRect(kHtmlLeft, kHtmlTop, kHtmlWidth, kHtmlHeight));
  QPalette pal = cmdHTML_->palette();
  pal.setColor(QPalette::Button, palette().color(QPalette::Window));
  cmdHTML_->setPalette(pal);
  connect(cmdHTML_, &QPushButton::clicked, this, &frmComment::cmdHTML_Click);

  if (language == 1) {
    textFont.setPointSizeF(12.5);
    textFont.setFamilies({state.UiFont(1)});
    buttonFont.setFamilies({state.UiFont(1)});
    cmdHTML_->setText("さらに説明");
  }
  txt_->setFont(textFont);
  cmdHTML_->setFont(buttonFont);
  cmdHTML_->setVisible(topic == 3);
  cmdHTML_->raise();

  text_ = CommentText(topic, language);

  const CommentSizes s = SizesFor(topic, language);
  outerSize_ = QSize(TwipsToPixels(OrDesign(s.windowWidth, kDesignWidth)),
                     TwipsToPixels(OrDesign(s.windowHeight, kDesignHeight)));
  resize(outerSize_);
  txt_->resize(TwipsToPixels(OrDesign(s.txtWidth, kTxtWidth)), TwipsToPixels(OrDesign(s.txtHeight, kTxtHeight)));
  cmdHTML_->move(cmdHTML_->x(), TwipsToPixels(OrDesign(s.htmlTop, kHtmlTop)));

  // The text box shows plain line feeds; text() keeps the CR LF breaks.
  QString shown = text_;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  txt_->setPlainText(shown);
}

void frmComment::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  txt_->resize(txt_->width(), RoundHalfEven(0.9 * OuterHeight(this)));
  // Text never runs under the button that lies over the box's lower edge.
  const int covered = cmdHTML_->isVisibleTo(this) && cmdHTML_->geometry().intersects(txt_->geometry())
                          ? txt_->geometry().bottom() - cmdHTML_->y() + 2
                          : 0;
  static_cast<TextBox*>(txt_)->ReserveBottom(covered > 0 ? covered : 0);
}

void frmComment::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (sized_) return;
  // The sizes are those of the whole window; its frame is known only once it is on screen.
  sized_ = true;
  const QSize frame = frameGeometry().size() - geometry().size();
  if (!frame.isEmpty()) resize(outerSize_ - frame);
}

void frmComment::cmdHTML_Click() {
  state_.platform.OpenInBrowser(
      state_.PageAddress(QStringLiteral("GraphExplanation.") + (language_ == 1 ? "htm" : "HTML")));
}

CommentWindow::CommentWindow(AppState& state) : state_(state) {}

CommentWindow::~CommentWindow() { delete window_.data(); }

void CommentWindow::Show() {
  if (window_ != nullptr && window_->isVisible()) {
    Platform::RestoreAndRaise(window_);
    return;
  }
  auto* w = new frmComment(state_, state_.commentTopic, state_.ctx.language);
  window_ = w;
  w->show();
}

void CommentWindow::Close() {
  if (QWidget* w = window_.data()) {
    window_ = nullptr;
    w->close();  // deletes itself
  }
}

QWidget* CommentWindow::window() const { return window_; }

int32_t CommentWindow::topic() const {
  auto* w = qobject_cast<frmComment*>(window_.data());
  return w != nullptr && w->isVisible() ? w->topic() : 0;
}

}  // namespace vk
