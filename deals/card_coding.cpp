#include "deals/card_coding.h"

namespace vk {

NameTables InitNames() {
  NameTables t;
  const char* players[] = {" W ", " N ", " E ", " S ", "W-E", "N-S"};
  for (int i = 0; i <= 5; ++i) t.PlayerName[i] = players[i];
  const char* denoms[] = {"NoTrump", "Spades", "Hearts", "Diamonds", "Clubs"};
  for (int d = -1; d <= 3; ++d) t.DenomName[d] = denoms[d + 1];
  const char* honours[] = {"A", "K", "Q", "J", "T"};
  for (int r = 0; r <= 4; ++r) t.RankLetter[r] = honours[r];
  // The spot cards are named by the digit 14 - rank: rank 5 is "9", rank 12 is "2".
  for (int r = 5; r <= 12; ++r) t.RankLetter[r] = NumText(14 - r);
  return t;
}

const NameTables& Names() {
  static const NameTables tables = InitNames();
  return tables;
}

std::string NumText(int32_t n) { return std::to_string(n); }

}  // namespace vk
