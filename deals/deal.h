#pragma once
// The one deal being evaluated: who holds which card, each player's HCP, and the
// double-dummy trick table, as read from one library record.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "deals/card_coding.h"
#include "deals/range_array.h"

namespace vk {

// A suit holding as rank letters, highest first ("AQT7"); empty for a void. A text-library
// hand field is 16 characters, so no holding can be longer.
class HoldingText {
 public:
  static constexpr int kCapacity = 16;
  int size() const { return len_; }
  bool empty() const { return len_ == 0; }
  char operator[](int i) const { return chars_[i]; }
  std::string_view view() const { return {chars_, static_cast<std::size_t>(len_)}; }
  std::string str() const { return std::string(view()); }
  void clear() {
    len_ = 0;
    points_ = 0;
    hasAce_ = false;
  }
  void push_back(char c) {
    if (len_ < kCapacity) {
      chars_[len_++] = c;
      points_ = static_cast<uint8_t>(points_ + CardPoints(c));
      hasAce_ = hasAce_ || c == 'A';
    }
  }
  // Sets the holding to the first na letters of `high` followed by the first nb of `low`
  // (na <= 8, nb <= 8), with their card points and ace known to the caller: the binary
  // decoder's fast path. Whole 8-letter blocks are copied into the slack behind the text.
  void assignRuns(const char (&high)[8], int na, const char (&low)[8], int nb, int points, bool ace) {
    std::memcpy(chars_, high, 8);
    std::memcpy(chars_ + na, low, 8);
    len_ = static_cast<uint8_t>(na + nb);
    points_ = static_cast<uint8_t>(points);
    hasAce_ = ace;
  }
  void assign(std::string_view s) {
    clear();
    for (char c : s) push_back(c);
  }
  // Whether the holding contains the letter "A"; kept as the text is built, since the ace
  // tests run for every evaluated contract.
  bool hasAce() const { return hasAce_; }
  // Card points of the letters, summed as they are added.
  int points() const { return points_; }
  bool operator==(std::string_view s) const { return view() == s; }

 private:
  char chars_[kCapacity + 8] = {};
  uint8_t len_ = 0;
  uint8_t points_ = 0;
  bool hasAce_ = false;
};

// Four hexadecimal trick digits of one denomination, in the record's order East, North, West, South.
struct TrickHexText {
  char digits[4] = {0, 0, 0, 0};
  int len = 0;
  std::string str() const { return std::string(digits, static_cast<std::size_t>(len)); }
};

// Why a deal cannot be tallied. The first defect found is kept.
enum class DealDefect : uint8_t {
  None,
  TrickDigit,  // a trick digit is not a number 0..13
  PairHcp,     // a pair holds more than 40 HCP
  CardCount,   // a hand does not hold 13 cards
  CardTwice,   // a card is held twice, or a hand holds a letter that is no card
  TextLayout,  // a blank between the fields or the line end is not where the record puts it
};

// What a defect means, in English (0) or Japanese (1).
const char* DealDefectText(DealDefect defect, int32_t language);

struct Deal {
  RangeArray2<HoldingText, 0, 3, -1, 3> Holding;  // [player][denomination]; column -1 stays empty
  RangeArray2<int32_t, 0, 3, -1, 3> SuitLen{};    // [player][denomination]; filled by the analysis
  RangeArray<float, 0, 3> PlayerHCP{};
  RangeArray<TrickHexText, -1, 3> TrickHex;
  RangeArray2<int32_t, 0, 3, -1, 3> Tricks{};  // [declarer][denomination], tricks of the declaring side
  int32_t DealNo = 0;
  // Set when the record is no possible deal (see DealDefect): the tallies would take it at
  // impossible values, so the scan skips and counts it.
  bool damaged = false;
  DealDefect defect = DealDefect::None;
  void MarkDamaged(DealDefect why) {
    if (!damaged) defect = why;
    damaged = true;
  }

  // Sets every holding and trick text to empty and every HCP to 0.
  void Clear();
};

// Adds the card points of every holding letter to the freshly cleared PlayerHCP.
void CountHCP(Deal& deal);

}  // namespace vk
