// Start-up of the main window: its end states, the language chosen from the fonts, the library
// label and the tidying of old result files.
#include "main_window_fixture.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

// A ready start shows the library and its deal count, with every option off, moves old result
// files into the data folder unless the name is taken there, and lets the library label switch
// between the two files.
TEST_F(MainWindowTest, ReadyStartShowsTheLibraryTidiesOldFilesAndSwitchesLibraries) {
  WriteLibrary(folder / "Library.asc", RandomDeals(30, 3), 0);
  Start();
  EXPECT_EQ(Caption("LibraryName"), " Library.asc ");
  EXPECT_EQ(Caption("tBox"), "30");
  Click("LibraryName");  // no "Library.bin" to switch to
  EXPECT_EQ(form->state().ctx.library.kind, kLibraryKindAsc);

  WriteBinLibrary(250);
  fs::create_directories(folder / "DataFiles");
  for (const char* name : {"VelKorvan.txt", "(DL)Korvan.txt", "(S)Korvan.txt", "DataFiles/(S)Korvan.txt",
                           "DataFiles/(B)Korvan.txt", "DataFiles/(B)Korvan.dat", "(none)Korvan.txt"})
    WriteWholeFile(folder / name, name);
  Form1& f = Start();
  EXPECT_EQ(f.startup(), Form1::Startup::Ready);
  EXPECT_EQ(fs::current_path(), fs::canonical(folder.path()));
  EXPECT_TRUE(Control("LibraryName")->isVisible());
  EXPECT_EQ(Caption("LibraryName"), " Library.bin ");
  EXPECT_EQ(Caption("tBox"), "250");
  EXPECT_EQ(f.focusWidget(), Control("cmdEnd"));
  for (const char* name : {"cmdTable", "cmdGrph", "cmdGraphHCP"}) EXPECT_FALSE(Control(name)->isEnabled()) << name;
  for (int i = 1; i <= 7; ++i) {
    EXPECT_TRUE(Control<QRadioButton>(("off" + std::to_string(i)).c_str())->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(("opt" + std::to_string(i)).c_str())->isChecked());
  }

  // Each file holds its old name.
  const auto holds = [&](const char* name, const char* old) { EXPECT_EQ(ReadWholeFile(folder / name), old) << name; };
  holds("VelKorvan.txt", "VelKorvan.txt");
  holds("DataFiles/(DL)Korvan.dat", "(DL)Korvan.txt");
  holds("(S)Korvan.txt", "(S)Korvan.txt");
  holds("DataFiles/(S)Korvan.dat", "DataFiles/(S)Korvan.txt");
  holds("DataFiles/(B)Korvan.txt", "DataFiles/(B)Korvan.txt");
  holds("DataFiles/(B)Korvan.dat", "DataFiles/(B)Korvan.dat");
  EXPECT_FALSE(Exists("(DL)Korvan.txt"));
  // The buttons were set before the tidying: the renamed tally counts from the next check.
  EXPECT_TRUE(Exists(kNoneTally));
  Click("opt1");
  Click("off1");
  EXPECT_EQ(Caption("cmdGrph"), "View Graph for (none)");
  EXPECT_TRUE(Control("cmdGrph")->isEnabled());

  Click("LibraryName");
  EXPECT_EQ(Caption("LibraryName"), " Library.asc");
  EXPECT_EQ(f.state().ctx.library.kind, kLibraryKindAsc);
  Click("LibraryName");
  EXPECT_EQ(Caption("LibraryName"), " Library.bin");
  EXPECT_EQ(f.state().ctx.library.kind, kLibraryKindBin);
  EXPECT_EQ(Caption("tBox"), "250");
}

