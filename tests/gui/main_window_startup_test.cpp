// Start-up of the main window: its three end states, the language chosen from the fonts, the
// library label and the tidying of old result files.
#include <QGroupBox>

#include "main_window_fixture.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

// Names of the direct children of the window that are on screen.
QStringList VisibleControls(const Form1& form) {
  QStringList names;
  for (QWidget* w : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow() && w->isVisible()) names << w->objectName();
  }
  return names;
}

TEST_F(MainWindowTest, ReadyStartShowsLibraryDealCountAndDesignedLayout) {
  WriteBinLibrary(250);
  Form1& f = Start();
  EXPECT_EQ(f.startup(), Form1::Startup::Ready);
  EXPECT_TRUE(f.windowTitle().endsWith(" Ver 1.3"));
  EXPECT_TRUE(f.windowTitle().startsWith(" Korvan based on Halvard's Double-Dummy Library"));
  EXPECT_EQ(fs::current_path(), fs::canonical(folder.path()));
  EXPECT_TRUE(fs::is_directory(folder / "DataFiles"));

  EXPECT_TRUE(Control("LibraryName")->isVisible());
  EXPECT_EQ(Caption("LibraryName"), " Library.bin ");
  EXPECT_EQ(Caption("tBox"), "250");
  EXPECT_EQ(Caption("lblDealCount"), "count");
  EXPECT_EQ(Caption("cmd5"), "FourAces");
  EXPECT_EQ(Caption("cmdEnd"), "End");
  for (const char* name : {"cmdTable", "cmdGrph", "cmdGraphHCP"}) EXPECT_FALSE(Control(name)->isEnabled()) << name;
  for (int i = 1; i <= 7; ++i) {
    EXPECT_TRUE(Control<QRadioButton>(("off" + std::to_string(i)).c_str())->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(("opt" + std::to_string(i)).c_str())->isChecked());
  }

  // Layout: the client area, and controls on the window and inside frames, in twips.
  EXPECT_EQ(f.size(), QSize(TwipsToPixels(7395), TwipsToPixels(5610)));
  EXPECT_EQ(Control("cmdStart")->geometry(), TwipsRect(6090, 195, 1170, 615));
  EXPECT_EQ(Control("tBox")->parentWidget()->objectName(), "Frame1");
  EXPECT_EQ(Control("tBox")->geometry(), TwipsRect(585, 330, 1230, 405));
  EXPECT_EQ(Control("cmd7")->parentWidget()->objectName(), "frame7");
  EXPECT_EQ(Control("cmd7")->geometry(), TwipsRect(30, 45, 2910, 375));
  EXPECT_EQ(Control("lblDealCount")->font().family(), "Arial Narrow");
  EXPECT_DOUBLE_EQ(Control("lblDealCount")->font().pointSizeF(), 14.25);
  EXPECT_EQ(Control("lblDealCount")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(Control("lblDealCount")->toolTip(), "Deal Number just being scanned.");
  EXPECT_DOUBLE_EQ(Control("cmd3")->font().pointSizeF(), 11.25);
  EXPECT_EQ(Control("cmdStart")->palette().color(QPalette::Button), f.state().background);
  EXPECT_NE(Control("tBox")->palette().color(QPalette::Base), QColor());

  // END holds the focus; Tab walks the controls in the designed order.
  EXPECT_EQ(f.focusWidget(), Control("cmdEnd"));
  const QStringList expected{"cmdEnd", "tBox", "cmdStart", "cmdTable",    "cmdGrph", "opt1", "off1", "off2", "opt3",
                             "off3",   "opt4", "off4",     "opt5",        "off5",    "opt6", "off6", "cmd5", "cmd6",
                             "cmd3",   "cmd4", "cmd1",     "cmdGraphHCP", "opt7",    "off7", "cmd7", "opt2", "cmd2"};
  QStringList chain;
  QWidget* w = Control("cmdEnd");
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && expected.contains(w->objectName())) chain << w->objectName();
    w = w->nextInFocusChain();
  } while (w != Control("cmdEnd") && chain.size() < 100);
  EXPECT_EQ(chain, expected);
}

