#pragma once
// Colours and the font shared by the two kinds of graph.

#include <QColor>
#include <QString>

#include "platform/drawing_surface.h"

namespace vk::graph_style {

inline const QColor kBackground(230, 230, 230);
inline const QColor kGrid(160, 160, 255);
inline const QColor kBlue(0, 0, 255);
inline const QColor kMarkerFill(254, 254, 254);
inline const QString kArial = QStringLiteral("Arial");

// Clears the surface to the graphs' background with their font and pen, in the user coordinates
// given by the left, top, right and bottom edges.
inline void PrepareSurface(Canvas& p, double left, double top, double right, double bottom) {
  p.SetBackColor(kBackground);
  p.SetFont(kArial, 12);
  p.SetForeColor(Qt::black);
  p.SetDrawWidth(1);
  p.SetFillStyle(FillStyle::Transparent);
  p.Cls();
  p.Scale(left, top, right, bottom);
}

}  // namespace vk::graph_style
