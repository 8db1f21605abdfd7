#include "scan/library_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "deals/deal_analysis.h"

namespace vk {

namespace {

// The first line of a text library, up to its line feed (at most 200 bytes looked at).
int64_t FirstLineLength(const LibraryFile& library, bool& crlf) {
  std::array<char, 200> head{};
  const int fd = ::open(library.path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  const ssize_t n = ::pread(fd, head.data(), head.size(), 0);
  ::close(fd);
  if (n <= 0) return -1;
  const auto end = head.begin() + n;
  const auto lf = std::find(head.begin(), end, '\n');
  if (lf == end) return n + 1;  // no line end within 200 bytes: far too long
  crlf = lf != head.begin() && *(lf - 1) == '\r';
  return (lf - head.begin()) + 1;
}

bool LastByteIsLineEnd(const LibraryFile& library) {
  char last = 0;
  const int fd = ::open(library.path().c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const ssize_t n = ::pread(fd, &last, 1, static_cast<off_t>(library.size() - 1));
  ::close(fd);
  return n == 1 && last == '\n';
}

}  // namespace

std::optional<LibraryRefusal> CheckLibraryShape(const LibraryFile& library) {
  LibraryRefusal r;
  r.file = library.path().string();
  if (library.dealCount() == 0 && (library.kind() == kLibraryKindBin || library.size() == 0)) return r;
  if (library.kind() == kLibraryKindAsc) {
    bool crlf = false;
    r.lineLength = FirstLineLength(library, crlf);
    if (r.lineLength != kAscRecordLength) {
      r.kind = crlf ? LibraryRefusal::Kind::CrLf : LibraryRefusal::Kind::LineLength;
      return r;
    }
    if (library.size() % kAscRecordLength != 0 && !LastByteIsLineEnd(library)) {
      r.kind = LibraryRefusal::Kind::NoLastLineEnd;
      return r;
    }
  }
  Deal deal;
  Analysis analysis;
  const int32_t look = std::min(library.dealCount(), kDealsLookedAtFirst);
  for (int32_t k = 1; k <= look; ++k) {
    const ReadStatus status = MainProc(library, k, deal, analysis);
    if (status == ReadStatus::Ok && !deal.damaged) continue;
    if (r.damaged++ == 0) {
      r.firstDamagedDeal = k;
      r.firstDefect = status == ReadStatus::Malformed ? DealDefect::CardCount : deal.defect;
    }
  }
  if (!MostlyDamaged(r.damaged, look)) return std::nullopt;
  r.kind = LibraryRefusal::Kind::MostlyDamaged;
  r.looked = look;
  return r;
}

std::string RefusalMessage(const LibraryRefusal& r, int32_t language) {
  const std::string file = "\"" + r.file + "\"";
  const std::string binary = (std::filesystem::path(r.file).parent_path() / kBinLibraryName).string();
  const std::string mend = " velkorvan-mklib convert " + file + " \"" + binary + "\"";
  const bool ja = language == 1;
  switch (r.kind) {
    case LibraryRefusal::Kind::Empty:
      return ja ? file + " にはディールが一つもありません。" : file + " holds no deal.";
    case LibraryRefusal::Kind::CrLf:
      return ja ? file +
                      " はテキスト・ライブラリではありません: 行末が CR LF で、1 行が 90 バイトです(89 "
                      "バイトのはず)。直すには:" +
                      mend
                : file + " is not a text library: its lines end in CR LF and are 90 bytes long, not 89. Mend it with:" +
                      mend;
    case LibraryRefusal::Kind::LineLength:
      return ja ? file + " はテキスト・ライブラリではありません: 最初の行が " + std::to_string(r.lineLength) +
                      " バイトです(89 バイトのはず)。直すには:" + mend
                : file + " is not a text library: its first line is " + std::to_string(r.lineLength) +
                      " bytes long, line end included, not 89. Mend it with:" + mend;
    case LibraryRefusal::Kind::NoLastLineEnd:
      return ja ? file + " の最後の行に行末がありません。直すには:" + mend
                : file + " has no line end after its last line. Mend it with:" + mend;
    case LibraryRefusal::Kind::MostlyDamaged: {
      const std::string counts = std::to_string(r.damaged) + " / " + std::to_string(r.looked);
      return ja ? file + " はライブラリではありません: ディール " + counts +
                      " がありえないディールです(最初はディール " + std::to_string(r.firstDamagedDeal) + ": " +
                      DealDefectText(r.firstDefect, 1) + ")。"
                : file + " is not a deal library: " + std::to_string(r.damaged) + " of " + std::to_string(r.looked) +
                      " deals are no possible deals (the first is deal " + std::to_string(r.firstDamagedDeal) + ": " +
                      DealDefectText(r.firstDefect, 0) + ").";
    }
  }
  return file;
}

}  // namespace vk
