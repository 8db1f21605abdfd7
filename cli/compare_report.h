#pragma once
// What `velkorvan-cli compare` prints: the ranking of the option sets for 3NT and 4S with their
// 95 % intervals and (none) as the reference, as text; every set and curve as CSV or JSON.

#include <string>

#include "cli/report.h"
#include "compare/compare_run.h"

namespace vk::cli {

struct CompareReport {
  std::string library;
  int32_t dealCount = 0;
  int32_t language = 0;
  const Comparison* comparison = nullptr;
  bool cachePass = false;
  int top = 10;  // sets listed per ranking in text
};

std::string FormatCompareReport(const CompareReport& report, Format format);

}  // namespace vk::cli
