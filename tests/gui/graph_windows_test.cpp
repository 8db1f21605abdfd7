// The graph windows: the animated success graph, the shared HCP graph, their window and the
// log each success graph leaves. Pictures are checked by pixels at computed coordinates; the
// animation runs on a fake clock.
#include "results/graph_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

#include "help/comment_window.h"
#include "mainwindow/app_state.h"
#include "platform/drawing_surface.h"
#include "results/graph_window.h"
#include "results/success_log.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

const QColor kBack(230, 230, 230);
const QColor kGrid(160, 160, 255);
const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kMarkerFill(254, 254, 254);
const QColor kMagenta(255, 0, 255), kRed(255, 0, 0), kDarkGreen(0, 100, 0), kBlack(0, 0, 0);

// A clock that moves on by `readStep` at every reading and by `eventStep` whenever events
// run; `onEvents` acts from inside the graph's pauses, as a user would.
class FakePlatform : public Platform {
 public:
  double MonotonicSeconds() const override { return now += readStep; }
  void ProcessEvents() override {
    ++eventCalls;
    now += eventStep;
    if (onEvents) onEvents(eventCalls);
    QCoreApplication::processEvents();
  }
  mutable double now = 1000;
  double readStep = 1.0;
  double eventStep = 0;
  int eventCalls = 0;
  std::function<void(int)> onEvents;
};

// Hands per point count: p = 20..33 except 22 have them, 22 and 34..40 have none. Of 20 suit
// hands 3 take 8 tricks, 5 take 9, 6 take 10 and 6 take 11; of 20 notrump hands 1 takes 7,
// 5 take 8, 10 take 9 and 4 take 12. Percentages in curve order: 85, 60, 30, 95, 70, 20.
constexpr double kExpected[6] = {85, 60, 30, 95, 70, 20};
bool HasHands(int p) { return p >= 20 && p <= 33 && p != 22; }

// Same points, other numbers: every suit hand takes 9 tricks, every notrump hand 12.
constexpr double kOtherExpected[6] = {100, 0, 0, 100, 100, 100};

double Expected(const double (&values)[6], int curve, int p) {
  if (HasHands(p)) return values[curve];
  return p > 30 ? 100 : 0;
}

class GraphWindowsTest : public ::testing::Test {
 protected:
  GraphWindowsTest() : state(platform), comments(state), graphs(std::make_unique<GraphWindows>(state, comments)) {
    fs::create_directories(folder.path() / kDataFolder);
    state.ctx.folder = folder.path();
    state.background = QColor(240, 240, 240);
    WriteTally(OptionSet{}, false);
  }
  ~GraphWindowsTest() override {
    frmGrph::SetSaveFileNameHook({});
    graphs.reset();
  }

  void WriteTally(const OptionSet& options, bool other) {
    Tallies t;
    for (int p = 0; p <= 40; ++p) {
      if (!HasHands(p)) continue;
      auto& suit = t.HandWeight[0];
      auto& nt = t.HandWeight[-1];
      if (other) {
        suit[9][p] = 20;
        nt[12][p] = 20;
      } else {
        suit[8][p] = 3, suit[9][p] = 5, suit[10][p] = 6, suit[11][p] = 6;
        nt[7][p] = 1, nt[8][p] = 5, nt[9][p] = 10, nt[12][p] = 4;
      }
      t.HCPfreq[p] = 1;
    }
    std::string error;
    ASSERT_TRUE(Fout(folder.path(), SetupFilename(options).resultBaseName, t, 100, 0, error)) << error;
  }

  void Use(const OptionSet& options) {
    state.ctx.options = options;
    state.ctx.SetupFilename();
  }

  frmGrph* NewestSuccessWindow() const {
    const auto open = graphs->SuccessWindows();
    return open.empty() ? nullptr : open.back();
  }

  static QImage Picture(const frmGrph* w) { return w->p->Picture().toImage(); }

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
  static QColor Centre(const frmGrph* w, const QImage& image, double x, double y) {
    return image.pixelColor(w->p->ToPixel(x, y));
  }
  static bool Near(const QColor& a, const QColor& b, int tolerance) { return Distance(a, b) <= tolerance; }
  // Pixels of the colour in the label slot of curve n.
  static int LabelInk(const frmGrph* w, const QImage& image, int n, const QColor& colour) {
    const double y = (n - 1) * 6.9 - 45;
    const QRect slot = QRect(w->p->ToPixel(30.5, y - 1), w->p->ToPixel(37.5, y + 5)).normalized();
    int count = 0;
    for (int py = slot.top(); py <= slot.bottom(); ++py)
      for (int px = slot.left(); px <= slot.right(); ++px) count += Near(image.pixelColor(px, py), colour, 30);
    return count;
  }

