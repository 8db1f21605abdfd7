#include "cli/report.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string_view>

namespace vk::cli {

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "text") return Format::Text;
  if (name == "csv") return Format::Csv;
  if (name == "json") return Format::Json;
  return std::nullopt;
}

namespace {

std::string Percent(float v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(v));
  return buf;
}

std::string Pad(std::string s, std::size_t width, bool left = false) {
  if (s.size() >= width) return s;
  return left ? s + std::string(width - s.size(), ' ') : std::string(width - s.size(), ' ') + s;
}

const char* CurveLabel(const SuccessCurve& curve, int32_t language) {
  return language == 0 ? curve.english : curve.japanese;
}

// Japanese labels are wider on a terminal than their byte count suggests; pad by characters.
std::size_t DisplayWidth(std::string_view s) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    width += len >= 3 ? 2 : 1;
    i += len;
  }
  return width;
}

std::string PadLabel(const std::string& s, std::size_t width) {
  std::size_t w = DisplayWidth(s);
  return w >= width ? s : s + std::string(width - w, ' ');
}

std::string IntervalEnd(const Estimate& e, bool low) {
  if (!e.HasInterval()) return "-";
  return Percent(static_cast<float>(low ? e.low : e.high));
}

std::string Text(const Report& r) {
  std::string out = "Table" + r.resultBaseName + "   " + r.library + ", " + std::to_string(r.dealCount) + " deals\n";
  out += Pad("Points", 16, true);
  for (int p = 20; p <= 31; ++p) out += Pad(std::to_string(p), 7);
  out += "\n";
  for (std::size_t i = 0; i < kTableRows.size(); ++i) {
    const TableRowSpec& row = kTableRows[i];
    if (i == 3) out += "\n";
    out += Pad(row.caption, 16, true);
    for (int p = 20; p <= 31; ++p) out += Pad(std::to_string(r.counts[row.cls][row.tricks][p]), 7);
    out += "\n";
  }
  out += "\nSuccess probability (%), " + r.optionCode + "\n";
  out += PadLabel(r.language == 0 ? "Points" : "点数", 22);
  for (int p = 20; p <= 40; ++p) out += Pad(std::to_string(p), 6);
  out += "\n";
  for (const SuccessCurve& c : kSuccessCurves) {
    out += PadLabel(CurveLabel(c, r.language), 22);
    for (int p = 20; p <= 40; ++p) out += Pad(Percent(CurveValue(r.prob, c.cls, c.tricks, p)), 6);
    out += "\n";
    if (!r.ci) continue;
    for (bool low : {true, false}) {
      out += PadLabel(low ? "  95 % low" : "  95 % high", 22);
      for (int p = 20; p <= 40; ++p) out += Pad(IntervalEnd(SuccessInterval(r.counts, c.cls, c.tricks, p), low), 6);
      out += "\n";
    }
  }
  return out;
}

const char* ClassName(int32_t cls) { return cls == -1 ? "notrump" : "suit"; }

