// The seven option panels of the help windows in English and Japanese: captions, sizes and
// the labels that restate each option's point rules.
#include <array>

#include "help/help_windows.h"

namespace vk {

namespace {

std::array<HelpPanel, 8> EnglishPanels() {
  std::array<HelpPanel, 8> p{};
  p[1] = {"Dummy Points",
          3450,
          3825,
          {
              {"DP4ormore", "With four or more trumps:", 195, 345, 2955, 315},
              {"Add5forVoid", "Add 5 pts for a void,", 300, 705, 2670, 330},
              {"Add3forSingleton", "Add 3 pts for a singleton,", 285, 1095, 3000, 300},
              {"Add1DP", "Add 1 pt for a doubleton.", 270, 1500, 3015, 375},
              {"DP3trumps", "With three trumps:", 180, 2040, 2160, 300},
              {"Add3forVoid", "Add 3 pts for a void,", 285, 2415, 2490, 345},
              {"Add2pts", "Add 2 pts for a singleton,", 285, 2790, 3000, 330},
              {"Add1forDoubleton", "Add 1 pt for a doubleton.", 300, 3150, 2955, 300},
          },
          1950};
  p[2] = {"Length Points",
          4245,
          3150,
          {
              {"LP5cards", "Each five-card suit counts 1 pt,", 285, 375, 3675, 465},
              {"LP6cards", "Each six-card suit counts 2 pts,", 285, 750, 3600, 360},
              {"LP7cards", "Each seven-card suit counts 3 pts.", 180, 1140, 3840, 345},
              {"LPinNT", "   In Notrump contracts, Length points are counted only in the dummy's hand.", 240, 1845,
               3855, 990},
          },
          1650};
  p[3] = {"Downgrade Singleton Honors",
          3375,
          1725,
          {
              {"SingletonKing", "Singleton King  2pts,", 570, 330, 2445, 330},
              {"SingletonQueen", "Singleton Queen  1pt,", 525, 690, 2535, 390},
              {"SingletonJack", "Singleton Jack 0pt.", 630, 1050, 2250, 315},
          }};
  p[4] = {"Dubious Doubleton Honors",
          3225,
          1665,
          {
              {"KQdoubleton", "KQ doubleton  4 pts,", 375, 345, 2580, 360},
              {"KJdoubleton", "KJ doubleton  3 pts,", 375, 720, 2475, 330},
              {"QJdoubleton", "QJ doubleton  2 pts.", 390, 1110, 2565, 345},
          }};
  p[5] = {"Four Aces", 3300, 930, {{"Aces4", "Add 1 pt holding 4 Aces.", 195, 345, 2865, 345}}};
  p[6] = {"Aceless Hand", 3735, 900, {{"Label1", "Deduct 1pt for Aceless hands.", 195, 315, 3435, 390}}};
  p[7] = {"Limit Declarer's HandPattern",
          5100,
          2085,
          {
              {"Label2", " This option requires the Declarer to have ", 105, 360, 4710, 375},
              {"Label3", "a Balanced hand in Notrump contracts,", 375, 840, 4500, 300},
              {"Label4", "an Unbalanced hand in Suit contracts.", 300, 1275, 4560, 360},
          }};
  return p;
}

// The Japanese labels keep the English names and order; their places follow the Japanese
// panel sizes, with room for the two-line labels.
std::array<HelpPanel, 8> JapanesePanels() {
  std::array<HelpPanel, 8> p{};
  p[1] = {"ダミー点",
          3645,
          3720,
          {
              {"DP4ormore", "切り札 4 枚以上のとき:", 195, 345, 3300, 315},
              {"Add5forVoid", "ボイドに 5 点を加える.", 300, 705, 3270, 330},
              {"Add3forSingleton", "シングルトンに 3 点を加える.", 285, 1095, 3285, 300},
              {"Add1DP", "ダブルトンに 1 点を加える.", 270, 1500, 3300, 375},
              {"DP3trumps", "切り札 3 枚のとき:", 180, 2040, 3300, 300},
              {"Add3forVoid", "ボイドに 3 点を加える.", 285, 2415, 3285, 345},
              {"Add2pts", "シングルトンに 2 点を加える.", 285, 2790, 3285, 330},
              {"Add1forDoubleton", "ダブルトンに 1 点を加える.", 300, 3150, 3270, 300},
          },
          1950};
  p[2] = {
      "長さ点 (Length Points)",
      4590,
      3150,
      {
          {"LP5cards", "5 枚のスート毎に 1 点.", 285, 375, 3675, 345},
          {"LP6cards", "6 枚のスート毎に 2 点.", 285, 750, 3600, 360},
          {"LP7cards", "7 枚のスート毎に 3 点.", 285, 1140, 3840, 345},
          {"LPinNT", "   ノートランプ･コントラクトの場合:\nダミーについてだけ 長さ点を数える.", 240, 1740, 4230, 600},
          {"LPinSuit", "スート･コントラクトの場合:\nディクレアラーについてだけ数える.", 240, 2400, 4230, 600},
      },
      1605};
  p[3] = {"絵札のシングルトンを低く見積もる.",
          3915,
          1770,
          {
              {"SingletonKing", "King のシングルトンは 2 点.", 570, 330, 3240, 330},
              {"SingletonQueen", "Queen のシングルトンは 1 点.", 525, 690, 3285, 390},
              {"SingletonJack", "Jack のシングルトンは 0 点.", 630, 1050, 3180, 315},
          }};
  p[4] = {"絵札のダブルトン",
          3720,
          1695,
          {
              {"KQdoubleton", "KQ ダブルトンを 4 点と数える", 375, 345, 3240, 360},
              {"KJdoubleton", "KJ ダブルトンを 3 点と数える", 375, 720, 3240, 330},
              {"QJdoubleton", "QJ ダブルトンを 2 点と数える.", 390, 1110, 3240, 345},
          }};
  p[5] = {"Ace 4 枚", 3300, 1380, {{"Aces4", "Ace 4 枚がひとりの手に.\nあれば，1 点を加える.", 195, 345, 3000, 660}}};
  p[6] = {"Ace なしのハンド", 4545, 990, {{"Label1", "Ace が 1 枚もなければ，1 点差し引く.", 195, 315, 4200, 390}}};
  p[7] = {"ディクレアラーの手の形",
          4380,
          3375,
          {
              {"Label2", "このオプションは，ディクレアラーの手の形を次のように限定します。", 105, 360, 4170, 660},
              {"Label3", "スート･コントラクトでは，", 285, 1140, 3900, 345},
              {"Label4", "アンバランス・ハンドに限定する。", 585, 1530, 3690, 345},
              {"Label5", "ノートランプ･コントラクトでは，バランスハンドとセミ･バランスハンドに限定する。", 285, 2070,
               3990, 990},
          }};
  return p;
}

}  // namespace

const HelpPanel& HelpPanelFor(int language, int topic) {
  static const std::array<HelpPanel, 8> english = EnglishPanels();
  static const std::array<HelpPanel, 8> japanese = JapanesePanels();
  const auto& panels = language == 1 ? japanese : english;
  return panels[static_cast<std::size_t>(topic >= 1 && topic <= 7 ? topic : 1)];
}

}  // namespace vk