  test::ScratchFolder folder;
  FakePlatform platform;
  AppState state;
  CommentWindow comments;
  std::unique_ptr<GraphWindows> graphs;
};

TEST_F(GraphWindowsTest, WindowHasItsButtonsFixedSizeAndCaptionsInEitherLanguage) {
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  frmGrph* english = NewestSuccessWindow();
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->windowTitle(), QStringLiteral("Graph(none)"));
  EXPECT_EQ(english->findChild<QPushButton*>(QStringLiteral("cmdClose"))->text(), QStringLiteral("Close"));
  EXPECT_EQ(english->findChild<QPushButton*>(QStringLiteral("cmdComments"))->text(),
            QStringLiteral("Comments on the Graph"));
  EXPECT_EQ(english->minimumSize(), english->maximumSize());
  EXPECT_EQ(english->size(), QSize(TwipsToPixels(9045), TwipsToPixels(6630)));

  state.ctx.language = 1;
  graphs->cmdGraphHCP_Click();
  frmGrph* japanese = graphs->HcpWindow();
  ASSERT_NE(japanese, nullptr);
  EXPECT_EQ(japanese->windowTitle(), QStringLiteral("[Frequency vs HCP]"));
  EXPECT_EQ(japanese->cmdClose->text(), QStringLiteral("閉じる"));
  EXPECT_EQ(japanese->cmdComments->text(), QStringLiteral("このグラフの説明"));
  EXPECT_EQ(japanese->cmdComments->font().family(), state.UiFont(1));
  EXPECT_EQ(japanese->cmdClose->font().family(), state.UiFont(1));

  QTest::mouseClick(japanese->cmdComments, Qt::LeftButton);
  EXPECT_EQ(state.commentTopic, 3);
  QTest::mouseClick(english->cmdComments, Qt::LeftButton);
  EXPECT_EQ(state.commentTopic, 2);
  ASSERT_NE(comments.window(), nullptr);
  EXPECT_TRUE(comments.window()->isVisible());
  japanese->close();
  EXPECT_TRUE(comments.window() == nullptr || !comments.window()->isVisible()) << "closing a graph closes the comments";
}

TEST_F(GraphWindowsTest, PaceKeysWorkFromEveryControlOfTheWindow) {
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  frmGrph* w = NewestSuccessWindow();
  state.instantDraw = false;
  QTest::keyClick(w->cmdClose, Qt::Key_F1);
  EXPECT_TRUE(state.fastDraw);
  EXPECT_FALSE(state.instantDraw);
  QTest::keyClick(w->p, Qt::Key_F11);
  EXPECT_TRUE(state.instantDraw);
  state.fastDraw = state.instantDraw = false;
  QTest::keyClick(w, Qt::Key_F11);
  QTest::keyClick(w->cmdComments, Qt::Key_F2);
  EXPECT_TRUE(state.instantDraw);
  EXPECT_FALSE(state.fastDraw);
}

TEST_F(GraphWindowsTest, SuccessGraphDrawsGridFrameAndMarkersAtTheTallyValues) {
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  const frmGrph* w = NewestSuccessWindow();
  ASSERT_NE(w, nullptr);
  const QImage image = Picture(w);

  EXPECT_EQ(Centre(w, image, 27.5, -50), kGrid) << "the 50 % line";
  EXPECT_EQ(Centre(w, image, 25, -40), kGrid);
  for (auto [x, y] : {std::pair{20, -100}, {20, 0}, {40, 0}, {40, -50}, {30, -100}})
    EXPECT_EQ(Centre(w, image, x, y), kBlue) << "frame at " << x << ", " << y;

  const QColor colours[6] = {kMagenta, kRed, kMagenta, kDarkGreen, kBlue, kBlack};
  for (int curve = 0; curve < 6; ++curve) {
    for (int p : {24, 27, 29}) {
      const double v = Expected(kExpected, curve, p);
      EXPECT_EQ(Centre(w, image, p, -v), kMarkerFill) << "curve " << curve + 1 << " at " << p;
      EXPECT_EQ(RingTop(w, image, p, v), colours[curve]) << "curve " << curve + 1 << " at " << p;
    }
    EXPECT_GT(LabelInk(w, image, curve + 1, colours[curve]), 10) << "label of curve " << curve + 1;
  }
  // No hands: 0 % up to 30 points, certain success above.
  EXPECT_EQ(Centre(w, image, 22, 0), kMarkerFill);
  EXPECT_EQ(Centre(w, image, 35, -100), kMarkerFill);
  EXPECT_EQ(Centre(w, image, 35, 0), kBlue) << "no marker at 0 % above 30 points";
  EXPECT_EQ(state.graphAbort, 0);
}

