// The drawing surface: user coordinates, shapes, text position and the backing picture.
#include "platform/drawing_surface.h"

#include <gtest/gtest.h>

#include <QImage>

namespace vk {
namespace {

const QColor kBack(230, 230, 230);

// A 200 x 100 pixel surface on which x runs 0..20 and y -10..0 downwards, 10 pixels a unit.
struct Surface {
  Surface() {
    widget.resize(200, 100);
    widget.SetBackColor(kBack);
    widget.Cls();
    widget.Scale(0, -10, 20, 0);
  }
  DrawingSurface widget;
};

TEST(DrawingSurface, ShapesIncludeTheirEndsWithYGrowingDownwardsAndSurviveMinimising) {
  Surface s;
  s.widget.Line(2, -5, 18, -5, Qt::red);
  EXPECT_DOUBLE_EQ(s.widget.CurrentX, 18);
  s.widget.Box(1, -9, 3, -7, Qt::blue, true);  // pixels 10..30
  s.widget.Box(5, -9, 7, -7, Qt::red, false);  // pixels 50..70
  s.widget.Line(10, -3, 10, -2.99, Qt::black);
  s.widget.show();
  s.widget.showMinimized();
  s.widget.showNormal();
  const QImage image = s.widget.grab().toImage();
  EXPECT_EQ(image.pixelColor(180, 50), QColor(Qt::red)) << "the end point belongs to the line";
  EXPECT_EQ(image.pixelColor(100, 49), kBack) << "a one-pixel rule is one pixel high";
  EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(31, 31), kBack);
  EXPECT_EQ(image.pixelColor(70, 30), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(60, 20), kBack) << "an outline box is not filled";
  EXPECT_EQ(image.pixelColor(100, 70), QColor(Qt::black)) << "a line shorter than a pixel leaves a dot";
  s.widget.Cls();
  EXPECT_EQ(s.widget.grab().toImage().pixelColor(30, 30), kBack);
  EXPECT_DOUBLE_EQ(s.widget.CurrentY, -10);
}

TEST(DrawingSurface, TextStartsAtTopLeftAndLineEndReturnsToLeftEdge) {
  Surface s;
  s.widget.SetFont("Arial", 12);
  s.widget.SetForeColor(Qt::black);
  s.widget.CurrentX = 4;
  s.widget.CurrentY = -8;
  const double width = s.widget.TextWidth("HHH"), height = s.widget.TextHeight("A");
  s.widget.Print("HHH");
  EXPECT_NEAR(s.widget.CurrentX, 4 + width, 1e-9);
  s.widget.PrintLine("H");
  EXPECT_DOUBLE_EQ(s.widget.CurrentX, 0);
  EXPECT_NEAR(s.widget.CurrentY, -8 + height, 1e-9);
  // All the ink of "HHH" lies right of and below the position it was printed at.
  const QImage image = s.widget.grab().toImage();
  int inkInside = 0, inkOutside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < 90; ++x)
      if (qGray(image.pixel(x, y)) <= 100) (x >= 40 && y >= 20 && y < 20 + height * 10) ? ++inkInside : ++inkOutside;
  EXPECT_GT(inkInside, 20);
  EXPECT_EQ(inkOutside, 0);
}

}  // namespace
}  // namespace vk
