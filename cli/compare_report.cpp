#include "cli/compare_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "results/success_prob.h"

namespace vk::cli {

namespace {

std::string Fixed(double v, int decimals, bool sign = false) {
  if (v != v) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, sign ? "%+.*f" : "%.*f", decimals, v);
  return buf;
}

std::string Range(const Estimate& e, int decimals, bool sign = false) {
  if (!e.HasInterval()) return "-";
  return Fixed(e.low, decimals, sign) + ".." + Fixed(e.high, decimals, sign);
}

std::string Pad(const std::string& s, std::size_t width, bool left = false) {
  if (s.size() >= width) return s;
  return left ? s + std::string(width - s.size(), ' ') : std::string(width - s.size(), ' ') + s;
}

const char* CurveLabel(int curve, int32_t language) {
  const SuccessCurve& c = kSuccessCurves[static_cast<std::size_t>(curve)];
  return language == 0 ? c.english : c.japanese;
}

struct Words {
  const char* title;
  const char* method;
  const char* header;
  const char* reference;
  const char* contract3NT;
  const char* contract4S;
};
constexpr Words kEnglish = {
    "Compare evaluations",
    "skill: Brier skill score of the curve's own success probability at each point count against the overall\n"
    "rate (1 perfect, 0 no better); gain: skill minus (none)'s on the same deals; 50 % / 75 %: points where\n"
    "the monotone fit of the curve reaches them; hands: weighted. 95 % intervals: jackknife over groups of deals.",
    "rank  options      skill  95 % interval      gain   95 % interval     50 % at  95 % interval  75 % at  "
    "95 % interval    hands",
    "reference",
    "3NT",
    "4S",
};
constexpr Words kJapanese = {
    "評価法の比較",
    "スキル: 各点数での曲線自身の成功確率による予測のブライア・スキル・スコア (1 は完全, 0 は全体の成功率と同じ)\n"
    "差: 同じディールでの (none) のスキルとの差; 50 % / 75 %点: 曲線の単調な当てはめがその確率に達する点数\n"
    "ハンド数: 重み付き。95 % 信頼区間: ディールのグループによるジャックナイフ法。",
    "順位  オプション    スキル  95 % 信頼区間       差   95 % 信頼区間     50 %点  95 % 信頼区間  75 %点  "
    "95 % 信頼区間  ハンド数",
    "基準",
    "3NT",
    "4S",
};

std::string RankingText(const CompareReport& r, const std::vector<OptionSetScore>& scores, int curve,
                        const char* contract, const Words& w) {
  std::string out = std::string(contract) + ": " + CurveLabel(curve, r.language) + "\n" + w.header + "\n";
  const std::vector<int> order = RankBySkill(scores, curve);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const OptionSetScore& s = scores[static_cast<std::size_t>(order[i])];
    const bool reference = s.set == 0;
    if (static_cast<int>(i) >= r.top && !reference) continue;
    const CurveScore& c = s.curves[static_cast<std::size_t>(curve)];
    out += Pad(std::to_string(i + 1), 4) + "  " + Pad(s.optionCode, 11, true) + Pad(Fixed(c.skill.value, 4), 7) + "  " +
           Pad(Range(c.skill, 4), 16, true) +
           Pad(reference ? std::string(w.reference) : Fixed(c.skillGain.value, 4, true), 9) + "  " +
           Pad(reference ? "" : Range(c.skillGain, 4, true), 18, true) + Pad(Fixed(c.threshold50.value, 2), 7) + "  " +
           Pad(Range(c.threshold50, 2), 14, true) + Pad(Fixed(c.threshold75.value, 2), 7) + "  " +
           Pad(Range(c.threshold75, 2), 14, true) + Pad(Fixed(c.weight, 0), 8) + "\n";
  }
  return out;
}

std::string Text(const CompareReport& r) {
  const Words& w = r.language == 0 ? kEnglish : kJapanese;
  const Comparison& cmp = *r.comparison;
  std::string out = std::string(w.title) + "   " + r.library + ", " + std::to_string(r.dealCount) + " deals, " +
                    std::to_string(cmp.records) + " cache records (" + (r.cachePass ? "cache pass" : "library pass") +
                    "), " + std::to_string(cmp.scores.size()) + " option sets, " + std::to_string(cmp.groups) +
                    " jackknife groups\n" + w.method + "\n\n";
  out += RankingText(r, cmp.scores, kCurve3NT, w.contract3NT, w) + "\n";
  out += RankingText(r, cmp.scores, kCurve4S, w.contract4S, w);
  return out;
}