TEST_F(GraphWindowsTest, CloseDuringCurveTwoKeepsCurveOneAndDrawsNothingAfter) {
  state.fastDraw = true;  // stays as it was: the graph does not finish
  QPointer<frmGrph> w;
  // One pause per marker: curve 1 takes 21, then the fourth marker of curve 2 (23 points).
  platform.onEvents = [&](int call) {
    if (call == 1) {
      w = NewestSuccessWindow();
      w->setAttribute(Qt::WA_DeleteOnClose, false);  // kept to be looked at
    }
    if (call == 25) QTest::mouseClick(w->cmdClose, Qt::LeftButton);
  };
  graphs->cmdGrph_Click();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->IsClosed());
  EXPECT_EQ(platform.eventCalls, 25) << "no pause after Close";
  EXPECT_EQ(state.graphAbort, 0);
  EXPECT_TRUE(state.fastDraw);

  const QImage image = Picture(w);
  for (int p = 21; p <= 39; ++p) {
    if (p == 22) continue;  // under a marker of curve 2
    EXPECT_EQ(RingTop(w, image, p, Expected(kExpected, 0, p)), kMagenta) << p;
  }
  EXPECT_EQ(RingTop(w, image, 21, 60), kRed);
  EXPECT_EQ(RingTop(w, image, 23, 60), kCyan) << "the marker on show keeps its cyan outline";
  EXPECT_EQ(Centre(w, image, 27.5, -60), kRed) << "the line of curve 2 is complete";
  EXPECT_EQ(Centre(w, image, 24, -60), kRed) << "but not its later markers";
  for (double v : {30.0, 95.0, 70.0, 20.0}) EXPECT_EQ(Centre(w, image, 27.5, -v), kBack) << v << " %";
  for (int n = 3; n <= 6; ++n) {
    const QColor colours[7] = {{}, {}, {}, kMagenta, kDarkGreen, kBlue, kBlack};
    EXPECT_EQ(LabelInk(w, image, n, colours[n]), 0) << "label " << n;
  }
  const QRect finished(w->p->ToPixel(36, 9.5), w->p->ToPixel(41, 12));
  int ink = 0;
  for (int y = finished.top(); y <= finished.bottom(); ++y)
    for (int x = finished.left(); x <= finished.right(); ++x) ink += qGray(image.pixel(x, y)) < 100;
  EXPECT_EQ(ink, 0) << "no \"Finished.\"";
  delete w.data();
}

TEST_F(GraphWindowsTest, WindowClosedOrDeletedWhileDrawingIsNotDrawnIntoAgain) {
  QPointer<frmGrph> w;
  QImage atClose;
  platform.onEvents = [&](int call) {
    if (call == 1) {
      w = NewestSuccessWindow();
      w->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    if (call == 30) {
      w->close();  // the title bar's close box: the abort flag stays 0
      atClose = Picture(w);
    }
  };
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventCalls, 30);
  ASSERT_TRUE(w);
  EXPECT_EQ(Picture(w), atClose);
  delete w.data();

  platform.eventCalls = 0;
  platform.onEvents = [&](int call) {
    if (call == 1) w = NewestSuccessWindow();
    if (call == 3) delete w.data();
  };
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventCalls, 3);
  EXPECT_TRUE(w.isNull());
  EXPECT_TRUE(graphs->SuccessWindows().empty());
}

TEST_F(GraphWindowsTest, GraphStartedDuringAnotherLeavesTheFirstOnesLabelsAndValues) {
  OptionSet dummy;
  dummy[kDummyPoints] = true;
  WriteTally(dummy, /*other=*/true);
  QPointer<frmGrph> first, second;
  platform.onEvents = [&](int call) {
    if (call != 5) return;
    first = NewestSuccessWindow();
    Use(dummy);
    graphs->cmdGrph_Click();  // runs to its end inside the first graph's pause
    second = NewestSuccessWindow();
  };
  graphs->cmdGrph_Click();
  ASSERT_TRUE(first && second);
  ASSERT_NE(first, second);
  EXPECT_EQ(first->windowTitle(), QStringLiteral("Graph(none)"));
  EXPECT_EQ(second->windowTitle(), QStringLiteral("Graph(D)"));
  EXPECT_NE(first->pos(), second->pos()) << "the new window does not cover the first exactly";

  const QColor colours[6] = {kMagenta, kRed, kMagenta, kDarkGreen, kBlue, kBlack};
  const QImage a = Picture(first), b = Picture(second);
  for (int curve = 0; curve < 6; ++curve) {
    EXPECT_GT(LabelInk(first, a, curve + 1, colours[curve]), 10) << "first graph, label " << curve + 1;
    EXPECT_GT(LabelInk(second, b, curve + 1, colours[curve]), 10) << "second graph, label " << curve + 1;
    EXPECT_EQ(RingTop(first, a, 26, kExpected[curve]), colours[curve]) << "first graph, curve " << curve + 1;
    EXPECT_EQ(Centre(second, b, 26, -kOtherExpected[curve]), kMarkerFill) << "second graph, curve " << curve + 1;
  }
}

