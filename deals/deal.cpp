#include "deals/deal.h"

#include "deals/card_coding.h"

namespace vk {

void Deal::Clear() {
  for (auto& row : Holding)
    for (auto& h : row) h.clear();
  for (auto& t : TrickHex) t = TrickHexText{};
  PlayerHCP.fill(0.0f);
  damaged = false;
  defect = DealDefect::None;
}

const char* DealDefectText(DealDefect defect, int32_t language) {
  const bool ja = language == 1;
  switch (defect) {
    case DealDefect::None:
      return "";
    case DealDefect::TrickDigit:
      return ja ? "トリック数が 0〜13 ではありません" : "a trick digit is not 0 to 13";
    case DealDefect::PairHcp:
      return ja ? "ペアの HCP が 40 を超えています" : "a pair holds more than 40 HCP";
    case DealDefect::CardCount:
      return ja ? "13 枚でないハンドがあります" : "a hand does not hold 13 cards";
    case DealDefect::CardTwice:
      return ja ? "同じカードが二度あるか、カードでない文字があります" : "a card is held twice or a letter is no card";
    case DealDefect::TextLayout:
      return ja ? "区切りの空白か行末の位置が違います" : "a separating blank or the line end is out of place";
  }
  return "";
}

void CountHCP(Deal& deal) {
  for (int p = 0; p <= 3; ++p) {
    int32_t points = 0;
    for (int s = 0; s <= 3; ++s) points += deal.Holding[p][s].points();
    deal.PlayerHCP[p] += static_cast<float>(points);
  }
}

}  // namespace vk
