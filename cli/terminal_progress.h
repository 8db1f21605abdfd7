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
  // A pass over the first `deals` deals: the bar stands for the deals of the library it reads, or
  // for the whole library when the cache accepted at start-up is replayed.
  TerminalScanUi(ScanContext& ctx, int32_t deals, bool showBar);
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