TEST_F(MainWindowTest, MissingLibraryOpensTheLibraryPageAfterThreeSecondsOfEvents) {
  Form1& f = Start();
  EXPECT_EQ(f.startup(), Form1::Startup::LibraryMissing);
  EXPECT_EQ(VisibleControls(f), QStringList{"cmdEnd"});
  EXPECT_EQ(f.PrintedString(), "   Library File \"Library.bin\" is not found.");
  // Only the full stops are bold: the one in the file name and the one that ends the message.
  QString bold;
  for (const Form1::PrintedRun& run : f.printedText()) {
    if (run.font.bold()) bold += run.text;
    EXPECT_EQ(run.font.family(), "Verdana");
  }
  EXPECT_EQ(bold, "..");

  ASSERT_EQ(platform.opened.size(), 1u);
  EXPECT_EQ(platform.opened[0],
            "file://" + QString::fromStdString(f.state().ctx.folder.string()) + "/docs/GetLibrary.HTML");
  EXPECT_GE(platform.openedAt[0], 100.0 + 3.0);
  EXPECT_GT(platform.eventRounds, 3);
}

TEST_F(MainWindowTest, MissingLibraryInJapaneseNamesTheJapanesePage) {
  platform.fonts << "メイリオ";
  Form1& f = Start();
  EXPECT_EQ(f.PrintedString(), "   ライブラリ･ファイル \"Library.bin\" が見つかりません。");
  ASSERT_EQ(platform.opened.size(), 1u);
  EXPECT_TRUE(platform.opened[0].endsWith("/docs/GetLibrary.htm"));
}

TEST_F(MainWindowTest, EndDuringTheLibraryWaitOpensNoPage) {
  platform.duringEvents = [this] {
    if (form && !form->closing()) Click("cmdEnd");
  };
  Form1& f = Start();
  EXPECT_TRUE(f.closing());
  EXPECT_TRUE(platform.opened.empty());
}

TEST_F(MainWindowTest, FolderPathWithZipOrTmpInAnyCaseIsRefused) {
  for (const char* name : {"GZip Tools", "Old TMP files"}) {
    const fs::path dir = folder / name;
    fs::create_directories(dir);
    WriteBinLibrary(100, dir);
    Form1& f = Start(dir);
    EXPECT_EQ(f.startup(), Form1::Startup::Refused) << name;
    EXPECT_EQ(VisibleControls(f), QStringList{"cmdEnd"}) << name;
    EXPECT_EQ(f.PrintedString(), "   UnZip \"VelKorvan_13.zip\"\n   before Starting VelKorvan.exe.") << name;
    EXPECT_TRUE(platform.opened.empty());
  }
}

TEST_F(MainWindowTest, DataFolderThatCannotBeMadeIsReportedAndNothingIsTouched) {
  WriteBinLibrary(100);
  WriteWholeFile(folder / "DataFiles", "not a folder");
  Form1& f = Start();
  EXPECT_EQ(f.startup(), Form1::Startup::DataFolderFailed);
  EXPECT_EQ(VisibleControls(f), QStringList{"cmdEnd"});
  EXPECT_TRUE(f.PrintedString().contains("\"DataFiles\" cannot be made or written"));
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles"), "not a folder");
  EXPECT_TRUE(fs::exists(folder / "Library.bin"));
}

TEST_F(MainWindowTest, FontsChooseTheStartLanguage) {
  struct Case {
    QStringList extra;
    int language;
    QString japaneseFont;
  };
  const Case cases[] = {
      {{"ＭＳ ゴシック", "メイリオ"}, 1, "メイリオ"},
      {{"ＭＳ ゴシック"}, 1, "ＭＳ Ｐゴシック"},
      {{"ms ゴシック", "Noto Sans CJK JP"}, 0, ""},
  };
  for (const Case& c : cases) {
    platform.fonts = QStringList{"Arial"} + c.extra;
    WriteBinLibrary(100);
    Form1& f = Start();
    EXPECT_EQ(f.state().ctx.language, c.language) << c.extra.join(",").toStdString();
    EXPECT_EQ(f.state().japaneseFontName, c.japaneseFont);
    if (c.language == 1) {
      EXPECT_EQ(Caption("Language"), "Japanese");
      EXPECT_EQ(Caption("cmd5"), "エース 4 枚");
      EXPECT_EQ(Caption("cmdStart"), "開 始");
      EXPECT_EQ(Control<QGroupBox>("Frame1")->title(), "調べるハンドの個数");
      EXPECT_EQ(Control("cmd1")->font().family(), c.japaneseFont);
      EXPECT_EQ(Caption("cmdGrph"), "グラフを描く");
    } else {
      EXPECT_EQ(Caption("Language"), "English");
      EXPECT_TRUE(f.state().fontTable[0].isEmpty() && f.state().fontTable[1].isEmpty());
    }
  }
}

