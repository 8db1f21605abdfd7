#include "mklib/library_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "deals/card_coding.h"

namespace vk::mklib {

bool LibraryKindFor(const std::filesystem::path& file, int32_t& kind, std::string& error) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".asc") {
    kind = kLibraryKindAsc;
    return true;
  }
  if (ext == ".bin") {
    kind = kLibraryKindBin;
    return true;
  }
  error = "\"" + file.string() + "\": a library's name ends in .bin (26-byte records) or .asc (89-byte text records)";
  return false;
}

LineEnds TextLineEnds(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char first[kAscRecordLength + 1] = {};
  in.read(first, sizeof first);
  const auto got = in.gcount();
  if (got >= kAscRecordLength + 1 && first[kAscRecordLength - 1] == '\r' && first[kAscRecordLength] == '\n')
    return LineEnds::CrLf;
  in.clear();
  in.seekg(0, std::ios::end);
  const auto size = static_cast<int64_t>(in.tellg());
  if (size <= 0) return LineEnds::Proper;
  in.seekg(size - 1);
  char last = '\n';
  in.get(last);
  if (last != '\n' && size % kAscRecordLength == kAscRecordLength - 1) return LineEnds::NoLastLineEnd;
  return LineEnds::Proper;
}

bool OpenLibrary(const std::filesystem::path& file, LibraryFile& library, std::string& error) {
  int32_t kind = kLibraryKindBin;
  if (!LibraryKindFor(file, kind, error)) return false;
  std::error_code folderError;
  if (std::filesystem::is_directory(file, folderError)) {
    error = "\"" + file.string() + "\" is a folder, not a library file";
    return false;
  }
  if (kind == kLibraryKindAsc && std::filesystem::exists(file, folderError)) {
    const std::string mend =
        "; a text library's lines are 88 characters and a line feed. Mend it with: "
        "velkorvan-mklib convert " +
        file.string() + " " + file.string();
    switch (TextLineEnds(file)) {
      case LineEnds::CrLf:
        error = "\"" + file.string() + "\": its lines end in CR LF (90-byte lines)" + mend;
        return false;
      case LineEnds::NoLastLineEnd:
        error = "\"" + file.string() + "\": its last line has no line feed" + mend;
        return false;
      case LineEnds::Proper:
        break;
    }
  }
  if (!library.Open(file, kind, error)) return false;
  std::error_code ec;
  auto size = static_cast<int64_t>(std::filesystem::file_size(file, ec));
  int64_t partial = ec ? 0 : size % library.recordLength();
  if (partial != 0) {
    error = "\"" + file.string() + "\" ends in a partial record of " + std::to_string(partial) + " bytes after deal " +
            std::to_string(library.dealCount()) + "; finish it with the generate command that made it";
    return false;
  }
  if (library.dealCount() == 0) {
    error = "\"" + file.string() + "\" holds no deals";
    return false;
  }
  return true;
}

namespace {

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

std::string Quoted(char c) {
  if (std::isprint(static_cast<unsigned char>(c))) return std::string("'") + c + "'";
  char code[8];
  std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
  return code;
}

// The parts of a text record the reader skips: a file whose lines were re-ended or re-padded
// still decodes, but every record after the first lands off its place.
bool CheckTextLayout(std::span<const uint8_t> record, std::string& what) {
  for (int p = 0; p < 4; ++p) {
    auto field = record.subspan(static_cast<std::size_t>(17 * p), 16);
    // Thirteen cards and three dots fill the field; a blank in it means a card is missing.
    if (std::find(field.begin(), field.end(), ' ') != field.end()) {
      what = "the hand of" + Names().PlayerName[p] + "holds fewer than 13 cards";
      return false;
    }
  }
  for (int p = 0; p < 3; ++p)
    if (record[static_cast<std::size_t>(17 * p + 16)] != ' ') {
      what = "no blank after the hand of" + Names().PlayerName[p] + "(found " +
             Quoted(static_cast<char>(record[static_cast<std::size_t>(17 * p + 16)])) + ")";
      return false;
    }
  if (record[67] != ' ') {
    what = "no blank between the hands and the trick digits";
    return false;
  }
  if (record[88] == '\r') {
    what = "the line ends in CR LF, not a line feed alone (mend the file with velkorvan-mklib convert)";
    return false;
  }
  if (record[88] != '\n') {
    what = "the record does not end in a line feed (found " + Quoted(static_cast<char>(record[88])) + ")";
    return false;
  }
  return true;
}

}  // namespace

bool ReadLibraryDeal(const LibraryFile& library, int32_t dealNo, DealRecord& deal, std::string& error) {
  std::span<const uint8_t> record = library.Record(dealNo);
  if (record.empty()) {
    error = library.changed() ? "\"" + library.path().string() + "\" changed while it was read"
                              : "deal " + NumText(dealNo) + ": past the end of the library (" +
                                    NumText(library.dealCount()) + " deals)";
    return false;
  }
  return CheckedDeal(record, library.kind(), dealNo, deal, error);
}

bool CheckedDeal(std::span<const uint8_t> record, int32_t kind, int32_t dealNo, DealRecord& deal, std::string& error) {
  const std::string at = "deal " + NumText(dealNo) + ": ";
  Deal decoded;
  decoded.Clear();
  decoded.DealNo = dealNo;
  if (!(kind == kLibraryKindAsc ? DecodeAscRecord(record, decoded) : DecodeBinRecord(record, decoded))) {
    error = at + "a hand is not four suits separated by dots";
    return false;
  }
  if (kind == kLibraryKindAsc) {
    std::string what;
    if (!CheckTextLayout(record, what)) {
      error = at + what;
      return false;
    }
  }
  const NameTables& names = Names();
  for (int d = -1; d <= 3; ++d)
    for (int i = 0; i < decoded.TrickHex[d].len; ++i)
      if (!IsHexDigit(decoded.TrickHex[d].digits[i])) {
        error = at + "trick digit " + Quoted(decoded.TrickHex[d].digits[i]) + " in " + names.DenomName[d] +
                " is not hexadecimal";
        return false;
      }
  DecodeTricks(decoded);
  if (decoded.damaged) {
    for (int d = -1; d <= 3; ++d)
      for (int p = 0; p <= 3; ++p)
        if (decoded.Tricks[p][d] < 0 || decoded.Tricks[p][d] > 13) {
          error = at + "trick digit above 13 in " + names.DenomName[d] + " (" + decoded.TrickHex[d].str() + ")";
          return false;
        }
  }
  std::string cardError;
  std::optional<DealRecord> cards = RecordFromDeal(decoded, cardError);
  if (!cards) {
    // The message already names the deal.
    error = cardError;
    return false;
  }
  deal = *cards;
  return true;
}

}  // namespace vk::mklib