std::vector<int> Ranks(const std::vector<OptionSetScore>& scores, int curve) {
  std::vector<int> rank(scores.size());
  const std::vector<int> order = RankBySkill(scores, curve);
  for (std::size_t i = 0; i < order.size(); ++i) rank[static_cast<std::size_t>(order[i])] = static_cast<int>(i + 1);
  return rank;
}

std::string Csv(const CompareReport& r) {
  const auto& scores = r.comparison->scores;
  std::string out =
      "options,curve,class,tricks,rank,hands,skill,skill_low,skill_high,gain,gain_low,gain_high,"
      "points50,points50_low,points50_high,points75,points75_low,points75_high\n";
  auto cell = [](double v) { return v == v ? Fixed(v, 6) : std::string(); };
  for (int k = 0; k < kCurveCount; ++k) {
    const std::vector<int> rank = Ranks(scores, k);
    const SuccessCurve& curve = kSuccessCurves[static_cast<std::size_t>(k)];
    for (const OptionSetScore& s : scores) {
      const CurveScore& c = s.curves[static_cast<std::size_t>(k)];
      out += s.optionCode + "," + CurveLabel(k, r.language) + "," + (curve.cls == -1 ? "notrump" : "suit") + "," +
             std::to_string(curve.tricks) + "," + std::to_string(rank[static_cast<std::size_t>(s.set)]) + "," +
             Fixed(c.weight, 1);
      for (const Estimate* e : {&c.skill, &c.skillGain, &c.threshold50, &c.threshold75})
        out += "," + cell(e->value) + "," + cell(e->low) + "," + cell(e->high);
      out += "\n";
    }
  }
  return out;
}

nlohmann::ordered_json EstimateJson(const Estimate& e) {
  nlohmann::ordered_json j;
  j["value"] = e.HasValue() ? nlohmann::ordered_json(e.value) : nlohmann::ordered_json(nullptr);
  j["low"] = e.HasInterval() ? nlohmann::ordered_json(e.low) : nlohmann::ordered_json(nullptr);
  j["high"] = e.HasInterval() ? nlohmann::ordered_json(e.high) : nlohmann::ordered_json(nullptr);
  return j;
}

std::string Json(const CompareReport& r) {
  const Comparison& cmp = *r.comparison;
  nlohmann::ordered_json j;
  j["library"] = r.library;
  j["dealCount"] = r.dealCount;
  j["pass"] = r.cachePass ? "cache" : "library";
  j["cacheRecords"] = cmp.records;
  j["jackknifeGroups"] = cmp.groups;
  j["interval"] = "95 % delete-a-group jackknife, Student t with groups - 1 degrees of freedom";
  nlohmann::ordered_json ranking;
  for (auto [name, curve] : {std::pair{"3NT", kCurve3NT}, std::pair{"4S", kCurve4S}}) {
    ranking[name] = nlohmann::json::array();
    for (int s : RankBySkill(cmp.scores, curve))
      ranking[name].push_back(cmp.scores[static_cast<std::size_t>(s)].optionCode);
  }
  j["ranking"] = ranking;
  j["optionSets"] = nlohmann::json::array();
  std::vector<std::vector<int>> ranks;
  for (int k = 0; k < kCurveCount; ++k) ranks.push_back(Ranks(cmp.scores, k));
  for (const OptionSetScore& s : cmp.scores) {
    nlohmann::ordered_json js;
    js["optionCode"] = s.optionCode;
    js["curves"] = nlohmann::json::array();
    for (int k = 0; k < kCurveCount; ++k) {
      const CurveScore& c = s.curves[static_cast<std::size_t>(k)];
      const SuccessCurve& curve = kSuccessCurves[static_cast<std::size_t>(k)];
      nlohmann::ordered_json jc;
      jc["label"] = CurveLabel(k, r.language);
      jc["class"] = curve.cls == -1 ? "notrump" : "suit";
      jc["tricks"] = curve.tricks;
      jc["rank"] = ranks[static_cast<std::size_t>(k)][static_cast<std::size_t>(s.set)];
      jc["hands"] = c.weight;
      jc["skill"] = EstimateJson(c.skill);
      jc["gainOnNone"] = EstimateJson(c.skillGain);
      jc["points50"] = EstimateJson(c.threshold50);
      jc["points75"] = EstimateJson(c.threshold75);
      js["curves"].push_back(jc);
    }
    j["optionSets"].push_back(js);
  }
  return j.dump(2) + "\n";
}

}  // namespace

std::string FormatCompareReport(const CompareReport& report, Format format) {
  switch (format) {
    case Format::Csv:
      return Csv(report);
    case Format::Json:
      return Json(report);
    case Format::Text:
      break;
  }
  return Text(report);
}

}  // namespace vk::cli
