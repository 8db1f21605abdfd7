// The option help windows: the panel each title button chooses, the window's size from that
// panel, its place beside the main window, and the blue panel captions.
#include "help/help_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>

#include "mainwindow/app_state.h"

namespace vk {
namespace {

class HelpFixture : public ::testing::Test {
 protected:
  HelpFixture() : state(platform), help(state) {
    state.background = QColor(227, 227, 227);
    main.setGeometry(100, 120, 493, 374);
    state.mainWindow = &main;
    main.show();
  }
  ~HelpFixture() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  QWidget* Press(int topic, int language) {
    state.helpTopic = topic;
    help.Show(language);
    return help.window(language);
  }
  int MainLeftPlus(double share) const {
    const QRect m = main.frameGeometry();
    return m.left() + qRound(share * m.width());
  }
  static std::vector<int> VisiblePanels(QWidget* w) {
    std::vector<int> shown;
    for (int i = 1; i <= 7; ++i) {
      QWidget* panel = w->findChild<QWidget*>(QString("frame%1").arg(i));
      if (panel != nullptr && panel->isVisible()) shown.push_back(i);
    }
    return shown;
  }

  Platform platform;
  AppState state;
  QWidget main;
  HelpWindows help;
};

// Panel sizes in twips, English and Japanese, topics 1..7.
constexpr int kPanels[2][8][2] = {
    {{0, 0}, {3450, 3825}, {4245, 3150}, {3375, 1725}, {3225, 1665}, {3300, 930}, {3735, 900}, {5100, 2085}},
    {{0, 0}, {3645, 3720}, {4590, 3150}, {3915, 1770}, {3720, 1695}, {3300, 1380}, {4545, 990}, {4380, 3375}},
};

TEST_F(HelpFixture, EachTitleButtonShowsItsPanelBesideTheMainWindow) {
  for (int language : {0, 1}) {
    for (int topic = 1; topic <= 7; ++topic) {
      SCOPED_TRACE(testing::Message() << "language " << language << " topic " << topic);
      QWidget* w = Press(topic, language);
      ASSERT_NE(w, nullptr);
      EXPECT_TRUE(w->isVisible());
      EXPECT_EQ(w->objectName(), language == 1 ? "frmInfoJ" : "frmInfoE");
      EXPECT_EQ(w->windowTitle(), " VelKorvan Help");
      EXPECT_EQ(VisiblePanels(w), std::vector<int>{topic});
      QWidget* panel = w->findChild<QWidget*>(QString("frame%1").arg(topic));
      EXPECT_EQ(panel->pos(), QPoint(0, TwipsToPixels(90)));
      const int width = TwipsToPixels(kPanels[language][topic][0] + 210);
      const int height = TwipsToPixels(kPanels[language][topic][1] + 600);
      EXPECT_EQ(w->frameGeometry().size(), QSize(width, height));
      // 0.65 of the main window's width from its left edge; the bottom edges are level.
      EXPECT_EQ(w->frameGeometry().left(), MainLeftPlus(0.65));
      EXPECT_EQ(w->frameGeometry().bottom(), main.frameGeometry().bottom());
    }
  }
}

TEST_F(HelpFixture, AnotherTitleButtonOrARepaintLaysTheOpenWindowOutAgain) {
  QWidget* w = Press(7, 0);
  EXPECT_EQ(Press(3, 0), w);  // the same window, now with panel 3
  EXPECT_EQ(VisiblePanels(w), std::vector<int>{3});
  EXPECT_EQ(w->frameGeometry().height(), TwipsToPixels(1725 + 600));

  QCoreApplication::processEvents();  // on screen
  state.helpTopic = 5;
  main.move(40, 60);
  w->repaint();
  QCoreApplication::processEvents();
  EXPECT_EQ(VisiblePanels(w), std::vector<int>{5});
  EXPECT_EQ(w->frameGeometry().height(), TwipsToPixels(930 + 600));
  EXPECT_EQ(w->frameGeometry().bottom(), main.frameGeometry().bottom());
  EXPECT_EQ(w->frameGeometry().left(), MainLeftPlus(0.65));
}

TEST_F(HelpFixture, ClosingOneLanguageLeavesTheOther) {
  QWidget* english = Press(1, 0);
  QWidget* japanese = Press(2, 1);
  ASSERT_NE(english, japanese);
  help.CloseIfOpen(0);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(help.window(0), nullptr);
  EXPECT_EQ(help.window(1), japanese);
  help.CloseIfOpen(0);  // nothing open: nothing happens
  QWidget* again = Press(4, 0);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(VisiblePanels(again), std::vector<int>{4});
}

TEST_F(HelpFixture, TopicZeroKeepsTheDesignAndAppliesTheColours) {
  QWidget* w = Press(0, 0);
  EXPECT_EQ(VisiblePanels(w), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(w->findChild<QWidget*>("frame4")->palette().color(QPalette::Window), state.background);
}

TEST_F(HelpFixture, PanelCaptionsAreBlueAndLabelsBlack) {
  for (int language : {0, 1}) {
    QWidget* w = Press(2, language);
    QWidget* panel = w->findChild<QWidget*>("frame2");
    auto* caption = panel->findChild<QLabel*>("caption");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), language == 1 ? "長さ点 (Length Points)" : "Length Points");
    const QImage image = w->grab().toImage();
    const QRect captionArea = caption->geometry().translated(panel->pos());
    const QRect labelArea = panel->findChild<QLabel*>("LP5cards")->geometry().translated(panel->pos());
    auto count = [&](const QRect& area, QRgb colour) {
      int n = 0;
      for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
      return n;
    };
    EXPECT_GT(count(captionArea, qRgb(0, 0, 255)), 10) << language;
    EXPECT_EQ(count(labelArea, qRgb(0, 0, 255)), 0) << language;
    EXPECT_GT(count(labelArea, qRgb(0, 0, 0)), 10) << language;
  }
  // The Japanese length panel explains the suit contracts as well.
  EXPECT_NE(help.window(1)->findChild<QLabel*>("LPinSuit"), nullptr);
  EXPECT_EQ(help.window(0)->findChild<QLabel*>("LPinSuit"), nullptr);
}

}  // namespace
}  // namespace vk
