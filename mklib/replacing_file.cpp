#include "mklib/replacing_file.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "deals/leftover_files.h"

namespace vk::mklib {

namespace {

// The temporary files a signal must remove. A signal handler may only read memory that is
// never half-written and call async-signal-safe functions, so the names sit in fixed buffers
// that are marked used only once filled; the handler unlinks them and ends the process.
// Process-wide by nature: a signal is delivered to the process, not to one object.
struct TemporarySlot {
  std::atomic<bool> used{false};
  char path[4096] = {};
};
static_assert(std::atomic<bool>::is_always_lock_free);
constexpr int kSlots = 8;
TemporarySlot gSlots[kSlots];
const char* gProgram = "velkorvan-mklib";
constexpr const char* kTemporaryMark = ".partial-";
bool gNewLineFirst = false;  // a progress line may be open on the terminal

int Register(const std::filesystem::path& file) {
  const std::string& name = file.native();
  for (int i = 0; i < kSlots; ++i) {
    TemporarySlot& slot = gSlots[i];
    if (slot.used.load() || name.size() >= sizeof slot.path) continue;
    std::memcpy(slot.path, name.c_str(), name.size() + 1);
    slot.used.store(true);
    return i;
  }
  return -1;
}

void Unregister(int& slot) {
  if (slot >= 0) gSlots[slot].used.store(false);
  slot = -1;
}

void WriteToStderr(const char* text) {
  std::size_t left = std::strlen(text);
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, text, left);
    if (n <= 0) return;
    text += n;
    left -= static_cast<std::size_t>(n);
  }
}

extern "C" void OnStop(int signal) {
  for (TemporarySlot& slot : gSlots)
    if (slot.used.load()) ::unlink(slot.path);
  if (gNewLineFirst) WriteToStderr("\n");
  WriteToStderr(gProgram);
  WriteToStderr(signal == SIGINT ? ": stopped by Ctrl-C\n" : ": stopped by SIGTERM\n");
  ::_exit(128 + signal);
}

std::string CauseText(int cause) { return std::strerror(cause); }

}  // namespace

void RemoveTemporaryFilesOnStop(const char* program) {
  gProgram = program;
  gNewLineFirst = ::isatty(STDERR_FILENO) != 0;
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target, long pid) {
  std::filesystem::path name = target;
  name += kTemporaryMark + std::to_string(pid);
  return name;
}

void RemoveStaleTemporaryFiles(const std::filesystem::path& target) {
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const std::string stem = target.filename().string() + kTemporaryMark;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0) continue;
    // Only the leftovers of a process that is gone: a live one may still be writing.
    if (NamesDeadProcess(std::string_view(name).substr(stem.size()))) {
      std::error_code removeError;
      std::filesystem::remove(entry.path(), removeError);
    }
  }
}

ReplacingFile::~ReplacingFile() { Discard(); }

void ReplacingFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
    temporary_.clear();
  }
  Unregister(slot_);
}

bool ReplacingFile::Open(const std::filesystem::path& target, std::string& error) {
  Discard();
  target_ = target;
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) {
    error = "cannot write \"" + target.string() + "\": " + CauseText(EISDIR) + " (give the output another name)";
    return false;
  }
  RemoveStaleTemporaryFiles(target);
  // Same folder as the target, so the final rename never crosses file systems.
  temporary_ = TemporaryNameFor(target, ::getpid());
  slot_ = Register(temporary_);
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr) {
    error = "cannot create \"" + temporary_.string() + "\": " + CauseText(errno);
    temporary_.clear();
    Unregister(slot_);
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
    error = "cannot write \"" + temporary_.string() + "\": " + CauseText(errno);
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
  // The cause of the first failing call, taken before any other call can change errno.
  int cause = 0;
  if (std::fflush(file_) != 0) cause = errno;
  if (cause == 0 && ::fsync(::fileno(file_)) != 0) cause = errno;
  if (std::fclose(file_) != 0 && cause == 0) cause = errno;
  file_ = nullptr;
  if (cause != 0) {
    error = "cannot write \"" + temporary_.string() + "\": " + CauseText(cause);
    Discard();
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    cause = errno;
    error = "cannot rename \"" + temporary_.string() + "\" to \"" + target_.string() + "\": " + CauseText(cause);
    Discard();
    return false;
  }
  temporary_.clear();
  Unregister(slot_);
  return true;
}

}  // namespace vk::mklib
