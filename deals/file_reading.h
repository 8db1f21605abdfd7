#pragma once
// Reading at an offset with pread until the count is read, the file ends or an error occurs.

#include <cstddef>
#include <cstdint>

namespace vk {

// Bytes read into `into`: fewer than `bytes` when the file ends first or a read fails.
std::size_t ReadAt(int fd, int64_t offset, uint8_t* into, std::size_t bytes);

}  // namespace vk