// A CSV field, quoted when it holds a separator, a quote or a line break.
std::string CsvField(std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string quoted = "\"";
  for (char c : s) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// One table in long form, one value a row: the hand counts of the table window's grid
// ("hands": hands of that class taking exactly that many tricks) and the six success curves
// ("success_percent": the share taking at least that many tricks).
std::string Csv(const Report& r) {
  std::string out = "option_code,measure,class,tricks,points,value\n";
  const std::string code = CsvField(r.optionCode);
  auto row = [&](const char* measure, int32_t cls, int32_t tricks, int points, const std::string& value) {
    out += code + "," + measure + "," + ClassName(cls) + "," + std::to_string(tricks) + "," + std::to_string(points) +
           "," + value + "\n";
  };
  for (const TableRowSpec& spec : kTableRows)
    for (int p = 20; p <= 31; ++p)
      row("hands", spec.cls, spec.tricks, p, std::to_string(r.counts[spec.cls][spec.tricks][p]));
  for (const SuccessCurve& c : kSuccessCurves)
    for (int p = 20; p <= 40; ++p)
      row("success_percent", c.cls, c.tricks, p, Percent(CurveValue(r.prob, c.cls, c.tricks, p)));
  if (r.ci)
    for (bool low : {true, false})
      for (const SuccessCurve& c : kSuccessCurves)
        for (int p = 20; p <= 40; ++p) {
          const Estimate e = SuccessInterval(r.counts, c.cls, c.tricks, p);
          row(low ? "success_percent_low95" : "success_percent_high95", c.cls, c.tricks, p,
              e.HasInterval() ? IntervalEnd(e, low) : std::string());
        }
  return out;
}

// What the scan read and skipped; `show` has no scan and writes null.
nlohmann::ordered_json ScanJson(const ScanReport& scan) {
  nlohmann::ordered_json s;
  s["pass"] = scan.cachePass ? "cache" : "library";
  s["lastDeal"] = scan.lastDeal;
  s["cacheRecordsRead"] = scan.recordsRead;
  s["damagedDeals"] = scan.damagedDeals;
  s["firstDamagedDeal"] = scan.firstDamagedDeal;
  s["damagedRecords"] = scan.damagedRecords;
  s["firstDamagedRecord"] = scan.firstDamagedRecord;
  return s;
}

std::string Json(const Report& r) {
  nlohmann::ordered_json j;
  j["optionCode"] = r.optionCode;
  j["resultBaseName"] = r.resultBaseName;
  j["library"] = r.library;
  j["dealCount"] = r.dealCount;
  nlohmann::ordered_json table;
  table["points"] = nlohmann::json::array();
  for (int p = 20; p <= 31; ++p) table["points"].push_back(p);
  table["rows"] = nlohmann::json::array();
  for (const TableRowSpec& row : kTableRows) {
    nlohmann::ordered_json jr;
    jr["caption"] = row.caption;
    jr["class"] = ClassName(row.cls);
    jr["tricks"] = row.tricks;
    jr["counts"] = nlohmann::json::array();
    for (int p = 20; p <= 31; ++p) jr["counts"].push_back(r.counts[row.cls][row.tricks][p]);
    table["rows"].push_back(jr);
  }
  j["table"] = table;
  j["curves"] = nlohmann::json::array();
  for (const SuccessCurve& c : kSuccessCurves) {
    nlohmann::ordered_json jc;
    jc["label"] = CurveLabel(c, r.language);
    jc["class"] = ClassName(c.cls);
    jc["tricks"] = c.tricks;
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (int p = 20; p <= 40; ++p)
      values[std::to_string(p)] = std::stod(Percent(CurveValue(r.prob, c.cls, c.tricks, p)));
    jc["percent"] = values;
    nlohmann::ordered_json intervals = nlohmann::ordered_json::object();
    for (int p = 20; p <= 40; ++p) {
      const Estimate e = SuccessInterval(r.counts, c.cls, c.tricks, p);
      intervals[std::to_string(p)] =
          e.HasInterval()
              ? nlohmann::ordered_json::array({std::stod(IntervalEnd(e, true)), std::stod(IntervalEnd(e, false))})
              : nlohmann::ordered_json(nullptr);
    }
    jc["interval95"] = intervals;
    j["curves"].push_back(jc);
  }
  j["scan"] = r.scan ? ScanJson(*r.scan) : nlohmann::ordered_json();
  return j.dump(2) + "\n";
}

}  // namespace

Estimate SuccessInterval(const CountTable& counts, int32_t cls, int32_t tricks, int32_t points) {
  double total = 0.0, atLeast = 0.0;
  for (int k = 0; k <= 13; ++k) {
    total += counts[cls][k][points];
    if (k >= tricks) atLeast += counts[cls][k][points];
  }
  Estimate e = WilsonInterval(atLeast, total);
  if (e.HasInterval()) {
    e.value *= 100.0;
    e.low *= 100.0;
    e.high *= 100.0;
  }
  return e;
}

std::string FormatReport(const Report& report, Format format) {
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
