// The comments window: the three explanations in both languages, the window sizes per topic
// and language, the web button of the HCP graph's topic and the text box that follows the
// window's height.
#include "help/comment_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "fake_platform.h"
#include "mainwindow/app_state.h"

namespace vk {
namespace {

using test::FakePlatform;

class CommentFixture : public ::testing::Test {
 protected:
  CommentFixture() : state(platform), comments(state) {
    state.siteAddress = "https://velkorvan.example/";
    state.mainWindow = &main;
  }
  ~CommentFixture() override {
    comments.Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  frmComment* Open(int topic, int language) {
    comments.Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.commentTopic = topic;
    state.ctx.language = language;
    comments.Show();
    return qobject_cast<frmComment*>(comments.window());
  }
  QPlainTextEdit* Txt() const { return comments.window()->findChild<QPlainTextEdit*>("txt"); }
  QPushButton* Html() const { return comments.window()->findChild<QPushButton*>("cmdHTML"); }

  FakePlatform platform;
  AppState state;
  QWidget main;
  CommentWindow comments;
};

TEST(CommentText, ParagraphsArePiecesJoinedAndSeparatedByCrLf) {
  const QStringList table = CommentText(1, 0).split("\r\n");
  ASSERT_EQ(table.size(), 6);
  EXPECT_EQ(table[0], "  A few comments are in order on this table.");
  EXPECT_EQ(table[1],
            "   In this work, each of 717,102 deals gives two pieces of data (from N-S and W-E).  Both sides will "
            "bid on denominations with highest score among NT and the four suits. ");
  EXPECT_TRUE(table[5].endsWith("showing intermediate results."));

  EXPECT_EQ(CommentText(1, 1).split("\r\n").size(), 6);
  EXPECT_EQ(CommentText(2, 0).split("\r\n").size(), 5);
  const QStringList graph = CommentText(2, 1).split("\r\n");
  ASSERT_EQ(graph.size(), 9);
  EXPECT_EQ(graph[5], "     点数 ＝ HCP + ダミー点");
  EXPECT_EQ(CommentText(3, 0).split("\r\n").size(), 7);

  // The Japanese note under the HCP graph's explanation stands after an empty line.
  const QStringList hcp = CommentText(3, 1).split("\r\n");
  ASSERT_EQ(hcp.size(), 10);
  EXPECT_TRUE(hcp[7].endsWith("十分意味があると考えられます。"));
  EXPECT_EQ(hcp[8], "");
  EXPECT_TRUE(hcp[9].startsWith("  [注] "));
  EXPECT_FALSE(CommentText(3, 1).endsWith("\r\n"));

  EXPECT_EQ(CommentText(0, 0), "");
  EXPECT_EQ(CommentText(4, 1), "");
}

TEST_F(CommentFixture, SizesAndWebButtonPerTopicAndLanguage) {
  struct Case {
    int topic, language;
    int width, height, txtWidth;  // twips; width 0 keeps the designed 7320, txtWidth 0 the designed 6825
    bool button;
  };
  for (Case c :
       {Case{1, 0, 0, 6000, 0, false}, Case{1, 1, 8160, 7200, 7800, false}, Case{2, 0, 0, 4650, 0, false},
        Case{2, 1, 8160, 8100, 7800, false}, Case{3, 0, 7850, 8700, 7500, true}, Case{3, 1, 7900, 8400, 7400, true}}) {
    SCOPED_TRACE(testing::Message() << "topic " << c.topic << " language " << c.language);
    frmComment* w = Open(c.topic, c.language);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Comment");
    // Window sizes count the frame, as the text box's share of the height does.
    EXPECT_EQ(w->frameGeometry().size(), QSize(TwipsToPixels(c.width ? c.width : 7320), TwipsToPixels(c.height)));
    EXPECT_EQ(Txt()->width(), TwipsToPixels(c.txtWidth ? c.txtWidth : 6825));
    EXPECT_EQ(Txt()->height(), qRound(0.9 * TwipsToPixels(c.height)));
    EXPECT_EQ(Html()->isVisible(), c.button);
    EXPECT_EQ(Html()->text(), c.language == 1 ? "さらに説明" : "Further Comments");
    QString shown = CommentText(c.topic, c.language);
    shown.replace("\r\n", "\n");
    EXPECT_EQ(Txt()->toPlainText(), shown);
    if (c.language == 1) {
      EXPECT_EQ(Txt()->font().pointSizeF(), 12.5);
      EXPECT_EQ(Txt()->font().families().value(0), state.UiFont(1));
      EXPECT_EQ(Html()->font().families().value(0), state.UiFont(1));
    } else {
      EXPECT_EQ(Txt()->font().pointSizeF(), 14.25);
    }
  }
  // The HCP-graph windows put their button at the foot of the text box, and no line of text
  // runs under it.
  for (int language : {0, 1}) {
    frmComment* w = Open(3, language);
    EXPECT_EQ(Html()->y(), TwipsToPixels(7500)) << language;
    const QRect textArea(Txt()->viewport()->mapTo(w, QPoint(0, 0)), Txt()->viewport()->size());
    EXPECT_FALSE(textArea.intersects(Html()->geometry())) << language;
    EXPECT_GT(textArea.height(), Txt()->height() * 9 / 10) << language;
  }
}

TEST_F(CommentFixture, FurtherCommentsOpensTheExplanationPageOfTheLanguage) {
  Open(3, 0);
  QTest::mouseClick(Html(), Qt::LeftButton);
  Open(3, 1);
  QTest::mouseClick(Html(), Qt::LeftButton);
  ASSERT_EQ(platform.opened.size(), 2u);
  EXPECT_EQ(platform.opened[0], "https://velkorvan.example/GraphExplanation.HTML");
  EXPECT_EQ(platform.opened[1], "https://velkorvan.example/GraphExplanation.htm");
}

TEST_F(CommentFixture, TextBoxKeepsNineTenthsOfTheWindowHeight) {
  frmComment* w = Open(1, 0);
  const int frame = w->frameGeometry().height() - w->height();
  w->resize(w->width(), 517 - frame);
  QCoreApplication::processEvents();
  EXPECT_EQ(Txt()->height(), 465);  // 465.3
  w->resize(w->width(), 305 - frame);
  QCoreApplication::processEvents();
  EXPECT_EQ(Txt()->height(), 274);  // 274.5 goes to the even 274
}

TEST_F(CommentFixture, OpenWindowIsReusedUnchangedUntilClosed) {
  frmComment* first = Open(1, 0);
  state.commentTopic = 3;
  state.ctx.language = 1;
  comments.Show();
  EXPECT_EQ(comments.window(), first);
  EXPECT_EQ(first->topic(), 1);
  EXPECT_EQ(first->text(), CommentText(1, 0));
  EXPECT_FALSE(Html()->isVisible());

  first->close();  // the close box
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(comments.window(), nullptr);
  comments.Show();
  auto* second = qobject_cast<frmComment*>(comments.window());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->topic(), 3);
  EXPECT_EQ(second->text(), CommentText(3, 1));
}

}  // namespace
}  // namespace vk
