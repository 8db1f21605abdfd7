#include "scan/cache_stamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "deals/cache_file.h"
#include "deals/file_reading.h"
#include "scan/tally_files.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStampHeader = "VelKorvan deal cache stamp 1";
constexpr int64_t kSampleBytes = 64 * 1024;

uint64_t Fnv1a(uint64_t hash, const uint8_t* bytes, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

std::string Hex(uint64_t v) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

template <typename T>
bool ParseNumber(const std::string& text, T& value, int base = 10) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::optional<FileFingerprint> Fingerprint(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  FileFingerprint print;
  print.size = static_cast<int64_t>(st.st_size);
  print.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  uint64_t hash = 14695981039346656037ull;
  std::array<uint8_t, kSampleBytes> buffer;
  const int64_t starts[3] = {0, std::max<int64_t>(0, print.size / 2 - kSampleBytes / 2),
                             std::max<int64_t>(0, print.size - kSampleBytes)};
  for (int64_t at : starts) {
    const auto want = static_cast<std::size_t>(std::min(kSampleBytes, print.size - at));
    const std::size_t got = ReadAt(fd, at, buffer.data(), want);
    if (got < want) {
      ::close(fd);
      return std::nullopt;
    }
    hash = Fnv1a(hash, buffer.data(), got);
  }
  ::close(fd);
  print.digest = hash;
  return print;
}

namespace {
void PutPrint(std::ostringstream& out, const char* name, const FileFingerprint& p) {
  out << name << " " << p.size << " " << p.mtimeNs << " " << Hex(p.digest) << "\r\n";
}
bool GetPrint(const std::string& value, FileFingerprint& p) {
  std::istringstream in(value);
  std::string size, mtime, digest, rest;
  if (!(in >> size >> mtime >> digest) || (in >> rest)) return false;
  return ParseNumber(size, p.size) && ParseNumber(mtime, p.mtimeNs) && ParseNumber(digest, p.digest, 16);
}
}  // namespace

std::string CacheStampText(const CacheStamp& s) {
  std::ostringstream out;
  out << kStampHeader << "\r\n";
  out << "library " << s.library << "\r\n";
  PutPrint(out, "library-file", s.libraryPrint);
  out << "deals " << s.deals << "\r\n";
  out << "records " << s.records << "\r\n";
  PutPrint(out, "cache-file", s.cachePrint);
  PutPrint(out, "hcpfreq-file", s.hcpfreqPrint);
  out << "damaged-deals " << s.damagedDeals << " " << s.firstDamagedDeal << " " << static_cast<int>(s.firstDefect)
      << "\r\n";
  return out.str();
}

std::optional<CacheStamp> ParseCacheStamp(std::string_view text) {
  std::map<std::string, std::string> fields;
  std::istringstream in{std::string(text)};
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first) {
      if (line != kStampHeader) return std::nullopt;
      first = false;
      continue;
    }
    const auto blank = line.find(' ');
    if (blank == std::string::npos) return std::nullopt;
    fields[line.substr(0, blank)] = line.substr(blank + 1);
  }
  CacheStamp s;
  std::istringstream damaged(fields["damaged-deals"]);
  int defect = 0;
  if (first || fields["library"].empty() || !GetPrint(fields["library-file"], s.libraryPrint) ||
      !ParseNumber(fields["deals"], s.deals) || !ParseNumber(fields["records"], s.records) ||
      !GetPrint(fields["cache-file"], s.cachePrint) || !GetPrint(fields["hcpfreq-file"], s.hcpfreqPrint) ||
      !(damaged >> s.damagedDeals >> s.firstDamagedDeal >> defect) || defect < 0 ||
      defect > static_cast<int>(DealDefect::TextLayout))
    return std::nullopt;
  s.library = fields["library"];
  s.firstDefect = static_cast<DealDefect>(defect);
  return s;
}

fs::path CacheStampPath(const fs::path& folder) { return folder / kDataFolder / kCacheStampName; }

bool WriteCacheStamp(const fs::path& folder, CacheStamp stamp, std::string& error) {
  const auto cache = Fingerprint(folder / kDataFolder / kCacheFileName);
  const auto freq = Fingerprint(HCPfreqFilePath(folder));
  if (!cache || !freq) {
    error = "the cache or \"" + HCPfreqFilePath(folder).string() + "\" vanished before the stamp was written";
    return false;
  }
  stamp.cachePrint = *cache;
  stamp.hcpfreqPrint = *freq;
  return WriteFileAtomically(CacheStampPath(folder), CacheStampText(stamp), error);
}

std::optional<CacheStamp> MatchingCacheStamp(const fs::path& folder, std::string& why) {
  std::ifstream in(CacheStampPath(folder), std::ios::binary);
  if (!in) {
    why = "no stamp says the cache holds the whole library (a pass that was stopped, ran short or broke off)";
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  const auto stamp = ParseCacheStamp(text.str());
  if (!stamp) {
    why = "the cache stamp \"" + CacheStampPath(folder).string() + "\" is damaged";
    return std::nullopt;
  }
  const auto library = Fingerprint(folder / stamp->library);
  if (!library) {
    why = "the library \"" + stamp->library + "\" the cache was made from is no longer there";
    return std::nullopt;
  }
  if (*library != stamp->libraryPrint) {
    why = "the cache was made from another \"" + stamp->library + "\" than the one there now";
    return std::nullopt;
  }
  const auto cache = Fingerprint(folder / kDataFolder / kCacheFileName);
  if (!cache || *cache != stamp->cachePrint || cache->size != 4 * stamp->records) {
    why = "the cache is not the one its stamp describes";
    return std::nullopt;
  }
  const auto freq = Fingerprint(HCPfreqFilePath(folder));
  if (!freq || *freq != stamp->hcpfreqPrint) {
    why = "\"HCPfreq.dat\" of the pass that made the cache is missing or was replaced";
    return std::nullopt;
  }
  return stamp;
}

}  // namespace vk
