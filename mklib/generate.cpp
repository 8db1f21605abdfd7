#include "mklib/generate.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "deals/library_reader.h"
#include "deals/library_writer.h"
#include "mklib/dds_solver.h"
#include "mklib/deal_stream.h"
#include "mklib/library_files.h"
#include "mklib/progress.h"

namespace vk::mklib {

namespace {

// Closes the output and so releases its lock on every way out.
class OutputFd {
 public:
  explicit OutputFd(int fd) : fd_(fd) {}
  ~OutputFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutputFd(const OutputFd&) = delete;
  OutputFd& operator=(const OutputFd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += static_cast<std::size_t>(n);
  }
  return true;
}

bool SameCards(const DealRecord& a, const DealRecord& b) { return a.owner == b.owner; }

// An existing part is continued only when it is the start of the same range of the same
// stream; its first and last deals are checked, which catches a wrong seed or --first.
bool CheckExistingPart(const GenerateOptions& o, int32_t kind, int64_t whole, std::string& error) {
  LibraryFile existing;
  if (!existing.Open(o.out, kind, error)) return false;
  for (int64_t i : {int64_t{1}, whole}) {
    DealRecord found;
    std::string damage;
    const bool readable = ReadLibraryDeal(existing, static_cast<int32_t>(i), found, damage);
    if (!readable || !SameCards(found, DealOfStream(o.seed, o.first + i - 1))) {
      error = "\"" + o.out.string() + "\" was not made with --seed " + std::to_string(o.seed) + " --first " +
              std::to_string(o.first) + " (its record " + std::to_string(i) + " is not deal " +
              std::to_string(o.first + i - 1) + " of that stream" + (readable ? "" : ": " + damage) +
              "); give the command that made it, or another name";
      return false;
    }
  }
  return true;
}

// The bytes a stopped run left after the last whole record are the start of the next deal's
// record: its cards exactly, then trick digits that can be counts. Anything else is another
// file, which is never cut.
bool CheckPartialRecord(int fd, const GenerateOptions& o, int32_t kind, int64_t whole, int64_t partial,
                        std::string& error) {
  const int64_t recordLength = kind == kLibraryKindAsc ? kAscRecordLength : kBinRecordLength;
  std::vector<uint8_t> found(static_cast<std::size_t>(partial));
  if (::pread(fd, found.data(), found.size(), static_cast<off_t>(whole * recordLength)) != partial) {
    error = "cannot read \"" + o.out.string() + "\": " + std::strerror(errno);
    return false;
  }
  const std::vector<uint8_t> expected = EncodeRecord(DealOfStream(o.seed, o.first + whole), kind);
  // The cards, and in the text form the blank before the trick digits.
  const std::size_t cards = kind == kLibraryKindAsc ? 68 : 16;
  bool same = std::equal(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(std::min(found.size(), cards)),
                         expected.begin());
  for (std::size_t i = cards; same && i < found.size(); ++i) {
    const uint8_t b = found[i];
    if (kind == kLibraryKindAsc)
      same = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'D');
    else
      same = (b >> 4) <= 13 && (b & 15) <= 13;
  }
  if (!same) {
    error = "\"" + o.out.string() + "\" is not a library made with --seed " + std::to_string(o.seed) + " --first " +
            std::to_string(o.first) + " (its last " + std::to_string(partial) + " bytes are not the start of deal " +
            std::to_string(o.first + whole) + " of that stream); give the command that made it, or another name";
    return false;
  }
  return true;
}

}  // namespace

bool Generate(const GenerateOptions& o, std::string& error) {
  int32_t kind = kLibraryKindBin;
  if (!LibraryKindFor(o.out, kind, error)) return false;
  if (o.deals < 1 || o.first < 1 || o.first - 1 + o.deals > INT32_MAX) {
    error = "--deals must be at least 1 and --first at least 1, with the last deal number below 2^31";
    return false;
  }
  const int64_t recordLength = kind == kLibraryKindAsc ? kAscRecordLength : kBinRecordLength;

  OutputFd fd(::open(o.out.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (fd.get() < 0) {
    error = "cannot open \"" + o.out.string() + "\" for writing: " + std::strerror(errno);
    return false;
  }
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    error = "\"" + o.out.string() + "\" is being written by another run";
    return false;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "\"" + o.out.string() + "\" is not a regular file";
    return false;
  }
  int64_t whole = st.st_size / recordLength;
  int64_t partial = st.st_size % recordLength;
  if (whole > 0 && !CheckExistingPart(o, kind, whole, error)) return false;
  if (whole > o.deals) {
    error = "\"" + o.out.string() + "\" already holds " + std::to_string(whole) + " deals, more than the " +
            std::to_string(o.deals) + " asked for";
    return false;
  }
  if (partial > 0 && !CheckPartialRecord(fd.get(), o, kind, whole, partial, error)) return false;
  if (partial > 0) {
    // The record a stopped run was writing: it is dealt again below.
    if (::ftruncate(fd.get(), static_cast<off_t>(whole * recordLength)) != 0) {
      error = "cannot cut the partial record off \"" + o.out.string() + "\": " + std::strerror(errno);
      return false;
    }
    if (o.report)
      std::fprintf(o.report, "cut off a partial last record of %lld bytes\n", static_cast<long long>(partial));
  }
  if (whole == o.deals) {
    if (o.report)
      std::fprintf(o.report, "\"%s\" is complete: %lld deals\n", o.out.c_str(), static_cast<long long>(whole));
    return true;
  }

  int threads = ConfigureSolver(o.threads);
  if (o.report) {
    std::fprintf(o.report, "%s deals %lld..%lld of seed %llu into \"%s\" with %d DDS threads\n",
                 whole > 0 ? "continuing with" : "making", static_cast<long long>(o.first + whole),
                 static_cast<long long>(o.first + o.deals - 1), static_cast<unsigned long long>(o.seed), o.out.c_str(),
                 threads);
    std::fflush(o.report);
  }

  Progress progress(o.report, "generate", o.deals, whole);
  std::vector<DealRecord> batch;
  std::vector<uint8_t> bytes;
  for (int64_t done = whole; done < o.deals;) {
    int64_t count = std::min<int64_t>(kDealsPerBatch, o.deals - done);
    batch.clear();
    for (int64_t i = 0; i < count; ++i) batch.push_back(DealOfStream(o.seed, o.first + done + i));
    if (!SolveDeals(batch, error)) {
      error =
          "deals " + std::to_string(o.first + done) + ".." + std::to_string(o.first + done + count - 1) + ": " + error;
      return false;
    }
    bytes.clear();
    for (const DealRecord& deal : batch) {
      std::vector<uint8_t> record = EncodeRecord(deal, kind);
      bytes.insert(bytes.end(), record.begin(), record.end());
    }
    // On disk before the next batch starts: a stop loses at most the batch being solved.
    if (!WriteAll(fd.get(), bytes) || ::fdatasync(fd.get()) != 0) {
      error = "cannot write \"" + o.out.string() + "\": " + std::strerror(errno);
      return false;
    }
    done += count;
    progress.Update(done);
  }
  progress.Finish();
  return true;
}

}  // namespace vk::mklib
