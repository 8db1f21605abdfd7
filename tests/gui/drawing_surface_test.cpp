// The drawing surface: user coordinates, shapes, text position and the backing picture.
#include "platform/drawing_surface.h"

#include <gtest/gtest.h>

#include <QImage>

namespace vk {
namespace {

const QColor kBack(230, 230, 230);

// A 200 x 100 pixel surface on which x runs 0..20 (10 pixels a unit) and y -10..0 downwards
// (10 pixels a unit), or y -20..0 (5 pixels a unit) when `squashed`.
struct Surface {
  explicit Surface(bool squashed = false) {
    widget.resize(200, 100);
    widget.SetBackColor(kBack);
    widget.Cls();
    widget.Scale(0, squashed ? -20 : -10, 20, 0);
  }
  QColor At(QPoint p) { return widget.grab().toImage().pixelColor(p); }
  DrawingSurface widget;
};

TEST(DrawingSurface, UserPointsMapToPixelsWithYGrowingDownwards) {
  Surface s;
  EXPECT_EQ(s.widget.ToPixel(0, -10), QPoint(0, 0));
  EXPECT_EQ(s.widget.ToPixel(20, 0), QPoint(200, 100));
  EXPECT_EQ(s.widget.ToPixel(5, -2), QPoint(50, 80));

  s.widget.Line(2, -5, 18, -5, Qt::red);
  const QImage image = s.widget.grab().toImage();
  EXPECT_EQ(image.pixelColor(20, 50), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(180, 50), QColor(Qt::red)) << "the end point belongs to the line";
  EXPECT_EQ(image.pixelColor(100, 49), kBack) << "a one-pixel rule is one pixel high";
  EXPECT_EQ(image.pixelColor(100, 51), kBack);
  EXPECT_DOUBLE_EQ(s.widget.CurrentX, 18);
  EXPECT_DOUBLE_EQ(s.widget.CurrentY, -5);
}

TEST(DrawingSurface, CircleRadiusIsInXUnitsAndRoundOnScreen) {
  Surface s(/*squashed=*/true);  // a y unit is half as many pixels as an x unit
  s.widget.SetFillStyle(FillStyle::Solid);
  s.widget.SetFillColor(Qt::green);
  s.widget.Circle(10, -10, 3, Qt::red);  // radius 30 pixels, centre (100, 50)
  const QImage image = s.widget.grab().toImage();
  EXPECT_EQ(image.pixelColor(100, 50), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(100, 50 + 25), QColor(Qt::green)) << "as tall as it is wide";
  EXPECT_EQ(image.pixelColor(100, 50 - 25), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(100 + 25, 50), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(100 + 35, 50), kBack);
  EXPECT_EQ(image.pixelColor(100, 50 + 35), kBack);
  EXPECT_EQ(image.pixelColor(100 - 30, 50), QColor(Qt::red)) << "outline on the radius";

  s.widget.SetFillStyle(FillStyle::Transparent);
  s.widget.Circle(10, -10, 1, Qt::blue);
  EXPECT_EQ(s.At(QPoint(100, 50)), QColor(Qt::green)) << "a transparent circle leaves its inside";
}

TEST(DrawingSurface, BoxesIncludeBothCornersAndDotsShowForShortLines) {
  Surface s;
  s.widget.Box(1, -9, 3, -7, Qt::blue, true);  // pixels 10..30
  s.widget.Box(5, -9, 7, -7, Qt::red, false);  // pixels 50..70
  s.widget.Line(10, -5, 10, -4.99, Qt::black);
  s.widget.PSet(12, -5, Qt::magenta);
  const QImage image = s.widget.grab().toImage();
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(31, 31), kBack);
  EXPECT_EQ(image.pixelColor(50, 10), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(70, 30), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(60, 10), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(60, 20), kBack) << "an outline box is not filled";
  EXPECT_EQ(image.pixelColor(100, 50), QColor(Qt::black)) << "a line shorter than a pixel leaves a dot";
  EXPECT_EQ(image.pixelColor(120, 50), QColor(Qt::magenta));
}

TEST(DrawingSurface, TextStartsAtTopLeftAndLineEndReturnsToLeftEdge) {
  Surface s;
  s.widget.SetFont(QStringLiteral("Arial"), 12);
  s.widget.SetForeColor(Qt::black);
  s.widget.CurrentX = 4;
  s.widget.CurrentY = -8;
  const double width = s.widget.TextWidth(QStringLiteral("HHH"));
  const double height = s.widget.TextHeight(QStringLiteral("A"));
  ASSERT_GT(width, 1.0);
  ASSERT_GT(height, 1.0);
  s.widget.Print(QStringLiteral("HHH"));
  EXPECT_NEAR(s.widget.CurrentX, 4 + width, 1e-9);
  EXPECT_DOUBLE_EQ(s.widget.CurrentY, -8);
  s.widget.PrintLine(QStringLiteral("H"));
  EXPECT_DOUBLE_EQ(s.widget.CurrentX, 0);
  EXPECT_NEAR(s.widget.CurrentY, -8 + height, 1e-9);

  // All the ink of "HHH" lies right of and below the position it was printed at.
  const QImage image = s.widget.grab().toImage();
  int inkInside = 0, inkOutside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < 90; ++x) {
      if (qGray(image.pixel(x, y)) > 100) continue;
      (x >= 40 && y >= 20 && y < 20 + height * 10) ? ++inkInside : ++inkOutside;
    }
  EXPECT_GT(inkInside, 20);
  EXPECT_EQ(inkOutside, 0);
}

TEST(DrawingSurface, KeepsItsPictureThroughHideMinimiseAndRestore) {
  Surface s;
  s.widget.Box(2, -8, 6, -4, Qt::darkGreen, true);
  s.widget.show();
  s.widget.hide();
  s.widget.showMinimized();
  s.widget.showNormal();
  s.widget.repaint();
  EXPECT_EQ(s.At(QPoint(40, 40)), QColor(Qt::darkGreen));
  EXPECT_EQ(s.widget.Picture().toImage().pixelColor(40, 40), QColor(Qt::darkGreen));

  s.widget.Cls();
  EXPECT_EQ(s.At(QPoint(40, 40)), kBack);
  EXPECT_DOUBLE_EQ(s.widget.CurrentX, 0);
  EXPECT_DOUBLE_EQ(s.widget.CurrentY, -10);
}

}  // namespace
}  // namespace vk
