// The platform layer: twips, the font check, finding windows by caption.
#include <QScreen>

#include "fake_platform.h"

namespace vk::test {
namespace {

TEST(PlatformTest, TwipsFollowTheScreensLogicalDpiAndHalvesGoToEven) {
  const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  EXPECT_EQ(TwipsToPixels(1440), static_cast<int>(std::lround(dpi)));
  EXPECT_DOUBLE_EQ(PixelsToTwips(dpi), 1440.0);
  if (dpi != 96.0) return;
  EXPECT_EQ(TwipsToPixels(22.5), 2);  // 1.5 pixels
  EXPECT_EQ(TwipsToPixels(37.5), 2);  // 2.5 pixels
  EXPECT_EQ(TwipsRect(6090, 195, 1170, 615), QRect(406, 13, 78, 41));
}

TEST(PlatformTest, FontCheckIsExactAndCaseSensitive) {
  FakePlatform fake;
  fake.fonts = {"メイリオ", "Arial"};
  EXPECT_TRUE(fake.FontInstalled("メイリオ"));
  EXPECT_FALSE(fake.FontInstalled("arial"));
  EXPECT_FALSE(fake.FontInstalled("Arial "));
}

TEST(PlatformTest, FindsOnlyVisibleTopLevelWindowsWithExactlyTheCaption) {
  Platform platform;
  QWidget hidden, graph, other;
  hidden.setWindowTitle("Graph(DL)");
  EXPECT_EQ(platform.FindWindowByCaption("Graph(DL)"), nullptr);
  graph.setWindowTitle("Graph(DL)");
  graph.show();
  other.setWindowTitle("Graph(DLS)");
  other.show();
  EXPECT_EQ(platform.FindWindowByCaption("Graph(DL)"), &graph);
  EXPECT_EQ(platform.FindWindowByCaption("graph(dl)"), nullptr);
  EXPECT_EQ(platform.FindWindowByCaption("Graph(D"), nullptr);
  QWidget child(&other);  // no top-level window even when its title matches
  child.setWindowTitle("Table(none)Korvan");
  child.show();
  EXPECT_EQ(platform.FindWindowByCaption("Table(none)Korvan"), nullptr);
}

}  // namespace
}  // namespace vk::test
