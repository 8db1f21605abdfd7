#pragma once
// A platform with a font list, a clock and a browser under the test's control, and a fixture
// holding the program-wide state beside a stand-in main window, for the windows tested
// without the main window itself.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <utility>

#include "desktop/app_state.h"
#include "help/comment_window.h"
#include "scan/tally_files.h"
#include "test_support.h"

namespace vk::test {

// The clock moves on by `stepPerReading` at every reading and by `eventStep` in every round of
// event processing; pages are recorded instead of opened; `duringEvents` runs inside every
// round, as a click handled during a scan or a graph's pause would.
class FakePlatform : public Platform {
 public:
  QStringList fonts{"Arial", "Arial Narrow", "Verdana"};
  mutable double now = 100.0;  // seconds
  double stepPerReading = 0.25;
  double eventStep = 0;
  std::vector<QUrl> opened;
  std::vector<double> openedAt;
  int eventRounds = 0;
  std::function<void()> duringEvents;

  QStringList InstalledFonts() const override { return fonts; }
  double MonotonicSeconds() const override { return std::exchange(now, now + stepPerReading); }
  void OpenInBrowser(const QUrl& address) override {
    opened.push_back(address);
    openedAt.push_back(now);
  }
  void ProcessEvents() override {
    ++eventRounds;
    now += eventStep;
    if (duringEvents) duringEvents();
    Platform::ProcessEvents();
  }
};

// Folder names that a hand-made "file://" address gets wrong: "#" starts a fragment, "%41" reads
// as "A", and blanks and Japanese characters need encoding.
inline const char* const kAwkwardFolderNames[] = {"lib #2", "100%41 x", "ライブラリ 置き場"};

// The address names exactly `file`, also once written out as the text a browser is given.
inline void ExpectAddressOfFile(const QUrl& address, const std::filesystem::path& file) {
  const QString path = QString::fromStdString(file.string());
  EXPECT_TRUE(address.isLocalFile()) << address.toString().toStdString();
  EXPECT_EQ(address.toLocalFile(), path);
  EXPECT_EQ(QUrl(address.toString(QUrl::FullyEncoded)).toLocalFile(), path) << address.toString().toStdString();
  EXPECT_EQ(address.fragment(), QString());
}

// Runs pending events and deletes the windows closed meanwhile.
inline void Settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class WindowsTest : public ::testing::Test {
 protected:
  WindowsTest() : state(platform), comments(state) {
    std::filesystem::create_directories(folder / kDataFolder);
    state.ctx.folder = folder.path();
    state.background = QColor(227, 227, 227);
    state.siteAddress = QUrl("https://velkorvan.example/");
    main.setGeometry(100, 120, 493, 374);
    state.mainWindow = &main;
    main.show();
  }
  ~WindowsTest() override {
    comments.Close();
    Settle();
  }
  // Writes the tally file of the option code `baseName` names.
  void WriteTally(const Tallies& t, const std::string& baseName = "(none)Korvan") {
    std::string error;
    ASSERT_TRUE(Fout(folder.path(), baseName, t, 100, 0, error)) << error;
  }

  ScratchFolder folder;
  FakePlatform platform;
  AppState state;
  QWidget main;
  CommentWindow comments;
};

}  // namespace vk::test
