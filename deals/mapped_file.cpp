#include "deals/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace vk {

MappedFile::~MappedFile() { Close(); }

MappedFile::MappedFile(MappedFile&& other) noexcept { *this = std::move(other); }

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    open_ = std::exchange(other.open_, false);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

bool MappedFile::Open(const std::filesystem::path& path, std::string& error) {
  Close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open \"" + path.string() + "\": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "\"" + path.string() + "\" is not a readable file";
    ::close(fd);
    return false;
  }
  size_ = static_cast<std::size_t>(st.st_size);
  if (size_ > 0) {
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      error = "cannot map \"" + path.string() + "\": " + std::strerror(errno);
      ::close(fd);
      size_ = 0;
      return false;
    }
    ::madvise(p, size_, MADV_SEQUENTIAL);
    data_ = static_cast<const uint8_t*>(p);
    mapped_ = true;
  }
  ::close(fd);
  open_ = true;
  return true;
}

void MappedFile::Close() {
  if (mapped_) ::munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  open_ = false;
  mapped_ = false;
}

}  // namespace vk
