#include "results/table_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "platform/platform.h"
#include "scan/tallies.h"
#include "scan/tally_files.h"

namespace vk {

namespace {

// Design of the window, in twips.
constexpr int kClientWidth = 10905, kClientHeight = 3105;
constexpr int kFrameLeft = 135, kFrameTop = 180, kFrameWidth = 10620, kFrameHeight = 2055;
constexpr int kCaptionRuleX = 1995;  // between the row captions and the cells
constexpr int kDesignRuleY1 = 1110, kDesignRuleY2 = 2580;
// How far the grid keeps inside the frame's right and bottom edges when it is fitted to it.
constexpr int kGridInsetRight = 135, kGridInsetBottom = 45;
constexpr int kTemplateLeft = 270, kTemplateTop = 435, kTemplateWidth = 570, kTemplateHeight = 450;

// Rows 1..5 from the bottom: which tally cell each one shows. The captions are the same in
// both languages.
struct TableRow {
  int32_t cls;
  int32_t tricks;
  const char* caption;
};
constexpr TableRow kRows[6] = {
    {0, 0, ""},
    {-1, 8, "NT  8 tricks"},
    {-1, 9, "NT  9 tricks"},
    {0, 9, "Suit  9 tricks"},
    {0, 10, "Suit 10 tricks"},
    {0, 11, "Suit 11 tricks"},
};

// The row showing (class, tricks), 0 for a pair the table leaves out.
int RowOf(int32_t cls, int32_t tricks) {
  if (cls == -1) return tricks == 8 ? 1 : tricks == 9 ? 2 : 0;
  if (cls == 0) return tricks >= 9 && tricks <= 11 ? tricks - 6 : 0;
  return 0;
}

QFont Font(const QStringList& families, double points) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  return font;
}

// The grid in twips: where the cells start, the width of a column, the top of the points row
// and the height of a row.
struct GridMetrics {
  int x0;
  int pitch;
  int top;
  int rowHeight;
};

// The grid as designed follows the window font: the cells start 15 widths of "A" from the left,
// a column is 5.2 widths wide, the points row lies 6.9 heights of "A" down and a row is one
// height. A font wider or taller than the designed one would push the last columns or the
// points row out of the frame; the grid then takes its pitch, or its row height, from the frame.
GridMetrics FitGrid(int wA, int hA, int cellTextHeight) {
  GridMetrics g{15 * wA, RoundHalfEven(5.2 * wA), RoundHalfEven(6.9 * hA), hA};
  const int right = kFrameLeft + kFrameWidth - kGridInsetRight;
  if (g.x0 + 12 * g.pitch > right) {
    g.x0 = std::min(g.x0, kCaptionRuleX);
    g.pitch = (right - g.x0) / 12;
  }
  const int bottom = kFrameTop + kFrameHeight - kGridInsetBottom;
  if (g.top + cellTextHeight > bottom) {
    g.rowHeight = static_cast<int>((bottom - cellTextHeight) / 6.9);
    g.top = RoundHalfEven(6.9 * g.rowHeight);
  }
  return g;
}

void SetCaption(QLabel* label, const QString& text, Qt::Alignment alignment, const QFont& font) {
  label->setText(text);
  label->setAlignment(alignment);
  label->setFont(font);
}

// The main window's controls that a running scan needs in view: Start/Stop, the deal counter
// and View Graph.
constexpr const char* kScanControls[] = {"cmdStart", "lblDealCount", "cmdGrph"};

// Where the table window's outer frame goes. As designed its left edge lies half the main
// window's width right of the main window's left edge; its top is taken so that it covers none
// of the scan's controls: just below the main window, else just above it, else beside it on the
// right, else below the lowest of those controls. It always stays on the screen's available
// area.
QPoint TablePosition(const QWidget& main, QSize outer) {
  const QRect m = main.frameGeometry();
  const QScreen* screen = main.screen();
  const QRect avail = screen != nullptr ? screen->availableGeometry() : QRect(m.topLeft(), outer.expandedTo(m.size()));
  std::vector<QRect> keepClear;
  int controlsBottom = m.top();
  for (const char* name : kScanControls) {
    if (const auto* c = main.findChild<const QWidget*>(QString::fromLatin1(name)); c != nullptr && c->isVisible()) {
      keepClear.emplace_back(c->mapToGlobal(QPoint(0, 0)), c->size());
      controlsBottom = std::max(controlsBottom, keepClear.back().bottom());
    }
  }
  const auto clampX = [&](int x) { return std::max(avail.left(), std::min(x, avail.right() + 1 - outer.width())); };
  const auto clampY = [&](int y) { return std::max(avail.top(), std::min(y, avail.bottom() + 1 - outer.height())); };
  const int left = clampX(m.left() + RoundHalfEven(m.width() / 2.0));
  const QPoint candidates[] = {
      {left, m.bottom() + 1}, {left, m.top() - outer.height()}, {m.right() + 1, m.top()}, {left, controlsBottom + 1}};
  for (const QPoint& at : candidates) {
    const QRect r(at, outer);
    if (!avail.contains(r)) continue;
    if (std::none_of(keepClear.begin(), keepClear.end(), [&](const QRect& c) { return c.intersects(r); })) return at;
  }
  return {left, clampY(controlsBottom + 1)};
}

}  // namespace

