#include "deals/library_writer.h"

#include "deals/card_coding.h"

namespace vk {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";
// Record digit i belongs to declarer East, North, West, South and counts North-South's tricks.
constexpr int kDigitDeclarer[4] = {kEast, kNorth, kWest, kSouth};

int NorthSouthTricks(const DealRecord& deal, int d, int i) {
  int declarer = kDigitDeclarer[i];
  int t = deal.tricks[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(declarer)];
  return (declarer == kNorth || declarer == kSouth) ? t : 13 - t;
}
}  // namespace

std::array<uint8_t, 26> EncodeBinRecord(const DealRecord& deal) {
  std::array<uint8_t, 26> rec{};
  for (int s = 0; s <= 3; ++s) {
    int r = 0;
    for (int b = 3; b >= 0 && r < 13; --b) {
      uint8_t byte = 0;
      for (int shift = 0; shift < 8 && r < 13; shift += 2, ++r)
        byte |=
            static_cast<uint8_t>((deal.owner[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)] & 3) << shift);
      rec[static_cast<std::size_t>(4 * s + b)] = byte;
    }
  }
  for (int d = -1; d <= 3; ++d) {
    std::size_t at = static_cast<std::size_t>(16 + 2 * (d + 1));
    rec[at] = static_cast<uint8_t>((NorthSouthTricks(deal, d, 0) << 4) | NorthSouthTricks(deal, d, 1));
    rec[at + 1] = static_cast<uint8_t>((NorthSouthTricks(deal, d, 2) << 4) | NorthSouthTricks(deal, d, 3));
  }
  return rec;
}

std::array<uint8_t, 89> EncodeAscRecord(const DealRecord& deal) {
  std::array<uint8_t, 89> rec{};
  rec.fill(' ');
  const NameTables& names = Names();
  for (int p = 0; p <= 3; ++p) {
    std::string field;
    for (int s = 0; s <= 3; ++s) {
      if (s > 0) field += '.';
      for (int r = 0; r <= 12; ++r)
        if (deal.owner[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)] == p) field += names.RankLetter[r];
    }
    // A hand of 13 cards fills the field exactly; a short one is padded with blanks.
    for (std::size_t i = 0; i < field.size() && i < 16; ++i)
      rec[static_cast<std::size_t>(17 * p) + i] = static_cast<uint8_t>(field[i]);
  }
  for (int d = -1; d <= 3; ++d)
    for (int i = 0; i < 4; ++i)
      rec[static_cast<std::size_t>(68 + 4 * (d + 1) + i)] =
          static_cast<uint8_t>(kHexDigits[NorthSouthTricks(deal, d, i) & 15]);
  rec[88] = '\n';
  return rec;
}

std::vector<uint8_t> EncodeRecord(const DealRecord& deal, int32_t kind) {
  if (kind == 0) {
    auto r = EncodeAscRecord(deal);
    return {r.begin(), r.end()};
  }
  auto r = EncodeBinRecord(deal);
  return {r.begin(), r.end()};
}

namespace {
int RankOfLetter(char c) {
  const NameTables& names = Names();
  for (int r = 0; r <= 12; ++r)
    if (names.RankLetter[r][0] == c) return r;
  return -1;
}
}  // namespace

std::optional<DealRecord> RecordFromDeal(const Deal& deal, std::string& error) {
  DealRecord rec;
  for (auto& suit : rec.owner) suit.fill(-1);
  const NameTables& names = Names();
  for (int p = 0; p <= 3; ++p) {
    int cards = 0;
    for (int s = 0; s <= 3; ++s) {
      const HoldingText& h = deal.Holding[p][s];
      for (int i = 0; i < h.size(); ++i) {
        int r = RankOfLetter(h[i]);
        if (r < 0) {
          error = "deal " + NumText(deal.DealNo) + ": '" + std::string(1, h[i]) + "' is not a card";
          return std::nullopt;
        }
        int8_t& owner = rec.owner[static_cast<std::size_t>(s)][static_cast<std::size_t>(r)];
        if (owner >= 0) {
          error = "deal " + NumText(deal.DealNo) + ": " + names.RankLetter[r] + " of " + names.DenomName[s] +
                  " is held twice";
          return std::nullopt;
        }
        owner = static_cast<int8_t>(p);
        ++cards;
      }
    }
    if (cards != 13) {
      error = "deal " + NumText(deal.DealNo) + ":" + names.PlayerName[p] + "holds " + NumText(cards) + " cards";
      return std::nullopt;
    }
  }
  for (int d = -1; d <= 3; ++d)
    for (int p = 0; p <= 3; ++p)
      rec.tricks[static_cast<std::size_t>(d + 1)][static_cast<std::size_t>(p)] = static_cast<int8_t>(deal.Tricks[p][d]);
  return rec;
}

}  // namespace vk
