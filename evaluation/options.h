#pragma once
// The seven evaluation options and the option code that names an option set in file names,
// window captions and the log: "(" + the letters of the options that are on + ")", or "(none)".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "deals/range_array.h"

namespace vk {

inline constexpr int kDummyPoints = 1, kLengthPoints = 2, kSingletonHonors = 3, kDoubletonHonors = 4,
                     kFourAces = 5, kAceless = 6, kLimitDeclarer = 7;
inline constexpr std::string_view kOptionLetters = "DLSBACU";

struct OptionSet {
  RangeArray<bool, 1, 7> on{};
  bool operator[](int i) const { return on[i]; }
  bool& operator[](int i) { return on[i]; }
  bool operator==(const OptionSet&) const = default;
  // True when any of the point corrections 1..6 is on (option 7 adds no points).
  bool AnyCorrection() const;
};

struct OptionNames {
  std::string optionCode;      // "(DL)", "(none)"
  std::string resultBaseName;  // "(DL)Korvan"
};

OptionNames SetupFilename(const OptionSet& options);

// Reads a set of option letters such as "DLU" or "(DL)"; "(none)", "none" and "" are the empty
// set. Unknown letters give nullopt.
std::optional<OptionSet> ParseOptionLetters(std::string_view letters);

// Whether a correction routine evaluates itself: its option is on, or the library pass is
// writing the cache, which needs every correction whatever the options.
struct EvalSwitch {
  OptionSet options;
  bool cacheWriting = false;
  bool Evaluates(int option) const { return cacheWriting || options[option]; }
};

}  // namespace vk
