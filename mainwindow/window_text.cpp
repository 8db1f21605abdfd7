// Text printed straight onto the main window at a text cursor, as the start-up messages are.
// The window keeps every printed piece with its font and position and paints them again
// whenever it is drawn.
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "mainwindow/main_window.h"

namespace vk {

double Form1::LineHeightTwips() const { return PixelsToTwips(QFontMetricsF(printFont_).height()); }

void Form1::PrintPlain(const QString& text) {
  if (text.isEmpty()) return;
  printed_.push_back(PrintedRun{text, printFont_, QPointF(cursorX_, cursorY_)});
  cursorX_ += PixelsToTwips(QFontMetricsF(printFont_).horizontalAdvance(text));
  update();
}

void Form1::EndLine() {
  cursorY_ += LineHeightTwips();
  cursorX_ = 0;
}

void Form1::PrintWrapped(const QString& indent, const QString& text) {
  const QFontMetricsF fm(printFont_);
  // As much room on the right as the indent takes on the left.
  const double room = width() - 2 * fm.horizontalAdvance(indent);
  QString rest = text;
  while (!rest.isEmpty()) {
    qsizetype n = rest.size();
    while (n > 1 && fm.horizontalAdvance(rest.left(n)) > room) --n;
    if (n < rest.size()) {
      if (rest.at(n - 1).isHighSurrogate() && n > 1) --n;  // never split a character in two
      const qsizetype cut = std::max(rest.lastIndexOf(u'/', n - 1), rest.lastIndexOf(u' ', n - 1)) + 1;
      if (cut > n / 2) n = cut;
    }
    PrintPlain(indent + rest.left(n));
    EndLine();
    rest = rest.mid(n);
  }
}

void Form1::prnt(const QString& a) {
  // Full stops and commas stand out in bold; neighbouring characters of one weight go out
  // together.
  QString run;
  bool runBold = false;
  auto flush = [&] {
    printFont_.setBold(runBold);
    PrintPlain(run);
    printFont_.setBold(false);
    run.clear();
  };
  for (const QChar ch : a) {
    const bool bold = ch == u'.' || ch == u',';
    if (!run.isEmpty() && bold != runBold) flush();
    run += ch;
    runBold = bold;
  }
  if (!run.isEmpty()) flush();
}

QString Form1::PrintedString() const {
  QString all;
  double lastY = printed_.empty() ? 0 : printed_.front().topLeftTwips.y();
  for (const PrintedRun& run : printed_) {
    if (run.topLeftTwips.y() != lastY) all += u'\n';
    lastY = run.topLeftTwips.y();
    all += run.text;
  }
  return all;
}

void Form1::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (printed_.empty()) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const double pixelsPerTwip = 1.0 / PixelsToTwips(1.0);
  for (const PrintedRun& run : printed_) {
    painter.setFont(run.font);
    const QPointF topLeft = run.topLeftTwips * pixelsPerTwip;
    painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(run.font).ascent()), run.text);
  }
}

}  // namespace vk
