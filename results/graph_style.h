#pragma once
// Colours and the font shared by the two kinds of graph.

#include <QColor>
#include <QString>

namespace vk::graph_style {

inline const QColor kBackground(230, 230, 230);
inline const QColor kGrid(160, 160, 255);
inline const QColor kBlue(0, 0, 255);
inline const QColor kMarkerFill(254, 254, 254);
inline const QString kArial = QStringLiteral("Arial");

}  // namespace vk::graph_style
