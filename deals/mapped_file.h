#pragma once
// A read-only memory map of a whole file. The library and the cache are read through it:
// each record is addressed by its number, and nothing is copied beyond what the caller takes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vk {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the file; on failure returns false and sets error to a message naming the file.
  bool Open(const std::filesystem::path& path, std::string& error);
  void Close();
  bool isOpen() const { return open_; }
  std::span<const uint8_t> bytes() const { return {data_, size_}; }
  std::size_t size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool open_ = false;
  bool mapped_ = false;
};

}  // namespace vk