TEST_F(GraphWindowsTest, PauseIsHalfASecondAFifthAfterF1AndNoneAfterF11) {
  platform.readStep = 0;
  platform.eventStep = 0.125;  // exact in binary: 4 event runs make 0.5 s, 2 make at least 0.2 s
  QPointer<frmGrph> w;
  platform.onEvents = [&](int call) {
    w = NewestSuccessWindow();
    if (call == 9) QTest::keyClick(w->cmdComments, Qt::Key_F1);  // while the third marker shows
    if (call == 16) {
      w->setAttribute(Qt::WA_DeleteOnClose, false);
      QTest::mouseClick(w->cmdClose, Qt::LeftButton);
    }
  };
  graphs->cmdGrph_Click();
  // Markers at 20 and 21 points take 4 runs each, so does the one at 22, timed before F1; then
  // 2 runs each: the marker at 24 points is on show at the 16th run.
  ASSERT_TRUE(w);
  const QImage image = Picture(w);
  EXPECT_EQ(RingTop(w, image, 23, 85), kMagenta);
  EXPECT_EQ(RingTop(w, image, 24, 85), kCyan);
  EXPECT_NE(Centre(w, image, 25, -85), kMarkerFill);
  EXPECT_TRUE(state.fastDraw) << "an unfinished graph leaves F1 set";
  delete w.data();

  // With F11 there are no pauses at all, in this graph and the later ones.
  state.fastDraw = false;
  platform.eventCalls = 0;
  platform.onEvents = {};
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventCalls, 0);
  EXPECT_TRUE(state.instantDraw);
  EXPECT_EQ(graphs->SuccessWindows().size(), 2u);
}

TEST_F(GraphWindowsTest, FastPaceSetBeforeAGraphIsClearedWhenItCompletes) {
  platform.readStep = 0;
  platform.eventStep = 0.125;
  state.fastDraw = true;
  graphs->cmdGrph_Click();
  EXPECT_EQ(platform.eventCalls, 2 * 126) << "0.2 s: two runs of 0.125 s per marker";
  EXPECT_FALSE(state.fastDraw);
}

TEST_F(GraphWindowsTest, LogGetsTheHeaderOfTheLanguageAndOneLinePerOptionCode) {
  state.ctx.language = 1;
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  graphs->cmdGrph_Click();
  EXPECT_EQ(graphs->SuccessWindows().size(), 2u);
  const fs::path log = folder.path() / kSuccessLogName;
  const std::string text = test::ReadWholeFile(log);
  EXPECT_EQ(text, SuccessLogHeader(1) + SuccessLogLine("(none)", state.SuccessProb) + "\r\n");
  EXPECT_NE(text.find("24, 25，26, 27 Pts"), std::string::npos);
  EXPECT_NE(text.find("(none)     [3NT] 70.0, 70.0, 70.0, 70.0  [4S] 60.0, 60.0, 60.0, 60.0"), std::string::npos);
}

TEST_F(GraphWindowsTest, MissingOrShortTallyFileGivesAMessageAndNoGraphOrLog) {
  state.instantDraw = true;
  const fs::path tally = TallyFilePath(folder.path(), "(none)Korvan");
  for (bool present : {false, true}) {
    if (present)
      test::WriteWholeFile(tally, " 100 \r\n 0 0 0\r\n");
    else
      fs::remove(tally);
    graphs->cmdGrph_Click();
    EXPECT_TRUE(graphs->SuccessWindows().empty());
    EXPECT_FALSE(fs::exists(folder.path() / kSuccessLogName));
    QMessageBox* message = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QStringLiteral("msgGraphFile") && w->isVisible()) message = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(message, nullptr) << "present: " << present;
    EXPECT_TRUE(message->text().contains(QStringLiteral("(none)Korvan.dat")));
    EXPECT_FALSE(message->isModal());
    delete message;
  }
}

