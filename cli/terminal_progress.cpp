#include "cli/terminal_progress.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace vk::cli {

namespace {
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }

std::string Clock(double seconds) {
  long s = static_cast<long>(seconds + 0.5);
  char buf[32];
  if (s >= 3600)
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
  else
    std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
  return buf;
}
}  // namespace

TerminalScanUi::TerminalScanUi(ScanContext& ctx, int32_t deals, bool showBar)
    : ctx_(ctx),
      total_(std::max<int64_t>(1, ctx.cache.usable ? ctx.library.dealCount : std::min(deals, ctx.library.dealCount))),
      dealsToScan_(std::to_string(deals)),
      showBar_(showBar) {
  interrupted = 0;
  std::signal(SIGINT, OnInterrupt);
  start_ = lastDraw_ = std::chrono::steady_clock::now();
}

TerminalScanUi::~TerminalScanUi() { std::signal(SIGINT, SIG_DFL); }

void TerminalScanUi::ShowCounter(const std::string& text) { done_ = std::strtoll(text.c_str(), nullptr, 10); }

void TerminalScanUi::ProcessEvents() {
  if (interrupted) ctx_.stopFlag = 1;
  if (!showBar_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  Draw(false);
}

void TerminalScanUi::Draw(bool final) {
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double share = static_cast<double>(done_) / static_cast<double>(total_);
  const int width = 30;
  const int filled = static_cast<int>(std::min(1.0, share) * width);
  const double rate = elapsed > 0 ? static_cast<double>(done_) / elapsed : 0.0;
  const double left = rate > 0 ? static_cast<double>(total_ - done_) / rate : 0.0;
  std::fprintf(stderr, "\r[%s%s] %lld / %lld deals  %.0f deals/s  %s %s\x1b[K",
               std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(width - filled), '-').c_str(), static_cast<long long>(done_),
               static_cast<long long>(total_), rate, final ? Clock(elapsed).c_str() : Clock(left).c_str(),
               final ? "taken" : "left");
  drawn_ = true;
}

void TerminalScanUi::Finish() {
  if (showBar_ && drawn_) {
    Draw(true);
    std::fputc('\n', stderr);
  }
}

}  // namespace vk::cli
