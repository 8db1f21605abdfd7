#include "results/success_log.h"

#include <cmath>
#include <cstdlib>
#include <fstream>

namespace vk {

namespace fs = std::filesystem;

namespace {
// "#0.0": at least one digit before the point, exactly one after, to the nearest tenth.
// Halves go away from zero, as a decimal format pattern rounds.
std::string Tenths(float percent) {
  const long tenths = std::lround(static_cast<double>(percent) * 10.0);
  const long whole = std::labs(tenths) / 10, tenth = std::labs(tenths) % 10;
  return (tenths < 0 ? "-" : "") + std::to_string(whole) + "." + std::to_string(tenth);
}

std::string FourValues(const SuccessProbTable& prob, int cls, int tricks) {
  std::string out;
  for (int p = 24; p <= 27; ++p) {
    if (p > 24) out += ", ";
    out += Tenths(100.0f * prob[cls][tricks][p]);
  }
  return out;
}
}  // namespace

std::string SuccessLogLine(std::string_view optionCode, const SuccessProbTable& prob) {
  std::string code(optionCode);
  if (code.size() < 10) code.resize(10, ' ');
  return code + " [3NT] " + FourValues(prob, -1, 9) + "  [4S] " + FourValues(prob, 0, 10);
}

std::string SuccessLogHeader(int32_t language) {
  const char* english[] = {"  Every time you draw a figure using this software, ",
                           "this file will record Success Probabilities ",
                           "for 3NT and 4S contracts with 24, 25 and 26 Pts,",
                           "which will be of concern of many Bride players."};
  const char* japanese[] = {"    このソフトウェアを使って，グラフを描くと，その度にファイルが更新され，",
                            "  3NT および 4S の成功確率の数値 (%) が，",
                            "  24, 25，26, 27 Pts の四つの場合について記録されます。",
                            "    なお，異なるオプションは識別されるので，二重に記録されることはありません。",
                            "  Pts の中身は, オプションにより異なります｡"};
  std::string out;
  if (language == 0)
    for (const char* line : english) out += std::string(line) + "\r\n";
  else
    for (const char* line : japanese) out += std::string(line) + "\r\n";
  return out;
}

LogResult SaveResult(const fs::path& logFile, std::string_view optionCode, int32_t language,
                     const SuccessProbTable& prob, std::string& error) {
  std::error_code ec;
  if (!fs::exists(logFile, ec)) {
    std::ofstream create(logFile, std::ios::binary);
    create << SuccessLogHeader(language);
    if (!create.flush()) {
      error = "cannot create the log \"" + logFile.string() + "\"";
      return LogResult::Failed;
    }
  }
  {
    std::ifstream in(logFile, std::ios::binary);
    if (!in) {
      error = "cannot read the log \"" + logFile.string() + "\"";
      return LogResult::Failed;
    }
    std::string line;
    while (std::getline(in, line))
      if (line.find(optionCode) != std::string::npos) return LogResult::AlreadyLogged;
  }
  std::ofstream out(logFile, std::ios::binary | std::ios::app);
  out << SuccessLogLine(optionCode, prob) << "\r\n";
  if (!out.flush()) {
    error = "cannot append to the log \"" + logFile.string() + "\"";
    return LogResult::Failed;
  }
  return LogResult::Appended;
}

}  // namespace vk
