#include "compare/compare_run.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "scan/tally_files.h"

namespace vk {

namespace {
std::string ReadNote(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
}  // namespace

std::vector<std::string> OptionSetCodes() {
  std::vector<std::string> codes;
  for (int s = 0; s < kOptionSetCount; ++s) codes.push_back(SetupFilename(OptionSetAt(s)).optionCode);
  return codes;
}

Comparison CompareOptionSets(ScanContext& ctx, ScanUi& ui, int32_t Nend) {
  Comparison out;
  const OptionSet saved = ctx.options;
  ctx.options = OptionSet{};
  ctx.SetupFilename();
  auto tallies = std::make_unique<OptionSetTallies>(ctx.weights);
  ctx.recordSink = tallies.get();
  out.scan = Start(ctx, ui, 1, Nend);
  ctx.recordSink = nullptr;
  ctx.options = saved;
  ctx.SetupFilename();
  if (out.scan.outcome != ScanOutcome::Finished) return out;
  tallies->Finish();
  if (ctx.stopFlag != 0) {
    out.scan.outcome = ScanOutcome::Stopped;
    return out;
  }
  const std::vector<std::string> codes = OptionSetCodes();
  // The pass wrote (none)'s tally file, with a note beside it when it skipped damaged deals or
  // records; every other set gets the same note, or loses an old one.
  const auto notePath = [&](int set) {
    return ctx.DataFolder() / (codes[static_cast<std::size_t>(set)] + "Korvan" + kSkippedNoteExtension);
  };
  std::error_code ec;
  const bool skipped = std::filesystem::exists(notePath(0), ec);
  const std::string note = skipped ? ReadNote(notePath(0)) : std::string();
  std::vector<std::pair<std::filesystem::path, std::string>> files;
  for (int s = 0; s < kOptionSetCount; ++s) {
    files.emplace_back(TallyFilePath(ctx.folder, codes[static_cast<std::size_t>(s)] + "Korvan"),
                       TallyFileText(tallies->Weights(s), ctx.library.dealCount));
    if (skipped && s != 0) files.emplace_back(notePath(s), note);
  }
  if (!WriteFilesAtomically(files, out.scan.error)) {
    out.scan.outcome = ScanOutcome::Failed;
    return out;
  }
  if (!skipped)
    for (int s = 1; s < kOptionSetCount; ++s) std::filesystem::remove(notePath(s), ec);
  const auto groups = tallies->Groups();
  out.records = tallies->records();
  out.groups = static_cast<int>(groups[0].size());
  out.scores = ScoreOptionSets(groups, codes);
  return out;
}

}  // namespace vk