frmTab::frmTab(const QColor& background, const QString& caption) {
  setObjectName("frmTab");
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(caption);
  setFont(DesignSansSerif(11.25));
  resize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  if (background.isValid()) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Button, background);
    setPalette(pal);
  }
  setAutoFillBackground(true);

  cmdComment_ = new QPushButton("Comments on Table", this);
  cmdComment_->setObjectName("cmdComment");
  cmdComment_->setFont(DesignSansSerif(12));
  cmdComment_->setGeometry(TwipsRect(6375, 2385, 2805, 435));
  cmdHide_ = new QPushButton("Hide Table", this);
  cmdHide_->setObjectName("cmdHide");
  cmdHide_->setFont(DesignSansSerif(12));
  cmdHide_->setGeometry(TwipsRect(9255, 2385, 1485, 450));
  connect(cmdComment_, &QPushButton::clicked, this, [this] {
    if (onComment) onComment();
  });
  connect(cmdHide_, &QPushButton::clicked, this, [this] {
    if (onHide) onHide();
  });
}

void frmTab::BuildGrid() {
  // The template label; the others copy its font, colours and height. Labels are
  // transparent because neighbouring rows overlap: a row is one text line high, a label more.
  auto makeLabel = [this](int index) {
    auto* label = new QLabel(this);
    label->setObjectName(QString("L%1").arg(index));
    label->setTextFormat(Qt::PlainText);
    label->setFont(Font({QStringLiteral("Arial Narrow")}, 11.25));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    labels_[static_cast<std::size_t>(index)] = label;
    return label;
  };
  QLabel* templateLabel = makeLabel(0);
  templateLabel->setGeometry(TwipsRect(kTemplateLeft, kTemplateTop, kTemplateWidth, kTemplateHeight));

  const QFontMetrics fm(font());
  wA_ = RoundHalfEven(PixelsToTwips(fm.horizontalAdvance(QLatin1Char('A'))));
  hA_ = RoundHalfEven(PixelsToTwips(fm.height()));
  const GridMetrics grid =
      FitGrid(wA_, hA_, static_cast<int>(std::ceil(PixelsToTwips(templateLabel->fontMetrics().height()))));
  const int x0 = grid.x0;
  const int pitch = grid.pitch;
  const int rowHeight = grid.rowHeight;
  int top = grid.top;

  std::array<int, 78> left{};
  for (int k = 1; k <= 12; ++k) {
    left[static_cast<std::size_t>(k)] = x0 + (k - 1) * pitch;
    QLabel* label = makeLabel(k);
    label->setText(QString::number(19 + k));
    label->setGeometry(TwipsRect(left[static_cast<std::size_t>(k)], top, pitch, kTemplateHeight));
  }
  pointsRuleY_ = top - 1;
  const int pointsTop = top;
  top = top - RoundHalfEven(rowHeight / 2.0);

  const QFont rowFont = Font({QStringLiteral("Arial")}, 12);
  for (int r = 1; r <= 5; ++r) {
    top -= rowHeight;
    if (r == 3) top -= RoundHalfEven(rowHeight / 2.0);  // the gap between the notrump and suit rows
    const int captionLeft = RoundHalfEven(wA_ / 2.0);
    QLabel* caption = makeLabel(13 * r);
    SetCaption(caption, QString::fromLatin1(kRows[r].caption), Qt::AlignHCenter | Qt::AlignTop, rowFont);
    caption->setGeometry(TwipsRect(captionLeft, top, x0, kTemplateHeight));
    left[static_cast<std::size_t>(13 * r)] = captionLeft;
    for (int k = 1; k <= 12; ++k) {
      const std::size_t i = static_cast<std::size_t>(13 * r + k);
      left[i] = left[i - 13];
      makeLabel(13 * r + k)->setGeometry(TwipsRect(left[i], top, pitch, kTemplateHeight));
    }
  }

  SetCaption(templateLabel, "Points", Qt::AlignHCenter | Qt::AlignTop, Font({QStringLiteral("Arial")}, 12.5));
  templateLabel->setGeometry(TwipsRect(left[13], pointsTop + 2, x0, kTemplateHeight));
  update();
}

