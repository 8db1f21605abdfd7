#include "deals/library_reader.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "deals/card_coding.h"

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

bool LibraryFile::Open(const std::filesystem::path& path, int32_t kind, std::string& error) {
  if (!map_.Open(path, error)) return false;
  path_ = path;
  kind_ = kind;
  recordLength_ = kind == kLibraryKindAsc ? kAscRecordLength : kBinRecordLength;
  dealCount_ = DealCountFor(static_cast<int64_t>(map_.size()), recordLength_);
  return true;
}

std::span<const uint8_t> LibraryFile::Record(int32_t dealNo) const {
  if (dealNo < 1 || dealNo > dealCount_) return {};
  return map_.bytes().subspan(static_cast<std::size_t>(dealNo - 1) * static_cast<std::size_t>(recordLength_),
                              static_cast<std::size_t>(recordLength_));
}

ReadStatus ReadDeal(const LibraryFile& file, int32_t dealNo, Deal& deal) {
  deal.Clear();
  deal.DealNo = dealNo;
  std::span<const uint8_t> record = file.Record(dealNo);
  if (record.empty()) return ReadStatus::PastEnd;
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
        run.points = static_cast<uint8_t>(run.points + kCardPointTable[static_cast<unsigned char>(kRankLetters[First + bit])]);
      }
  return runs;
}
constexpr auto kHighRuns = MakeRankRuns<0, 7>();
constexpr auto kLowRuns = MakeRankRuns<7, 6>();
}  // namespace

bool DecodeBinRecord(std::span<const uint8_t> record, Deal& deal) {
  if (record.size() < static_cast<std::size_t>(kBinRecordLength)) return false;
  for (int s = 0; s <= 3; ++s) {
    // Rank r's owner: bits 2(r mod 4) of byte 3 - r div 4 (the ace in bits 0-1 of the fourth
    // byte, the two in bits 0-1 of the first). Gather each player's ranks as a mask first.
    const uint32_t word = static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 3)]) |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 2)]) << 8 |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s + 1)]) << 16 |
                          static_cast<uint32_t>(record[static_cast<std::size_t>(4 * s)]) << 24;
    uint32_t ranks[4] = {0, 0, 0, 0};
    for (int r = 0; r < 13; ++r) ranks[(word >> (2 * r)) & 3] |= 1u << r;
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

bool DecodeAscRecord(std::span<const uint8_t> record, Deal& deal) {
  // The line end (the 89th byte) is not read, so 88 bytes are a whole record.
  if (record.size() < static_cast<std::size_t>(kAscRecordLength - 1)) return false;
  const char* text = reinterpret_cast<const char*>(record.data());
  for (int p = 0; p <= 3; ++p) {
    std::string_view field(text + 17 * p, 16);
    if (std::count(field.begin(), field.end(), '.') < 3) return false;
    for (int s = 0; s <= 2; ++s) deal.Holding[p][s].assign(CutAtDot(field));
    deal.Holding[p][3].assign(field);
  }
  for (int d = -1; d <= 3; ++d) {
    TrickHexText& hex = deal.TrickHex[d];
    for (int i = 0; i < 4; ++i) hex.digits[i] = text[68 + 4 * (d + 1) + i];
    hex.len = 4;
  }
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
      if (value > 13) deal.damaged = true;
      int declarer = kDigitDeclarer[i];
      // The digit counts North-South's tricks; West or East as declarer takes the rest.
      deal.Tricks[declarer][d] = (declarer == kNorth || declarer == kSouth) ? value : 13 - value;
    }
  }
}

}  // namespace vk
