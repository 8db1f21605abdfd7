#pragma once
// The log "VelKorvan.txt": 3NT and 4S success percentages at 24..27 points, one line per
// option code, in the order the option sets were first graphed.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "results/success_prob.h"

namespace vk {

inline constexpr const char* kSuccessLogName = "VelKorvan.txt";

// The record line without its line end.
std::string SuccessLogLine(std::string_view optionCode, const SuccessProbTable& prob);
// The header lines of the language, each ended by CR LF.
std::string SuccessLogHeader(int32_t language);

enum class LogResult { Appended, AlreadyLogged, Failed };
LogResult SaveResult(const std::filesystem::path& logFile, std::string_view optionCode, int32_t language,
                     const SuccessProbTable& prob, std::string& error);

}  // namespace vk
