#include "results/success_graph.h"

#include "platform/drawing_surface.h"
#include "results/graph_style.h"

namespace vk {

namespace {

using namespace graph_style;

const QColor kMarkerOutline(0, 255, 255);

void DrawAxisTitles(Canvas& p, const SuccessGraphText& text) {
  if (text.language == 1) {
    p.SetFontName(text.japaneseFont);
    // The box behind the vertical title hides the grid line that runs through it.
    const double w = p.TextWidth(QStringLiteral(" 成功確率(%) "));
    const double h = p.TextHeight(QStringLiteral("A"));
    p.Box(33, -70, 33 + w, -70 + 1.5 * h, p.BackColor(), true);
    p.CurrentX = 33.5;
    p.CurrentY = -68;
    p.Print(QStringLiteral("成功確率(%)"));
    p.CurrentX = 25;
    p.CurrentY = 9.5;
    p.Print(text.points ? QStringLiteral("ペアの点数") : QStringLiteral("ペアの HCP"));
    p.SetFontName(kArial);
  } else {
    const double w = p.TextWidth(QStringLiteral(" Success  Probability (%) "));
    const double h = p.TextHeight(QStringLiteral("A"));
    p.Box(31.5, -60.5, 31.5 + w, -60.5 + 1.2 * h, p.BackColor(), true);
    p.CurrentX = 32;
    p.CurrentY = -59;
    p.PrintLine(QStringLiteral("Success Probability(%)"));
    p.CurrentX = 20;
    p.CurrentY = 9.5;
    p.Print(text.points ? QStringLiteral("Points ") : QStringLiteral("HCP "));
    p.Print(QStringLiteral(" dealt to a pair of players"));
  }
  if (text.optionCode != QStringLiteral("(none)")) p.Print(text.optionCode + QStringLiteral(" "));
  p.PrintLine();
}

}  // namespace

QColor CurveColour(const SuccessCurve& curve) { return QColor(curve.red, curve.green, curve.blue); }

QString NumberText(int value) {
  return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(value < 0 ? -value : value) +
         QStringLiteral(" ");
}

void PrintBilingual(Canvas& p, const SuccessGraphText& text, const QString& japanese, const QString& english) {
  if (text.language == 1) {
    p.SetFontName(text.japaneseFont);
    p.Print(japanese);
    p.SetFontName(kArial);
  } else {
    p.Print(english);
  }
}

void DrawSuccessFrame(Canvas& p, const SuccessGraphText& text) {
  // x is the point count, y minus the percentage: the frame spans 20..40 and 0..-100.
  PrepareSurface(p, 15, -112, 42, 17);

  p.Line(20, -50, 40, -50, kGrid);
  for (int x = 25; x <= 35; x += 5) p.Line(x, 0, x, -100, kGrid);

  DrawAxisTitles(p, text);

  p.Line(20, -100, 20, 0, kBlue);
  p.LineTo(40, 0, kBlue);
  p.LineTo(40, -100, kBlue);
  p.LineTo(20, -100, kBlue);

  p.SetForeColor(Qt::black);
  for (int v = 0; v <= 100; v += 10) {
    p.Line(20, -v, 20.3, -v, kBlue);
    p.Line(40, -v, 39.7, -v, kBlue);
    p.CurrentX = v == 0 ? 18.75 : v == 100 ? 18.3 : 18.5;
    p.CurrentY = -v - 2.4;
    p.Print(NumberText(v));
  }
  for (int x = 20; x <= 40; x += 5) {
    p.Line(x, -100, x, -98, kBlue);
    p.Line(x, 0, x, 2, kBlue);
    p.CurrentX = x - 0.6;
    p.CurrentY = 3;
    p.Print(NumberText(x));
  }
}

bool DrawCurve(Canvas& p, const SuccessProbTable& table, int cls, int tricks, const QColor& colour, int& curveCounter,
               const SuccessGraphText& text, GraphPace& pace) {
  const int n = ++curveCounter;
  const double labelY = (n - 1) * 6.9 - 45;
  p.Box(30.5, labelY - 1, 37.5, labelY + p.TextHeight(QStringLiteral("A")), p.BackColor(), true);
  p.SetForeColor(colour);
  p.CurrentX = 31;
  p.CurrentY = labelY;
  if (n >= 1 && n <= static_cast<int>(kSuccessCurves.size())) {
    const SuccessCurve& label = kSuccessCurves[static_cast<std::size_t>(n - 1)];
    PrintBilingual(p, text, QString::fromUtf8(label.japanese), QString::fromUtf8(label.english));
  }

  const auto v = [&](int points) { return static_cast<double>(CurveValue(table, cls, tricks, points)); };
  p.SetDrawWidth(2);
  p.CurrentX = 20;
  p.CurrentY = -v(20);
  for (int points = 21; points <= 40; ++points) p.LineTo(points, -v(points), colour);

  p.SetDrawWidth(1);
  for (int points = 20; points <= 40; ++points) {
    p.SetFillStyle(FillStyle::Solid);
    p.SetFillColor(kMarkerFill);
    p.Circle(points, -v(points), 0.3, kMarkerOutline);
    if (!pace.MarkerPause()) return false;
    p.SetFillStyle(FillStyle::Transparent);
    p.Circle(points, -v(points), 0.3, colour);
  }
  return true;
}

void DrawFinished(Canvas& p, const SuccessGraphText& text) {
  p.SetForeColor(Qt::black);
  p.CurrentX = 36;
  p.CurrentY = 9.5;
  if (text.language == 1) {
    p.SetFontName(text.japaneseFont);
    p.PrintLine(QStringLiteral("完了しました."));
    p.SetFontName(kArial);
  } else {
    p.PrintLine(QStringLiteral("Finished."));
  }
}

bool DrawSuccessGraph(Canvas& p, const SuccessProbTable& table, const SuccessGraphText& text, GraphPace& pace) {
  DrawSuccessFrame(p, text);
  int curveCounter = 0;
  for (const SuccessCurve& curve : kSuccessCurves) {
    if (!pace.NextCurve()) return false;
    if (!DrawCurve(p, table, curve.cls, curve.tricks, CurveColour(curve), curveCounter, text, pace)) return false;
  }
  DrawFinished(p, text);
  return true;
}

}  // namespace vk
