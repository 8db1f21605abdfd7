#include "compare/compare_chart.h"

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <tuple>

#include "results/graph_export.h"
#include "results/graph_style.h"
#include "results/success_prob.h"
#include "scan/tally_files.h"

namespace vk {

namespace {

constexpr int kWidth = 960, kHeight = 560, kPanelTop = 70, kRowHeight = 26, kLabelWidth = 110;
const QColor kReference(255, 0, 0);

QString Number(double v, int decimals) { return QString::number(v, 'f', decimals); }

// One ranking: rows of option sets, skill across.
void DrawPanel(QPainter& p, const QRect& area, const std::vector<OptionSetScore>& scores, int curve,
               const QString& title) {
  const std::vector<int> order = RankBySkill(scores, curve);
  std::vector<int> rows;
  for (int s : order) {
    if (static_cast<int>(rows.size()) >= kChartRows) break;
    if (scores[static_cast<std::size_t>(s)].curves[static_cast<std::size_t>(curve)].skill.HasValue()) rows.push_back(s);
  }
  if (std::find(rows.begin(), rows.end(), 0) == rows.end() && !scores.empty()) rows.push_back(0);
  double lo = 1.0, hi = 0.0;
  for (int s : rows) {
    const Estimate& e = scores[static_cast<std::size_t>(s)].curves[static_cast<std::size_t>(curve)].skill;
    if (!e.HasValue()) continue;
    lo = std::min(lo, e.HasInterval() ? e.low : e.value);
    hi = std::max(hi, e.HasInterval() ? e.high : e.value);
  }
  if (hi <= lo) {
    lo = 0.0;
    hi = 1.0;
  }
  const double pad = (hi - lo) * 0.08;
  lo -= pad;
  hi += pad;
  const QRect plot(area.left() + kLabelWidth, area.top() + 30, area.width() - kLabelWidth - 10,
                   static_cast<int>(rows.size()) * kRowHeight + 10);
  auto x = [&](double v) { return plot.left() + (v - lo) / (hi - lo) * plot.width(); };

  p.setPen(Qt::black);
  p.drawText(QRect(area.left(), area.top(), area.width(), 24), Qt::AlignLeft | Qt::AlignVCenter, title);
  // Grid: five steps across with their values below.
  for (int i = 0; i <= 4; ++i) {
    const double v = lo + (hi - lo) * i / 4.0;
    p.setPen(graph_style::kGrid);
    p.drawLine(QPointF(x(v), plot.top()), QPointF(x(v), plot.bottom()));
    p.setPen(Qt::black);
    p.drawText(QRectF(x(v) - 40, plot.bottom() + 4, 80, 20), Qt::AlignHCenter | Qt::AlignTop, Number(v, 3));
  }
  p.setPen(QPen(graph_style::kBlue, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot);
  const Estimate& none = scores.empty() ? Estimate{} : scores[0].curves[static_cast<std::size_t>(curve)].skill;
  if (none.HasValue()) {
    p.setPen(QPen(kReference, 1, Qt::DashLine));
    p.drawLine(QPointF(x(none.value), plot.top()), QPointF(x(none.value), plot.bottom()));
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const OptionSetScore& s = scores[static_cast<std::size_t>(rows[i])];
    const Estimate& e = s.curves[static_cast<std::size_t>(curve)].skill;
    const double y = plot.top() + 5 + kRowHeight * (static_cast<double>(i) + 0.5);
    const QColor colour = s.set == 0 ? kReference : graph_style::kBlue;
    p.setPen(s.set == 0 ? kReference : QColor(Qt::black));
    p.drawText(QRectF(area.left(), y - kRowHeight / 2.0, kLabelWidth - 8, kRowHeight),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(s.optionCode));
    if (!e.HasValue()) continue;
    if (e.HasInterval()) {
      p.setPen(QPen(colour, 2));
      p.drawLine(QPointF(x(e.low), y), QPointF(x(e.high), y));
      p.drawLine(QPointF(x(e.low), y - 4), QPointF(x(e.low), y + 4));
      p.drawLine(QPointF(x(e.high), y - 4), QPointF(x(e.high), y + 4));
    }
    p.setPen(QPen(colour, 1));
    p.setBrush(graph_style::kMarkerFill);
    p.drawEllipse(QPointF(x(e.value), y), 4.5, 4.5);
    p.setBrush(Qt::NoBrush);
  }
}

}  // namespace

QSize CompareChartSize() { return {kWidth, kHeight}; }

bool IsChartFileName(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".png" || ext == ".svg";
}

void DrawCompareChart(QPainter& p, const std::vector<OptionSetScore>& scores, int32_t language) {
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(0, 0, kWidth, kHeight), graph_style::kBackground);
  QFont font(graph_style::kArial);
  font.setPixelSize(15);
  p.setFont(font);
  const bool english = language == 0;
  p.setPen(Qt::black);
  p.drawText(QRect(20, 10, kWidth - 40, 24), Qt::AlignLeft | Qt::AlignVCenter,
             english ? QStringLiteral("Brier skill score with 95 % interval, best first; (none) in red")
                     : QStringLiteral("ブライア・スキル・スコアと 95 % 信頼区間 (良い順); (none) は赤"));
  font.setPixelSize(13);
  p.setFont(font);
  const int half = kWidth / 2;
  for (auto [curve, contract, left] : {std::tuple{kCurve3NT, "3NT", 10}, std::tuple{kCurve4S, "4S", half}}) {
    const SuccessCurve& c = kSuccessCurves[static_cast<std::size_t>(curve)];
    const QString title =
        QString::fromLatin1(contract) + QStringLiteral(": ") + QString::fromUtf8(english ? c.english : c.japanese);
    DrawPanel(p, QRect(left, kPanelTop - 30, half - 20, kHeight - kPanelTop), scores, curve, title);
  }
}

bool RenderCompareChart(const std::vector<OptionSetScore>& scores, int32_t language, const std::filesystem::path& out,
                        std::string& error) {
  if (!IsChartFileName(out)) {
    error = "the chart's name must end in .png or .svg: " + out.string();
    return false;
  }
  if (!EnsureGuiApplication(error)) return false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  std::string ext = out.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".svg") {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(CompareChartSize());
    svg.setViewBox(QRect(QPoint(0, 0), CompareChartSize()));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("Compare evaluations"));
    QPainter painter(&svg);
    DrawCompareChart(painter, scores, language);
    painter.end();
  } else {
    QImage image(CompareChartSize() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawCompareChart(painter, scores, language);
    painter.end();
    if (!image.save(&buffer, "PNG")) {
      error = "the chart could not be drawn";
      return false;
    }
  }
  return WriteFileAtomically(
      out, std::string_view(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size())), error);
}

}  // namespace vk
