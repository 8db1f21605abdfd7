#include "results/graph_export.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "desktop/app_state.h"
#include "platform/drawing_surface.h"
#include "platform/platform.h"
#include "results/hcp_graph.h"
#include "results/success_graph.h"
#include "results/success_prob.h"
#include "scan/tally_files.h"
#include "scan/theo.h"

namespace vk {

namespace {

// What one picture is drawn from, read before anything is drawn.
struct GraphData {
  GraphRequest::Kind kind = GraphRequest::Kind::Success;
  SuccessProbTable prob{};
  HCPfreqTable freq{};
  TheoTable theo{};
  SuccessGraphText successText;
  HcpGraphText hcpText;
  QString caption;
};

bool Load(const GraphRequest& request, GraphData& data, std::string& error) {
  if (request.language != 0 && request.language != 1) {
    error = "the language must be 0 (English) or 1 (Japanese)";
    return false;
  }
  data.kind = request.kind;
  // The Japanese font is found the way the desktop program finds it.
  Platform platform;
  AppState state(platform);
  state.ctx.language = request.language;
  const QString japaneseFont = state.UiFont(1);
  if (request.kind == GraphRequest::Kind::Hcp) {
    if (!FinHCPfreq(HCPfreqFilePath(request.folder), data.freq, error)) return false;
    data.theo = MakeTheo();
    data.hcpText = HcpGraphText{request.language, japaneseFont};
    data.caption = QStringLiteral("[Frequency vs HCP]");
    return true;
  }
  const OptionNames names = SetupFilename(request.options);
  CountTable counts{};
  if (!Fin(TallyFilePath(request.folder, names.resultBaseName), counts, error)) return false;
  data.prob = GetSuccessProb(counts);
  const QString code = QString::fromStdString(names.optionCode);
  data.successText = SuccessGraphText{request.language, japaneseFont, request.options.AnyCorrection(), code};
  data.caption = QStringLiteral("Graph") + code;
  return true;
}

void Draw(Canvas& canvas, const GraphData& data) {
  if (data.kind == GraphRequest::Kind::Hcp) {
    DrawHcpGraph(canvas, data.freq, data.theo, data.hcpText);
  } else {
    NoPause pace;
    DrawSuccessGraph(canvas, data.prob, data.successText, pace);
  }
}

bool Paint(const GraphData& data, double scale, QImage& image) {
  const QSize size = GraphPictureSize();
  image = QImage(size * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  constexpr int kDotsPerMetre = 3780;  // 96 dots per inch
  image.setDotsPerMeterX(kDotsPerMetre);
  image.setDotsPerMeterY(kDotsPerMetre);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterCanvas canvas(painter, QSizeF(size));
  Draw(canvas, data);
  return painter.end();
}

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

bool EnsureGuiApplication(std::string& error) {
  if (QCoreApplication::instance() == nullptr) {
    // The headless scanner has no application of its own; this one lives until the process ends.
    static int argc = 3;
    static char arg0[] = "velkorvan", arg1[] = "-platform", arg2[] = "offscreen";
    static char* argv[] = {arg0, arg1, arg2, nullptr};
    new QGuiApplication(argc, argv);
  }
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    error = "drawing a graph needs a GUI application, not a console one";
    return false;
  }
  return true;
}

QSize GraphPictureSize() { return TwipsRect(30, 15, 8880, 5985).size(); }

bool RenderGraphImage(const GraphRequest& request, QImage& image, std::string& error) {
  if (!EnsureGuiApplication(error)) return false;
  GraphData data;
  if (!Load(request, data, error)) return false;
  const double scale = std::clamp(request.scale, 0.25, 8.0);
  if (!Paint(data, scale, image)) {
    error = "the picture could not be drawn";
    return false;
  }
  return true;
}

bool RenderGraph(const GraphRequest& request, const std::filesystem::path& out, std::string& error) {
  const std::string extension = Lowercase(out.extension().string());
  if (extension != ".png" && extension != ".svg") {
    error = "the picture's name must end in .png or .svg: " + out.string();
    return false;
  }
  if (!EnsureGuiApplication(error)) return false;
  GraphData data;
  if (!Load(request, data, error)) return false;

  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (extension == ".svg") {
    const QSize size = GraphPictureSize();
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(data.caption);
    svg.setDescription(QStringLiteral("VelKorvan"));
    QPainter painter(&svg);
    PainterCanvas canvas(painter, QSizeF(size));
    Draw(canvas, data);
    painter.end();
  } else {
    QImage image;
    if (!Paint(data, std::clamp(request.scale, 0.25, 8.0), image) || !image.save(&buffer, "PNG")) {
      error = "the picture could not be drawn";
      return false;
    }
  }
  const QByteArray& bytes = buffer.data();
  if (bytes.isEmpty()) {
    error = "the picture could not be drawn";
    return false;
  }
  return WriteFileAtomically(out, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), error);
}

}  // namespace vk
