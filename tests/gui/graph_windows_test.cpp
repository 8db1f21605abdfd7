// The graph windows and the pictures made without them: the animated success graph, the shared
// HCP graph, the log each success graph leaves, and the exported pictures. Pictures are
// checked by pixels at computed coordinates; the animation runs on the fake clock.
#include "results/graph_windows.h"

#include <cmath>
#include <memory>

#include "fake_platform.h"
#include "platform/drawing_surface.h"
#include "results/graph_export.h"
#include "results/graph_window.h"
#include "results/success_log.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

const QColor kBack(230, 230, 230), kGrid(160, 160, 255), kMarkerFill(254, 254, 254);
const QColor kBlue(0, 0, 255), kCyan(0, 255, 255), kMagenta(255, 0, 255), kRed(255, 0, 0), kBlack(0, 0, 0);
const QColor kCurveColours[6] = {kMagenta, kRed, kMagenta, QColor(0, 100, 0), kBlue, kBlack};

// Hands per point count: p = 20..33 except 22 have them, 22 and 34..40 have none. Of 20 suit
// hands 3 take 8 tricks, 5 take 9, 6 take 10 and 6 take 11; of 20 notrump hands 1 takes 7,
// 5 take 8, 10 take 9 and 4 take 12. Percentages in curve order: 85, 60, 30, 95, 70, 20.
// The other tally: every suit hand takes 9 tricks, every notrump hand 12.
constexpr double kExpected[6] = {85, 60, 30, 95, 70, 20}, kOtherExpected[6] = {100, 0, 0, 100, 100, 100};
bool HasHands(int p) { return p >= 20 && p <= 33 && p != 22; }
// Without hands: 0 % up to 30 points, certain success above.
double Expected(int curve, int p) { return HasHands(p) ? kExpected[curve] : p > 30 ? 100 : 0; }

class GraphWindowsTest : public WindowsTest {
 protected:
  GraphWindowsTest() : graphs(std::make_unique<GraphWindows>(state, comments)) {
    platform.stepPerReading = 1.0;  // every pause ends after one round of events
    WriteTallyOf(OptionSet{}, false);
  }
  ~GraphWindowsTest() override { frmGrph::SetSaveFileNameHook({}); }

  void WriteTallyOf(const OptionSet& options, bool other) {
    Tallies t;
    for (int p = 0; p <= 40; ++p) {
      if (!HasHands(p)) continue;
      auto &suit = t.HandWeight[0], &nt = t.HandWeight[-1];
      suit[9][p] = other ? 20 : 5, nt[12][p] = other ? 20 : 4, t.HCPfreq[p] = 1;
      if (!other) suit[8][p] = 3, suit[10][p] = 6, suit[11][p] = 6, nt[7][p] = 1, nt[8][p] = 5, nt[9][p] = 10;
    }
    WriteTally(t, SetupFilename(options).resultBaseName);
  }
  frmGrph* Newest() const { return graphs->SuccessWindows().empty() ? nullptr : graphs->SuccessWindows().back(); }
  // The newest success window, kept after Close to be looked at, from the first pause on.
  void KeepNewestAtFirstPause(QPointer<frmGrph>& w) {
    if (platform.eventRounds != 1) return;
    w = Newest();
    w->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  static QImage Picture(const frmGrph* w) { return w->p->Picture().toImage().convertToFormat(QImage::Format_RGB32); }
  static int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
  }
  // The colour at the top of a marker's ring (the curve runs through its middle): of the
  // pixels around the computed top, the one farthest from both background and marker fill.
  static QColor RingTop(const frmGrph* w, const QImage& image, int p, double v) {
    const QPointF centre = w->p->ToPixelF(p, -v) + QPointF(0.5, 0.5);
    const int x = static_cast<int>(centre.x());
    const int top = static_cast<int>(std::floor(centre.y() - 0.3 * w->p->PixelsPerUnitX()));
    const auto ink = [](const QColor& k) { return std::min(Distance(k, kBack), Distance(k, kMarkerFill)); };
    QColor inkiest = image.pixelColor(x, top);
    for (int y = top - 1; y <= top + 1; ++y)
      if (ink(image.pixelColor(x, y)) > ink(inkiest)) inkiest = image.pixelColor(x, y);
    return inkiest;
  }
  static QColor At(const frmGrph* w, const QImage& image, double x, double y) {
    return image.pixelColor(w->p->ToPixel(x, y));
  }
  // Pixels of the user rectangle from (x1, y1) to (x2, y2) that `ink` accepts.
  static int Ink(const frmGrph* w, const QImage& image, double x1, double y1, double x2, double y2,
                 const std::function<bool(QColor)>& ink) {
    const QRect area = QRect(w->p->ToPixel(x1, y1), w->p->ToPixel(x2, y2)).normalized();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) count += ink(image.pixelColor(x, y));
    return count;
  }
  // Pixels near the colour in the label slot of curve n.
  static int LabelInk(const frmGrph* w, const QImage& image, int n, const QColor& colour) {
    const double y = (n - 1) * 6.9 - 45;
    return Ink(w, image, 30.5, y - 1, 37.5, y + 5, [&](QColor k) { return Distance(k, colour) <= 30; });
  }

  const OptionSet dummy = *ParseOptionLetters("D");
  std::unique_ptr<GraphWindows> graphs;
};

