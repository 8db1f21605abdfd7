#include "mklib/convert.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <vector>

#include "deals/library_reader.h"
#include "deals/library_writer.h"
#include "mklib/dds_solver.h"
#include "mklib/library_files.h"
#include "mklib/pbn.h"
#include "mklib/progress.h"
#include "mklib/replacing_file.h"

namespace vk::mklib {

namespace {

std::string Named(const std::filesystem::path& file, const std::string& error) {
  return "\"" + file.string() + "\": " + error;
}

}  // namespace

namespace {

// Feeds the lines of a text library whose lines end in CR LF, or whose last line has no line
// feed, to `add` as proper records. Any other fault is left to the record checks.
bool ReadMendedText(const std::filesystem::path& in, const std::function<bool(std::span<const uint8_t>)>& add,
                    std::string& error) {
  std::ifstream file(in, std::ios::binary);
  if (!file) {
    error = "cannot open \"" + in.string() + "\": " + std::strerror(errno);
    return false;
  }
  constexpr std::size_t kText = kAscRecordLength - 1;
  std::array<char, kAscRecordLength + 2> line{};
  std::array<uint8_t, kAscRecordLength> record{};
  for (int64_t lineNo = 1;; ++lineNo) {
    file.getline(line.data(), static_cast<std::streamsize>(line.size()));
    auto length = static_cast<std::size_t>(file.gcount());
    if (length == 0 && file.eof()) return true;
    if (file.fail() && !file.eof()) {
      error = Named(in, "line " + std::to_string(lineNo) + " is longer than a record");
      return false;
    }
    const bool ended = !file.eof();
    if (ended) --length;  // the line feed
    if (length > 0 && line[length - 1] == '\r') --length;
    if (length != kText) {
      error = Named(in, "line " + std::to_string(lineNo) + " holds " + std::to_string(length) + " characters, not " +
                            std::to_string(kText));
      return false;
    }
    std::copy_n(line.begin(), kText, record.begin());
    record[kText] = '\n';
    if (!add(record)) return false;
    if (!ended) return true;
  }
}

}  // namespace

bool ConvertLibrary(const std::filesystem::path& in, const std::filesystem::path& out, std::string& error) {
  int32_t inKind = kLibraryKindBin, outKind = kLibraryKindBin;
  if (!LibraryKindFor(out, outKind, error) || !LibraryKindFor(in, inKind, error)) return false;
  std::error_code ec;
  // A text library with other line ends is what convert mends; every other fault is refused.
  const bool mend =
      inKind == kLibraryKindAsc && std::filesystem::is_regular_file(in, ec) && TextLineEnds(in) != LineEnds::Proper;
  LibraryFile library;
  if (!mend && !OpenLibrary(in, library, error)) return false;
  ReplacingFile output;
  if (!output.Open(out, error)) return false;
  std::vector<uint8_t> bytes;
  int32_t dealNo = 0;
  auto add = [&](std::span<const uint8_t> record) {
    DealRecord deal;
    if (!CheckedDeal(record, inKind, ++dealNo, deal, error)) {
      error = Named(in, error);
      return false;
    }
    std::vector<uint8_t> encoded = EncodeRecord(deal, outKind);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    if (bytes.size() < (1u << 20)) return true;
    const bool written = output.Write(bytes, error);
    bytes.clear();
    return written;
  };
  if (mend) {
    if (!ReadMendedText(in, add, error)) return false;
    if (dealNo == 0) {
      error = Named(in, "holds no deals");
      return false;
    }
  } else {
    for (int32_t k = 1; k <= library.dealCount(); ++k)
      if (!add(library.Record(k))) return false;
  }
  return output.Write(bytes, error) && output.Commit(error);
}

bool ExportPbn(const std::filesystem::path& in, const std::filesystem::path& pbn, std::string& error) {
  LibraryFile library;
  if (!OpenLibrary(in, library, error)) return false;
  ReplacingFile output;
  if (!output.Open(pbn, error)) return false;
  std::string text = PbnFileHeader();
  const std::string event = in.filename().string();
  for (int32_t k = 1; k <= library.dealCount(); ++k) {
    DealRecord deal;
    if (!ReadLibraryDeal(library, k, deal, error)) {
      error = Named(in, error);
      return false;
    }
    text += PbnGame(deal, k, event);
    if (text.size() >= (1u << 20) || k == library.dealCount()) {
      if (!output.Write(text, error)) return false;
      text.clear();
    }
  }
  return output.Commit(error);
}

namespace {

// The lines of a PBN file, one at a time and each of bounded length: a file without line ends
// (not PBN at all) is refused at its first long line instead of being read whole.
class PbnLines {
 public:
  // PBN lines hold at most 255 characters; this leaves room for long commentary.
  static constexpr std::size_t kMaxLine = 1 << 16;

