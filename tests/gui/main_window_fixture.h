#pragma once
// A platform with a font list, a clock and a browser under the test's control, and a fixture
// that starts the main window on a scratch program folder.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "mainwindow/main_window.h"
#include "platform/platform.h"
#include "test_support.h"

namespace vk::test {

class FakePlatform : public Platform {
 public:
  QStringList fonts{"Arial", "Arial Narrow", "Verdana"};
  mutable double now = 100.0;  // seconds
  double stepPerReading = 0.25;
  std::vector<QString> opened;
  std::vector<double> openedAt;
  int eventRounds = 0;
  // Runs inside every event round, as a click handled during a scan would.
  std::function<void()> duringEvents;

  QStringList InstalledFonts() const override { return fonts; }
  double MonotonicSeconds() const override {
    const double t = now;
    now += stepPerReading;
    return t;
  }
  void OpenInBrowser(const QString& address) override {
    opened.push_back(address);
    openedAt.push_back(now);
  }
  void ProcessEvents() override {
    ++eventRounds;
    if (duringEvents) duringEvents();
    Platform::ProcessEvents();
  }
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { savedCwd_ = std::filesystem::current_path(); }
  void TearDown() override {
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
  QString Caption(const char* name) const {
    if (auto* b = form->findChild<QAbstractButton*>(QString::fromUtf8(name))) return b->text();
    if (auto* l = form->findChild<QLabel*>(QString::fromUtf8(name))) return l->text();
    if (auto* e = form->findChild<QLineEdit*>(QString::fromUtf8(name))) return e->text();
    ADD_FAILURE() << "no captioned control " << name;
    return {};
  }
  void Click(const char* name) { QTest::mouseClick(Control(name), Qt::LeftButton); }
  bool Exists(const std::filesystem::path& relative) const {
    return std::filesystem::exists(folder / relative.string());
  }

  ScratchFolder folder;
  FakePlatform platform;
  std::unique_ptr<Form1> form;

 private:
  std::filesystem::path savedCwd_;
};

}  // namespace vk::test
