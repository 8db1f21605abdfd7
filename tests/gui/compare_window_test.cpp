#include "compare/compare_window.h"

#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "main_window_fixture.h"

namespace vk::test {
namespace {

QTableWidget* Table(CompareWindow* w) { return w->findChild<QTableWidget*>(QStringLiteral("tblCompare")); }

int RowOf(QTableWidget* table, const QString& code) {
  for (int r = 0; r < table->rowCount(); ++r)
    if (table->item(r, 0)->text() == code) return r;
  return -1;
}

TEST_F(MainWindowTest, DoubleClickOnARankingRowSetsTheMainWindowsOptionButtons) {
  WriteBinLibrary(2000);
  Form1& f = Start();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QTest::keyClick(&f, Qt::Key_E, Qt::ControlModifier);
  CompareWindow* w = f.compareWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Compare evaluations");
  // The main window's options stay locked while the comparison runs.
  bool lockedDuringRun = false;
  platform.duringEvents = [&] { lockedDuringRun = !Control("opt1")->isEnabled(); };
  QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCompareStart")), Qt::LeftButton);
  platform.duringEvents = {};
  EXPECT_TRUE(lockedDuringRun);
  QTableWidget* table = Table(w);
  ASSERT_EQ(table->rowCount(), 128);
  EXPECT_TRUE(Exists("DataFiles/(DLU)Korvan.dat"));

  // Sorting by a column keeps each row's option set with it.
  table->sortItems(0);
  const int row = RowOf(table, "(DLU)");
  ASSERT_GE(row, 0);
  table->scrollToItem(table->item(row, 1));
  const QRect cell = table->visualItemRect(table->item(row, 1));
  // A double-click is a press on the row followed by the double-click event.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  for (int i = 1; i <= 7; ++i) {
    const bool on = i == 1 || i == 2 || i == 7;
    EXPECT_EQ(Control<QRadioButton>(("opt" + std::to_string(i)).c_str())->isChecked(), on) << i;
    EXPECT_EQ(Control<QRadioButton>(("off" + std::to_string(i)).c_str())->isChecked(), !on) << i;
  }
  // Its tally file is there, so the table and graph buttons show it at once.
  EXPECT_TRUE(Control("cmdTable")->isEnabled());
  EXPECT_TRUE(Control("cmdGrph")->isEnabled());
  EXPECT_TRUE(Caption("cmdGrph").contains("(DLU)"));
}

TEST_F(MainWindowTest, StopInTheCompareWindowWritesNoTallyFileAndTheLanguageFollows) {
  WriteBinLibrary(2000);
  Form1& f = Start();
  f.ShowCompareWindow();
  CompareWindow* w = f.compareWindow();
  platform.duringEvents = [&] {
    if (w->running()) QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCompareStop")), Qt::LeftButton);
  };
  w->Run();
  platform.duringEvents = {};
  EXPECT_FALSE(w->running());
  EXPECT_EQ(Table(w)->rowCount(), 0);
  EXPECT_FALSE(Exists(kNoneTally));
  EXPECT_FALSE(Exists("DataFiles/HCPfreq.dat"));
  EXPECT_TRUE(Control("opt1")->isEnabled());
  f.Language_Click();
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8(kCompareCaptionJapanese));
  QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCompareMethod")), Qt::LeftButton);
  ASSERT_FALSE(platform.opened.empty());
  EXPECT_TRUE(platform.opened.back().isLocalFile());
  EXPECT_TRUE(platform.opened.back().toLocalFile().endsWith("docs/CompareEvaluations_ja.html"));
  // The pages it opens are the ones the repository's docs folder holds.
  for (const char* page : {kComparePageEnglish, kComparePageJapanese})
    EXPECT_TRUE(std::filesystem::exists(DataDir() / "../.." / page)) << page;
}

}  // namespace
}  // namespace vk::test
