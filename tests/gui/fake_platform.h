#pragma once
// A platform with a font list, a clock and a browser under the test's control: the clock moves
// on at every reading, pages are recorded instead of opened, and a hook runs inside every
// round of event processing, as a click handled during a scan would.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/platform.h"

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

}  // namespace vk::test
