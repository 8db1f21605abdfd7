#include "deals/library_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "deals/card_coding.h"
#include "deals/file_reading.h"

namespace vk {

LibraryChoice ChoiceForFile(const std::filesystem::path& file) {
  LibraryChoice c;
  c.fileName = file.filename().string();
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
  if (ext == ".asc") {
    c.kind = kLibraryKindAsc;
    c.recordLength = kAscRecordLength;
  }
  return c;
}

int32_t DealCountFor(int64_t fileSize, int32_t recordLength) {
  if (fileSize <= 0 || recordLength <= 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(fileSize / recordLength, INT32_MAX));
}

namespace {
int64_t ModificationNs(const struct stat& st) {
  return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}
// A chunk of about 1 MiB for a pass that reads on; a few records for a look-up elsewhere.
constexpr int32_t kChunkBytes = 1 << 20;
constexpr int32_t kLookupRecords = 64;
}  // namespace

bool LibraryFile::Open(const std::filesystem::path& path, int32_t kind, std::string& error) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
  fd_ = fd;
  path_ = path;
  kind_ = kind;
  recordLength_ = kind == kLibraryKindAsc ? kAscRecordLength : kBinRecordLength;
  size_ = static_cast<int64_t>(st.st_size);
  dealCount_ = DealCountFor(size_, recordLength_);
  device_ = st.st_dev;
  inode_ = st.st_ino;
  mtimeNs_ = ModificationNs(st);
  first_ = count_ = 0;
  changed_ = false;
  return true;
}

void LibraryFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  first_ = count_ = 0;
  buffer_.clear();
  buffer_.shrink_to_fit();
}

bool LibraryFile::Unchanged() const {
  if (changed_) return false;
  if (fd_ < 0) return true;
  struct stat open {
  }, named{};
  if (::fstat(fd_, &open) != 0 || static_cast<int64_t>(open.st_size) != size_ || ModificationNs(open) != mtimeNs_ ||
      ::stat(path_.c_str(), &named) != 0 || named.st_dev != device_ || named.st_ino != inode_)
    changed_ = true;
  return !changed_;
}

bool LibraryFile::Fill(int32_t dealNo) const {
  if (!Unchanged()) return false;
  const bool readingOn = count_ == 0 || dealNo == first_ + count_;
  const int32_t chunk = readingOn ? std::max(1, kChunkBytes / recordLength_) : kLookupRecords;
  const int32_t count = std::min(chunk, dealCount_ - dealNo + 1);
  const std::size_t want = static_cast<std::size_t>(count) * static_cast<std::size_t>(recordLength_);
  if (buffer_.size() < want) buffer_.resize(want);
  if (ReadAt(fd_, static_cast<int64_t>(dealNo - 1) * recordLength_, buffer_.data(), want) < want) {
    changed_ = true;
    count_ = 0;
    return false;
  }
  first_ = dealNo;
  count_ = count;
  return true;
}

std::span<const uint8_t> LibraryFile::Record(int32_t dealNo) const {
  if (dealNo < 1 || dealNo > dealCount_ || changed_) return {};
  if ((dealNo < first_ || dealNo >= first_ + count_) && !Fill(dealNo)) return {};
  return {buffer_.data() + static_cast<std::size_t>(dealNo - first_) * static_cast<std::size_t>(recordLength_),
          static_cast<std::size_t>(recordLength_)};
}

ReadStatus ReadDeal(const LibraryFile& file, int32_t dealNo, Deal& deal) {
  deal.Clear();
  deal.DealNo = dealNo;
  std::span<const uint8_t> record = file.Record(dealNo);
  if (record.empty()) return file.changed() ? ReadStatus::Changed : ReadStatus::PastEnd;
  bool ok = file.kind() == kLibraryKindAsc ? DecodeAscRecord(record, deal) : DecodeBinRecord(record, deal);
  if (!ok) return ReadStatus::Malformed;
  CountHCP(deal);
  return ReadStatus::Ok;
}

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
}

namespace {
// The letters of a set of ranks, highest first, with their card points: one table for the
// ranks ace to eight (bits 0..6 of a rank mask), one for seven to two (bits 7..12).
struct RankRun {
  char letters[8];
  uint8_t count;
  uint8_t points;
};
template <int First, int Count>
constexpr std::array<RankRun, 1 << Count> MakeRankRuns() {
  std::array<RankRun, 1 << Count> runs{};
  for (int mask = 0; mask < (1 << Count); ++mask)
    for (int bit = 0; bit < Count; ++bit)
      if (mask & (1 << bit)) {
        RankRun& run = runs[static_cast<std::size_t>(mask)];
        run.letters[run.count++] = kRankLetters[First + bit];
        run.points =
            static_cast<uint8_t>(run.points + kCardPointTable[static_cast<unsigned char>(kRankLetters[First + bit])]);
      }
  return runs;
}
constexpr auto kHighRuns = MakeRankRuns<0, 7>();
constexpr auto kLowRuns = MakeRankRuns<7, 6>();
}  // namespace

