// Graph pictures made without a window: the same picture as the window's, as PNG and SVG.
#include "results/graph_export.h"

#include <gtest/gtest.h>

#include <QImage>

#include "help/comment_window.h"
#include "mainwindow/app_state.h"
#include "platform/drawing_surface.h"
#include "results/graph_window.h"
#include "results/graph_windows.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

class GraphExportTest : public ::testing::Test {
 protected:
  GraphExportTest() {
    fs::create_directories(folder.path() / kDataFolder);
    Tallies t;
    for (int p = 18; p <= 33; ++p) {
      t.HandWeight[0][p / 3][p] = 5;
      t.HandWeight[0][13 - p / 4][p] = 7;
      t.HandWeight[-1][p / 2 - 3][p] = 9;
      t.HandWeight[-1][12][p] = static_cast<float>(p - 17);
      t.HCPfreq[p] = 40 - p;
    }
    for (const char* letters : {"", "D", "U"}) {
      std::string error;
      const OptionSet options = *ParseOptionLetters(letters);
      EXPECT_TRUE(Fout(folder.path(), SetupFilename(options).resultBaseName, t, 50, 0, error)) << error;
    }
  }

  GraphRequest Request(const char* letters, GraphRequest::Kind kind = GraphRequest::Kind::Success,
                       int language = 0) const {
    GraphRequest r;
    r.kind = kind;
    r.language = language;
    r.folder = folder.path();
    r.options = *ParseOptionLetters(letters);
    return r;
  }

  // The picture the graph window shows for the same request.
  QImage WindowPicture(const GraphRequest& request) {
    Platform platform;
    AppState state(platform);
    state.ctx.folder = folder.path();
    state.ctx.language = request.language;
    state.ctx.options = request.options;
    state.ctx.SetupFilename();
    state.instantDraw = true;
    CommentWindow comments(state);
    GraphWindows graphs(state, comments);
    frmGrph* window = nullptr;
    if (request.kind == GraphRequest::Kind::Hcp) {
      graphs.cmdGraphHCP_Click();
      window = graphs.HcpWindow();
    } else {
      graphs.cmdGrph_Click();
      window = graphs.SuccessWindows().back();
    }
    return window->p->Picture().toImage().convertToFormat(QImage::Format_RGB32);
  }

  std::string Svg(const GraphRequest& request) {
    const fs::path out = folder.path() / "graph.svg";
    std::string error;
    EXPECT_TRUE(RenderGraph(request, out, error)) << error;
    return test::ReadWholeFile(out);
  }

  // The texts of the picture in drawing order, one line's texts between two "|". The SVG writer may split
  // a Japanese text into runs; those are joined again.
  std::string SvgTexts(const GraphRequest& request) {
    const std::string svg = Svg(request);
    std::string texts = "|";
    double lastY = -1;
    for (std::size_t end = svg.find("</text>"); end != std::string::npos; end = svg.find("</text>", end + 1)) {
      const std::size_t open = svg.rfind("<text", end);
      const std::size_t start = svg.find('>', open) + 1;
      const std::size_t yAt = svg.find(" y=\"", open) + 4;
      const double y = std::stod(svg.substr(yAt, svg.find('"', yAt) - yAt));
      if (lastY >= 0 && y != lastY) texts += '|';
      texts += svg.substr(start, end - start);
      lastY = y;
    }
    return texts + '|';
  }

  test::ScratchFolder folder;
};

TEST_F(GraphExportTest, PictureIsTheGraphWindowsPictureInBothKindsAndLanguages) {
  for (auto kind : {GraphRequest::Kind::Success, GraphRequest::Kind::Hcp})
    for (int language : {0, 1}) {
      const GraphRequest request = Request("D", kind, language);
      QImage image;
      std::string error;
      ASSERT_TRUE(RenderGraphImage(request, image, error)) << error;
      EXPECT_EQ(image.size(), GraphPictureSize());
      EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB32) == WindowPicture(request))
          << "kind " << static_cast<int>(kind) << ", language " << language;
    }
}

TEST_F(GraphExportTest, PngAndSvgFilesAreWrittenByTheirNames) {
  std::string error;
  GraphRequest request = Request("");
  request.scale = 2;
  const fs::path png = folder.path() / "graph.png";
  ASSERT_TRUE(RenderGraph(request, png, error)) << error;
  const QImage image(QString::fromStdString(png.string()));
  EXPECT_EQ(image.size(), GraphPictureSize() * 2);

  const std::string svg = Svg(Request("", GraphRequest::Kind::Hcp));
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("HCP dealt to a pair of players"), std::string::npos);
  EXPECT_NE(svg.find("Frequency(%)"), std::string::npos);

  EXPECT_FALSE(RenderGraph(request, folder.path() / "graph.gif", error));
  EXPECT_NE(error.find(".svg"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder.path() / "graph.gif"));
}

TEST_F(GraphExportTest, AxisTitleSaysPointsOnlyWithACorrectionAndNamesTheOptionCode) {
  const std::string none = SvgTexts(Request(""));
  EXPECT_NE(none.find("|HCP  dealt to a pair of players|"), std::string::npos) << none;
  EXPECT_EQ(none.find("(none)"), std::string::npos);
  EXPECT_NE(none.find("|Finished.|"), std::string::npos);

  const std::string limit = SvgTexts(Request("U"));
  EXPECT_NE(limit.find("|HCP  dealt to a pair of players(U) |"), std::string::npos) << limit;

  const std::string dummy = SvgTexts(Request("D"));
  EXPECT_NE(dummy.find("|Points  dealt to a pair of players(D) |"), std::string::npos) << dummy;
  EXPECT_NE(dummy.find("|Suit 11Tricks.|"), std::string::npos);

  const std::string japanese = SvgTexts(Request("D", GraphRequest::Kind::Success, 1));
  EXPECT_NE(japanese.find("|成功確率(%)|"), std::string::npos) << japanese;
  EXPECT_NE(japanese.find("|ペアの点数|(D) |"), std::string::npos);
  EXPECT_NE(japanese.find("|ノートランプ 12 トリック|"), std::string::npos);
  EXPECT_NE(japanese.find("|完了しました.|"), std::string::npos);
}

TEST_F(GraphExportTest, MissingTallyFileIsAnErrorAndWritesNothing) {
  std::string error;
  const fs::path out = folder.path() / "graph.png";
  EXPECT_FALSE(RenderGraph(Request("DL"), out, error));
  EXPECT_NE(error.find("(DL)Korvan.dat"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(out));

  fs::remove(HCPfreqFilePath(folder.path()));
  error.clear();
  EXPECT_FALSE(RenderGraph(Request("", GraphRequest::Kind::Hcp), out, error));
  EXPECT_NE(error.find(kHCPfreqFileName), std::string::npos) << error;
}

}  // namespace
}  // namespace vk
