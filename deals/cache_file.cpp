#include "deals/cache_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "deals/file_reading.h"
#include "deals/leftover_files.h"

namespace vk {

CacheRecord PackCacheRecord(int32_t cls, int32_t hcp, int32_t flag, int32_t tricks,
                            const RangeArray<int32_t, 1, 6>& c) {
  CacheRecord r;
  r[0] = static_cast<uint8_t>((hcp + flag + (cls == -1 ? 128 : 0)) & 255);
  r[1] = static_cast<uint8_t>(tricks & 255);
  r[2] = static_cast<uint8_t>((16 * c[1] + c[2]) & 255);
  r[3] = static_cast<uint8_t>((64 * c[3] + 16 * c[4] + 4 * c[5] + c[6]) & 255);
  return r;
}

CacheFields UnpackCacheRecord(const CacheRecord& r) {
  CacheFields f;
  f.cls = (r[0] & 128) ? -1 : 0;
  f.hcp = r[0] & 63;
  f.flag = r[0] & 64;
  f.tricks = r[1];
  f.corrections[1] = r[2] / 16;
  f.corrections[2] = r[2] & 15;
  f.corrections[3] = (r[3] / 64) & 3;
  f.corrections[4] = (r[3] / 16) & 3;
  f.corrections[5] = (r[3] / 4) & 3;
  f.corrections[6] = r[3] & 3;
  return f;
}

CacheState CheckCacheAtStartup(const std::filesystem::path& dataFolder, int64_t minimumSize) {
  CacheState state;
  std::error_code ec;
  const std::filesystem::path file = dataFolder / kCacheFileName;
  if (!std::filesystem::is_regular_file(file, ec)) return state;
  auto size = std::filesystem::file_size(file, ec);
  if (ec) return state;
  state.size = static_cast<int64_t>(size);
  if (state.size < minimumSize) {
    std::filesystem::remove(file, ec);
    state.discarded = "the cache held fewer than 1,000,000 bytes";
  } else
    state.usable = 1;
  return state;
}

namespace {
constexpr const char* kPartMark = ".part";
}

CacheWriter::~CacheWriter() { Discard(); }

bool CacheWriter::Open(const std::filesystem::path& path, std::string& error) {
  Discard();
  error.clear();
  path_ = path;
  temp_ = path;
  temp_ += kPartMark + std::to_string(::getpid());
  file_ = std::fopen(temp_.c_str(), "wb");
  if (file_ == nullptr) {
    error = "cannot write the cache \"" + temp_.string() + "\": " + std::strerror(errno);
    return false;
  }
  buffer_.clear();
  buffer_.reserve(kBufferBytes + 4);
  failed_ = false;
  savedErrno_ = 0;
  written_ = 0;
  return true;
}

void CacheWriter::FlushBuffer() {
  if (file_ != nullptr && !buffer_.empty() && !failed_) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
      failed_ = true;
      savedErrno_ = errno;
    }
    written_ += static_cast<int64_t>(buffer_.size());
  }
  buffer_.clear();
}

bool CacheWriter::Flush(std::string& error) {
  if (file_ == nullptr) return true;
  FlushBuffer();
  if (!failed_ && std::fflush(file_) != 0) {
    failed_ = true;
    savedErrno_ = errno;
  }
  if (failed_) {
    error = "writing the cache \"" + temp_.string() + "\" failed: " + std::strerror(savedErrno_);
    return false;
  }
  return true;
}

bool CacheWriter::Close(std::string& error) {
  if (file_ == nullptr) return !failed_;
  bool ok = Flush(error);
  if (std::fclose(file_) != 0 && ok) {
    error = "closing the cache \"" + temp_.string() + "\" failed: " + std::strerror(errno);
    failed_ = true;
    ok = false;
  }
  file_ = nullptr;
  return ok;
}

bool CacheWriter::Commit(std::string& error) {
  if (!Close(error)) return false;
  if (temp_.empty()) return false;
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    error = "cannot put the cache in place as \"" + path_.string() + "\": " + std::strerror(errno);
    return false;
  }
  temp_.clear();
  return true;
}

void CacheWriter::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) {
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
  }
  temp_.clear();
}

void RemoveStaleParts(const std::filesystem::path& dataFolder) {
  std::error_code ec;
  std::vector<std::filesystem::path> stale;
  for (const auto& entry : std::filesystem::directory_iterator(dataFolder, ec)) {
    const std::string name = entry.path().filename().string();
    const auto mark = name.rfind(kPartMark);
    if (mark == std::string::npos || mark == 0) continue;
    if (NamesDeadProcess(std::string_view(name).substr(mark + std::string_view(kPartMark).size())))
      stale.push_back(entry.path());
  }
  for (const auto& file : stale) std::filesystem::remove(file, ec);
}

bool CacheReader::Open(const std::filesystem::path& path, int64_t cacheSize, std::string& error) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
    error = "cannot read the cache \"" + path.string() + "\": " + std::strerror(errno);
    Close();
    return false;
  }
  // The size decided at start-up governs the pass, but never beyond what the file holds now.
  size_ = std::min<int64_t>(cacheSize, static_cast<int64_t>(st.st_size));
  blockPosition_ = 0;
  blockReads_ = singleReads_ = 0;
  failed_ = false;
  return true;
}

void CacheReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool CacheReader::Read(int64_t offset, uint8_t* into, std::size_t bytes) {
  if (ReadAt(fd_, offset, into, bytes) < bytes) failed_ = true;
  return !failed_;
}

void CacheReader::GetRec25bin(int32_t& recCount, CacheRecord& current) {
  if (recCount == 1) blockPosition_ = 0;
  const int64_t end = 4 * static_cast<int64_t>(recCount);
  if (end > size_ || recCount < 1 || failed_) {
    recCount = -1;
    return;
  }
  if (end < size_ - 1100) {
    if (blockPosition_ == 0) {
      // Block b holds records 1000 (b - 1) + 1 .. 1000 b; a last block is read as far as the file goes.
      const int64_t block = recCount / 1000 + 1;
      const int64_t first = 1000 * (block - 1) + 1;
      const int64_t at = 4 * (first - 1);
      const int64_t count = std::min<int64_t>(1000, (size_ - at) / 4);
      ++blockReads_;
      if (!Read(at, block_[1].data(), static_cast<std::size_t>(4 * count))) {
        recCount = -1;
        return;
      }
    }
    ++blockPosition_;
    current = block_[static_cast<std::size_t>(blockPosition_)];
    if (blockPosition_ == 1000) blockPosition_ = 0;
  } else {
    ++singleReads_;
    CacheRecord record;
    if (!Read(end - 4, record.data(), 4)) {
      recCount = -1;
      return;
    }
    current = record;
  }
}

}  // namespace vk