TEST_F(GraphWindowsTest, ClosingDuringTheDrawingStopsItAndKeepsWhatWasDrawn) {
  state.fastDraw = true;  // stays as it was: the graph does not finish
  QPointer<frmGrph> w;
  // One pause per marker: curve 1 takes 21, then the fourth marker of curve 2 (23 points).
  platform.duringEvents = [&] {
    KeepNewestAtFirstPause(w);
    if (platform.eventRounds == 25) QTest::mouseClick(w->cmdClose, Qt::LeftButton);
  };
  graphs->cmdGrph_Click();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->IsClosed());
  EXPECT_EQ(platform.eventRounds, 25) << "no pause after Close";
  EXPECT_TRUE(state.fastDraw);
  const QImage image = Picture(w);
  for (int p : {21, 23, 27, 33, 34, 39}) EXPECT_EQ(RingTop(w, image, p, Expected(0, p)), kMagenta) << p;
  EXPECT_EQ(RingTop(w, image, 21, 60), kRed);
  EXPECT_EQ(RingTop(w, image, 23, 60), kCyan) << "the marker on show keeps its cyan outline";
  EXPECT_EQ(At(w, image, 24, -60), kRed) << "the line of curve 2, but not its later markers";
  for (double v : {30.0, 95.0, 70.0, 20.0}) EXPECT_EQ(At(w, image, 27.5, -v), kBack) << v << " %";
  for (int n = 3; n <= 6; ++n) EXPECT_EQ(LabelInk(w, image, n, kCurveColours[n - 1]), 0) << "label " << n;
  EXPECT_EQ(Ink(w, image, 36, 9.5, 41, 12, [](QColor k) { return qGray(k.rgb()) < 100; }), 0) << "no \"Finished.\"";
  delete w.data();

  // The title bar's close box, and a window deleted while drawing: no more drawing into it.
  platform.eventRounds = 0;
  QImage atClose;
  platform.duringEvents = [&] {
    KeepNewestAtFirstPause(w);
    if (platform.eventRounds != 30) return;
    w->close();
    atClose = Picture(w);
  };
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventRounds, 30);
  ASSERT_TRUE(w);
  EXPECT_EQ(state.graphAbort, 0);
  EXPECT_EQ(Picture(w), atClose);
  delete w.data();

  platform.eventRounds = 0;
  platform.duringEvents = [&] {
    if (platform.eventRounds == 1) w = Newest();
    if (platform.eventRounds == 3) delete w.data();
  };
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventRounds, 3);
  EXPECT_TRUE(graphs->SuccessWindows().empty());
}

