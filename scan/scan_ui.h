#pragma once
// What a scan needs from its user interface. The desktop program, the headless scanner and
// the tests each supply their own; every hook but the counter and event processing may be a
// no-op.

#include <cstdint>
#include <string>

namespace vk {

class ScanUi {
 public:
  virtual ~ScanUi() = default;
  // Caption of the deal counter.
  virtual void ShowCounter(const std::string& text) = 0;
  // Lets pending window events run; a click handled here may set the context's stop flag or
  // change its table-window state.
  virtual void ProcessEvents() = 0;
  // Text of the "deals to be scanned" box, shown by the counter at the end of a cache pass.
  virtual std::string DealsToScanText() = 0;

  // Table window hooks.
  virtual void LoadTab() {}
  virtual void EnableReShowTable() {}
  // Called only while the table-window state is 1, for a cell the table shows.
  virtual void UpdateTable(int32_t /*cls*/, int32_t /*tricks*/, int32_t /*points*/) {}

  // Button hooks.
  virtual void DisableButtons() {}
  virtual void EnableButtons() {}
  virtual void EnableDisableButtons() {}
  // A scan ended normally: the Start button reads "Finished".
  virtual void ScanFinished() {}
};

// Does nothing but show the counter to nobody: for tests and tools.
class SilentScanUi : public ScanUi {
 public:
  void ShowCounter(const std::string& text) override { counter = text; }
  void ProcessEvents() override {}
  std::string DealsToScanText() override { return dealsToScan; }
  std::string counter;
  std::string dealsToScan;
};

}  // namespace vk
