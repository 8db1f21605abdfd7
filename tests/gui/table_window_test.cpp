// The frequency table window: its grid, the cells the scan refreshes, and the table-window
// states through Show Table, Hide Table and the close box, between scans and during one.
#include "results/table_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>
#include <string>

#include "help/comment_window.h"
#include "fake_platform.h"
#include "mainwindow/app_state.h"
#include "scan/scan_driver.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk {
namespace {

using test::FakePlatform;

// A main window stand-in with the Start button whose caption says whether a scan runs.
class TableFixture : public ::testing::Test {
 protected:
  TableFixture() : state(platform), comments(state), tables(state, comments) {
    state.ctx.folder = folder.path();
    state.background = QColor(227, 227, 227);
    main.setGeometry(100, 120, 493, 374);
    start = new QPushButton("Start", &main);
    start->setObjectName("cmdStart");
    state.mainWindow = &main;
    main.show();
    tables.setShowMessages(false);
    tables.setCellFlushInterval(0);  // cells follow at the next event processing
  }
  ~TableFixture() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  frmTab* table() const { return qobject_cast<frmTab*>(tables.window()); }
  QString Cell(int row, int points) const { return table()->L(lblNo(row, points))->text(); }
  std::map<int, QString> AllCells() const {
    std::map<int, QString> cells;
    for (int i = 0; i < 78; ++i) cells[i] = table()->L(i)->text();
    return cells;
  }
  static void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void ClickButton(const char* name) {
    auto* button = table()->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
  }
  // Writes the tally file of the current options with the weights `fill` gives.
  void WriteTallyFile(const std::function<float(int, int, int)>& fill) {
    Tallies t;
    for (int c = -1; c <= 0; ++c)
      for (int k = 0; k <= 13; ++k)
        for (int p = 0; p <= 40; ++p) t.HandWeight[c][k][p] = fill(c, k, p);
    std::string error;
    std::filesystem::create_directories(state.ctx.DataFolder());
    ASSERT_TRUE(Fout(state.ctx.folder, state.ctx.names.resultBaseName, t, 1000, 0, error)) << error;
  }

