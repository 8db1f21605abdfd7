#pragma once
// Deals in Portable Bridge Notation: writing a deal and its double-dummy table as PBN tag
// values, and finding the [Deal] tags of a PBN file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deals/card_coding.h"
#include "deals/library_writer.h"

namespace vk::mklib {

// The [Deal] value: the first player's seat letter and a colon, then the four hands clockwise
// from that player, each as spades, hearts, diamonds and clubs joined by dots
// ("W:AK7.QJ2.T98.6543 ..." from West).
std::string PbnDealValue(const DealRecord& deal, int firstPlayer = kWest);

// The [DoubleDummyTricks] value: 20 hexadecimal digits, the tricks of declarer North, South,
// East and West in turn, each in notrump, spades, hearts, diamonds and clubs.
std::string DoubleDummyTricksValue(const DealRecord& deal);

// Reads a [Deal] value (any first seat; one hand may be "-" when the other three fix it).
// Leaves the tricks alone. The error says what is wrong without a line number.
bool ParsePbnDealValue(std::string_view value, DealRecord& deal, std::string& error);

struct PbnDeal {
  int line = 0;  // line of the [Deal] tag, from 1
  DealRecord deal;
};

// Finds the [Deal] tags of a PBN file fed to it line by line, so that a file of any size is read
// with one line in memory. "#" repeats the deal before. Errors name the line.
class PbnDealReader {
 public:
  // One line, without its line feed: the deal of a [Deal] tag on it is added to `deals`.
  bool AddLine(std::string_view line, std::vector<PbnDeal>& deals, std::string& error);
  // After the last line: a comment still open is an error.
  bool Finish(std::string& error) const;

 private:
  int line_ = 0;
  int commentOpened_ = 0;  // line of a "{" not yet closed
  std::optional<DealRecord> last_;
};

// The deals of every [Deal] tag of a PBN text, in file order.
bool ReadPbnDeals(std::string_view text, std::vector<PbnDeal>& deals, std::string& error);

// One game of an exported file: the mandatory tags, the deal and its double-dummy table.
// Dealer and vulnerability follow the board number as on duplicate boards; the deal starts
// with the dealer's hand, as the export format requires.
std::string PbnGame(const DealRecord& deal, int64_t board, std::string_view event);

// The lines that open an exported file.
std::string PbnFileHeader();

}  // namespace vk::mklib
