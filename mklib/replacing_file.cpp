#include "mklib/replacing_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vk::mklib {

ReplacingFile::~ReplacingFile() { Discard(); }

void ReplacingFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    temporary_.clear();
  }
}

bool ReplacingFile::Open(const std::filesystem::path& target, std::string& error) {
  Discard();
  target_ = target;
  // Same folder as the target, so the final rename never crosses file systems.
  temporary_ = target;
  temporary_ += ".partial-" + std::to_string(::getpid());
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr) {
    error = "cannot create \"" + temporary_.string() + "\": " + std::strerror(errno);
    temporary_.clear();
    return false;
  }
  return true;
}

bool ReplacingFile::Write(std::span<const uint8_t> bytes, std::string& error) {
  if (file_ == nullptr) {
    error = "write to \"" + target_.string() + "\" after it was closed";
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error = "cannot write \"" + temporary_.string() + "\": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool ReplacingFile::Write(std::string_view text, std::string& error) {
  return Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

bool ReplacingFile::Commit(std::string& error) {
  if (file_ == nullptr) {
    error = "\"" + target_.string() + "\" is not open";
    return false;
  }
  bool ok = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (!ok) {
    error = "cannot write \"" + temporary_.string() + "\": " + std::strerror(errno);
    Discard();
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    error = "cannot rename \"" + temporary_.string() + "\" to \"" + target_.string() + "\": " + ec.message();
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

}  // namespace vk::mklib