  test::ScratchFolder folder;
  FakePlatform platform;
  AppState state;
  QWidget main;
  QPushButton* start;
  CommentWindow comments;
  TableWindows tables;
};

TEST_F(TableFixture, LoadTabBuildsTheCaptionedGridBesideTheMainWindow) {
  state.ctx.names = SetupFilename(*ParseOptionLetters("DL"));
  tables.LoadTab();
  ASSERT_NE(table(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableShown);
  EXPECT_EQ(table()->windowTitle(), "Table(DL)Korvan");
  // Half of the main window's width from its left edge, an exact half rounding to even.
  const QRect m = main.frameGeometry();
  EXPECT_EQ(table()->frameGeometry().left(), m.left() + RoundHalfEven(m.width() / 2.0));

  for (int i = 0; i < 78; ++i) EXPECT_NE(table()->findChild<QLabel*>(QString("L%1").arg(i)), nullptr) << i;
  EXPECT_EQ(table()->L(0)->text(), "Points");
  EXPECT_EQ(table()->L(12)->text(), "31");
  EXPECT_EQ(table()->L(13)->text(), "NT  8 tricks");
  EXPECT_EQ(table()->L(39)->text(), "Suit  9 tricks");
  EXPECT_EQ(table()->L(65)->text(), "Suit 11 tricks");
  EXPECT_EQ(Cell(3, 25), "");  // a fresh grid is empty until written

  // Columns line up under the points, rows climb from notrump 8 to suit 11 one text line
  // apart, with half a line more between the notrump and the suit rows.
  const int wA = table()->wA(), hA = table()->hA();
  EXPECT_EQ(table()->L(1)->x(), TwipsToPixels(15 * wA));
  for (int row = 1; row <= 5; ++row)
    for (int p = 20; p <= 31; ++p) EXPECT_EQ(table()->L(lblNo(row, p))->x(), table()->L(p - 19)->x());
  auto top = [&](int row) { return PixelsToTwips(table()->L(13 * row)->y()); };
  EXPECT_NEAR(top(1) - top(2), hA, 15);
  EXPECT_NEAR(top(2) - top(3), 1.5 * hA, 15);
  EXPECT_NEAR(top(4) - top(5), hA, 15);
  EXPECT_EQ(table()->L(0)->x(), table()->L(13)->x());
  EXPECT_EQ(table()->L(0)->y(), TwipsToPixels(RoundHalfEven(6.9 * hA) + 2));
  // The grid fits inside the frame (its right edge at 10755 twips) and the suit 11 row
  // lies below the frame's top edge.
  EXPECT_LE(table()->L(12)->geometry().right(), TwipsToPixels(10755));
  EXPECT_GE(table()->L(65)->y(), TwipsToPixels(180));
}

TEST_F(TableFixture, UpdateTableWritesOnlyTheFiveRowsAt20To31Points) {
  tables.LoadTab();
  Tallies& t = state.ctx.tallies;
  const TheoWeights theo(state.ctx.Theo);
  // A suit hand taking exactly 11 tricks with 26 points.
  UpdateWithProbability(t, theo, 0, 0, 11, 26);
  tables.UpdateTable(0, 11, 26);
  Settle();
  EXPECT_EQ(table()->L(72)->text(), "1");
  UpdateWithProbability(t, theo, 0, -1, 8, 20);
  tables.UpdateTable(-1, 8, 20);
  UpdateWithProbability(t, theo, 0, -1, 8, 20);
  tables.UpdateTable(-1, 8, 20);
  Settle();
  EXPECT_EQ(Cell(1, 20), "2");

  const auto before = AllCells();
  struct Hand {
    int cls, tricks, points;
  };
  for (Hand h : {Hand{0, 11, 19}, Hand{0, 11, 32}, Hand{-1, 10, 25}, Hand{0, 8, 25}, Hand{0, 12, 25}, Hand{-1, 12, 25},
                 Hand{-1, 7, 25}}) {
    UpdateWithProbability(t, theo, 0, h.cls, h.tricks, h.points);
    tables.UpdateTable(h.cls, h.tricks, h.points);
  }
  Settle();
  EXPECT_EQ(AllCells(), before);

  // Only a shown table is written to.
  state.ctx.tableState = kTableHidden;
  UpdateWithProbability(t, theo, 0, 0, 11, 26);
  tables.UpdateTable(0, 11, 26);
  Settle();
  EXPECT_EQ(table()->L(72)->text(), "1");
}

TEST_F(TableFixture, ShowTableWithoutTallyFileSaysSoAndChangesNothing) {
  state.ctx.tallies.HandCount[0][10][25] = 7;
  tables.cmdTable_Click();
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableNone);
  EXPECT_EQ(state.ctx.tallies.HandCount[0][10][25], 7);
  ASSERT_NE(tables.message(), nullptr);
  auto* box = qobject_cast<QMessageBox*>(tables.message());
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->text().contains("(none)Korvan.dat")) << box->text().toStdString();
  EXPECT_FALSE(box->isVisible());

  // A file too short to hold a table is refused the same way.
  std::filesystem::create_directories(state.ctx.DataFolder());
  test::WriteWholeFile(TallyFilePath(state.ctx.folder, state.ctx.names.resultBaseName), " 1000\r\n 0\r\n");
  tables.cmdTable_Click();
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableNone);
}