TEST_F(GraphWindowsTest, HcpGraphDrawsBarsToTheirCountsAndIsSharedUntilClosed) {
  HCPfreqTable freq{};
  freq[0] = 900;  // no bar for 0 points
  freq[12] = 60;  // 6 %
  freq[20] = 40;  // 4 %
  const fs::path file = HCPfreqFilePath(folder.path());
  test::WriteWholeFile(file, HCPfreqFileText(freq, 0));
  graphs->cmdGraphHCP_Click();
  frmGrph* w = graphs->HcpWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(state.commentTopic, 3);
  const QImage image = Picture(w);
  const QColor fill(255, 176, 128), outline(128, 128, 224);
  for (int h : {12, 20}) {  // 6 % and 4 % of the 1,000 pairs
    const int x = w->p->ToPixel(h - 0.4, 0).x();
    // The outline row, within a pixel of the count's height (the window's frame may shift the
    // surface by a pixel between drawing and grabbing).
    int top = w->p->ToPixel(h, -100.0 * (freq[h] / 1000.0)).y();
    for (int dy : {0, 1, -1})
      if (image.pixelColor(x, top + dy) == outline) {
        top += dy;
        break;
      }
    EXPECT_EQ(image.pixelColor(x, top), outline) << h;
    EXPECT_EQ(image.pixelColor(x, top + 3), fill) << h;
    EXPECT_EQ(image.pixelColor(x, top - 3), kBack) << h;
  }
  EXPECT_EQ(Centre(w, image, 0, -10), kBlue);
  EXPECT_EQ(Centre(w, image, 40, -5), kBlue);
  EXPECT_EQ(Centre(w, image, 15, -8), kGrid);
  for (int h : {0, 20, 40}) EXPECT_EQ(Centre(w, image, h, -100.0 * state.ctx.Theo[h]), kMarkerFill) << h;

  // A second press only brings it forward, even when the file has changed.
  freq[12] = 0;
  test::WriteWholeFile(file, HCPfreqFileText(freq, 0));
  w->showMinimized();
  graphs->cmdGraphHCP_Click();
  EXPECT_EQ(graphs->HcpWindow(), w);
  EXPECT_FALSE(w->isMinimized());
  EXPECT_EQ(Picture(w), image);

  // Closed by the main window, it is drawn anew from the file next time.
  QPointer<frmGrph> old = w;
  graphs->CloseHcpGraph();
  EXPECT_TRUE(old.isNull() || old->IsClosed());
  EXPECT_EQ(graphs->HcpWindow(), nullptr);
  graphs->cmdGraphHCP_Click();
  ASSERT_NE(graphs->HcpWindow(), nullptr);
  EXPECT_NE(graphs->HcpWindow(), old.data());
  const frmGrph* again = graphs->HcpWindow();
  EXPECT_EQ(Picture(again).pixelColor(again->p->ToPixel(11.6, -3)), kBack) << "the bar of 12 points is gone";
}

TEST_F(GraphWindowsTest, HcpFileWithoutCountsDrawsTheCurveButNoBars) {
  test::WriteWholeFile(HCPfreqFilePath(folder.path()), HCPfreqFileText(HCPfreqTable{}, 0));
  graphs->cmdGraphHCP_Click();
  const frmGrph* w = graphs->HcpWindow();
  ASSERT_NE(w, nullptr);
  const QImage image = Picture(w);
  EXPECT_EQ(Centre(w, image, 20, -100.0 * state.ctx.Theo[20]), kMarkerFill);
  int checked = 0;
  for (int h = 1; h <= 39; ++h) {
    const double x = h - 0.3, y = -0.3;
    const double curve = -100.0 * (0.3 * state.ctx.Theo[h - 1] + 0.7 * state.ctx.Theo[h]);
    if (std::abs(curve - y) < 0.4) continue;  // where the theoretical curve itself passes
    EXPECT_EQ(Centre(w, image, x, y), kBack) << h;
    ++checked;
  }
  EXPECT_GT(checked, 15);
}

TEST_F(GraphWindowsTest, SavePictureWritesTheSurfaceAsPng) {
  state.instantDraw = true;
  graphs->cmdGrph_Click();
  frmGrph* w = NewestSuccessWindow();
  QString suggested;
  const QString target = QString::fromStdString((folder.path() / "saved").string());
  frmGrph::SetSaveFileNameHook([&](QWidget*, const QString& s) {
    suggested = s;
    return target;
  });
  w->actSavePicture->trigger();
  EXPECT_TRUE(suggested.endsWith(QStringLiteral("Graph(none).png")));
  QImage saved(target + QStringLiteral(".png"));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), Picture(w).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace vk
