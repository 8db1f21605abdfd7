// The option help windows (the panel each title button chooses, the window's size from that
// panel and its place beside the main window) and the comments window (its topics, sizes per
// topic and language, the web button and the text box that follows the window's height).
#include "help/help_windows.h"

#include <QPlainTextEdit>

#include "fake_platform.h"
#include "mainwindow/main_window.h"

namespace vk::test {
namespace {

class HelpTest : public WindowsTest {
 protected:
  HelpTest() : help(state) {}
  QWidget* Press(int topic, int language) {
    state.helpTopic = topic;
    help.Show(language);
    return help.window(language);
  }
  static std::vector<int> VisiblePanels(QWidget* w) {
    std::vector<int> shown;
    for (int i = 1; i <= 7; ++i)
      if (auto* panel = w->findChild<QWidget*>(QString("frame%1").arg(i)); panel && panel->isVisible())
        shown.push_back(i);
    return shown;
  }
  // 0.65 of the main window's width from its left edge; the bottom edges level.
  void ExpectBesideMain(QWidget* w) const {
    const QRect m = main.frameGeometry();
    EXPECT_EQ(w->frameGeometry().left(), m.left() + qRound(0.65 * m.width()));
    EXPECT_EQ(w->frameGeometry().bottom(), m.bottom());
  }

  frmComment* Open(int topic, int language) {
    comments.Close();
    Settle();
    state.commentTopic = topic;
    state.ctx.language = language;
    comments.Show();
    return qobject_cast<frmComment*>(comments.window());
  }
  QPlainTextEdit* Txt() const { return comments.window()->findChild<QPlainTextEdit*>("txt"); }
  QPushButton* Html() const { return comments.window()->findChild<QPushButton*>("cmdHTML"); }

