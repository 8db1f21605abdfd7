#include "deals/leftover_files.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace vk {

bool NamesDeadProcess(std::string_view digits) {
  if (digits.empty() || digits.size() > 9) return false;
  long pid = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (ec != std::errc() || end != digits.data() + digits.size() || pid <= 0 || pid == ::getpid()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace vk