// A graph of other options started during the pause after the fifth marker runs to its end;
// the first graph then completes with its own values and labels.
TEST_F(GraphWindowsTest, SuccessGraphDrawsGridFrameAndMarkersAtTheTallyValuesThroughAnotherGraph) {
  WriteTallyOf(dummy, /*other=*/true);
  QPointer<frmGrph> first, second;
  platform.duringEvents = [&] {
    if (platform.eventRounds != 5) return;
    first = Newest();
    state.ctx.options = dummy;
    state.ctx.SetupFilename();
    graphs->cmdGrph_Click();
    second = Newest();
  };
  graphs->cmdGrph_Click();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->windowTitle(), "Graph(none)");
  EXPECT_EQ(second->windowTitle(), "Graph(D)");
  EXPECT_NE(first->pos(), second->pos()) << "the new window does not cover the first exactly";
  const QImage a = Picture(first), b = Picture(second);
  EXPECT_EQ(At(first, a, 27.5, -50), kGrid) << "the 50 % line";
  for (auto [x, y] : {std::pair{20, -100}, {20, 0}, {40, 0}, {40, -50}, {30, -100}})
    EXPECT_EQ(At(first, a, x, y), kBlue) << "frame at " << x << ", " << y;  // (40, -100) holds a marker
  for (int curve = 0; curve < 6; ++curve) {
    SCOPED_TRACE(testing::Message() << "curve " << curve + 1);
    for (int p : {22, 24, 29, 35}) EXPECT_EQ(At(first, a, p, -Expected(curve, p)), kMarkerFill) << p;
    for (int p : {24, 26, 29}) EXPECT_EQ(RingTop(first, a, p, kExpected[curve]), kCurveColours[curve]) << p;
    EXPECT_GT(LabelInk(first, a, curve + 1, kCurveColours[curve]), 10);
    EXPECT_GT(LabelInk(second, b, curve + 1, kCurveColours[curve]), 10);
    EXPECT_EQ(At(second, b, 26, -kOtherExpected[curve]), kMarkerFill);
  }
  EXPECT_EQ(At(first, a, 35, 0), kBlue) << "no marker at 0 % above 30 points";
}

TEST_F(GraphWindowsTest, PauseIsHalfASecondAFifthAfterF1AndNoneAfterF11) {
  platform.stepPerReading = 0;
  platform.eventStep = 0.0625;  // exact in binary: 8 rounds make 0.5 s, 4 at least 0.2 s
  QPointer<frmGrph> w;
  platform.duringEvents = [&] {
    KeepNewestAtFirstPause(w);
    if (platform.eventRounds == 20) QTest::keyClick(w->cmdComments, Qt::Key_F1);  // third marker on show
    if (platform.eventRounds == 32) QTest::mouseClick(w->cmdClose, Qt::LeftButton);
  };
  graphs->cmdGrph_Click();
  // Markers at 20, 21 and 22 points take 8 rounds each (22 was timed before F1), then 4 each:
  // the marker at 24 points is on show at the 32nd round.
  ASSERT_TRUE(w);
  const QImage image = Picture(w);
  EXPECT_EQ(RingTop(w, image, 23, 85), kMagenta);
  EXPECT_EQ(RingTop(w, image, 24, 85), kCyan);
  EXPECT_NE(At(w, image, 25, -85), kMarkerFill);
  EXPECT_TRUE(state.fastDraw) << "an unfinished graph leaves F1 set";
  delete w.data();

  // F1 set before a graph: 0.2 s for every marker, cleared when the graph completes.
  platform.eventStep = 0.125;
  platform.eventRounds = 0;
  platform.duringEvents = {};
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventRounds, 2 * 126);
  EXPECT_FALSE(state.fastDraw);

  // F1 and F11 work from every control of the window; with F11 no graph pauses any more.
  QTest::keyClick(Newest()->cmdClose, Qt::Key_F1);
  EXPECT_TRUE(state.fastDraw && !state.instantDraw);
  QTest::keyClick(Newest()->p, Qt::Key_F11);
  EXPECT_TRUE(state.instantDraw);
  platform.eventRounds = 0;
  graphs->cmdGrph_Click();
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventRounds, 0);
  EXPECT_EQ(graphs->SuccessWindows().size(), 3u);
}

