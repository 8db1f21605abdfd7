#include "evaluation/options.h"

namespace vk {

bool OptionSet::AnyCorrection() const {
  for (int i = 1; i <= 6; ++i)
    if (on[i]) return true;
  return false;
}

OptionNames SetupFilename(const OptionSet& options) {
  std::string code;
  for (int i = 1; i <= 7; ++i)
    if (options[i]) code += kOptionLetters[static_cast<std::size_t>(i - 1)];
  code = code.empty() ? "(none)" : "(" + code + ")";
  return {code, code + "Korvan"};
}

std::optional<OptionSet> ParseOptionLetters(std::string_view letters) {
  if (letters.size() >= 2 && letters.front() == '(' && letters.back() == ')')
    letters = letters.substr(1, letters.size() - 2);
  OptionSet set;
  if (letters == "none") return set;
  for (char c : letters) {
    std::size_t i = kOptionLetters.find(c);
    if (i == std::string_view::npos) return std::nullopt;
    set[static_cast<int>(i) + 1] = true;
  }
  return set;
}

}  // namespace vk
