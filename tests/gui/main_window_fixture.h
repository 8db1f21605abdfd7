#pragma once
// A fixture that starts the main window on a scratch program folder, on a platform under the
// test's control.

#include <QLineEdit>
#include <QRadioButton>
#include <memory>

#include "fake_platform.h"
#include "mainwindow/main_window.h"

namespace vk::test {

class MainWindowTest : public ::testing::Test {
 protected:
  ~MainWindowTest() override {
    form.reset();
    std::filesystem::current_path(savedCwd_);
  }

  // Starts the main window on `dir` (the scratch folder unless given).
  Form1& Start(const std::filesystem::path& dir = {}) {
    form = std::make_unique<Form1>(platform, dir.empty() ? folder.path() : dir);
    form->Form_Load();
    return *form;
  }
  void WriteBinLibrary(int deals, const std::filesystem::path& dir = {}) {
    WriteLibrary((dir.empty() ? folder.path() : dir) / "Library.bin", RandomDeals(deals, 7), 1);
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* w = form->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // The caption of a button or label, or the text of a box.
  QString Caption(const char* name) const {
    return (Control(name) ? Control(name)->property("text") : QVariant()).toString();
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  bool Exists(const char* relative) const { return std::filesystem::exists(folder / relative); }
  // Names of the controls on the window itself that are on screen.
  QStringList VisibleControls() const {
    QStringList names;
    for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
      if (!w->isWindow() && w->isVisible()) names << w->objectName();
    return names;
  }
  // The printed lines from line `first` on, each without `indent`, joined again: a text that
  // PrintWrapped spread over several lines.
  QString Rejoined(int first, const QString& indent) const {
    QString joined;
    for (const QString& line : form->PrintedString().split(u'\n').mid(first)) {
      EXPECT_TRUE(line.startsWith(indent)) << line.toStdString();
      joined += line.mid(indent.size());
    }
    return joined;
  }
  // Every piece of printed text ends inside the window.
  void ExpectPrintedInsideWindow() const {
    for (const Form1::PrintedRun& run : form->printedText()) {
      const double right =
          run.topLeftTwips.x() / PixelsToTwips(1.0) + QFontMetricsF(run.font).horizontalAdvance(run.text);
      EXPECT_LE(right, form->width()) << run.text.toStdString();
    }
  }
  static constexpr const char* kNoneTally = "DataFiles/(none)Korvan.dat";

  ScratchFolder folder;
  FakePlatform platform;
  std::unique_ptr<Form1> form;

 private:
  const std::filesystem::path savedCwd_ = std::filesystem::current_path();
};

}  // namespace vk::test