// A missing or short tally file: a message and no graph, nor a log. Then the log is made with
// the header of the language, and a second graph of the same options adds no line.
TEST_F(GraphWindowsTest, LogGetsTheHeaderOfTheLanguageAndOneLinePerOptionCodeOfAReadableTallyFile) {
  state.ctx.language = 1;
  state.instantDraw = true;
  const fs::path tally = TallyFilePath(folder.path(), "(none)Korvan");
  fs::rename(tally, folder / "saved.dat");
  for (bool present : {false, true}) {
    if (present) WriteWholeFile(tally, " 100 \r\n 0 0 0\r\n");
    graphs->cmdGrph_Click();
    EXPECT_TRUE(graphs->SuccessWindows().empty());
    EXPECT_FALSE(fs::exists(folder / kSuccessLogName));
    QMessageBox* message = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "msgGraphFile" && w->isVisible()) message = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(message, nullptr) << "present: " << present;
    EXPECT_TRUE(message->text().contains("(none)Korvan.dat"));
    EXPECT_FALSE(message->isModal());
    delete message;
  }
  fs::rename(folder / "saved.dat", tally);
  graphs->cmdGrph_Click();
  graphs->cmdGrph_Click();
  EXPECT_EQ(graphs->SuccessWindows().size(), 2u);
  const std::string text = ReadWholeFile(folder / kSuccessLogName);
  EXPECT_EQ(text, SuccessLogHeader(1) + SuccessLogLine("(none)", state.SuccessProb) + "\r\n");
  EXPECT_NE(text.find("(none)     [3NT] 70.0, 70.0, 70.0, 70.0  [4S] 60.0, 60.0, 60.0, 60.0"), std::string::npos);
}

TEST_F(GraphWindowsTest, HcpGraphDrawsBarsToTheirCountsAndIsSharedUntilClosed) {
  state.instantDraw = true;
  HCPfreqTable freq{};
  freq[0] = 900, freq[12] = 60, freq[20] = 40;  // no bar for 0 points; 6 % and 4 %
  WriteWholeFile(HCPfreqFilePath(folder.path()), HCPfreqFileText(freq, 0));
  graphs->cmdGraphHCP_Click();
  frmGrph* w = graphs->HcpWindow();
  ASSERT_NE(w, nullptr);
  const QImage image = Picture(w);
  const QColor outline(128, 128, 224);
  for (int h : {12, 20}) {  // 6 % and 4 % of the 1,000 pairs
    // The outline row lies within a pixel of the count's height (the frame may shift the surface).
    const int x = w->p->ToPixel(h - 0.4, 0).x();
    int top = w->p->ToPixel(h, -0.1 * freq[h]).y();
    top += image.pixelColor(x, top) == outline ? 0 : (image.pixelColor(x, top + 1) == outline ? 1 : -1);
    EXPECT_EQ(image.pixelColor(x, top), outline) << h;
    EXPECT_EQ(image.pixelColor(x, top + 3), QColor(255, 176, 128)) << h;
    EXPECT_EQ(image.pixelColor(x, top - 3), kBack) << h;
  }
  for (int h : {0, 20, 40}) EXPECT_EQ(At(w, image, h, -100.0 * state.ctx.Theo[h]), kMarkerFill) << h;

  // A second press only brings it forward; closed by the main window, it is drawn anew.
  WriteWholeFile(HCPfreqFilePath(folder.path()), HCPfreqFileText(HCPfreqTable{}, 0));
  w->showMinimized();
  graphs->cmdGraphHCP_Click();
  EXPECT_EQ(graphs->HcpWindow(), w);
  EXPECT_FALSE(w->isMinimized());
  EXPECT_EQ(Picture(w), image);
  graphs->CloseHcpGraph();
  EXPECT_EQ(graphs->HcpWindow(), nullptr);
  graphs->cmdGraphHCP_Click();
  const frmGrph* again = graphs->HcpWindow();
  ASSERT_NE(again, nullptr);

  // No counts: the curve but no bars.
  const QImage empty = Picture(again);
  EXPECT_EQ(At(again, empty, 20, -100.0 * state.ctx.Theo[20]), kMarkerFill);
  int checked = 0;
  for (int h = 1; h <= 39; ++h) {
    const double curve = -100.0 * (0.3 * state.ctx.Theo[h - 1] + 0.7 * state.ctx.Theo[h]);
    if (std::abs(curve + 0.3) < 0.4) continue;  // where the theoretical curve itself passes
    EXPECT_EQ(At(again, empty, h - 0.3, -0.3), kBack) << h;
    ++checked;
  }
  EXPECT_GT(checked, 15);

  // The comments buttons choose the topic; closing a graph closes the comments.
  graphs->cmdGrph_Click();
  QTest::mouseClick(again->cmdComments, Qt::LeftButton);
  EXPECT_EQ(state.commentTopic, 3);
  QTest::mouseClick(Newest()->cmdComments, Qt::LeftButton);
  EXPECT_EQ(state.commentTopic, 2);
  ASSERT_TRUE(comments.window() && comments.window()->isVisible());
  graphs->HcpWindow()->close();
  EXPECT_TRUE(comments.window() == nullptr || !comments.window()->isVisible());
}

