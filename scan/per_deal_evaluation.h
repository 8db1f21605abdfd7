#pragma once
// Evaluation of one pair's contracts: the points, the tricks, the declarer-shape flag, the
// tally update and the cache record.

#include <cstdint>

#include "deals/cache_file.h"
#include "scan/scan_context.h"
#include "scan/scan_ui.h"

namespace vk {

inline constexpr const char* kFailLogName = "25fail.txt";

// Collaborators of one library-pass evaluation beyond the context.
struct PassIo {
  ScanUi& ui;
  CacheWriter* cache = nullptr;  // open while the library pass writes the cache
  bool failLog = false;          // "25fail.txt" existed in the program folder when the pass began
};

void ProcNT(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp);
void ProcSuit(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp);
// The per-pair dispatch of the library pass: which of ProcNT and ProcSuit run.
void EvaluatePair(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp);
// Evaluates ctx.currentRecord with the options in force. Returns false for a damaged record
// (HCP above 40 or tricks above 13), which is not tallied.
bool Korvancommon(ScanContext& ctx, ScanUi& ui);

// Adds a hand to the tallies and refreshes the table cell when the table shows it.
void TallyHand(ScanContext& ctx, ScanUi& ui, int32_t corr, int32_t cls, int32_t tricks, int32_t hcp);

// Line of "25fail.txt" for a 25-point suit hand that does not take ten tricks.
std::string FailLine(int32_t dealNo, int32_t declarer, int32_t tricks, int32_t trump, int32_t hcp, int32_t corr,
                     const Corrections& corrections);

// The table row (1..5) that shows class and tricks, or 0 when no row does.
int32_t TableRow(int32_t cls, int32_t tricks);

}  // namespace vk
