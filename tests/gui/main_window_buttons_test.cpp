// The main window's Start/Stop state machine driving real scans, clicks during a scan, the
// rules that match the table and graph buttons to the tally files, and the deals box.
#include "deals/library_writer.h"
#include "main_window_fixture.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

TEST_F(MainWindowTest, ScanRunsFromWorkingToFinishedAndTheButtonsFollowTheFilesAndTheLanguage) {
  platform.fonts = {"Arial", "Noto Sans CJK JP"};
  WriteBinLibrary(250);
  Form1& f = Start();
  QStringList rounds;
  bool locked = false;
  platform.duringEvents = [&] {
    rounds << Caption("cmdStart") + " " + Caption("lblDealCount");
    if (rounds.size() > 1) return;
    locked = !Control("opt1")->isEnabled() && Control("off1")->isEnabled() && !Control("cmdGrph")->isEnabled() &&
             !Control("cmdTable")->isEnabled() && !Control("Language")->isEnabled() &&
             !Control("LibraryName")->isEnabled() && Control("cmdEnd")->isEnabled() && Control("cmd1")->isEnabled();
  };
  Click("cmdStart");
  EXPECT_EQ(rounds, (QStringList{"Working 100", "Working 200"}));
  EXPECT_TRUE(locked);
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  EXPECT_EQ(Caption("lblDealCount"), "250");
  EXPECT_TRUE(Exists(kNoneTally));
  EXPECT_TRUE(Exists("DataFiles/HCPfreq.dat"));
  EXPECT_TRUE(Control("opt1")->isEnabled());
  EXPECT_TRUE(Control("cmdGraphHCP")->isEnabled());

  auto* grph = Control<QPushButton>("cmdGrph");
  auto* table = Control<QPushButton>("cmdTable");
  EXPECT_EQ(grph->text(), "View Graph for (none)");
  // Options without a tally file disable both buttons, but bold type and highlight stay.
  for (bool withFile : {true, false}) {
    if (!withFile) Click("opt1");
    for (QPushButton* b : {grph, table}) {
      EXPECT_EQ(b->isEnabled(), withFile) << b->objectName().toStdString();
      EXPECT_TRUE(b->font().bold());
      EXPECT_EQ(b->palette().color(QPalette::Button), QColor(240, 250, 255));
    }
  }
  EXPECT_EQ(f.state().ctx.names.optionCode, "(D)");
  EXPECT_EQ(grph->text(), "View Graph");
  Click("off1");
  EXPECT_TRUE(grph->isEnabled());

  // Without the HCP frequency file the table button goes off whatever the tally file says.
  fs::remove(folder / "DataFiles" / "HCPfreq.dat");
  Click("opt2");
  Click("off2");
  EXPECT_TRUE(grph->isEnabled());
  EXPECT_FALSE(table->isEnabled());

  // "Finished" leads back to idle; a language switch does so too, in the new language, whose
  // face is an installed Japanese one when start-up found none. Two switches from an English
  // start give the English captions.
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  EXPECT_EQ(Caption("cmd5"), "FourAces");
  EXPECT_EQ(Caption("cmdEnd"), "End");
  Click("Language");
  EXPECT_EQ(f.state().ctx.language, 1);
  EXPECT_EQ(Caption("cmdStart"), "開 始");
  EXPECT_EQ(Control("cmdEnd")->font().family(), "Noto Sans CJK JP");
  Click("Language");
  EXPECT_EQ(f.state().ctx.language, 0);
  EXPECT_EQ(Caption("cmd5"), "Four Aces");
  EXPECT_EQ(Caption("cmdEnd"), "END");
  EXPECT_EQ(Control("cmdEnd")->font().family(), "Arial");
  Click("cmd3");
  EXPECT_EQ(f.state().helpTopic, 3);
}

// Clicks handled in the first round of events: Start stops the scan; Start three times
// (Stopped, idle, a new start) must not run a second scan on top of the first; END closes the
// window. None of them leaves a tally file or a second round of events.
TEST_F(MainWindowTest, ClicksDuringAScanStopItWithoutATallyFile) {
  WriteBinLibrary(250);
  for (int starts : {1, 3, 0}) {
    SCOPED_TRACE(starts);
    Form1& f = Start();
    platform.eventRounds = 0;
    platform.duringEvents = [&, starts] {
      if (platform.eventRounds > 1) return;
      if (starts == 0) Click("cmdEnd");
      for (int k = 0; k < starts; ++k) Click("cmdStart");
    };
    Click("cmdStart");
    platform.duringEvents = {};
    EXPECT_EQ(platform.eventRounds, 1);
    EXPECT_FALSE(Exists(kNoneTally));
    if (starts == 0) {
      EXPECT_TRUE(f.closing());
      EXPECT_FALSE(f.isVisible());
      EXPECT_EQ(f.state().ctx.tableState, kTableNone);
      EXPECT_FALSE(Exists("DataFiles/HCPfreq.dat"));
    } else if (starts == 1) {
      EXPECT_EQ(Caption("cmdStart"), "Stopped");
      EXPECT_EQ(Caption("lblDealCount"), "99");  // the stop is seen before deal 100 is read
      EXPECT_FALSE(Control("cmdGrph")->isEnabled());
      EXPECT_TRUE(Control("opt1")->isEnabled());
      Click("cmdStart");
    }
    EXPECT_TRUE(starts == 0 || Caption("cmdStart") == "Start");
  }
}

