#pragma once
// The HCP frequency graph: bars of how often each combined HCP count of a partnership occurred
// in the library, against the theoretical curve of 26 cards drawn from 52.

#include <QColor>
#include <QString>
#include <cstdint>

#include "scan/tallies.h"
#include "scan/theo.h"

namespace vk {

class Canvas;

struct HcpGraphText {
  int32_t language = 0;  // 0 English, 1 Japanese
  QString japaneseFont;
};

// Clears the surface and draws the whole graph. A table of counts that sums to 0 draws no bars.
void DrawHcpGraph(Canvas& p, const HCPfreqTable& freq, const TheoTable& theo, const HcpGraphText& text);

// The theoretical curve through h = 40..0 with a circle at every count.
void DrawCurve2(Canvas& p, const TheoTable& table, const QColor& colour);

}  // namespace vk