void frmTab::ShowCaptions(int32_t language, const QString& englishFont, const QString& japaneseFont) {
  QFont hideFont = cmdHide_->font();
  QFont commentFont = cmdComment_->font();
  if (language == 1) {
    cmdHide_->setText("表を隠す");
    cmdComment_->setText("集計表の説明");
    hideFont.setFamilies({japaneseFont});
    commentFont.setFamilies({japaneseFont});
  } else {
    cmdHide_->setText("Hide Table");
    cmdComment_->setText("Comments on Table");
    hideFont.setFamilies({QStringLiteral("Arial")});
    commentFont.setFamilies({englishFont});
  }
  cmdHide_->setFont(hideFont);
  cmdComment_->setFont(commentFont);
}

QRect frmTab::GridFrame() { return TwipsRect(kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight); }

void frmTab::CloseQuietly() {
  closingQuietly_ = true;
  close();
}

void frmTab::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(GridFrame());
  const int frameRight = TwipsToPixels(kFrameLeft + kFrameWidth);
  if (pointsRuleY_ > 0) {
    const int y = TwipsToPixels(pointsRuleY_);
    painter.drawLine(TwipsToPixels(kFrameLeft), y, frameRight, y);
  }
  painter.drawLine(TwipsToPixels(kCaptionRuleX), TwipsToPixels(kFrameTop), TwipsToPixels(kCaptionRuleX),
                   TwipsToPixels(kFrameTop + kFrameHeight));
  for (int y : {kDesignRuleY1, kDesignRuleY2}) painter.drawLine(0, TwipsToPixels(y), width(), TwipsToPixels(y));
}

void frmTab::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onShowCaptions) onShowCaptions();
}

void frmTab::closeEvent(QCloseEvent* event) {
  if (!closingQuietly_ && onCloseBox) onCloseBox();
  event->accept();
}

TableWindows::TableWindows(AppState& state, CommentWindow& comments) : state_(state), comments_(comments) {
  // Setting a label costs far more than tallying a hand; a screenful of counts every 50 ms
  // looks the same as one per hand.
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(50);
  QObject::connect(&flushTimer_, &QTimer::timeout, [this] { FlushCells(); });
}

TableWindows::~TableWindows() {
  delete window_.data();
  delete message_.data();
}

QString TableWindows::Caption() const {
  return QStringLiteral("Table") + QString::fromStdString(state_.ctx.names.resultBaseName);
}

void TableWindows::LoadTab() {
  if (state_.ctx.tableState != kTableNone) {
    if (QWidget* open = state_.platform.FindWindowByCaption(Caption())) {
      Platform::RestoreAndRaise(open);
      if (auto* table = qobject_cast<frmTab*>(open)) window_ = table;
      state_.ctx.tableState = kTableShown;
      return;
    }
  }
  BuildWindow();
  state_.ctx.tableState = kTableShown;
}

void TableWindows::BuildWindow() {
  // One table window at a time: a window left from other options goes.
  if (window_ != nullptr) window_->CloseQuietly();

  dirty_.fill(false);
  auto* w = new frmTab(state_.background, Caption());
  w->onHide = [this] {
    state_.ctx.tableState = kTableHidden;
    comments_.Close();
    if (window_ != nullptr) window_->CloseQuietly();
  };
  w->onCloseBox = [this] {
    comments_.Close();
    state_.ctx.tableState = kTableNone;
  };
  w->onComment = [this] {
    state_.commentTopic = 1;
    comments_.Show();
  };
  w->onShowCaptions = [this, w] { w->ShowCaptions(state_.ctx.language, state_.UiFont(0), state_.UiFont(1)); };
  w->BuildGrid();
  w->onShowCaptions();

  if (state_.mainWindow != nullptr) {
    // The window system adds the same frame to the table as to the main window.
    const QWidget& main = *state_.mainWindow;
    const QSize frame = main.frameGeometry().size() - main.geometry().size();
    w->move(TablePosition(main, w->size() + frame));
  }
  window_ = w;
  w->show();
}

