#include "mklib/progress.h"

#include <unistd.h>

#include <cmath>

namespace vk::mklib {

namespace {
std::string TwoDigits(long long n) { return (n < 10 ? "0" : "") + std::to_string(n); }
}  // namespace

std::string DurationText(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) return "?";
  auto s = static_cast<long long>(std::llround(seconds));
  if (s < 60) return std::to_string(s) + " s";
  if (s < 3600) return std::to_string(s / 60) + " min " + TwoDigits(s % 60) + " s";
  if (s < 86400) return std::to_string(s / 3600) + " h " + TwoDigits(s / 60 % 60) + " min";
  return std::to_string(s / 86400) + " d " + TwoDigits(s / 3600 % 24) + " h";
}

Progress::Progress(std::FILE* out, std::string what, int64_t total, int64_t already)
    : out_(out),
      what_(std::move(what)),
      total_(total),
      already_(already),
      done_(already),
      inPlace_(out != nullptr && ::isatty(::fileno(out)) == 1),
      start_(std::chrono::steady_clock::now()),
      lastShown_(start_) {
  recent_.emplace_back(start_, already);
}

namespace {
constexpr std::chrono::seconds kRateWindow{300};
}  // namespace

double Progress::RecentRate() const {
  if (recent_.size() < 2) return 0;
  double seconds = std::chrono::duration<double>(recent_.back().first - recent_.front().first).count();
  return seconds > 0 ? static_cast<double>(recent_.back().second - recent_.front().second) / seconds : 0;
}

std::string Progress::Line(int64_t done) const {
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  // While running, the recent rate; at the end, that of the whole run.
  double rate = done < total_ ? RecentRate() : (elapsed > 0 ? static_cast<double>(done - already_) / elapsed : 0);
  char head[160];
  std::snprintf(head, sizeof head, "%s: %lld of %lld deals (%.1f %%), %.2f deals/s", what_.c_str(),
                static_cast<long long>(done), static_cast<long long>(total_),
                total_ > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(total_) : 100.0, rate);
  std::string line = head;
  if (done < total_) {
    line += ", ";
    line += rate > 0 ? DurationText(static_cast<double>(total_ - done) / rate) + " left" : "time left unknown";
  } else {
    line += ", took " + DurationText(elapsed);
  }
  return line;
}

void Progress::Update(int64_t done) {
  done_ = done;
  if (out_ == nullptr) return;
  auto now = std::chrono::steady_clock::now();
  recent_.emplace_back(now, done);
  // Keep one sample older than the window, so the window is always covered.
  while (recent_.size() > 2 && now - recent_[1].first > kRateWindow) recent_.pop_front();
  if (inPlace_) {
    // Erase to the end of the line: the new text may be shorter than the old.
    std::fprintf(out_, "\r%s\x1b[K", Line(done).c_str());
  } else {
    if (now - lastShown_ < logInterval_) return;
    std::fprintf(out_, "%s\n", Line(done).c_str());
    lastShownDone_ = done;
  }
  lastShown_ = now;
  std::fflush(out_);
}

void Progress::Finish() {
  if (out_ == nullptr || (!inPlace_ && lastShownDone_ == done_)) return;
  std::fprintf(out_, inPlace_ ? "\r%s\x1b[K\n" : "%s\n", Line(done_).c_str());
  std::fflush(out_);
}

}  // namespace vk::mklib