bool DecodeBinRecord(std::span<const uint8_t> record, Deal& deal) {
  if (record.size() < static_cast<std::size_t>(kBinRecordLength)) return false;
  // Every card has exactly one owner in this form, so the one way to be no deal is a hand
  // with more or fewer than 13 cards.
  int cards[4] = {0, 0, 0, 0};
  for (int s = 0; s <= 3; ++s) {
    // Rank r's owner: bits 2(r mod 4) of byte 3 - r div 4 (the ace in bits 0-1 of the fourth
    // byte, the two in bits 0-1 of the first). Gather each player's ranks as a mask first.
    const uint32_t word = static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 3)]) |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 2)]) << 8 |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 1)]) << 16 |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s)]) << 24;
    uint32_t ranks[4] = {0, 0, 0, 0};
    for (int r = 0; r < 13; ++r) ranks[(word >> (2 * r)) & 3] |= 1u << r;
    for (int p = 0; p <= 3; ++p) cards[p] += std::popcount(ranks[p]);
    for (int p = 0; p <= 3; ++p) {
      const RankRun& high = kHighRuns[ranks[p] & 127];
      const RankRun& low = kLowRuns[ranks[p] >> 7];
      HoldingText& h = deal.Holding[p][s];
      h.assignRuns(high.letters, high.count, low.letters, low.count, high.points, (ranks[p] & 1) != 0);
    }
  }
  for (int d = -1; d <= 3; ++d) {
    const uint8_t* t = &record[static_cast<std::size_t>(16 + 2 * (d + 1))];
    TrickHexText& hex = deal.TrickHex[d];
    hex.digits[0] = kHexDigits[t[0] >> 4];
    hex.digits[1] = kHexDigits[t[0] & 15];
    hex.digits[2] = kHexDigits[t[1] >> 4];
    hex.digits[3] = kHexDigits[t[1] & 15];
    hex.len = 4;
  }
  if ((cards[0] ^ 13) | (cards[1] ^ 13) | (cards[2] ^ 13) | (cards[3] ^ 13)) deal.MarkDamaged(DealDefect::CardCount);
  return true;
}

std::string_view CutAtDot(std::string_view& text) {
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) {
    std::string_view all = text;
    text = {};
    return all;
  }
  std::string_view head = text.substr(0, dot);
  text.remove_prefix(dot + 1);
  return head;
}

namespace {
// The bit of each rank letter (ace bit 0 .. two bit 12); 0 for anything that is no card.
constexpr auto kRankBit = [] {
  std::array<uint16_t, 256> table{};
  for (int r = 0; r < 13; ++r) table[static_cast<unsigned char>(kRankLetters[r])] = static_cast<uint16_t>(1u << r);
  return table;
}();
bool IsHexText(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
}  // namespace

bool DecodeAscRecord(std::span<const uint8_t> record, Deal& deal) {
  // The line end (the 89th byte) is not read, so 88 bytes are a whole record.
  if (record.size() < static_cast<std::size_t>(kAscRecordLength - 1)) return false;
  const char* text = reinterpret_cast<const char*>(record.data());
  uint16_t seen[4] = {0, 0, 0, 0};
  for (int p = 0; p <= 3; ++p) {
    std::string_view field(text + 17 * p, 16);
    if (std::count(field.begin(), field.end(), '.') < 3) return false;
    for (int s = 0; s <= 3; ++s) {
      const std::string_view holding = s < 3 ? CutAtDot(field) : field;
      deal.Holding[p][s].assign(holding);
      // Three dots and thirteen cards fill the field, so a hand short of a card holds a blank
      // or a fourth dot, which is no card either.
      for (char c : holding) {
        const uint16_t bit = kRankBit[static_cast<unsigned char>(c)];
        if (bit == 0 || (seen[s] & bit) != 0)
          deal.MarkDamaged(c == ' ' ? DealDefect::CardCount : DealDefect::CardTwice);
        seen[s] |= bit;
      }
    }
  }
  for (int d = -1; d <= 3; ++d) {
    TrickHexText& hex = deal.TrickHex[d];
    for (int i = 0; i < 4; ++i) {
      hex.digits[i] = text[68 + 4 * (d + 1) + i];
      if (!IsHexText(hex.digits[i])) deal.MarkDamaged(DealDefect::TrickDigit);
    }
    hex.len = 4;
  }
  // Shifted lines (a CR LF file read in 89-byte steps) put letters where blanks belong.
  const bool lineEndInPlace = record.size() < static_cast<std::size_t>(kAscRecordLength) || text[88] == '\n';
  if (text[16] != ' ' || text[33] != ' ' || text[50] != ' ' || text[67] != ' ' || !lineEndInPlace)
    deal.MarkDamaged(DealDefect::TextLayout);
  return true;
}

namespace {
// Hexadecimal digits of either case; anything else reads as 0.
constexpr auto kHexValue = [] {
  std::array<int8_t, 256> table{};
  for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[static_cast<std::size_t>(c)] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[static_cast<std::size_t>(c)] = static_cast<int8_t>(c - 'a' + 10);
  return table;
}();
int HexValue(char c) { return kHexValue[static_cast<unsigned char>(c)]; }
// The digits of a denomination belong to the declarers East, North, West, South.
constexpr int kDigitDeclarer[4] = {kEast, kNorth, kWest, kSouth};
}  // namespace

void DecodeTricks(Deal& deal) {
  for (int d = -1; d <= 3; ++d) {
    const TrickHexText& hex = deal.TrickHex[d];
    for (int i = 0; i < 4; ++i) {
      int value = i < hex.len ? HexValue(hex.digits[i]) : 0;
      if (value > 13) deal.MarkDamaged(DealDefect::TrickDigit);
      int declarer = kDigitDeclarer[i];
      // The digit counts North-South's tricks; West or East as declarer takes the rest.
      deal.Tricks[declarer][d] = (declarer == kNorth || declarer == kSouth) ? value : 13 - value;
    }
  }
}

}  // namespace vk
