#pragma once
// The deal cache "DataFiles/Korvan.bin": one 4-byte record per evaluated contract, in deal
// order, pair West-East before North-South, notrump before suit. Each record keeps every
// correction separately, so one cache serves every option set.
//
//   byte 0: bit 7 notrump, bit 6 declarer flag, bits 0-5 the pair's HCP
//   byte 1: tricks of the declaring side
//   byte 2: Dummy points (high half), Length points (low half)
//   byte 3: Singleton (bits 6-7), Doubleton (4-5), Four aces (2-3), Aceless (0-1)

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "deals/range_array.h"

namespace vk {

inline constexpr const char* kDataFolder = "DataFiles";
inline constexpr const char* kCacheFileName = "Korvan.bin";
// A cache below this size is taken for the remains of an interrupted pass and deleted at start-up.
inline constexpr int64_t kCacheMinimumSize = 1000000;

using CacheRecord = std::array<uint8_t, 4>;

struct CacheFields {
  int32_t cls = 0;     // -1 notrump, 0 suit
  int32_t hcp = 0;     // 0..63 as stored
  int32_t flag = 0;    // 64 or 0
  int32_t tricks = 0;  // 0..255 as stored
  RangeArray<int32_t, 1, 6> corrections{};
};

// Packs one evaluated contract, each byte taken modulo 256.
CacheRecord PackCacheRecord(int32_t cls, int32_t hcp, int32_t flag, int32_t tricks,
                            const RangeArray<int32_t, 1, 6>& corrections);
CacheFields UnpackCacheRecord(const CacheRecord& record);

// What start-up decides about the cache: usable when it holds at least 1,000,000 bytes;
// a smaller file is deleted.
struct CacheState {
  int32_t usable = 0;
  int64_t size = 0;
  std::string discarded;  // why a cache file found at start-up was deleted; empty when none was
};
CacheState CheckCacheAtStartup(const std::filesystem::path& dataFolder, int64_t minimumSize = kCacheMinimumSize);

// Writes a new cache beside the old one, under a temporary name that carries the process id,
// and puts it in place only on Commit: a pass that stops, fails or covers part of the library
// leaves whatever cache was there before. Records are buffered and reach the file on Flush or
// Close; an uncommitted file is removed when the writer goes.
class CacheWriter {
 public:
  ~CacheWriter();
  bool Open(const std::filesystem::path& path, std::string& error);
  void Write(const CacheRecord& record) {
    buffer_.insert(buffer_.end(), record.begin(), record.end());
    if (buffer_.size() >= kBufferBytes) FlushBuffer();
  }
  bool Flush(std::string& error);
  bool Close(std::string& error);
  // Closes the file and renames it to the cache's name.
  bool Commit(std::string& error);
  // Closes and removes the temporary file.
  void Discard();
  bool isOpen() const { return file_ != nullptr; }
  int64_t recordsWritten() const { return (written_ + static_cast<int64_t>(buffer_.size())) / 4; }
  const std::filesystem::path& temporaryPath() const { return temp_; }

 private:
  void FlushBuffer();
  static constexpr std::size_t kBufferBytes = 1 << 20;
  std::FILE* file_ = nullptr;
  std::vector<uint8_t> buffer_;
  bool failed_ = false;
  int savedErrno_ = 0;
  int64_t written_ = 0;
  std::filesystem::path path_;
  std::filesystem::path temp_;
};

// Temporary files "<name>.part<pid>" (a cache or a result file being written) of processes that
// no longer run, such as a scan that was killed: removed at start-up.
void RemoveStaleParts(const std::filesystem::path& dataFolder);

// Reads the cache record by record number in blocks of 1000 records, with the last records of
// the file (4 x RecCount from size - 1100 on) taken one at a time. Reads use pread, so a file
// shortened under the reader ends the pass (recCount -1, failed()) rather than raising a signal.
class CacheReader {
 public:
  CacheReader() = default;
  ~CacheReader() { Close(); }
  CacheReader(const CacheReader&) = delete;
  CacheReader& operator=(const CacheReader&) = delete;
  bool Open(const std::filesystem::path& path, int64_t cacheSize, std::string& error);
  void Close();
  // Puts record recCount into `current`; past the end sets recCount to -1 and leaves `current`.
  void GetRec25bin(int32_t& recCount, CacheRecord& current);
  int32_t blockReads() const { return blockReads_; }
  int32_t singleReads() const { return singleReads_; }
  // A read came back short: the file lost records after it was opened.
  bool failed() const { return failed_; }

 private:
  bool Read(int64_t offset, uint8_t* into, std::size_t bytes);
  int fd_ = -1;
  bool failed_ = false;
  int64_t size_ = 0;
  int32_t blockPosition_ = 0;
  std::array<CacheRecord, 1001> block_{};  // entries 1..1000
  int32_t blockReads_ = 0;
  int32_t singleReads_ = 0;
};

}  // namespace vk
