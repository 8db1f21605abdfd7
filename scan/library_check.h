#pragma once
// Whether a file is a deal library at all. A file that is not one is refused before a scan
// writes anything: an empty file, a text library whose lines are not 89 bytes, or one in which
// more than 1 % of the deals are no possible deals.

#include <cstdint>
#include <optional>
#include <string>

#include "deals/deal.h"
#include "deals/library_reader.h"

namespace vk {

struct LibraryRefusal {
  enum class Kind { Empty, CrLf, LineLength, NoLastLineEnd, MostlyDamaged };
  Kind kind = Kind::Empty;
  std::string file;        // the library's path
  int64_t lineLength = 0;  // LineLength: the first line's length, line end included
  int64_t damaged = 0;     // MostlyDamaged: damaged deals among `looked`
  int64_t looked = 0;
  int32_t firstDamagedDeal = 0;
  DealDefect firstDefect = DealDefect::None;
};

// More than 1 % of the deals read are damaged.
inline bool MostlyDamaged(int64_t damaged, int64_t read) { return damaged > 0 && damaged * 100 > read; }

// Deals read up front to refuse a file that is no library before a pass begins.
inline constexpr int32_t kDealsLookedAtFirst = 1000;

// The checks that need no pass: the file's size and line ends, and the first deals.
std::optional<LibraryRefusal> CheckLibraryShape(const LibraryFile& library);

// The message in English (0) or Japanese (1), naming the file, the reason and the mend.
std::string RefusalMessage(const LibraryRefusal& refusal, int32_t language);

}  // namespace vk