// The picture made without a window, and the one saved from the window, are the window's.
// In the toolkit's substitute for the designed face the caption filled its button to 2 pixels;
// the condensed stand-in leaves the margins a button needs, in both languages.
TEST_F(GraphWindowsTest, ButtonCaptionsHaveRoomToSpareInBothLanguages) {
  platform.fonts = Platform().InstalledFonts();  // the Japanese font of this machine
  for (int language : {0, 1}) {
    state.ctx.language = language;
    frmGrph w(state, comments);
    for (const QPushButton* b : {w.cmdComments, w.cmdClose}) {
      SCOPED_TRACE(b->text().toStdString() + " in " + QFontInfo(b->font()).family().toStdString());
      EXPECT_GE(b->width() - b->fontMetrics().horizontalAdvance(b->text()), 20);
    }
  }
}

TEST_F(GraphWindowsTest, ExportedAndSavedPicturesAreTheWindowsPicture) {
  std::string error;
  WriteTallyOf(dummy, false);
  platform.fonts = Platform().InstalledFonts();  // the Japanese font the export finds
  state.instantDraw = true;
  state.ctx.options = dummy;
  state.ctx.SetupFilename();
  for (auto kind : {GraphRequest::Kind::Success, GraphRequest::Kind::Hcp}) {
    for (int language : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(kind) << " language " << language);
      const GraphRequest request{kind, language, folder.path(), dummy, 1.0};
      QImage exported;
      ASSERT_TRUE(RenderGraphImage(request, exported, error)) << error;
      state.ctx.language = language;
      graphs->CloseHcpGraph();
      kind == GraphRequest::Kind::Hcp ? graphs->cmdGraphHCP_Click() : graphs->cmdGrph_Click();
      const frmGrph* w = kind == GraphRequest::Kind::Hcp ? graphs->HcpWindow() : Newest();
      EXPECT_TRUE(exported.convertToFormat(QImage::Format_RGB32) == Picture(w));
    }
  }
  QString suggested;
  const QString target = QString::fromStdString((folder / "saved").string());
  frmGrph::SetSaveFileNameHook([&](QWidget*, const QString& s) {
    suggested = s;
    return target;
  });
  Newest()->actSavePicture->trigger();
  EXPECT_TRUE(suggested.endsWith("Graph(D).png"));
  const QImage saved(target + ".png");
  ASSERT_FALSE(saved.isNull());
  EXPECT_TRUE(saved.convertToFormat(QImage::Format_RGB32) == Picture(Newest()));

  // The exported axis title says points only with a correction, and names the option code.
  WriteTallyOf(*ParseOptionLetters("U"), false);
  for (auto [letters, axis, code] : {std::tuple{"", ">HCP </text>", "</text>"},
                                     {"U", ">HCP </text>", ">(U) </text>"},
                                     {"D", ">Points </text>", ">(D) </text>"}}) {
    const GraphRequest request{GraphRequest::Kind::Success, 0, folder.path(), *ParseOptionLetters(letters), 1.0};
    ASSERT_TRUE(RenderGraph(request, folder / "graph.svg", error)) << error;
    const std::string svg = ReadWholeFile(folder / "graph.svg");
    EXPECT_NE(svg.find(axis), std::string::npos) << letters;
    EXPECT_NE(svg.find(code), std::string::npos) << letters;
    EXPECT_EQ(svg.find(">(none)"), std::string::npos) << letters;
  }
  const GraphRequest hcp{GraphRequest::Kind::Hcp, 0, folder.path(), {}, 2.0};
  ASSERT_TRUE(RenderGraph(hcp, folder / "graph.png", error)) << error;
  EXPECT_EQ(QImage(QString::fromStdString((folder / "graph.png").string())).size(), GraphPictureSize() * 2);
}

}  // namespace
}  // namespace vk::test
