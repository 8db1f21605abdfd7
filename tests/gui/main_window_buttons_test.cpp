// The main window's Start/Stop state machine driving real scans, the close box during a scan,
// the rules that match the table and graph buttons to the tally files, and the deals box.
#include "main_window_fixture.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

const char* const kNoneTally = "DataFiles/(none)Korvan.dat";

TEST(DealsToScanTest, WholeNumbersFractionsToEvenAndNonNumbers) {
  EXPECT_EQ(DealsToScan(" 717102 "), 717102);
  EXPECT_EQ(DealsToScan("2.5"), 2);
  EXPECT_EQ(DealsToScan("3.5"), 4);
  EXPECT_EQ(DealsToScan("-1"), -1);
  EXPECT_EQ(DealsToScan("1e3"), 1000);
  for (const char* text : {"", "abc", "12abc", "1,5", "nan", "inf", "3000000000"}) {
    EXPECT_FALSE(DealsToScan(text).has_value()) << text;
  }
}

TEST_F(MainWindowTest, ScanRunsFromWorkingToFinishedAndTheButtonsFollowTheFiles) {
  WriteBinLibrary(250);
  Form1& f = Start();
  QStringList rounds;
  bool lockedDuringScan = false;
  platform.duringEvents = [&] {
    rounds << Caption("cmdStart") + " " + Caption("lblDealCount");
    if (rounds.size() == 1) {
      lockedDuringScan = !Control("opt1")->isEnabled() && Control("off1")->isEnabled() &&
                         !Control("cmdGrph")->isEnabled() && !Control("cmdTable")->isEnabled() &&
                         !Control("Language")->isEnabled() && !Control("LibraryName")->isEnabled() &&
                         Control("cmdEnd")->isEnabled() && Control("cmd1")->isEnabled();
    }
  };
  Click("cmdStart");
  EXPECT_EQ(rounds, (QStringList{"Working 100", "Working 200"}));
  EXPECT_TRUE(lockedDuringScan);
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  EXPECT_EQ(Caption("lblDealCount"), "250");
  EXPECT_TRUE(Exists(kNoneTally));
  EXPECT_TRUE(Exists("DataFiles/HCPfreq.dat"));
  EXPECT_TRUE(Control("opt1")->isEnabled());
  EXPECT_TRUE(Control("Language")->isEnabled());

  auto* grph = Control<QPushButton>("cmdGrph");
  auto* table = Control<QPushButton>("cmdTable");
  for (QPushButton* b : {grph, table}) {
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(b->font().bold());
    EXPECT_EQ(b->palette().color(QPalette::Button), QColor(240, 250, 255));
  }
  EXPECT_EQ(grph->text(), "View Graph for (none)");
  EXPECT_TRUE(Control("cmdGraphHCP")->isEnabled());

  // Options without a tally file: disabled, but bold type and highlight stay.
  Click("opt1");
  EXPECT_EQ(f.state().ctx.names.optionCode, "(D)");
  EXPECT_TRUE(f.state().ctx.options[1]);
  EXPECT_FALSE(grph->isEnabled());
  EXPECT_EQ(grph->text(), "View Graph");
  EXPECT_FALSE(table->isEnabled());
  for (QPushButton* b : {grph, table}) {
    EXPECT_TRUE(b->font().bold());
    EXPECT_EQ(b->palette().color(QPalette::Button), QColor(240, 250, 255));
  }
  Click("off1");
  EXPECT_TRUE(grph->isEnabled());
  EXPECT_EQ(grph->text(), "View Graph for (none)");

  // Without the HCP frequency file the table button goes off whatever the tally file says.
  fs::remove(folder / "DataFiles" / "HCPfreq.dat");
  Click("opt2");
  Click("off2");
  EXPECT_TRUE(grph->isEnabled());
  EXPECT_FALSE(table->isEnabled());

  // "Finished" leads back to idle; a language switch does so too, in the new language.
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  Click("Language");
  EXPECT_EQ(Caption("cmdStart"), "開 始");
  EXPECT_EQ(grph->text(), "グラフを見る (none)");

  Click("cmd3");
  EXPECT_EQ(f.state().helpTopic, 3);
}

TEST_F(MainWindowTest, SecondClickStopsTheScanWithoutATallyFile) {
  WriteBinLibrary(250);
  Start();
  bool clicked = false;
  platform.duringEvents = [&] {
    if (!clicked) {
      clicked = true;
      Click("cmdStart");
    }
  };
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Stopped");
  EXPECT_EQ(Caption("lblDealCount"), "99");  // the stop is seen before deal 100 is read
  EXPECT_EQ(platform.eventRounds, 1);
  EXPECT_FALSE(Exists(kNoneTally));
  EXPECT_FALSE(Control("cmdGrph")->isEnabled());
  EXPECT_TRUE(Control("opt1")->isEnabled());
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
}

TEST_F(MainWindowTest, ClicksQueuedDuringAScanNeverStartASecondScanOnTopOfIt) {
  WriteBinLibrary(250);
  Start();
  bool clicked = false;
  platform.duringEvents = [&] {
    if (clicked) return;
    clicked = true;
    for (int k = 0; k < 3; ++k) Click("cmdStart");  // Stopped, idle, and a start that must wait
  };
  Click("cmdStart");
  EXPECT_EQ(platform.eventRounds, 1);
  EXPECT_EQ(Caption("cmdStart"), "Start");
  EXPECT_FALSE(Exists(kNoneTally));
}

TEST_F(MainWindowTest, ClosingDuringAScanEndsItWithoutATallyFile) {
  WriteBinLibrary(250);
  Form1& f = Start();
  platform.duringEvents = [&] {
    if (!f.closing()) Click("cmdEnd");
  };
  Click("cmdStart");
  EXPECT_TRUE(f.closing());
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(platform.eventRounds, 1);
  EXPECT_EQ(f.state().ctx.tableState, kTableNone);
  EXPECT_FALSE(Exists(kNoneTally));
  EXPECT_FALSE(Exists("DataFiles/HCPfreq.dat"));
}

TEST_F(MainWindowTest, DealsBoxTextDecidesTheScanOrExplainsWhyNot) {
  WriteBinLibrary(250);
  Form1& f = Start();
  auto* box = Control<QLineEdit>("tBox");

  box->setText("many");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
  EXPECT_TRUE(f.lastMessage().contains("\"many\" is not a number of deals"));
  auto* message = f.findChild<QWidget*>("messageBox");
  ASSERT_NE(message, nullptr);
  EXPECT_TRUE(message->isVisible());
  EXPECT_FALSE(Exists(kNoneTally));

  // A fraction goes to the nearest whole number, halves to even.
  box->setText("2.5");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Finished");
  EXPECT_EQ(Caption("lblDealCount"), "2");
  Click("cmdStart");

  // Nothing to scan: the scan returns at once and the button keeps reading "Working".
  fs::remove(folder / kNoneTally);
  box->setText("0.4");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Working");
  EXPECT_FALSE(Exists(kNoneTally));
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Stopped");
  Click("cmdStart");
  EXPECT_EQ(Caption("cmdStart"), "Start");
}

}  // namespace
}  // namespace vk::test
