// The platform layer: twips, the font check, finding and raising windows by caption.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#include "main_window_fixture.h"

namespace vk::test {
namespace {

TEST(PlatformTest, TwipsFollowTheScreensLogicalDpi) {
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  EXPECT_EQ(TwipsToPixels(1440), static_cast<int>(std::lround(dpi)));
  EXPECT_DOUBLE_EQ(PixelsToTwips(dpi), 1440.0);
  if (dpi == 96.0) {
    EXPECT_EQ(TwipsToPixels(15), 1);
    EXPECT_EQ(TwipsToPixels(7395), 493);
    EXPECT_EQ(TwipsToPixels(22.5), 2);  // 1.5 pixels: halves go to the even neighbour
    EXPECT_EQ(TwipsToPixels(37.5), 2);  // 2.5 pixels
    EXPECT_EQ(TwipsRect(6090, 195, 1170, 615), QRect(406, 13, 78, 41));
  }
}

TEST(PlatformTest, FontCheckIsExactAndCaseSensitive) {
  FakePlatform fake;
  fake.fonts = {"メイリオ", "Arial"};
  EXPECT_TRUE(fake.FontInstalled("メイリオ"));
  EXPECT_TRUE(fake.FontInstalled("Arial"));
  EXPECT_FALSE(fake.FontInstalled("arial"));
  EXPECT_FALSE(fake.FontInstalled("Arial "));
  Platform real;
  EXPECT_FALSE(real.InstalledFonts().isEmpty());
  EXPECT_EQ(real.FontInstalled(real.InstalledFonts().front()), true);
}

TEST(PlatformTest, FindsOnlyVisibleWindowsWithExactlyTheCaption) {
  Platform platform;
  auto hidden = std::make_unique<QWidget>();
  hidden->setWindowTitle("Graph(DL)");
  EXPECT_EQ(platform.FindWindowByCaption("Graph(DL)"), nullptr);

  auto graph = std::make_unique<QWidget>();
  graph->setWindowTitle("Graph(DL)");
  graph->show();
  auto other = std::make_unique<QWidget>();
  other->setWindowTitle("Graph(DLS)");
  other->show();
  EXPECT_EQ(platform.FindWindowByCaption("Graph(DL)"), graph.get());
  EXPECT_EQ(platform.FindWindowByCaption("graph(dl)"), nullptr);
  EXPECT_EQ(platform.FindWindowByCaption("Graph(D"), nullptr);

  // A child widget is no top-level window even when its title matches.
  QWidget child(other.get());
  child.setWindowTitle("Table(none)Korvan");
  child.show();
  EXPECT_EQ(platform.FindWindowByCaption("Table(none)Korvan"), nullptr);
}

TEST(PlatformTest, RestoreAndRaiseUndoesMinimising) {
  QWidget window;
  window.setWindowTitle("[Frequency vs HCP]");
  window.showMinimized();
  ASSERT_TRUE(window.isMinimized());
  Platform platform;
  ASSERT_EQ(platform.FindWindowByCaption("[Frequency vs HCP]"), &window);
  Platform::RestoreAndRaise(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  Platform::RestoreAndRaise(nullptr);
}

}  // namespace
}  // namespace vk::test
