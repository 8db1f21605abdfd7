#include "scan/per_deal_evaluation.h"

#include <fstream>

#include "deals/card_coding.h"

namespace vk {

int32_t TableRow(int32_t cls, int32_t tricks) {
  if (cls == kNotrumpClass) return tricks == 8 ? 1 : tricks == 9 ? 2 : 0;
  return tricks >= 9 && tricks <= 11 ? tricks - 6 : 0;
}

void TallyHand(ScanContext& ctx, ScanUi& ui, int32_t corr, int32_t cls, int32_t tricks, int32_t hcp) {
  const int32_t p = UpdateWithProbability(ctx.tallies, ctx.weights, corr, cls, tricks, hcp);
  if (ctx.tableState == kTableShown && p >= 20 && p <= 31 && TableRow(cls, tricks) != 0) ui.UpdateTable(cls, tricks, p);
}

namespace {
// A number field of the diagnostic line: a blank (or the minus sign), the digits, a blank.
std::string NumberField(int32_t n) { return (n < 0 ? "" : " ") + NumText(n) + " "; }

void WriteRecord(ScanContext& ctx, PassIo& io, int32_t cls, int32_t hcp, int32_t flag, int32_t tricks) {
  ctx.currentRecord = PackCacheRecord(cls, hcp, flag, tricks, ctx.corrections);
  io.cache->Write(ctx.currentRecord);
  if (ctx.recordSink != nullptr) ctx.recordSink->Take(ctx.currentRecord);
}
}  // namespace

std::string FailLine(int32_t dealNo, int32_t declarer, int32_t tricks, int32_t trump, int32_t hcp, int32_t corr,
                     const Corrections& corrections) {
  const NameTables& names = Names();
  std::string deal = NumText(dealNo);
  if (deal.size() < 7) deal.resize(7, ' ');
  std::string line = "#" + deal + names.PlayerName[declarer] + NumberField(tricks) + " tricks " + "in " +
                     names.DenomName[trump] + " HCP =" + NumberField(hcp) + "==>" + NumberField(hcp + corr) + "(";
  for (int i = 1; i <= 6; ++i) line += NumberField(corrections[i]);
  return line + ")\r\n";
}

void ProcNT(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp) {
  const ContractEntry& nt = ctx.analysis.Contract[pair][kNoTrump];
  const int32_t declarer = nt.declarer, tricks = nt.tricks, dummy = Partner(declarer);
  const int32_t flag = checkNT(ctx.deal, declarer, dummy);
  const EvalSwitch sw{ctx.options, io.cache != nullptr};
  const int32_t corr = NTcorrectionPts(ctx.deal, sw, ctx.corrections, pair, dummy);
  if (!ctx.options[kLimitDeclarer] || flag == kDeclarerFlag) TallyHand(ctx, io.ui, corr, kNotrumpClass, tricks, hcp);
  if (io.cache != nullptr) WriteRecord(ctx, io, kNotrumpClass, hcp, flag, tricks);
}

void ProcSuit(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp) {
  const PairContractEntry& suit = ctx.analysis.PairContract[pair];
  const int32_t trump = suit.suit, declarer = suit.declarer, tricks = suit.tricks, dummy = Partner(declarer);
  const int32_t flag = CheckSuit(ctx.deal, declarer, trump);
  const EvalSwitch sw{ctx.options, io.cache != nullptr};
  const int32_t corr = SuitCorrectionPts(ctx.deal, sw, ctx.corrections, pair, declarer, dummy, trump);
  if (!ctx.options[kLimitDeclarer] || flag == kDeclarerFlag) {
    TallyHand(ctx, io.ui, corr, kSuitClass, tricks, hcp);
    if (hcp + corr == 25 && tricks < 10 && io.failLog && ctx.deal.DealNo <= 20000) {
      std::ofstream log(ctx.folder / kFailLogName, std::ios::binary | std::ios::app);
      log << FailLine(ctx.deal.DealNo, declarer, tricks, trump, hcp, corr, ctx.corrections);
    }
  }
  if (io.cache != nullptr) WriteRecord(ctx, io, kSuitClass, hcp, flag, tricks);
}

void EvaluatePair(ScanContext& ctx, PassIo& io, int32_t pair, int32_t hcp) {
  const int32_t nt = ctx.analysis.Contract[pair][kNoTrump].score;
  const int32_t su = ctx.analysis.PairContract[pair].score;
  if (nt > su) {
    ProcNT(ctx, io, pair, hcp);
    if (su != 0) ProcSuit(ctx, io, pair, hcp);
  } else if (nt < su) {
    ProcSuit(ctx, io, pair, hcp);
  } else if (nt != 0) {
    ProcNT(ctx, io, pair, hcp);
    ProcSuit(ctx, io, pair, hcp);
  }
}

bool Korvancommon(ScanContext& ctx, ScanUi& ui) {
  const CacheFields f = UnpackCacheRecord(ctx.currentRecord);
  if (f.hcp > 40 || f.tricks > 13) return false;
  ctx.corrections = f.corrections;
  if (ctx.recordSink != nullptr) ctx.recordSink->Take(ctx.currentRecord);
  const int32_t corr = CorrectionTotal(f.corrections, ctx.options);
  if (ctx.options[kLimitDeclarer] && f.flag == 0) return true;
  TallyHand(ctx, ui, corr, f.cls, f.tricks, f.hcp);
  return true;
}

}  // namespace vk