// The fonts choose the language ("メイリオ" before "ＭＳ ゴシック", names matched exactly); without a
// library the window says so in that language and opens its page after 3 s of the fake clock.
TEST_F(MainWindowTest, MissingLibraryOpensTheLibraryPageOfTheFontsLanguageAfterThreeSeconds) {
  const QString messages[2] = {"   Library File \"Library.bin\" is not found.",
                               "   ライブラリ･ファイル \"Library.bin\" が見つかりません。"};
  using C = std::pair<QStringList, QString>;  // fonts besides "Arial" and "Verdana", the Japanese font
  const C cases[] = {C{{}, ""}, C{{"ＭＳ ゴシック", "メイリオ"}, "メイリオ"}, C{{"ＭＳ ゴシック"}, "ＭＳ Ｐゴシック"},
                     C{{"ms ゴシック", "Noto Sans CJK JP"}, ""}};
  for (const auto& [extra, japaneseFont] : cases) {
    SCOPED_TRACE(extra.join(",").toStdString());
    platform.fonts = QStringList{"Arial", "Verdana"} + extra;
    platform.opened.clear();
    const double started = platform.now;
    Form1& f = Start();
    const int language = japaneseFont.isEmpty() ? 0 : 1;
    EXPECT_EQ(f.startup(), Form1::Startup::LibraryMissing);
    EXPECT_EQ(VisibleControls(), QStringList{"cmdEnd"});
    EXPECT_EQ(f.state().ctx.language, language);
    EXPECT_EQ(f.state().japaneseFontName, japaneseFont);
    EXPECT_EQ(Caption("cmd5"), language == 1 ? "エース 4 枚" : "FourAces");
    EXPECT_EQ(Control("cmd1")->font().family(), language == 1 ? japaneseFont : "Arial");
    // The message as designed, then the folder searched, wrapped to stay in the window.
    EXPECT_EQ(f.PrintedString().split(u'\n').front(), messages[language]);
    EXPECT_EQ(Rejoined(1, "   "), (language == 1 ? "探したフォルダ： " : "Looked for in the folder ") +
                                      QString::fromStdString(f.state().ctx.folder.string()));
    ExpectPrintedInsideWindow();
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0].toLocalFile(), QString::fromStdString(f.state().ctx.folder.string()) +
                                                    (language == 1 ? "/docs/GetLibrary.htm" : "/docs/GetLibrary.HTML"));
    EXPECT_GE(platform.openedAt.back(), started + 3.0);
  }
  // In English only the full stops are bold: the one in the file name and the one at the end.
  QString bold;
  for (const Form1::PrintedRun& run : form->printedText()) {
    if (run.font.bold()) bold += run.text;
    EXPECT_EQ(run.font.family(), "Verdana");
  }
  EXPECT_EQ(bold, "..");

  // END during the wait: no page.
  platform.opened.clear();
  platform.duringEvents = [this] {
    if (form && !form->closing()) Click("cmdEnd");
  };
  EXPECT_TRUE(Start().closing());
  EXPECT_TRUE(platform.opened.empty());
}

TEST_F(MainWindowTest, LibraryPageAddressKeepsHashPercentBlanksAndJapaneseOfTheFolder) {
  for (const char* name : kAwkwardFolderNames) {
    SCOPED_TRACE(name);
    const fs::path dir = folder.path() / fs::path(std::u8string(reinterpret_cast<const char8_t*>(name)));
    fs::create_directories(dir);
    platform.opened.clear();
    Start(dir);
    ASSERT_EQ(platform.opened.size(), 1u);
    ExpectAddressOfFile(platform.opened[0], fs::absolute(dir) / "docs" / "GetLibrary.HTML");
  }
}

TEST_F(MainWindowTest, RefusedOrDataFolderFailedStartsShowOnlyEnd) {
  for (const char* name : {"GZip Tools", "Old TMP files"}) {
    const fs::path dir = folder / name;
    fs::create_directories(dir);
    WriteBinLibrary(100, dir);
    Form1& f = Start(dir);
    EXPECT_EQ(f.startup(), Form1::Startup::Refused) << name;
    EXPECT_EQ(VisibleControls(), QStringList{"cmdEnd"}) << name;
    EXPECT_EQ(f.PrintedString(), "   UnZip \"VelKorvan_13.zip\"\n   before Starting VelKorvan.exe.") << name;
  }
  EXPECT_TRUE(platform.opened.empty());

  WriteBinLibrary(100);
  WriteWholeFile(folder / "DataFiles", "not a folder");
  Form1& f = Start();
  EXPECT_EQ(f.startup(), Form1::Startup::DataFolderFailed);
  EXPECT_EQ(VisibleControls(), QStringList{"cmdEnd"});
  EXPECT_TRUE(f.PrintedString().contains("\"DataFiles\" cannot be made or written"));
  EXPECT_EQ(ReadWholeFile(folder / "DataFiles"), "not a folder");
}

// The detail line stayed English in Japanese and ran off the fixed window, as a long folder
// path did: every line is in the window's language and inside it.
TEST_F(MainWindowTest, DataFolderMessageSpeaksTheLanguageAndStaysInsideTheWindow) {
  fs::path deep = folder.path();
  for (int k = 0; k < 6; ++k) deep /= "a rather long folder name " + std::to_string(k);
  fs::create_directories(deep);
  WriteWholeFile(deep / "DataFiles", "not a folder");
  const QString path = QString::fromStdString(fs::absolute(deep).string());
  for (int language : {0, 1}) {
    SCOPED_TRACE(language);
    platform.fonts = language == 1 ? QStringList{"Arial", "Verdana", "メイリオ"} : QStringList{"Arial", "Verdana"};
    Form1& f = Start(deep);
    ASSERT_EQ(f.startup(), Form1::Startup::DataFolderFailed);
    const QStringList lines = f.PrintedString().split(u'\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.back(), language == 1 ? "　（\"DataFiles\" という名前のファイルがあります）"
                                          : "   (a file named \"DataFiles\" is in the way)");
    // The folder fills the lines between the first line and the last two.
    QString folderText;
    for (const QString& line : lines.mid(1, lines.size() - 3)) folderText += line.mid(language == 1 ? 1 : 3);
    EXPECT_EQ(folderText, path);
    ExpectPrintedInsideWindow();
  }
}

}  // namespace
}  // namespace vk::test