// The table window that a scan opens took the main window's top and hid Start/Stop, the
// counter and View Graph. Wherever the main window stands, the table covers none of them and
// stays on the screen; its left edge is half the main window's width in whenever the screen
// has room for that.
TEST_F(MainWindowTest, TableWindowOfAScanLeavesStartCounterAndViewGraphInView) {
  WriteBinLibrary(150);
  Form1& f = Start();
  const QRect avail = f.screen()->availableGeometry();
  // Below, above, neither (the table then goes below the controls), and on the screen's edges.
  const QPoint places[] = {{0, 0},
                           {100, 120},
                           {avail.width() - f.width(), avail.height() - f.height()},
                           {avail.width() / 3, avail.height() / 2}};
  for (const QPoint& at : places) {
    SCOPED_TRACE(testing::Message() << "main window at " << at.x() << "," << at.y());
    f.move(at);
    QRect table;
    std::vector<QRect> controls;
    platform.duringEvents = [&] {
      if (!table.isNull()) return;
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmTab" && w->isVisible()) table = w->frameGeometry();
      for (const char* name : {"cmdStart", "lblDealCount", "cmdGrph"})
        controls.emplace_back(Control(name)->mapToGlobal(QPoint(0, 0)), Control(name)->size());
    };
    Click("cmdStart");
    platform.duringEvents = {};
    ASSERT_FALSE(table.isNull());
    EXPECT_TRUE(avail.contains(table));
    for (const QRect& c : controls) EXPECT_FALSE(c.intersects(table)) << c.x() << "," << c.y();
    const QRect m = f.frameGeometry();
    EXPECT_EQ(table.left(), std::min(m.left() + RoundHalfEven(m.width() / 2.0), avail.right() + 1 - table.width()));
    Click("cmdStart");  // "Finished" back to "Start"
  }
}

// Fractions of deals go to the nearest whole number, halves to even; other text is refused.
TEST_F(MainWindowTest, DealsBoxTextDecidesTheScanOrExplainsWhyNot) {
  EXPECT_EQ(DealsToScan(" 717102 "), 717102);
  EXPECT_EQ(DealsToScan("2.5"), 2);
  EXPECT_EQ(DealsToScan("3.5"), 4);
  EXPECT_EQ(DealsToScan("1e3"), 1000);
  for (const char* text : {"", "12abc", "1,5", "nan", "3000000000"}) EXPECT_FALSE(DealsToScan(text)) << text;
  WriteBinLibrary(250);
  Form1& f = Start();
  auto* box = Control<QLineEdit>("tBox");
  box->setText("many");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
  EXPECT_TRUE(f.lastMessage().contains("\"many\" is not a number of deals"));
  // A number too large for the box is called so, in both languages.
  EXPECT_TRUE(DealsBoxMessage("3000000000", 0).startsWith("\"3000000000\" is too large a number of deals."));
  EXPECT_TRUE(DealsBoxMessage("3e9", 1).startsWith("「3e9」はハンドの個数として大きすぎます。"));
  EXPECT_TRUE(DealsBoxMessage("-3e9", 0).startsWith("\"-3e9\" is too small a number of deals."));
  EXPECT_TRUE(DealsBoxMessage("12abc", 1).startsWith("「12abc」はハンドの個数になりません。"));
  box->setText("9999999999");
  Click("cmdStart");
  EXPECT_TRUE(f.lastMessage().contains("too large")) << f.lastMessage().toStdString();
  EXPECT_EQ(Caption("cmdStart"), "Start");
  auto* message = f.findChild<QWidget*>("messageBox");
  EXPECT_TRUE(message && message->isVisible());
  EXPECT_FALSE(Exists(kNoneTally));
  // Nothing to scan (0.4 rounds to 0): the scan returns at once and the button keeps reading "Working".
  box->setText("0.4");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Working");
  EXPECT_FALSE(Exists(kNoneTally));
  Click("cmdStart");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
}

// A scan that skipped impossible deals says so after "Finished", in the window's language; a
// file that is no library is refused with a message and no result file.
TEST_F(MainWindowTest, SkippedDealsAndRefusedFilesAreReportedAfterTheScan) {
  std::string bytes = LibraryBytes(RandomDeals(250, 7), 1);
  std::fill_n(bytes.begin() + 26 * 121, 16, '\0');  // deal 122: West holds every card
  WriteWholeFile(folder / "Library.bin", bytes);
  Form1& f = Start();
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  EXPECT_TRUE(f.lastMessage().contains("1 impossible deal(s) were skipped; the first is deal 122"))
      << f.lastMessage().toStdString();
  auto* message = f.findChild<QWidget*>("messageBox");
  EXPECT_TRUE(message && message->isVisible());
  Click("cmdStart");
  Click("Language");
  Click("cmdStart");
  EXPECT_TRUE(f.lastMessage().contains(QStringLiteral("ディール 122"))) << f.lastMessage().toStdString();

  form.reset();
  std::string noise(26 * 400, '\x5a');
  WriteWholeFile(folder / "Library.bin", noise);
  std::filesystem::remove_all(folder / "DataFiles");
  Form1& g = Start();
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
  EXPECT_TRUE(g.lastMessage().contains("is not a deal library")) << g.lastMessage().toStdString();
  EXPECT_FALSE(Exists(kNoneTally));
  EXPECT_FALSE(Exists("DataFiles/HCPfreq.dat"));
}

}  // namespace
}  // namespace vk::test
