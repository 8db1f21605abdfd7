#pragma once
// Double-dummy solving of whole deals. This module is the builder's only contact with DDS:
// the rest of the builder deals in DealRecord and never sees the solver's own types.
//
// DDS keeps its batch state in globals, so every call here is serialised; the thread count
// is a process-wide setting of DDS as well.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "deals/library_writer.h"

namespace vk::mklib {

// DDS's result table: [strain S, H, D, C, NT][hand N, E, S, W], tricks of the declarer's side.
using DdsTable = std::array<std::array<int, 4>, 5>;
// The record's trick table: [denomination + 1, NT, S, H, D, C][declarer W, N, E, S].
using TrickTable = std::array<std::array<int8_t, 4>, 5>;

// Reorders a DDS result table into the record's denominations and players.
TrickTable TricksFromDdsTable(const DdsTable& table);

// The most deals one batch call takes: DDS refuses more than 200 strain tables at once.
inline constexpr int kDealsPerBatch = 40;

// Sets how many threads DDS solves with (0: one per core). Without a call, the first solve
// uses one per core. Returns the number DDS actually runs.
int ConfigureSolver(int threads);

// Fills the trick table of every deal, a batch of up to `batchSize` (at most kDealsPerBatch) at
// a time. On failure names the DDS error; the deals before the failing batch are solved.
bool SolveDeals(std::span<DealRecord> deals, std::string& error, int batchSize = kDealsPerBatch);

// Solves one deal on its own. Meant for hand-made positions, which DDS's batch path does not
// always survive.
bool SolveSingleDeal(DealRecord& deal, std::string& error);

}  // namespace vk::mklib
