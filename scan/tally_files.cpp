#include "scan/tally_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "deals/cache_file.h"
#include "deals/card_coding.h"

namespace vk {

namespace fs = std::filesystem;

fs::path TallyFilePath(const fs::path& folder, std::string_view resultBaseName) {
  return folder / kDataFolder / (std::string(resultBaseName) + ".dat");
}

fs::path HCPfreqFilePath(const fs::path& folder) { return folder / kDataFolder / kHCPfreqFileName; }

namespace {
constexpr const char* kLineEnd = "\r\n";

void AppendValue(std::string& out, int32_t v) {
  if (v == 0) {
    out += " 0";
  } else {
    out += ' ';
    out += NumText(v);
    out += ' ';
  }
}
}  // namespace

std::string TallyFileText(const WeightTable& weights, int32_t dealCount) {
  std::string out;
  out.reserve(29 * 41 * 6);
  out += ' ';
  out += NumText(dealCount);
  out += ' ';
  out += kLineEnd;
  for (int c = -1; c <= 0; ++c)
    for (int t = 0; t <= 13; ++t) {
      for (int p = 0; p <= 40; ++p) AppendValue(out, RoundHalfEven(weights[c][t][p]));
      out += kLineEnd;
    }
  return out;
}

std::string HCPfreqFileText(const HCPfreqTable& freq, int32_t language) {
  std::string out;
  for (int h = 0; h <= 40; ++h) out += NumText(h) + " " + NumText(freq[h]) + kLineEnd;
  if (language == 0) {
    out += std::string(" This file shows the frequency distribution ") + kLineEnd;
    out += std::string(" of HCPs in this library.") + kLineEnd;
  } else {
    out += std::string(" このファイルには, HCP による分布を記録しました｡") + kLineEnd;
  }
  return out;
}

bool WriteFileAtomically(const fs::path& path, std::string_view text, std::string& error) {
  const fs::path temp = path.string() + ".part" + std::to_string(::getpid());
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot write \"" + path.string() + "\": " + std::strerror(errno);
    return false;
  }
  const char* p = text.data();
  std::size_t left = text.size();
  // The cause of the first call that fails, taken at once: a later call may change errno.
  int cause = 0;
  while (left > 0 && cause == 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno != EINTR) cause = errno;
      continue;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (cause == 0 && ::fsync(fd) != 0) cause = errno;
  if (::close(fd) != 0 && cause == 0) cause = errno;
  if (cause == 0 && std::rename(temp.c_str(), path.c_str()) != 0) cause = errno;
  const bool ok = cause == 0;
  if (!ok) {
    error = "writing \"" + path.string() + "\" failed: " + std::strerror(cause);
    std::error_code ec;
    fs::remove(temp, ec);
  }
  return ok;
}

bool Fout(const fs::path& folder, std::string_view resultBaseName, const Tallies& tallies, int32_t dealCount,
          int32_t language, std::string& error, bool replaceHCPfreq) {
  if (!WriteFileAtomically(TallyFilePath(folder, resultBaseName), TallyFileText(tallies.HandWeight, dealCount), error))
    return false;
  const fs::path freqFile = HCPfreqFilePath(folder);
  std::error_code ec;
  if (!replaceHCPfreq && fs::exists(freqFile, ec)) return true;
  bool anyCounted = false;
  for (int32_t n : tallies.HCPfreq) anyCounted = anyCounted || n != 0;
  if (!anyCounted) return true;
  return WriteFileAtomically(freqFile, HCPfreqFileText(tallies.HCPfreq, language), error);
}

namespace {
bool ReadLines(const fs::path& file, std::size_t needed, std::vector<std::string>& lines, std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = "cannot read \"" + file.string() + "\"";
    return false;
  }
  std::string line;
  while (lines.size() < needed && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  if (lines.size() < needed) {
    error = "\"" + file.string() + "\" is damaged: " + std::to_string(lines.size()) + " lines instead of " +
            std::to_string(needed);
    return false;
  }
  return true;
}

// A decimal number rounded to the nearest whole number; text that is no number reads as 0.
int32_t ReadNumber(const std::string& word) {
  const char* begin = word.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  if (end == begin || !(v > -2e9 && v < 2e9)) return 0;
  return RoundHalfEven(v);
}
}  // namespace

bool Fin(const fs::path& file, CountTable& counts, std::string& error) {
  std::vector<std::string> lines;
  if (!ReadLines(file, 29, lines, error)) return false;
  CountTable read{};
  std::size_t line = 1;
  for (int c = -1; c <= 0; ++c)
    for (int t = 0; t <= 13; ++t) {
      std::istringstream words(lines[line++]);
      std::string word;
      for (int p = 0; p <= 40; ++p) read[c][t][p] = (words >> word) ? ReadNumber(word) : 0;
    }
  counts = read;
  return true;
}

bool FinHCPfreq(const fs::path& file, HCPfreqTable& freq, std::string& error) {
  std::vector<std::string> lines;
  if (!ReadLines(file, 41, lines, error)) return false;
  for (int h = 0; h <= 40; ++h) {
    std::string rest = lines[static_cast<std::size_t>(h)];
    NextWord(rest);
    freq[h] = ReadNumber(rest);
  }
  return true;
}

std::string NextWord(std::string& text) {
  std::size_t blank = text.find(' ');
  if (blank == std::string::npos) {
    std::string all = std::move(text);
    text.clear();
    return all;
  }
  std::string word = text.substr(0, blank);
  std::size_t first = text.find_first_not_of(' ', blank);
  std::size_t last = text.find_last_not_of(' ');
  text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  return word;
}

}  // namespace vk
