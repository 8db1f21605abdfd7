#pragma once
// Tally files "DataFiles/<result base name>.dat" and "DataFiles/HCPfreq.dat": CR LF text.
// A tally file holds the deal count, then 14 notrump and 14 suit lines of 41 values
// (points 0..40); zero is written " 0", anything else " n ".

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "scan/tallies.h"

namespace vk {

inline constexpr const char* kHCPfreqFileName = "HCPfreq.dat";

std::filesystem::path TallyFilePath(const std::filesystem::path& folder, std::string_view resultBaseName);
std::filesystem::path HCPfreqFilePath(const std::filesystem::path& folder);

// Text of a tally file for the weights.
std::string TallyFileText(const WeightTable& weights, int32_t dealCount);
// Text of "HCPfreq.dat" in the language (0 English, else Japanese, UTF-8).
std::string HCPfreqFileText(const HCPfreqTable& freq, int32_t language);

// Writes `text` to a temporary name beside `path` and renames it into place, so a failure
// never leaves a truncated file under the final name.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text, std::string& error);

// Writes the tally file; then "HCPfreq.dat" if it is missing and the counts are not all zero
// (a cache pass counts no HCP frequencies; a file of zeros would never be replaced). A pass over
// the whole library replaces "HCPfreq.dat" (`replaceHCPfreq`): it is that library's distribution.
bool Fout(const std::filesystem::path& folder, std::string_view resultBaseName, const Tallies& tallies,
          int32_t dealCount, int32_t language, std::string& error, bool replaceHCPfreq = false);

// Reads the tally file into `counts`. A missing or unreadable file, or one with fewer than 29
// lines, gives false with a message, and `counts` is left as it was.
bool Fin(const std::filesystem::path& file, CountTable& counts, std::string& error);
bool FinHCPfreq(const std::filesystem::path& file, HCPfreqTable& freq, std::string& error);

// The text before the first blank; `text` keeps the rest, trimmed of blanks at both ends.
std::string NextWord(std::string& text);

}  // namespace vk