void TableWindows::ShowWholeTable() {
  dirty_.fill(false);
  if (window_ == nullptr) return;
  const CountTable& counts = state_.ctx.tallies.HandCount;
  for (int row = 1; row <= 5; ++row) {
    for (int p = 20; p <= 31; ++p) {
      window_->L(lblNo(row, p))->setText(QString::number(counts[kRows[row].cls][kRows[row].tricks][p]));
    }
  }
}

void TableWindows::UpdateTable(int32_t cls, int32_t tricks, int32_t points) {
  if (state_.ctx.tableState != kTableShown || points < 20 || points > 31) return;
  const int row = RowOf(cls, tricks);
  if (row == 0) return;
  dirty_[static_cast<std::size_t>(lblNo(row, points))] = true;
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void TableWindows::FlushCells() {
  flushTimer_.stop();
  if (window_ != nullptr) {
    const CountTable& counts = state_.ctx.tallies.HandCount;
    for (int row = 1; row <= 5; ++row) {
      for (int p = 20; p <= 31; ++p) {
        const auto i = static_cast<std::size_t>(lblNo(row, p));
        if (dirty_[i])
          window_->L(lblNo(row, p))->setText(QString::number(counts[kRows[row].cls][kRows[row].tricks][p]));
      }
    }
  }
  dirty_.fill(false);
}

bool TableWindows::ScanRunning() const {
  if (state_.mainWindow == nullptr) return false;
  const auto* start = state_.mainWindow->findChild<QAbstractButton*>("cmdStart");
  return start != nullptr && start->text() == QStringLiteral("Working");
}

void TableWindows::Message(const QString& text) {
  delete message_.data();
  auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("VelKorvan"), text, QMessageBox::Ok);
  box->setObjectName("msgNoTable");
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setAttribute(Qt::WA_QuitOnClose, false);
  message_ = box;
  if (showMessages_) box->show();
}

bool TableWindows::ShowFromTallyFile() {
  const std::string& base = state_.ctx.names.resultBaseName;
  const std::filesystem::path file = TallyFilePath(state_.ctx.folder, base);
  const QString code = QString::fromStdString(state_.ctx.names.optionCode);
  const QString shownName = QStringLiteral("DataFiles/") + QString::fromStdString(base) + QStringLiteral(".dat");
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    Message(state_.ctx.language == 1
                ? QStringLiteral("オプション %1 の集計表はまだありません (ファイル %2 がありません)。"
                                 "先にこのオプションで集計を行ってください。")
                      .arg(code, shownName)
                : QStringLiteral("There is no table for the options %1 yet: the file %2 is missing. "
                                 "Run a scan with these options first.")
                      .arg(code, shownName));
    return false;
  }
  CountTable counts{};
  std::string error;
  if (!Fin(file, counts, error)) {
    Message(state_.ctx.language == 1
                ? QStringLiteral("集計表のファイル %1 を読めません: %2").arg(shownName, QString::fromStdString(error))
                : QStringLiteral("The table file %1 cannot be read: %2").arg(shownName, QString::fromStdString(error)));
    return false;
  }
  state_.ctx.tallies.HandCount = counts;
  state_.ctx.tableState = kTableNone;
  LoadTab();
  ShowWholeTable();
  return true;
}

void TableWindows::cmdTable_Click() {
  int32_t& tableState = state_.ctx.tableState;
  if (tableState == kTableReShow) {
    // A scan is running without a table: a new window with the counts so far, which then
    // follows the scan.
    tableState = kTableNone;
    LoadTab();
    ShowWholeTable();
    tableState = kTableShown;
    return;
  }
  if (QWidget* open = state_.platform.FindWindowByCaption(Caption())) {
    Platform::RestoreAndRaise(open);
    if (tableState != kTableNone) tableState = kTableShown;
    return;
  }
  if (tableState != kTableNone && ScanRunning()) {
    // Hidden during this scan: show the live counts again.
    tableState = kTableNone;
    LoadTab();
    ShowWholeTable();
    return;
  }
  // Between scans, whether the table was never shown, closed or hidden: the tally file's table.
  ShowFromTallyFile();
}

void TableWindows::Close() {
  if (window_ == nullptr) return;
  if (comments_.topic() == 1) comments_.Close();  // the table's explanation goes with it
  window_->CloseQuietly();
  window_ = nullptr;
}

QWidget* TableWindows::window() const { return window_; }

}  // namespace vk