  explicit PbnLines(const std::filesystem::path& file)
      : name_(file), in_(file, std::ios::binary), line_(kMaxLine + 2) {}

  bool Open(std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(name_, ec)) {
      error = Named(name_, "is a folder, not a PBN file");
      return false;
    }
    if (!in_) {
      error = "cannot open \"" + name_.string() + "\": " + std::strerror(errno);
      return false;
    }
    return true;
  }

  // False at the end of the file, or on an error (error then non-empty).
  bool Next(std::string_view& line, std::string& error) {
    if (done_) return false;
    in_.getline(line_.data(), static_cast<std::streamsize>(line_.size()));
    auto length = static_cast<std::size_t>(in_.gcount());
    ++lineNo_;
    if (in_.bad()) {
      error = "cannot read \"" + name_.string() + "\"";
      return false;
    }
    if (in_.fail() && !in_.eof()) {
      error = Named(name_, "is not a PBN file: line " + std::to_string(lineNo_) + " is longer than " +
                               std::to_string(kMaxLine) + " bytes");
      return false;
    }
    if (in_.eof()) {
      done_ = true;
      if (length == 0) return false;
    } else {
      --length;  // the line feed
    }
    line = std::string_view(line_.data(), length);
    if (line.find('\0') != std::string_view::npos) {
      error = Named(name_, "is not a PBN file: it holds binary data");
      return false;
    }
    return true;
  }

 private:
  std::filesystem::path name_;
  std::ifstream in_;
  std::vector<char> line_;
  int64_t lineNo_ = 0;
  bool done_ = false;
};

// Reads the [Deal] tags of a PBN file; `batch` is called with every kDealsPerBatch deals and
// with the rest at the end; `count` gets the number of deals.
bool ForEachPbnBatch(const std::filesystem::path& pbn, const std::function<bool(std::vector<PbnDeal>&)>& batch,
                     int64_t& count, std::string& error) {
  PbnLines lines(pbn);
  if (!lines.Open(error)) return false;
  PbnDealReader reader;
  std::vector<PbnDeal> deals;
  std::string_view line;
  count = 0;
  error.clear();
  while (lines.Next(line, error)) {
    if (!reader.AddLine(line, deals, error)) {
      error = Named(pbn, error);
      return false;
    }
    if (deals.size() >= static_cast<std::size_t>(kDealsPerBatch)) {
      count += static_cast<int64_t>(deals.size());
      if (!batch(deals)) return false;
      deals.clear();
    }
  }
  if (!error.empty()) return false;
  if (!reader.Finish(error)) {
    error = Named(pbn, error);
    return false;
  }
  count += static_cast<int64_t>(deals.size());
  return deals.empty() || batch(deals);
}

}  // namespace

bool ImportPbn(const std::filesystem::path& pbn, const std::filesystem::path& out, int threads, std::FILE* report,
               std::string& error) {
  int32_t outKind = kLibraryKindBin;
  if (!LibraryKindFor(out, outKind, error)) return false;
  // A first reading checks the whole file, so that nothing is solved for a file refused later.
  int64_t total = 0;
  if (!ForEachPbnBatch(
          pbn, [](std::vector<PbnDeal>&) { return true; }, total, error))
    return false;
  if (total == 0) {
    error = Named(pbn, "has no [Deal] tag");
    return false;
  }

  ConfigureSolver(threads);
  ReplacingFile output;
  if (!output.Open(out, error)) return false;
  Progress progress(report, "import-pbn", total, 0);
  int64_t done = 0;
  std::vector<DealRecord> deals;
  std::vector<uint8_t> bytes;
  auto solveAndWrite = [&](std::vector<PbnDeal>& found) {
    deals.clear();
    for (const PbnDeal& d : found) deals.push_back(d.deal);
    if (!SolveDeals(deals, error)) {
      error = Named(pbn, "deals of lines " + std::to_string(found.front().line) + ".." +
                             std::to_string(found.back().line) + ": " + error);
      return false;
    }
    bytes.clear();
    for (const DealRecord& deal : deals) {
      std::vector<uint8_t> record = EncodeRecord(deal, outKind);
      bytes.insert(bytes.end(), record.begin(), record.end());
    }
    if (!output.Write(bytes, error)) return false;
    done += static_cast<int64_t>(found.size());
    progress.Update(done);
    return true;
  };
  int64_t solved = 0;
  if (!ForEachPbnBatch(pbn, solveAndWrite, solved, error)) return false;
  if (solved != total) {
    error = Named(pbn, "changed while it was read");
    return false;
  }
  if (!output.Commit(error)) return false;
  progress.Finish();
  return true;
}

}  // namespace vk::mklib