TEST_F(TableFixture, ShowHideAndCloseBetweenScans) {
  WriteTallyFile([](int c, int k, int p) { return static_cast<float>(100 * (c + 2) + 10 * k + p); });

  tables.cmdTable_Click();  // state 0: built and filled from the file
  ASSERT_NE(table(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableShown);
  EXPECT_EQ(Cell(5, 26), QString::number(200 + 110 + 26));
  EXPECT_EQ(Cell(1, 20), QString::number(100 + 80 + 20));
  EXPECT_EQ(Cell(3, 31), QString::number(200 + 90 + 31));
  QWidget* first = table();

  tables.cmdTable_Click();  // state 1: the same window comes back
  EXPECT_EQ(table(), first);
  EXPECT_EQ(state.ctx.tableState, kTableShown);

  ClickButton("cmdComment");
  EXPECT_EQ(state.commentTopic, 1);
  ASSERT_NE(comments.window(), nullptr);
  EXPECT_TRUE(comments.window()->isVisible());

  ClickButton("cmdHide");
  EXPECT_EQ(state.ctx.tableState, kTableHidden);
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(comments.window(), nullptr);

  // Show Table after Hide Table builds the table again.
  tables.cmdTable_Click();
  ASSERT_NE(table(), nullptr);
  EXPECT_TRUE(table()->isVisible());
  EXPECT_EQ(state.ctx.tableState, kTableShown);
  EXPECT_EQ(Cell(4, 24), QString::number(200 + 100 + 24));

  ClickButton("cmdComment");
  table()->close();  // the close box
  Settle();
  EXPECT_EQ(state.ctx.tableState, kTableNone);
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(comments.window(), nullptr);

  // The button rules close the table at the end of a scan without touching the state.
  tables.cmdTable_Click();
  ASSERT_NE(table(), nullptr);
  tables.Close();
  Settle();
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableShown);
}

TEST_F(TableFixture, ButtonCaptionsFollowTheLanguage) {
  tables.LoadTab();
  EXPECT_EQ(table()->findChild<QPushButton*>("cmdHide")->text(), "Hide Table");
  EXPECT_EQ(table()->findChild<QPushButton*>("cmdComment")->text(), "Comments on Table");
  tables.Close();
  Settle();
  state.ctx.language = 1;
  state.ctx.tableState = kTableNone;
  tables.LoadTab();
  auto* hide = table()->findChild<QPushButton*>("cmdHide");
  EXPECT_EQ(hide->text(), "表を隠す");
  EXPECT_EQ(table()->findChild<QPushButton*>("cmdComment")->text(), "集計表の説明");
  EXPECT_EQ(hide->font().families().value(0), state.UiFont(1));
}

