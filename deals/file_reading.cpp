#include "deals/file_reading.h"

#include <unistd.h>

#include <cerrno>

namespace vk {

std::size_t ReadAt(int fd, int64_t offset, uint8_t* into, std::size_t bytes) {
  std::size_t got = 0;
  while (got < bytes) {
    const ssize_t n = ::pread(fd, into + got, bytes - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

}  // namespace vk
