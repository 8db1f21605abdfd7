#pragma once
// The headless scanner's side of a scan: a progress bar with deals per second and the time
// left on stderr when it is a terminal, and Ctrl-C as the Stop button.

#include <chrono>
#include <cstdint>
#include <string>

#include "scan/scan_context.h"
#include "scan/scan_ui.h"

namespace vk::cli {

class TerminalScanUi : public ScanUi {
 public:
  // `total` is the number of library deals the scan stands for.
  TerminalScanUi(ScanContext& ctx, int64_t total, std::string dealsToScan, bool showBar);
  ~TerminalScanUi() override;
  void ShowCounter(const std::string& text) override;
  void ProcessEvents() override;
  std::string DealsToScanText() override { return dealsToScan_; }
  // Ends the bar's line.
  void Finish();

 private:
  void Draw(bool final);
  ScanContext& ctx_;
  int64_t total_;
  std::string dealsToScan_;
  bool showBar_;
  int64_t done_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDraw_;
  bool drawn_ = false;
};

}  // namespace vk::cli
