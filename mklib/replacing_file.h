#pragma once
// An output file that appears whole or not at all: written under a temporary name beside the
// target and renamed over it only when everything went well. The temporary file is removed on
// every way out: an error, a return, Ctrl-C or SIGTERM, and (left by a run that was killed
// outright) by the next run that writes the same target.

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

  // Refuses a target that is a folder, before any work is done.
  bool Open(const std::filesystem::path& target, std::string& error);
  bool Write(std::span<const uint8_t> bytes, std::string& error);
  bool Write(std::string_view text, std::string& error);
  // Flushes to disk and renames the temporary file to the target.
  bool Commit(std::string& error);

  const std::filesystem::path& temporary() const { return temporary_; }

 private:
  void Discard();

  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int slot_ = -1;  // where the temporary name is registered for removal on a signal
};

// Ctrl-C (SIGINT) and SIGTERM remove the temporary files of open ReplacingFiles, say so on
// stderr and end the program with 128 + the signal's number. `program` prefixes the message.
void RemoveTemporaryFilesOnStop(const char* program);

// The temporary name of `target` for the process `pid`.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, long pid);

// Removes temporary files of `target` left by processes that no longer run.
void RemoveStaleTemporaryFiles(const std::filesystem::path& target);

}  // namespace vk::mklib
