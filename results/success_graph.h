#pragma once
// The success-probability graph: the share of the hands with 20..40 points that take at least
// 9, 10 or 11 tricks in a suit and 8, 9 or 12 in notrump, one curve each, with a marker at
// every point count. The same drawing serves the animated graph window and the pictures made
// without a window.

#include <QColor>
#include <QString>
#include <cstdint>

#include "results/success_prob.h"

namespace vk {

class Canvas;

// Everything the picture says besides the curves.
struct SuccessGraphText {
  int32_t language = 0;  // 0 English, 1 Japanese
  QString japaneseFont;  // font for Japanese text
  bool points = false;   // the axis counts points (a correction is on) rather than HCP
  QString optionCode;    // "(DL)"; "(none)" is not printed
};

// The curves are kSuccessCurves, in drawing order; a graph's curve counter 1..6 picks the
// label of the row.
QColor CurveColour(const SuccessCurve& curve);

// How an animated drawing goes on: both return false when the graph must stop.
class GraphPace {
 public:
  virtual ~GraphPace() = default;
  // Asked before each curve.
  virtual bool NextCurve() = 0;
  // Asked after a marker's first circle, while the marker shows its cyan outline.
  virtual bool MarkerPause() = 0;
};

// A pace without pauses, for pictures made at once.
class NoPause : public GraphPace {
 public:
  bool NextCurve() override { return true; }
  bool MarkerPause() override { return true; }
};

// Clears the surface and sets its coordinates; draws grid, axis titles, frame and scales.
void DrawSuccessFrame(Canvas& p, const SuccessGraphText& text);

// Prints the Japanese text in the Japanese font (then back to "Arial") or the English text in
// the current font; no line end.
void PrintBilingual(Canvas& p, const SuccessGraphText& text, const QString& japanese, const QString& english);

// Draws the next curve: `curveCounter` is this graph's own counter and picks label and label
// height. Returns false when the pace stopped it (the marker on show keeps its cyan outline).
bool DrawCurve(Canvas& p, const SuccessProbTable& table, int cls, int tricks, const QColor& colour, int& curveCounter,
               const SuccessGraphText& text, GraphPace& pace);

// "Finished." below the graph.
void DrawFinished(Canvas& p, const SuccessGraphText& text);

// Frame and the six curves while the pace allows; "Finished." when all six were drawn.
// Returns true when the graph is complete.
bool DrawSuccessGraph(Canvas& p, const SuccessProbTable& table, const SuccessGraphText& text, GraphPace& pace);

// A whole number as a picture prints it: a blank for the sign, the digits, a blank.
QString NumberText(int value);

}  // namespace vk
