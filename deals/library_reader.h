#pragma once
// Reads deals from the library: "Library.bin" (26-byte records) or "Library.asc" (89-byte
// text records). Deal k is record k, at byte (k - 1) x record length; a trailing partial
// record is ignored.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/deal.h"

namespace vk {

inline constexpr int32_t kLibraryKindAsc = 0;
inline constexpr int32_t kLibraryKindBin = 1;
inline constexpr int32_t kBinRecordLength = 26;
inline constexpr int32_t kAscRecordLength = 89;
inline constexpr const char* kBinLibraryName = "Library.bin";
inline constexpr const char* kAscLibraryName = "Library.asc";

// The library in use: chosen at start-up and by a click on the library label.
struct LibraryChoice {
  std::string fileName = kBinLibraryName;
  int32_t kind = kLibraryKindBin;
  int32_t recordLength = kBinRecordLength;
  int64_t size = 0;
  int32_t dealCount = 0;
};

// Kind and record length that go with a file name: ".asc" (any case) is the text form.
LibraryChoice ChoiceForFile(const std::filesystem::path& file);

// Deal count of a library of the given size: whole records only.
int32_t DealCountFor(int64_t fileSize, int32_t recordLength);

enum class ReadStatus {
  Ok,
  PastEnd,    // the deal number lies beyond the last whole record
  Malformed,  // a text record whose hand field does not hold three dots
  Changed,    // the file was shortened, rewritten or replaced since it was opened
};

// A library opened for reading. Records are read with pread in chunks of whole records, never
// through a memory map: a file that another program shortens while it is read then gives
// ReadStatus::Changed instead of a bus error.
class LibraryFile {
 public:
  LibraryFile() = default;
  ~LibraryFile() { Close(); }
  LibraryFile(const LibraryFile&) = delete;
  LibraryFile& operator=(const LibraryFile&) = delete;

  bool Open(const std::filesystem::path& path, int32_t kind, std::string& error);
  void Close();
  bool isOpen() const { return fd_ >= 0; }
  int32_t kind() const { return kind_; }
  int32_t recordLength() const { return recordLength_; }
  int32_t dealCount() const { return dealCount_; }
  int64_t size() const { return size_; }
  const std::filesystem::path& path() const { return path_; }
  // The bytes of record dealNo (1-based); empty when it is past the end or the file changed.
  std::span<const uint8_t> Record(int32_t dealNo) const;
  // Whether the file under the path is still the one opened, with the size and modification
  // time it had then. Once false it stays false.
  bool Unchanged() const;
  bool changed() const { return changed_; }

 private:
  bool Fill(int32_t dealNo) const;

  int fd_ = -1;
  std::filesystem::path path_;
  int32_t kind_ = kLibraryKindBin;
  int32_t recordLength_ = kBinRecordLength;
  int32_t dealCount_ = 0;
  int64_t size_ = 0;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  int64_t mtimeNs_ = 0;
  // Records first_ .. first_ + count_ - 1 as read last.
  mutable std::vector<uint8_t> buffer_;
  mutable int32_t first_ = 0;
  mutable int32_t count_ = 0;
  mutable bool changed_ = false;
};

// Clears the deal, decodes record dealNo and counts the HCP.
ReadStatus ReadDeal(const LibraryFile& file, int32_t dealNo, Deal& deal);

// Decoders of one record into Holding and TrickHex. A record shorter than its form's
// length, or a text hand field with fewer than three dots, gives false. A record that decodes
// but is no possible deal (a hand without 13 cards, a card twice, a letter that is no card, a
// text record whose blanks or line end are out of place, a trick character that is not a
// hexadecimal digit) marks the deal damaged with its defect.
bool DecodeBinRecord(std::span<const uint8_t> record, Deal& deal);
bool DecodeAscRecord(std::span<const uint8_t> record, Deal& deal);

// Fills Tricks from TrickHex; marks the deal damaged when a digit exceeds 13.
void DecodeTricks(Deal& deal);

// Returns the text before the first "." and leaves in `text` what follows that dot.
// Without a dot, returns the whole text and leaves it empty.
std::string_view CutAtDot(std::string_view& text);

}  // namespace vk
