#include "deals/deal.h"

#include "deals/card_coding.h"

namespace vk {

void Deal::Clear() {
  for (auto& row : Holding)
    for (auto& h : row) h.clear();
  for (auto& t : TrickHex) t = TrickHexText{};
  PlayerHCP.fill(0.0f);
  damaged = false;
}

void CountHCP(Deal& deal) {
  for (int p = 0; p <= 3; ++p) {
    int32_t points = 0;
    for (int s = 0; s <= 3; ++s) points += deal.Holding[p][s].points();
    deal.PlayerHCP[p] += static_cast<float>(points);
  }
}

}  // namespace vk
