#include "mklib/dds_solver.h"

#include <dds/dll.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace vk::mklib {

namespace {

constexpr int kDdsNoTrump = 4;

// DDS numbers its hands North 0, East 1, South 2, West 3; the record's players run West 0,
// North 1, East 2, South 3, one step behind.
constexpr int DdsHand(int player) { return (player + 3) % 4; }

std::mutex& DdsLock() {
  static std::mutex lock;
  return lock;
}

// The thread count DDS was last given; -1 before the first call.
int& ConfiguredThreads() {
  static int threads = -1;
  return threads;
}

int ApplyThreads(int threads) {
  // DDS sizes its thread memory anew on every call: only a change is passed on.
  if (threads != ConfiguredThreads()) SetMaxThreads(threads);
  ConfiguredThreads() = threads;
  DDSInfo info{};
  GetDDSInfo(&info);
  return info.noOfThreads;
}

void EnsureConfigured() {
  if (ConfiguredThreads() < 0) ApplyThreads(0);
}

std::string DdsError(int code, const std::string& what) {
  char text[80] = {};
  ErrorMessage(code, text);
  return what + ": DDS error " + std::to_string(code) + " (" + text + ")";
}

ddTableDeal TableDealOf(const DealRecord& deal) {
  ddTableDeal out{};
  for (int s = 0; s < 4; ++s)
    for (int r = 0; r < 13; ++r) {
      int player = deal.owner[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)];
      // DDS marks a card by the bit of its face value: the two is bit 2, the ace bit 14.
      out.cards[DdsHand(player)][s] |= 1u << (14 - r);
    }
  return out;
}

bool TableFromResult(const ddTableResults& result, DdsTable& table) {
  for (int strain = 0; strain < 5; ++strain)
    for (int hand = 0; hand < 4; ++hand) {
      int tricks = result.resTable[strain][hand];
      if (tricks < 0 || tricks > 13) return false;
      table[static_cast<std::size_t>(strain)][static_cast<std::size_t>(hand)] = tricks;
    }
  return true;
}

}  // namespace

TrickTable TricksFromDdsTable(const DdsTable& table) {
  TrickTable tricks{};
  for (int d = -1; d <= 3; ++d) {
    int strain = d < 0 ? kDdsNoTrump : d;
    for (int player = 0; player < 4; ++player)
      tricks[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(player)] =
          static_cast<int8_t>(table[static_cast<std::size_t>(strain)][static_cast<std::size_t>(DdsHand(player))]);
  }
  return tricks;
}

int ConfigureSolver(int threads) {
  std::lock_guard guard(DdsLock());
  return ApplyThreads(std::max(threads, 0));
}

bool SolveDeals(std::span<DealRecord> deals, std::string& error, int batchSize) {
  std::lock_guard guard(DdsLock());
  EnsureConfigured();
  // About 40 KB together: too much for the stack of a caller that may itself be deep.
  auto batch = std::make_unique<ddTableDeals>();
  auto results = std::make_unique<ddTablesRes>();
  auto par = std::make_unique<allParResults>();
  int allStrains[DDS_STRAINS] = {0, 0, 0, 0, 0};
  const auto perBatch = static_cast<std::size_t>(std::clamp(batchSize, 1, kDealsPerBatch));
  for (std::size_t start = 0; start < deals.size(); start += perBatch) {
    std::size_t count = std::min(perBatch, deals.size() - start);
    batch->noOfTables = static_cast<int>(count);
    for (std::size_t i = 0; i < count; ++i) batch->deals[i] = TableDealOf(deals[start + i]);
    // Mode -1: no par scores.
    int rc = CalcAllTables(batch.get(), -1, allStrains, results.get(), par.get());
    if (rc != RETURN_NO_FAULT) {
      error = DdsError(rc, "solving a batch of " + std::to_string(count) + " deals");
      return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
      DdsTable table{};
      if (!TableFromResult(results->results[i], table)) {
        error = "DDS returned a trick count outside 0..13";
        return false;
      }
      deals[start + i].tricks = TricksFromDdsTable(table);
    }
  }
  return true;
}

bool SolveSingleDeal(DealRecord& deal, std::string& error) {
  std::lock_guard guard(DdsLock());
  EnsureConfigured();
  ddTableResults result{};
  int rc = CalcDDtable(TableDealOf(deal), &result);
  if (rc != RETURN_NO_FAULT) {
    error = DdsError(rc, "solving one deal");
    return false;
  }
  DdsTable table{};
  if (!TableFromResult(result, table)) {
    error = "DDS returned a trick count outside 0..13";
    return false;
  }
  deal.tricks = TricksFromDdsTable(table);
  return true;
}

}  // namespace vk::mklib
