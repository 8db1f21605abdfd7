#pragma once
// Seats, pairs, denominations and ranks, and the name tables that messages and logs print.
//
// Player 0 West, 1 North, 2 East, 3 South; pair 0 is West-East, pair 1 North-South.
// Denomination -1 notrump, 0 spades, 1 hearts, 2 diamonds, 3 clubs. Rank 0 ace .. 12 two.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "deals/range_array.h"

namespace vk {

inline constexpr int kWest = 0, kNorth = 1, kEast = 2, kSouth = 3;
inline constexpr int kNoTrump = -1;
inline constexpr int kSpades = 0, kHearts = 1, kDiamonds = 2, kClubs = 3;
inline constexpr int kNotrumpClass = -1, kSuitClass = 0;

struct NameTables {
  RangeArray<std::string, 0, 5> PlayerName;   // " W ", " N ", " E ", " S ", "W-E", "N-S"
  RangeArray<std::string, -1, 3> DenomName;   // "NoTrump", "Spades", ...
  RangeArray<std::string, 0, 12> RankLetter;  // "A", "K", ..., "2"
};

// Fills the tables once; they are only read afterwards.
NameTables InitNames();
// The program-wide name tables, built on first use.
const NameTables& Names();

inline constexpr int32_t Partner(int32_t p) { return (p + 2) % 4; }

// Card points of a letter: ace 4, king 3, queen 2, jack 1, with an exact, case-sensitive match;
// every other character (spot cards, a lower-case letter, a blank) 0.
inline constexpr auto kCardPointTable = [] {
  std::array<int8_t, 256> table{};
  table[static_cast<unsigned char>('A')] = 4;
  table[static_cast<unsigned char>('K')] = 3;
  table[static_cast<unsigned char>('Q')] = 2;
  table[static_cast<unsigned char>('J')] = 1;
  return table;
}();
inline int32_t CardPoints(char letter) { return kCardPointTable[static_cast<unsigned char>(letter)]; }

// The rank letters "AKQJT98765432" by rank index, for decoders.
inline constexpr char kRankLetters[] = "AKQJT98765432";

// Decimal text without blanks, minus sign for negatives.
std::string NumText(int32_t n);

}  // namespace vk
