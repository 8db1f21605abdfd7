#pragma once
// The single comments window: how to read the table (topic 1), the success graph (2) and the
// HCP graph (3), in the language current when it opens.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>

class QPlainTextEdit;
class QPushButton;

namespace vk {

struct AppState;

// The explanation of a topic in a language (0 English, 1 Japanese): paragraphs separated by
// CR LF. Empty for a topic other than 1, 2 or 3.
QString CommentText(int32_t topic, int32_t language);

class frmComment : public QWidget {
  Q_OBJECT

 public:
  // Built once per opening, for the topic and language of that moment.
  frmComment(AppState& state, int32_t topic, int32_t language);
  int32_t topic() const { return topic_; }
  int32_t language() const { return language_; }
  // The explanation as built, with its CR LF paragraph breaks.
  const QString& text() const { return text_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void cmdHTML_Click();

  AppState& state_;
  int32_t topic_;
  int32_t language_;
  QString text_;
  QSize outerSize_;  // the window's size with its frame, in pixels
  bool sized_ = false;
  QPlainTextEdit* txt_;
  QPushButton* cmdHTML_;
};

class CommentWindow {
 public:
  explicit CommentWindow(AppState& state);
  ~CommentWindow();
  // Builds the window for state.commentTopic, or brings an open one forward unchanged.
  void Show();
  void Close();
  QWidget* window() const;
  // The topic of the open window, 0 when none is open.
  int32_t topic() const;

 private:
  AppState& state_;
  QPointer<QWidget> window_;
};

}  // namespace vk
