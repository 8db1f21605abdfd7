#include "deals/library_reader.h"

#include <algorithm>
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

bool DecodeBinRecord(std::span<const uint8_t> record, Deal& deal) {
  if (record.size() < static_cast<std::size_t>(kBinRecordLength)) return false;
  const NameTables& names = Names();
  for (int s = 0; s <= 3; ++s) {
    int r = 0;
    // Ace in bits 0-1 of the fourth byte, down to the two in bits 0-1 of the first.
    for (int b = 3; b >= 0 && r < 13; --b) {
      uint8_t byte = record[static_cast<std::size_t>(4 * s + b)];
      for (int shift = 0; shift < 8 && r < 13; shift += 2, ++r) {
        int owner = (byte >> shift) & 3;
        deal.Holding[owner][s].push_back(names.RankLetter[r][0]);
      }
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
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}
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
