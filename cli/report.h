#pragma once
// What the headless scanner prints: the table window's grid (suit 11/10/9 and notrump 9/8
// tricks against 20..31 points) and the six success curves at 20..40 points, as text, as one
// long-form CSV table (a value a row) or as JSON with what the scan read and skipped.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compare/compare_stats.h"
#include "results/success_prob.h"
#include "scan/scan_context.h"

namespace vk::cli {

enum class Format { Text, Csv, Json };
std::optional<Format> ParseFormat(std::string_view name);

struct TableRowSpec {
  int32_t cls;
  int32_t tricks;
  const char* caption;
};
// Top to bottom as the table window shows them.
inline constexpr std::array<TableRowSpec, 5> kTableRows = {{{0, 11, "Suit 11 tricks"},
                                                            {0, 10, "Suit 10 tricks"},
                                                            {0, 9, "Suit  9 tricks"},
                                                            {-1, 9, "NT  9 tricks"},
                                                            {-1, 8, "NT  8 tricks"}}};

struct Report {
  std::string optionCode;
  std::string resultBaseName;
  std::string library;
  int32_t dealCount = 0;
  int32_t language = 0;
  CountTable counts{};
  SuccessProbTable prob{};
  // Present after a scan.
  std::optional<ScanReport> scan;
  // Print the 95 % interval of each success probability under it (text and CSV; JSON always has them).
  bool ci = false;
};

std::string FormatReport(const Report& report, Format format);

// The 95 % Wilson interval, in percent, of the curve's success probability at the point count,
// from the counts of the tally file; no value without hands. For option sets with point
// corrections the counts are weighted sums and the interval treats them as whole hands.
Estimate SuccessInterval(const CountTable& counts, int32_t cls, int32_t tricks, int32_t points);

}  // namespace vk::cli