// Runs a library scan whose event processing plays a script, one entry per progress step;
// EnableReShowTable does what the main window does.
class ScriptedScanUi : public ScanUi {
 public:
  ScriptedScanUi(AppState& state, TableWindows& tables, QPushButton* start)
      : state_(state), tables_(tables), start_(start) {}
  void ShowCounter(const std::string&) override {}
  std::string DealsToScanText() override { return ""; }
  void ProcessEvents() override {
    if (step < script.size() && script[step]) script[step]();
    ++step;
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  void LoadTab() override { tables_.LoadTab(); }
  void UpdateTable(int32_t c, int32_t t, int32_t p) override {
    ++updates;
    tables_.UpdateTable(c, t, p);
  }
  void EnableReShowTable() override {
    if (start_->text() != "Working") return;
    state_.ctx.tableState = kTableReShow;
    ++reShows;
  }
  std::vector<std::function<void()>> script;
  std::size_t step = 0;
  int updates = 0;
  int reShows = 0;

 private:
  AppState& state_;
  TableWindows& tables_;
  QPushButton* start_;
};

class ScanTableFixture : public TableFixture {
 protected:
  ScanTableFixture() {
    test::WriteLibrary(folder / kBinLibraryName, test::RandomDeals(700, 20240611), kLibraryKindBin);
    std::string error;
    EXPECT_TRUE(PrepareDataFolder(state.ctx, error)) << error;
    EXPECT_TRUE(ChooseLibrary(state.ctx));
    start->setText("Working");
  }
  // The counts of the five rows as the window shows them, and as the tallies hold them.
  std::vector<QString> ShownRows() const {
    std::vector<QString> v;
    for (int row = 1; row <= 5; ++row)
      for (int p = 20; p <= 31; ++p) v.push_back(Cell(row, p));
    return v;
  }
  std::vector<QString> TallyRows() const {
    static constexpr int kCls[6] = {0, -1, -1, 0, 0, 0}, kTricks[6] = {0, 8, 9, 9, 10, 11};
    std::vector<QString> v;
    for (int row = 1; row <= 5; ++row)
      for (int p = 20; p <= 31; ++p)
        v.push_back(QString::number(state.ctx.tallies.HandCount[kCls[row]][kTricks[row]][p]));
    return v;
  }
  CountTable QuietScanCounts() {
    test::ScratchFolder other;
    std::filesystem::copy_file(folder / kBinLibraryName, other / kBinLibraryName);
    ScanContext ctx;
    ctx.folder = other.path();
    std::string error;
    EXPECT_TRUE(PrepareDataFolder(ctx, error));
    EXPECT_TRUE(ChooseLibrary(ctx));
    SilentScanUi ui;
    Start(ctx, ui, 1, ctx.library.dealCount);
    return ctx.tallies.HandCount;
  }
};

TEST_F(ScanTableFixture, ShowTableDuringScanAfterCloseOrHideShowsTheCountsSoFarAndFollows) {
  ScriptedScanUi ui(state, tables, start);
  std::vector<QString> shownAtReShow, talliesAtReShow;
  ui.script = {
      [&] { table()->close(); },  // deal 100: the close box
      [&] {                       // deal 200: Show Table, re-enabled by the step before
        EXPECT_EQ(state.ctx.tableState, kTableReShow);
        tables.cmdTable_Click();
        ASSERT_NE(table(), nullptr);
        shownAtReShow = ShownRows();
        talliesAtReShow = TallyRows();
      },
      [&] { ClickButton("cmdHide"); },  // deal 300; Show Table stayed usable since deal 200
      [&] {                             // deal 400
        EXPECT_EQ(state.ctx.tableState, kTableHidden);
        tables.cmdTable_Click();
        ASSERT_NE(table(), nullptr);
        EXPECT_EQ(ShownRows(), TallyRows());
      },
  };
  ASSERT_EQ(Start(state.ctx, ui, 1, 700).outcome, ScanOutcome::Finished);
  Settle();
  EXPECT_EQ(ui.reShows, 1);
  EXPECT_EQ(shownAtReShow, talliesAtReShow);
  EXPECT_NE(talliesAtReShow, TallyRows());  // the scan went on counting after deal 200 ...
  ASSERT_NE(table(), nullptr);
  EXPECT_EQ(state.ctx.tableState, kTableShown);
  EXPECT_EQ(ShownRows(), TallyRows());  // ... and the last window followed it
}

TEST_F(ScanTableFixture, HideTableDuringScanStopsUpdatesButNotCounting) {
  ScriptedScanUi ui(state, tables, start);
  int updatesWhenHidden = 0;
  ui.script = {
      [&] {
        ClickButton("cmdHide");
        updatesWhenHidden = ui.updates;
      },
  };
  const ScanResult result = Start(state.ctx, ui, 1, 700);
  ASSERT_EQ(result.outcome, ScanOutcome::Finished) << result.error;
  EXPECT_GT(updatesWhenHidden, 0);
  EXPECT_EQ(ui.updates, updatesWhenHidden);
  EXPECT_EQ(ui.reShows, 0);  // Show Table stays disabled for the rest of the scan
  EXPECT_EQ(state.ctx.tableState, kTableHidden);
  EXPECT_EQ(tables.window(), nullptr);
  EXPECT_EQ(state.ctx.tallies.HandCount, QuietScanCounts());
}

}  // namespace
}  // namespace vk
