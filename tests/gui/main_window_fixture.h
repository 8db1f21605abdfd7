#pragma once
// A fixture that starts the main window on a scratch program folder, on a platform under the
// test's control.

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
#include "fake_platform.h"
#include "test_support.h"

namespace vk::test {

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