TEST_F(MainWindowTest, TwoLanguageClicksFromAnEnglishStartGiveTheEnglishMessages) {
  platform.fonts = {"Arial", "Noto Sans CJK JP"};
  WriteBinLibrary(100);
  Form1& f = Start();
  EXPECT_EQ(Caption("cmd5"), "FourAces");
  EXPECT_EQ(Caption("cmdEnd"), "End");

  Click("Language");
  EXPECT_EQ(f.state().ctx.language, 1);
  EXPECT_EQ(Caption("Language"), "Japanese");
  EXPECT_EQ(Caption("cmdEnd"), "終了");
  // No Japanese font was found at start-up: the captions take an installed Japanese face.
  EXPECT_EQ(Control("cmdEnd")->font().family(), "Noto Sans CJK JP");
  EXPECT_EQ(Caption("cmdGrph"), "グラフを見る (none)");

  Click("Language");
  EXPECT_EQ(f.state().ctx.language, 0);
  EXPECT_EQ(Caption("cmd5"), "Four Aces");
  EXPECT_EQ(Caption("cmdEnd"), "END");
  EXPECT_EQ(Control("cmdEnd")->font().family(), "Arial");
  EXPECT_EQ(f.state().fontTable[0], "Arial");
  EXPECT_EQ(f.state().tableRowCaptions[1], "NT  8 tricks");
  EXPECT_EQ(f.state().tableRowCaptions[3], "Suit  9 tricks");
}

TEST_F(MainWindowTest, LibraryLabelSwitchesBetweenTheTwoFilesButNotTheDealCount) {
  WriteLibrary(folder / "Library.asc", RandomDeals(30, 3), 0);
  {
    Form1& f = Start();
    EXPECT_EQ(Caption("LibraryName"), " Library.asc ");
    EXPECT_EQ(Caption("tBox"), "30");
    Click("LibraryName");  // no "Library.bin" to switch to
    EXPECT_EQ(Caption("LibraryName"), " Library.asc ");
    EXPECT_EQ(f.state().ctx.library.kind, kLibraryKindAsc);
  }
  WriteBinLibrary(200);
  Form1& f = Start();
  EXPECT_EQ(Caption("LibraryName"), " Library.bin ");
  EXPECT_EQ(Caption("tBox"), "200");
  Click("LibraryName");
  EXPECT_EQ(Caption("LibraryName"), " Library.asc");
  EXPECT_EQ(f.state().ctx.library.fileName, "Library.asc");
  EXPECT_EQ(f.state().ctx.library.recordLength, 89);
  Click("LibraryName");
  EXPECT_EQ(Caption("LibraryName"), " Library.bin");
  EXPECT_EQ(f.state().ctx.library.kind, kLibraryKindBin);
  EXPECT_EQ(Caption("tBox"), "200");
}

TEST_F(MainWindowTest, OldResultFilesMoveIntoTheDataFolderUnlessTheNameIsTaken) {
  WriteBinLibrary(100);
  fs::create_directories(folder / "DataFiles");
  WriteWholeFile(folder / "VelKorvan.txt", "log");
  WriteWholeFile(folder / "(DL)Korvan.txt", "DL");
  WriteWholeFile(folder / "(S)Korvan.txt", "S beside");
  WriteWholeFile(folder / "DataFiles" / "(S)Korvan.txt", "S inside");
  WriteWholeFile(folder / "DataFiles" / "(B)Korvan.txt", "B text");
  WriteWholeFile(folder / "DataFiles" / "(B)Korvan.dat", "B tally");
  WriteWholeFile(folder / "(none)Korvan.txt", "none");
  Start();

  EXPECT_EQ(ReadWholeFile(folder / "VelKorvan.txt"), "log");
  EXPECT_FALSE(Exists("(DL)Korvan.txt"));
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles" / "(DL)Korvan.dat"), "DL");
  EXPECT_EQ(ReadWholeFile(folder / "(S)Korvan.txt"), "S beside");
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles" / "(S)Korvan.dat"), "S inside");
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles" / "(B)Korvan.txt"), "B text");
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles" / "(B)Korvan.dat"), "B tally");
  // The buttons were set before the tidying: the renamed tally counts from the next check.
  EXPECT_TRUE(Exists("DataFiles/(none)Korvan.dat"));
  EXPECT_FALSE(Control("cmdGrph")->isEnabled());
  Click("opt1");
  Click("off1");
  EXPECT_TRUE(Control("cmdGrph")->isEnabled());
  EXPECT_EQ(Caption("cmdGrph"), "View Graph for (none)");
}

}  // namespace
}  // namespace vk::test
