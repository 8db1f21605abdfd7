#pragma once
// The option help windows, one per language: the rules of the option state.helpTopic.

#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

namespace vk {

struct AppState;

// One static label of a help panel; positions in twips inside the panel.
struct HelpLabel {
  const char* name;
  const char* text;  // "\n" where a label holds two lines
  int left, top, width, height;
};

// One option's panel: its caption, size in twips and labels, top to bottom. A non-zero
// ruleY draws a thin line between the two groups of labels.
struct HelpPanel {
  const char* caption;
  int width, height;
  std::vector<HelpLabel> labels;
  int ruleY = 0;
};

// The panel of topic 1..7 in the language (0 English, 1 Japanese).
const HelpPanel& HelpPanelFor(int language, int topic);

// A help window: seven panels of which only the requested one shows; the window shrinks to
// that panel and sits beside the main window, bottom edges level.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  HelpWindow(AppState& state, int language);
  int language() const { return language_; }
  // The topic the window was last laid out for.
  int shownTopic() const { return shownTopic_; }
  // Reads the help topic and lays the window out for it.
  void Layout();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ApplyColours();

  AppState& state_;
  int language_;
  int shownTopic_ = -1;
  bool layoutQueued_ = false;
  std::array<QWidget*, 8> frame_{};  // panels 1..7
  QRect designedGeometry_;
};

class frmInfoE : public HelpWindow {
  Q_OBJECT

 public:
  explicit frmInfoE(AppState& state) : HelpWindow(state, 0) {}
};

class frmInfoJ : public HelpWindow {
  Q_OBJECT

 public:
  explicit frmInfoJ(AppState& state) : HelpWindow(state, 1) {}
};

class HelpWindows {
 public:
  explicit HelpWindows(AppState& state);
  ~HelpWindows();
  // Opens the window of the language (0 English, 1 Japanese) modeless, or lays an open one out
  // again for the current topic.
  void Show(int language);
  void CloseIfOpen(int language);
  QWidget* window(int language) const;

 private:
  AppState& state_;
  std::array<QPointer<QWidget>, 2> windows_;
};

}  // namespace vk
