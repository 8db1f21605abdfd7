#include "deals/cache_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

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

CacheState CheckCacheAtStartup(const std::filesystem::path& dataFolder) {
  CacheState state;
  std::error_code ec;
  const std::filesystem::path file = dataFolder / kCacheFileName;
  if (!std::filesystem::is_regular_file(file, ec)) return state;
  auto size = std::filesystem::file_size(file, ec);
  if (ec) return state;
  state.size = static_cast<int64_t>(size);
  if (state.size < kCacheMinimumSize)
    std::filesystem::remove(file, ec);
  else
    state.usable = 1;
  return state;
}

CacheWriter::~CacheWriter() {
  std::string ignored;
  Close(ignored);
}

bool CacheWriter::Open(const std::filesystem::path& path, std::string& error) {
  Close(error);
  error.clear();
  // Opened for update without truncation: the pass writes over the file from record 1 on.
  file_ = std::fopen(path.c_str(), "r+b");
  if (file_ == nullptr && errno == ENOENT) file_ = std::fopen(path.c_str(), "w+b");
  if (file_ == nullptr) {
    error = "cannot write the cache \"" + path.string() + "\": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  buffer_.clear();
  buffer_.reserve(kBufferBytes + 4);
  failed_ = false;
  return true;
}

void CacheWriter::FlushBuffer() {
  if (file_ != nullptr && !buffer_.empty() && !failed_) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  }
  buffer_.clear();
}

bool CacheWriter::Flush(std::string& error) {
  if (file_ == nullptr) return true;
  FlushBuffer();
  if (std::fflush(file_) != 0) failed_ = true;
  if (failed_) {
    error = "writing the cache \"" + path_.string() + "\" failed: " + std::strerror(errno);
    return false;
  }
  return true;
}

bool CacheWriter::Close(std::string& error) {
  if (file_ == nullptr) return true;
  bool ok = Flush(error);
  if (std::fclose(file_) != 0 && ok) {
    error = "closing the cache \"" + path_.string() + "\" failed";
    ok = false;
  }
  file_ = nullptr;
  return ok;
}

bool CacheReader::Open(const std::filesystem::path& path, int64_t cacheSize, std::string& error) {
  if (!map_.Open(path, error)) return false;
  // The size decided at start-up governs the pass, but never beyond what the file holds now.
  size_ = std::min<int64_t>(cacheSize, static_cast<int64_t>(map_.size()));
  blockPosition_ = 0;
  blockReads_ = singleReads_ = 0;
  return true;
}

void CacheReader::GetRec25bin(int32_t& recCount, CacheRecord& current) {
  if (recCount == 1) blockPosition_ = 0;
  const int64_t end = 4 * static_cast<int64_t>(recCount);
  if (end > size_ || recCount < 1) {
    recCount = -1;
    return;
  }
  const uint8_t* bytes = map_.bytes().data();
  if (end < size_ - 1100) {
    if (blockPosition_ == 0) {
      // Block b holds records 1000 (b - 1) + 1 .. 1000 b; a last block is read as far as the file goes.
      const int64_t block = recCount / 1000 + 1;
      const int64_t first = 1000 * (block - 1) + 1;
      const int64_t at = 4 * (first - 1);
      const int64_t count = std::min<int64_t>(1000, (size_ - at) / 4);
      std::memcpy(block_[1].data(), bytes + at, static_cast<std::size_t>(4 * count));
      ++blockReads_;
    }
    ++blockPosition_;
    current = block_[static_cast<std::size_t>(blockPosition_)];
    if (blockPosition_ == 1000) blockPosition_ = 0;
  } else {
    std::memcpy(current.data(), bytes + end - 4, 4);
    ++singleReads_;
  }
}

}  // namespace vk
