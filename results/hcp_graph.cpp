#include "results/hcp_graph.h"

#include "platform/drawing_surface.h"
#include "results/graph_style.h"
#include "results/success_graph.h"

namespace vk {

namespace {

using namespace graph_style;

const QColor kBarFill(255, 176, 128);
const QColor kBarOutline(128, 128, 224);

void MoveTo(Canvas& p, double x, double y) {
  p.CurrentX = x;
  p.CurrentY = y;
}

void PrintAt(Canvas& p, double x, double y, const QString& text) {
  MoveTo(p, x, y);
  p.Print(text);
}

}  // namespace

void DrawHcpGraph(Canvas& p, const HCPfreqTable& freq, const TheoTable& theo, const HcpGraphText& text) {
  double total = 0;
  for (int32_t count : freq) total += count;

  // x is the combined HCP, y minus the percentage: the frame spans 0..40 and 0..-10.
  PrepareSurface(p, -5, -11, 42, 1.5);

  p.CurrentY = 0.8;
  if (text.language == 1) {
    p.SetFontName(text.japaneseFont);
    PrintAt(p, 18, 0.8, QStringLiteral("ペアの HCP"));
    PrintAt(p, 1.5, -9, QStringLiteral("出現頻度(%)"));
    p.SetFontName(kArial);
  } else {
    MoveTo(p, 15, 0.8);
    p.PrintLine(QStringLiteral("HCP dealt to a pair of players"));
    MoveTo(p, 1.5, -9);
    p.PrintLine(QStringLiteral("Frequency(%)"));
  }

  p.Line(0, -10, 0, 0, kBlue);
  p.LineTo(40, 0, kBlue);
  p.LineTo(40, -10, kBlue);
  p.LineTo(0, -10, kBlue);

  for (int x = 10; x <= 30; x += 5) p.Line(x, 0, x, -10, kGrid);

  p.SetForeColor(Qt::black);
  for (int i = 0; i <= 10; ++i) {
    p.Line(0, -i, 0.5, -i, kBlue);
    p.Line(40, -i, 39.5, -i, kBlue);
    PrintAt(p, i == 10 ? -2.2 : -1.5, -i - 0.22, NumberText(i));
  }

  for (int x = 10; x <= 40; x += 10) {
    p.Line(x, -10, x, -9.99, kBlue);
    p.Line(x, 0, x, 0.01, kBlue);
    MoveTo(p, x - 1.2, 0.1);
  }
  struct ScaleLabel {
    double x;
    const char* text;
  };
  constexpr ScaleLabel kLabels[] = {{-0.4, "0"},  {9.1, "10"},  {14.1, "15"}, {19.2, "20"},
                                    {24.2, "25"}, {29.2, "30"}, {34.2, "35"}, {39.2, "40"}};
  for (const ScaleLabel& label : kLabels) PrintAt(p, label.x, 0.1, QString::fromLatin1(label.text));
  for (int x = 5; x <= 35; x += 5) p.Line(x, 0, x, 0.01, kBlue);

  // Bars for 1..39 only: 0 and 40 are too rare to show. Without any counts there is nothing
  // to divide by, and no bar.
  if (total > 0) {
    const auto top = [&](int h) { return -100.0 * (freq[h] / total); };
    for (int h = 1; h <= 39; ++h) p.Box(h - 0.5, 0, h + 0.5, top(h), kBarFill, true);
    for (int h = 1; h <= 39; ++h) p.Box(h - 0.5, 0, h + 0.5, top(h), kBarOutline, false);
  }

  DrawCurve2(p, theo, Qt::black);
}

void DrawCurve2(Canvas& p, const TheoTable& table, const QColor& colour) {
  p.SetForeColor(Qt::black);
  const auto y = [&](int h) { return -100.0 * static_cast<double>(table[h]); };
  p.PSet(40, 0, colour);
  for (int h = 40; h >= 0; --h) p.LineTo(h, y(h), colour);
  for (int h = 0; h <= 40; ++h) {
    p.SetFillStyle(FillStyle::Solid);
    p.SetFillColor(kMarkerFill);
    p.Circle(h, y(h), 0.3, p.ForeColor());
    p.SetFillStyle(FillStyle::Transparent);
    p.Circle(h, y(h), 0.3, colour);
  }
}

}  // namespace vk
