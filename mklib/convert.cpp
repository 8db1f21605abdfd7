#include "mklib/convert.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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

bool ConvertLibrary(const std::filesystem::path& in, const std::filesystem::path& out, std::string& error) {
  LibraryFile library;
  int32_t outKind = kLibraryKindBin;
  if (!LibraryKindFor(out, outKind, error) || !OpenLibrary(in, library, error)) return false;
  ReplacingFile output;
  if (!output.Open(out, error)) return false;
  std::vector<uint8_t> bytes;
  for (int32_t k = 1; k <= library.dealCount(); ++k) {
    DealRecord deal;
    if (!ReadLibraryDeal(library, k, deal, error)) {
      error = Named(in, error);
      return false;
    }
    std::vector<uint8_t> record = EncodeRecord(deal, outKind);
    bytes.insert(bytes.end(), record.begin(), record.end());
    if (bytes.size() >= (1u << 20) || k == library.dealCount()) {
      if (!output.Write(bytes, error)) return false;
      bytes.clear();
    }
  }
  return output.Commit(error);
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

bool ImportPbn(const std::filesystem::path& pbn, const std::filesystem::path& out, int threads, std::FILE* report,
               std::string& error) {
  int32_t outKind = kLibraryKindBin;
  if (!LibraryKindFor(out, outKind, error)) return false;
  std::ifstream file(pbn, std::ios::binary);
  if (!file) {
    error = "cannot open \"" + pbn.string() + "\": " + std::strerror(errno);
    return false;
  }
  std::ostringstream read;
  read << file.rdbuf();
  if (file.bad()) {
    error = "cannot read \"" + pbn.string() + "\"";
    return false;
  }
  const std::string text = read.str();
  if (text.find('\0') != std::string::npos) {
    error = Named(pbn, "is not a PBN file: it holds binary data");
    return false;
  }
  std::vector<PbnDeal> found;
  if (!ReadPbnDeals(text, found, error)) {
    error = Named(pbn, error);
    return false;
  }
  if (found.empty()) {
    error = Named(pbn, "has no [Deal] tag");
    return false;
  }
  std::vector<DealRecord> deals;
  deals.reserve(found.size());
  for (const PbnDeal& d : found) deals.push_back(d.deal);

  ConfigureSolver(threads);
  ReplacingFile output;
  if (!output.Open(out, error)) return false;
  Progress progress(report, "import-pbn", static_cast<int64_t>(deals.size()), 0);
  for (std::size_t start = 0; start < deals.size(); start += kDealsPerBatch) {
    std::size_t count = std::min<std::size_t>(kDealsPerBatch, deals.size() - start);
    std::span<DealRecord> batch(deals.data() + start, count);
    if (!SolveDeals(batch, error)) {
      error = Named(pbn, "deals of lines " + std::to_string(found[start].line) + ".." +
                             std::to_string(found[start + count - 1].line) + ": " + error);
      return false;
    }
    std::vector<uint8_t> bytes;
    for (const DealRecord& deal : batch) {
      std::vector<uint8_t> record = EncodeRecord(deal, outKind);
      bytes.insert(bytes.end(), record.begin(), record.end());
    }
    if (!output.Write(bytes, error)) return false;
    progress.Update(static_cast<int64_t>(start + count));
  }
  if (!output.Commit(error)) return false;
  progress.Finish();
  return true;
}

}  // namespace vk::mklib
