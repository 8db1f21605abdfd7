#pragma once
// The ranking as a picture: for 3NT and for 4S the best option sets by skill, each with its
// 95 % interval, (none) marked as the reference, in the graphs' colours and font.

#include <QPainter>
#include <QSize>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "compare/compare_stats.h"

namespace vk {

inline constexpr int kChartRows = 15;  // option sets per ranking besides (none)

QSize CompareChartSize();
bool IsChartFileName(const std::filesystem::path& file);
// Draws on `painter` over a picture of CompareChartSize().
void DrawCompareChart(QPainter& painter, const std::vector<OptionSetScore>& scores, int32_t language);
// Writes the chart as PNG or SVG (by the name's ending) under a temporary name renamed into place;
// runs without a display.
bool RenderCompareChart(const std::vector<OptionSetScore>& scores, int32_t language, const std::filesystem::path& out,
                        std::string& error);

}  // namespace vk
