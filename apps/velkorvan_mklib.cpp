// velkorvan-mklib: makes deal libraries (random deals solved double dummy), checks them,
// converts between the two record forms and exchanges deals with PBN files.

#include <CLI/CLI.hpp>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "apps/command_line.h"
#include "mklib/convert.h"
#include "mklib/generate.h"
#include "mklib/replacing_file.h"
#include "mklib/verify.h"

namespace {

constexpr int kFailed = 1;

constexpr const char* kExitCodes =
    "  0    done (verify: every record sound and the sample agrees)\n"
    "  1    the command failed; the message names the file and the cause: a missing or unreadable\n"
    "       input, a faulty record or trick count, an output that cannot be written, or an existing\n"
    "       output that generate does not continue\n"
    "  2    bad arguments\n"
    "  130  stopped by Ctrl-C, 143 by SIGTERM; no temporary file is left, and generate continues\n"
    "       where it stopped when run again";

int Fail(const std::string& message) {
  std::fprintf(stderr, "velkorvan-mklib: %s\n", message.c_str());
  return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  // Deal numbers of a library are 32-bit and start at 1.
  const CLI::Range kDealNumbers(int64_t{1}, int64_t{INT32_MAX});
  auto addThreads = [](CLI::App* command, int& threads) {
    command->add_option("--threads", threads, "DDS threads (0: one per core)")
        ->capture_default_str()
        ->check(vk::apps::WholeNumber())
        ->check(CLI::Range(0, 1024));
  };

  CLI::App app{"Makes and checks VelKorvan deal libraries: random deals solved double dummy with DDS."};
  vk::apps::SetUpProgram(app, "velkorvan-mklib", kExitCodes);
  app.require_subcommand(1);

  vk::mklib::GenerateOptions gen;
  CLI::App* generate = app.add_subcommand(
      "generate",
      "Deal and solve deals first .. first+deals-1 of the seeded stream into OUT. Running the same command "
      "again continues a stopped run; parts made with --first/--deals and joined with cat give the same "
      "library as one run.");
  generate->add_option("--out", gen.out, "Library to make: .bin (26-byte records) or .asc (89-byte text)")->required();
  generate->add_option("--deals", gen.deals, "Number of deals in this part")
      ->required()
      ->check(vk::apps::WholeNumber())
      ->check(kDealNumbers);
  generate->add_option("--seed", gen.seed, "Seed of the deal stream")
      ->capture_default_str()
      ->check(vk::apps::WholeNumber());
  generate->add_option("--first", gen.first, "Stream number of this part's first deal")
      ->capture_default_str()
      ->check(vk::apps::WholeNumber())
      ->check(kDealNumbers);
  addThreads(generate, gen.threads);

  vk::mklib::VerifyOptions ver;
  uint64_t sampleSeed = 0;
  CLI::App* verify = app.add_subcommand(
      "verify",
      "Check every record of a library (13 cards to each hand, every card once, tricks 0..13) and solve a "
      "random sample of its deals again, comparing all 20 trick counts.");
  verify->add_option("FILE", ver.file, "Library (.bin or .asc)")->required();
  verify->add_option("--sample", ver.sample, "Deals to solve again (0: none)")
      ->capture_default_str()
      ->check(vk::apps::WholeNumber())
      ->check(CLI::Range(int64_t{0}, int64_t{INT32_MAX}));
  CLI::Option* seedOption = verify->add_option("--seed", sampleSeed, "Seed that picks the sample (default: fresh)")
                                ->check(vk::apps::WholeNumber());
  addThreads(verify, ver.threads);

  std::string in, out;
  CLI::App* convert = app.add_subcommand("convert", "Rewrite a library in the other record form (by the names).");
  convert->add_option("IN", in, "Library to read (.bin or .asc)")->required();
  convert->add_option("OUT", out, "Library to write (.bin or .asc)")->required();

  CLI::App* exportPbn =
      app.add_subcommand("export-pbn", "Write every deal of a library as a PBN game with its double-dummy table.");
  exportPbn->add_option("FILE", in, "Library to read (.bin or .asc)")->required();
  exportPbn->add_option("OUT", out, "PBN file to write")->required();

  int importThreads = 0;
  CLI::App* importPbn = app.add_subcommand(
      "import-pbn", "Solve the deal of every [Deal] tag of a PBN file and write them, in order, as a library.");
  importPbn->add_option("IN", in, "PBN file to read")->required();
  importPbn->add_option("OUT", out, "Library to write (.bin or .asc)")->required();
  addThreads(importPbn, importThreads);

  if (auto code = vk::apps::ParseArguments(app, argc, argv)) return *code;
  vk::mklib::RemoveTemporaryFilesOnStop("velkorvan-mklib");

  std::string error;
  bool ok = true;
  if (generate->parsed()) {
    ok = vk::mklib::Generate(gen, error);
  } else if (verify->parsed()) {
    if (seedOption->count() > 0) ver.sampleSeed = sampleSeed;
    ok = vk::mklib::VerifyLibrary(ver, error);
  } else if (convert->parsed()) {
    ok = vk::mklib::ConvertLibrary(in, out, error);
  } else if (exportPbn->parsed()) {
    ok = vk::mklib::ExportPbn(in, out, error);
  } else if (importPbn->parsed()) {
    ok = vk::mklib::ImportPbn(in, out, importThreads, stderr, error);
  }
  return ok ? 0 : Fail(error);
}
