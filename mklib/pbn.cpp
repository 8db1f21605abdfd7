#include "mklib/pbn.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "deals/card_coding.h"

namespace vk::mklib {

namespace {

constexpr std::string_view kRankLetters = "AKQJT98765432";
constexpr std::string_view kSeatLetters = "WNES";  // by player index
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr const char* kLineEnd = "\r\n";

std::string HandText(const DealRecord& deal, int player) {
  std::string hand;
  for (std::size_t s = 0; s < 4; ++s) {
    if (s > 0) hand += '.';
    for (std::size_t r = 0; r < 13; ++r)
      if (deal.owner[s][r] == player) hand += kRankLetters[r];
  }
  return hand;
}

int SeatOfLetter(char c) {
  std::size_t at = kSeatLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int RankOfLetter(char c) {
  std::size_t at = kRankLetters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string SeatName(int player) { return std::string(1, kSeatLetters[static_cast<std::size_t>(player)]); }

}  // namespace

std::string PbnDealValue(const DealRecord& deal, int firstPlayer) {
  // Player indices run clockwise (West, North, East, South), as the hands of a deal value do.
  std::string value = SeatName(firstPlayer) + ":";
  for (int i = 0; i < 4; ++i) {
    if (i > 0) value += ' ';
    value += HandText(deal, (firstPlayer + i) % 4);
  }
  return value;
}

std::string DoubleDummyTricksValue(const DealRecord& deal) {
  std::string value;
  for (int declarer : {kNorth, kSouth, kEast, kWest})
    for (std::size_t d = 0; d < 5; ++d) value += kHexDigits[deal.tricks[d][static_cast<std::size_t>(declarer)] & 15];
  return value;
}

bool ParsePbnDealValue(std::string_view value, DealRecord& deal, std::string& error) {
  auto trim = [](std::string_view& v) {
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.front()))) v.remove_prefix(1);
    while (!v.empty() && std::isspace(static_cast<unsigned char>(v.back()))) v.remove_suffix(1);
  };
  trim(value);
  if (value.size() < 2 || SeatOfLetter(value[0]) < 0 || value[1] != ':') {
    error = "the deal does not start with a seat and a colon (\"N:\", \"E:\", \"S:\" or \"W:\")";
    return false;
  }
  const int firstSeat = SeatOfLetter(value[0]);
  value.remove_prefix(2);

  std::vector<std::string_view> hands;
  while (true) {
    trim(value);
    if (value.empty()) break;
    std::size_t end = value.find_first_of(" \t");
    hands.push_back(value.substr(0, end));
    value.remove_prefix(end == std::string_view::npos ? value.size() : end);
  }
  if (hands.size() != 4) {
    error = "the deal gives " + std::to_string(hands.size()) + " hands, not 4";
    return false;
  }

  std::array<std::array<int8_t, 13>, 4> owner{};
  for (auto& suit : owner) suit.fill(-1);
  int unknown = -1;
  for (int i = 0; i < 4; ++i) {
    const int player = (firstSeat + i) % 4;
    std::string_view hand = hands[static_cast<std::size_t>(i)];
    if (hand == "-") {
      if (unknown >= 0) {
        error = "more than one hand is unknown (\"-\")";
        return false;
      }
      unknown = player;
      continue;
    }
    if (std::count(hand.begin(), hand.end(), '.') != 3) {
      error = "the hand of " + SeatName(player) + " (\"" + std::string(hand) + "\") is not four suits joined by dots";
      return false;
    }
    int suit = 0;
    int cards = 0;
    for (char c : hand) {
      if (c == '.') {
        ++suit;
        continue;
      }
      int rank = RankOfLetter(c);
      if (rank < 0) {
        error = "'" + std::string(1, c) + "' in the hand of " + SeatName(player) + " is not a card" +
                (c == '1' || c == '0' ? " (the ten is written T)" : "");
        return false;
      }
      int8_t& holder = owner[static_cast<std::size_t>(suit)][static_cast<std::size_t>(rank)];
      if (holder >= 0) {
        error = std::string(1, kRankLetters[static_cast<std::size_t>(rank)]) + " of " + Names().DenomName[suit] +
                " is held by both " + SeatName(holder) + " and " + SeatName(player);
        return false;
      }
      holder = static_cast<int8_t>(player);
      ++cards;
    }
    if (cards != 13) {
      error = SeatName(player) + " holds " + std::to_string(cards) + " cards, not 13";
      return false;
    }
  }
  // The cards nobody was given belong to the unknown hand, which then holds exactly 13.
  for (auto& suit : owner)
    for (int8_t& holder : suit)
      if (holder < 0) holder = static_cast<int8_t>(unknown);
  deal.owner = owner;
  return true;
}

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

void SkipBlanks(std::string_view line, std::size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
}

