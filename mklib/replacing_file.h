#pragma once
// An output file that appears whole or not at all: written under a temporary name beside the
// target and renamed over it only when everything went well.

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace vk::mklib {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();  // removes the temporary file unless committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool Open(const std::filesystem::path& target, std::string& error);
  bool Write(std::span<const uint8_t> bytes, std::string& error);
  bool Write(std::string_view text, std::string& error);
  // Flushes to disk and renames the temporary file to the target.
  bool Commit(std::string& error);

 private:
  void Discard();

  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
};

}  // namespace vk::mklib
