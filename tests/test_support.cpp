#include "test_support.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "scan/scan_driver.h"

namespace vk::test {

namespace fs = std::filesystem;

namespace {
bool Acceptable(const fs::path& p) {
  std::string s = p.string();
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s.find("tmp") == std::string::npos && s.find("zip") == std::string::npos;
}

fs::path ScratchRoot() {
  std::vector<fs::path> candidates;
  if (const char* home = std::getenv("HOME")) candidates.emplace_back(fs::path(home) / ".velkorvan-tests");
  candidates.emplace_back("/var/lib/velkorvan-tests");
  candidates.emplace_back(fs::current_path() / "velkorvan-tests");
  for (const fs::path& c : candidates) {
    std::error_code ec;
    fs::create_directories(c, ec);
    if (!ec && Acceptable(c)) return c;
  }
  throw std::runtime_error("no scratch folder whose path avoids \"tmp\" and \"zip\"");
}
}  // namespace

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  path_ = ScratchRoot() / ("t" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

fs::path DataDir() { return VK_TEST_DATA_DIR; }

DealRecord HandsToRecord(std::string_view west, std::string_view north, std::string_view east, std::string_view south,
                         int tricks) {
  DealRecord rec;
  for (auto& suit : rec.owner) suit.fill(-1);
  std::string_view hands[4] = {west, north, east, south};
  const std::string ranks = "AKQJT98765432";
  for (int p = 0; p < 4; ++p) {
    int s = 0;
    for (char c : hands[p]) {
      if (c == '.') {
        ++s;
        continue;
      }
      std::size_t r = ranks.find(c);
      if (r == std::string::npos || s > 3) throw std::invalid_argument("bad hand text");
      rec.owner[static_cast<std::size_t>(s)][r] = static_cast<int8_t>(p);
    }
  }
  for (auto& suit : rec.owner)
    for (int8_t o : suit)
      if (o < 0) throw std::invalid_argument("hands do not hold 52 cards");
  for (auto& d : rec.tricks) d.fill(static_cast<int8_t>(tricks));
  return rec;
}

std::vector<DealRecord> RandomDeals(int count, uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<DealRecord> deals;
  std::array<int8_t, 52> pack{};
  for (int i = 0; i < 52; ++i) pack[static_cast<std::size_t>(i)] = static_cast<int8_t>(i / 13);
  for (int k = 0; k < count; ++k) {
    std::shuffle(pack.begin(), pack.end(), rng);
    DealRecord rec;
    for (int c = 0; c < 52; ++c)
      rec.owner[static_cast<std::size_t>(c / 13)][static_cast<std::size_t>(c % 13)] = pack[static_cast<std::size_t>(c)];
    for (auto& d : rec.tricks)
      for (auto& t : d) t = static_cast<int8_t>(rng() % 14);
    deals.push_back(rec);
  }
  return deals;
}

ScanContext StartedContext(const fs::path& folder, int64_t cacheMinimumSize) {
  ScanContext ctx;
  ctx.folder = folder;
  ctx.cacheMinimumSize = cacheMinimumSize;
  std::string error;
  EXPECT_TRUE(PrepareDataFolder(ctx, error)) << error;
  EXPECT_TRUE(ChooseLibrary(ctx));
  return ctx;
}

std::string LibraryBytes(const std::vector<DealRecord>& deals, int32_t kind) {
  std::string bytes;
  for (const DealRecord& d : deals) {
    std::vector<uint8_t> r = EncodeRecord(d, kind);
    bytes.append(r.begin(), r.end());
  }
  return bytes;
}

void WriteLibrary(const fs::path& file, const std::vector<DealRecord>& deals, int32_t kind) {
  WriteWholeFile(file, LibraryBytes(deals, kind));
}

CommandOutcome RunCommand(const std::string& command, const fs::path& errFile) {
  CommandOutcome run;
  FILE* pipe = ::popen((command + " 2>'" + errFile.string() + "'").c_str(), "r");
  if (pipe == nullptr) return run;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadWholeFile(errFile);
  return run;
}

std::string ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteWholeFile(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vk::test

#include "deals/library_reader.h"

namespace vk::test {
Deal DecodedDeal(const DealRecord& record) {
  Deal deal;
  auto bytes = EncodeBinRecord(record);
  deal.Clear();
  DecodeBinRecord(bytes, deal);
  CountHCP(deal);
  return deal;
}
}  // namespace vk::test