  HelpWindows help;
};

// Panel sizes in twips, English and Japanese, topics 1..7.
constexpr int kPanels[2][8][2] = {
    {{0, 0}, {3450, 3825}, {4245, 3150}, {3375, 1725}, {3225, 1665}, {3300, 930}, {3735, 900}, {5100, 2085}},
    {{0, 0}, {3645, 3720}, {4590, 3150}, {3915, 1770}, {3720, 1695}, {3300, 1380}, {4545, 990}, {4380, 3375}},
};

TEST_F(HelpTest, EachTitleButtonShowsItsPanelInAWindowOfItsSizeBesideTheMainWindow) {
  for (int language : {0, 1}) {
    for (int topic = 1; topic <= 7; ++topic) {
      SCOPED_TRACE(testing::Message() << "language " << language << " topic " << topic);
      QWidget* w = Press(topic, language);
      ASSERT_NE(w, nullptr);
      EXPECT_TRUE(w->isVisible());
      EXPECT_EQ(VisiblePanels(w), std::vector<int>{topic});
      const auto [width, height] = kPanels[language][topic];
      EXPECT_EQ(w->frameGeometry().size(), QSize(TwipsToPixels(width + 210), TwipsToPixels(height + 600)));
      ExpectBesideMain(w);
    }
  }
  // A repaint lays the open window out again for the current topic and main window.
  QWidget* w = help.window(0);
  EXPECT_EQ(Press(3, 0), w) << "another title button reuses the open window";
  Settle();  // on screen
  state.helpTopic = 5;
  main.move(40, 60);
  w->repaint();
  Settle();
  EXPECT_EQ(VisiblePanels(w), std::vector<int>{5});
  EXPECT_EQ(w->frameGeometry().height(), TwipsToPixels(930 + 600));
  ExpectBesideMain(w);

  // Closing one language leaves the other; topic 0 keeps the whole design.
  help.CloseIfOpen(0);
  Settle();
  EXPECT_EQ(help.window(0), nullptr);
  EXPECT_NE(help.window(1), nullptr);
  EXPECT_EQ(VisiblePanels(Press(0, 0)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(help.window(0)->findChild<QLabel*>("caption")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

// The two headings of the Japanese length-points panel: only the notrump one is indented.
TEST_F(HelpTest, JapaneseLengthPanelIndentsOnlyTheNotrumpHeading) {
  QWidget* w = Press(2, 1);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->findChild<QLabel*>("LPinNT")->text(),
            "   ノートランプ･コントラクトの場合:\nダミーについてだけ 長さ点を数える.");
  EXPECT_EQ(w->findChild<QLabel*>("LPinSuit")->text(), "スート･コントラクトの場合:\nディクレアラーについてだけ数える.");
}

TEST_F(HelpTest, FurtherCommentsPageAddressKeepsHashPercentBlanksAndJapaneseOfTheFolder) {
  state.commentTopic = 3;
  for (const char* name : kAwkwardFolderNames) {
    for (int language : {0, 1}) {
      SCOPED_TRACE(testing::Message() << name << " language " << language);
      const std::filesystem::path dir =
          folder.path() / std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(name)));
      state.siteAddress = DefaultSiteAddress(dir);
      state.ctx.language = language;
      comments.Show();
      auto* w = qobject_cast<frmComment*>(comments.window());
      ASSERT_NE(w, nullptr);
      QTest::mouseClick(w->findChild<QPushButton*>("cmdHTML"), Qt::LeftButton);
      ASSERT_FALSE(platform.opened.empty());
      ExpectAddressOfFile(platform.opened.back(),
                          dir / "docs" / (language == 1 ? "GraphExplanation.htm" : "GraphExplanation.HTML"));
      comments.Close();
      Settle();
    }
  }
}

TEST_F(HelpTest, CommentTopicsShowTheirTextInWindowsSizedPerTopicAndLanguage) {
  // Topic, language, window width and height and text box width in twips, web button.
  using C = std::tuple<int, int, int, int, int, bool>;
  for (auto [topic, language, width, height, txtWidth, button] :
       {C{1, 0, 7320, 6000, 6825, false}, C{1, 1, 8160, 7200, 7800, false}, C{2, 0, 7320, 4650, 6825, false},
        C{2, 1, 8160, 8100, 7800, false}, C{3, 0, 7850, 8700, 7500, true}, C{3, 1, 7900, 8400, 7400, true}}) {
    SCOPED_TRACE(testing::Message() << "topic " << topic << " language " << language);
    frmComment* w = Open(topic, language);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    // Window sizes count the frame, as the text box's share of the height does.
    EXPECT_EQ(w->frameGeometry().size(), QSize(TwipsToPixels(width), TwipsToPixels(height)));
    EXPECT_EQ(Txt()->width(), TwipsToPixels(txtWidth));
    EXPECT_EQ(Txt()->height(), qRound(0.9 * TwipsToPixels(height)));
    EXPECT_EQ(Txt()->toPlainText(), CommentText(topic, language).replace("\r\n", "\n"));
    EXPECT_EQ(Html()->isVisible(), button);
    EXPECT_EQ(Html()->text(), language == 1 ? "さらに説明" : "Further Comments");
    if (!button) continue;
    // No line of text runs under the button, which opens the page of the language.
    const QRect textArea(Txt()->viewport()->mapTo(w, QPoint(0, 0)), Txt()->viewport()->size());
    EXPECT_FALSE(textArea.intersects(Html()->geometry()));
    QTest::mouseClick(Html(), Qt::LeftButton);
    EXPECT_EQ(platform.opened.back(), QUrl(language == 1 ? "https://velkorvan.example/GraphExplanation.htm"
                                                         : "https://velkorvan.example/GraphExplanation.HTML"));
  }

  // The text box keeps nine tenths of the window's height through a resize.
  frmComment* w = Open(1, 0);
  const int frame = w->frameGeometry().height() - w->height();
  w->resize(w->width(), 517 - frame);
  Settle();
  EXPECT_EQ(Txt()->height(), 465);  // 465.3
  w->resize(w->width(), 305 - frame);
  Settle();
  EXPECT_EQ(Txt()->height(), 274);  // 274.5 goes to the even 274

  // An open window comes forward unchanged; after its close box the next one has the new topic.
  state.commentTopic = 3;
  comments.Show();
  EXPECT_EQ(comments.window(), w);
  EXPECT_EQ(w->topic(), 1);
  w->close();
  Settle();
  EXPECT_EQ(comments.window(), nullptr);
  comments.Show();
  EXPECT_EQ(comments.topic(), 3);
}

}  // namespace
}  // namespace vk::test
