#pragma once
// Progress of a long run on the terminal: deals done, rate and time left. On a terminal one
// line is rewritten in place; in a log (stderr redirected) a line is added now and then. The
// rate is that of the last few minutes: on a shared machine the load changes, and the time
// left should follow it.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>

namespace vk::mklib {

class Progress {
 public:
  // `out` null: report nothing. `total` is the number of deals the whole run ends with;
  // `already` of them were done before this run started and do not count towards the rate.
  Progress(std::FILE* out, std::string what, int64_t total, int64_t already);
  // Whether the output is rewritten in place (a terminal) or appended to.
  void SetInPlace(bool inPlace) { inPlace_ = inPlace; }
  void SetLogInterval(std::chrono::seconds interval) { logInterval_ = interval; }

  void Update(int64_t done);
  // The closing line with the time taken; ends the in-place line. Not repeated when the last
  // appended line already showed the end.
  void Finish();

 private:
  std::string Line(int64_t done) const;
  double RecentRate() const;

  std::FILE* out_;
  std::string what_;
  int64_t total_;
  int64_t already_;
  int64_t done_;
  bool inPlace_;
  std::chrono::seconds logInterval_{30};
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastShown_;
  int64_t lastShownDone_ = -1;  // appended lines only
  std::deque<std::pair<std::chrono::steady_clock::time_point, int64_t>> recent_;
};

// "45 s", "12 min 05 s", "3 h 07 min", "2 d 04 h": two units at most.
std::string DurationText(double seconds);

}  // namespace vk::mklib