// The tag that starts at line[at] ("["); a tag and its value never span lines.
bool ReadTag(std::string_view line, std::size_t& at, std::string& name, std::string& value, std::string& error) {
  ++at;
  SkipBlanks(line, at);
  name.clear();
  while (at < line.size() && (std::isalnum(static_cast<unsigned char>(line[at])) || line[at] == '_'))
    name += line[at++];
  if (name.empty()) {
    error = "a tag has no name after \"[\"";
    return false;
  }
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != '"') {
    error = "the tag [" + name + "] has no quoted value";
    return false;
  }
  ++at;
  value.clear();
  while (true) {
    if (at >= line.size()) {
      error = "the value of the tag [" + name + "] has no closing quote";
      return false;
    }
    char c = line[at++];
    if (c == '"') break;
    if (c == '\\' && at < line.size() && (line[at] == '"' || line[at] == '\\')) c = line[at++];
    value += c;
  }
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != ']') {
    error = "the tag [" + name + "] is not closed by \"]\"";
    return false;
  }
  ++at;
  return true;
}

}  // namespace

bool PbnDealReader::AddLine(std::string_view line, std::vector<PbnDeal>& deals, std::string& error) {
  ++line_;
  std::size_t at = 0;
  if (commentOpened_ > 0) {
    const std::size_t close = line.find('}');
    if (close == std::string_view::npos) return true;
    at = close + 1;
    commentOpened_ = 0;
  } else if (!line.empty() && line[0] == '%') {  // escape line: directives and remarks
    return true;
  }
  const std::string where = "line " + std::to_string(line_) + ": ";
  std::string name, value;
  while (at < line.size()) {
    const char c = line[at];
    if (c == ';') return true;  // the rest of the line is commentary
    if (c == '{') {
      const std::size_t close = line.find('}', at);
      if (close == std::string_view::npos) {
        commentOpened_ = line_;
        return true;
      }
      at = close + 1;
    } else if (c == '[') {
      if (!ReadTag(line, at, name, value, error)) {
        error = where + error;
        return false;
      }
      if (!SameName(name, "Deal")) continue;
      PbnDeal found;
      found.line = line_;
      if (value == "#") {
        if (!last_) {
          error = where + "[Deal \"#\"] repeats a deal, but no deal comes before it";
          return false;
        }
        found.deal = *last_;
      } else if (std::string what; !ParsePbnDealValue(value, found.deal, what)) {
        error = where + "[Deal \"" + value + "\"]: " + what;
        return false;
      }
      last_ = found.deal;
      deals.push_back(found);
    } else {
      ++at;  // auction, play and other tokens are not needed
    }
  }
  return true;
}

bool PbnDealReader::Finish(std::string& error) const {
  if (commentOpened_ == 0) return true;
  error = "line " + std::to_string(commentOpened_) + ": a comment \"{\" is never closed";
  return false;
}

bool ReadPbnDeals(std::string_view text, std::vector<PbnDeal>& deals, std::string& error) {
  PbnDealReader reader;
  error.clear();
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (!reader.AddLine(text.substr(0, end), deals, error)) return false;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return reader.Finish(error);
}

std::string PbnFileHeader() { return std::string("% PBN 2.1") + kLineEnd + "% EXPORT" + kLineEnd + kLineEnd; }

std::string PbnGame(const DealRecord& deal, int64_t board, std::string_view event) {
  // Board 1 is dealt by North with nobody vulnerable; the cycle repeats every 16 boards.
  static constexpr int kDealer[4] = {kNorth, kEast, kSouth, kWest};
  static constexpr const char* kVulnerable[16] = {"None", "NS",  "EW",   "All", "NS",  "EW",   "All", "None",
                                                  "EW",   "All", "None", "NS",  "All", "None", "NS",  "EW"};
  const auto cycle = static_cast<std::size_t>((board - 1) % 16);
  std::string game;
  auto tag = [&game](std::string_view name, std::string_view value) {
    game += '[';
    game += name;
    game += " \"";
    for (char c : value) {
      if (c == '"' || c == '\\') game += '\\';
      game += c;
    }
    game += "\"]";
    game += kLineEnd;
  };
  tag("Event", event);
  tag("Site", "");
  tag("Date", "");
  tag("Board", std::to_string(board));
  tag("West", "");
  tag("North", "");
  tag("East", "");
  tag("South", "");
  const int dealer = kDealer[cycle % 4];
  tag("Dealer", SeatName(dealer));
  tag("Vulnerable", kVulnerable[cycle]);
  tag("Deal", PbnDealValue(deal, dealer));
  tag("Scoring", "");
  tag("Declarer", "");
  tag("Contract", "");
  tag("Result", "");
  tag("DoubleDummyTricks", DoubleDummyTricksValue(deal));
  game += kLineEnd;
  return game;
}

}  // namespace vk::mklib
