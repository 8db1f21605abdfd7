#pragma once
// Drawing in a user coordinate system, picture-box style: the graphs say where things go in
// their own units (points across, percentages down) and the surface maps them to pixels.
//
// `Canvas` holds the drawing state (scale, colours, pen width, fill, font, current position)
// and draws on any paint device: the drawing surface's backing pixmap, an image, an SVG
// generator. `DrawingSurface` is the widget: everything drawn goes into its backing pixmap,
// and painting the widget only copies that pixmap, so a covered, minimised and restored window
// still shows what was drawn once.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>

class QPaintDevice;
class QPainter;

namespace vk {

enum class FillStyle { Solid, Transparent };

class Canvas {
 public:
  Canvas() = default;
  virtual ~Canvas() = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // (x1, y1) is the top-left corner and (x2, y2) the bottom-right corner of the picture; y
  // grows downwards when y2 > y1. Until the first call the units are pixels.
  void Scale(double x1, double y1, double x2, double y2);
  double ScaleLeft() const { return x1_; }
  double ScaleTop() const { return y1_; }
  double ScaleWidth() const { return pixelUnits_ ? PictureSize().width() : x2_ - x1_; }
  double ScaleHeight() const { return pixelUnits_ ? PictureSize().height() : y2_ - y1_; }
  // Size of the picture in device-independent pixels.
  virtual QSizeF PictureSize() const { return size_; }

  // Where a user point falls, in device-independent pixels from the top-left corner.
  QPointF ToPixelF(double x, double y) const;
  // The pixel that a one-pixel line through the point lights.
  QPoint ToPixel(double x, double y) const;
  // Pixels per user unit across; circle radii are measured with it.
  double PixelsPerUnitX() const;
  double PixelsPerUnitY() const;

  QColor BackColor() const { return back_; }
  void SetBackColor(const QColor& c) { back_ = c; }
  // Colour of text and the default colour of lines.
  QColor ForeColor() const { return fore_; }
  void SetForeColor(const QColor& c) { fore_ = c; }
  QColor FillColor() const { return fill_; }
  void SetFillColor(const QColor& c) { fill_ = c; }
  FillStyle GetFillStyle() const { return fillStyle_; }
  void SetFillStyle(FillStyle s) { fillStyle_ = s; }
  // Line width in pixels.
  int DrawWidth() const { return drawWidth_; }
  void SetDrawWidth(int pixels) { drawWidth_ = pixels < 1 ? 1 : pixels; }

  QFont Font() const { return font_; }
  // Sizes are in points, turned into pixels the way the window layouts turn twips into pixels,
  // so the picture is the same on any paint device.
  void SetFont(const QString& family, double pointSize);
  void SetFontName(const QString& family);
  double FontSize() const { return fontPoints_; }

  double CurrentX = 0;
  double CurrentY = 0;

  // Fills the picture with the background colour; the position goes to the top-left corner.
  void Cls();
  // Draws a line and moves the position to its end.
  void Line(double x1, double y1, double x2, double y2, const QColor& colour);
  void Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, fore_); }
  // Draws a line from the current position.
  void LineTo(double x, double y, const QColor& colour);
  // A box with corners (x1, y1) and (x2, y2), both included: filled with `colour`, or its
  // outline in `colour`.
  void Box(double x1, double y1, double x2, double y2, const QColor& colour, bool filled);
  // A circle whose radius is in x units, round on screen; outlined in `colour` and filled
  // with the fill colour unless the fill style is transparent.
  void Circle(double x, double y, double radius, const QColor& colour);
  // One point of the pen width; it becomes the current position.
  void PSet(double x, double y, const QColor& colour);

  // Text with its top-left corner at the current position, in the fore colour; the position
  // moves to the end of the text.
  void Print(const QString& text);
  // Text, then a line end: the position goes to the left edge one text line lower.
  void PrintLine(const QString& text = {});
  double TextWidth(const QString& text) const;
  double TextHeight(const QString& text) const;

 protected:
  // Draws on `device` (a painter is opened for every call) or with `painter` (kept open by its
  // owner; an SVG generator needs one painter for the whole picture).
  void SetTarget(QPaintDevice* device, QPainter* painter, const QSizeF& size);
  // The device to draw on now.
  virtual QPaintDevice* Device() { return device_; }
  // Called after every drawing call.
  virtual void Changed() {}

 private:
  void Paint(const std::function<void(QPainter&)>& draw);
  QPointF Snapped(double x, double y) const;

  QPaintDevice* device_ = nullptr;
  QPainter* painter_ = nullptr;
  QSizeF size_;
  double x1_ = 0, y1_ = 0, x2_ = 1, y2_ = 1;  // until Scale, the units are pixels
  bool pixelUnits_ = true;
  QColor back_ = Qt::white;
  QColor fore_ = Qt::black;
  QColor fill_ = Qt::black;
  FillStyle fillStyle_ = FillStyle::Transparent;
  int drawWidth_ = 1;
  QFont font_;
  double fontPoints_ = 0;
};

// Draws through a painter that the caller keeps open, for pictures made without a window.
class PainterCanvas : public Canvas {
 public:
  PainterCanvas(QPainter& painter, const QSizeF& size) { SetTarget(nullptr, &painter, size); }
};

class DrawingSurface : public QWidget, public Canvas {
 public:
  explicit DrawingSurface(QWidget* parent = nullptr);
  // Everything drawn so far.
  const QPixmap& Picture() const;
  QSizeF PictureSize() const override { return QSizeF(size()); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  QPaintDevice* Device() override;
  void Changed() override { update(); }

 private:
  // The backing pixmap follows the widget's size (a hidden widget gets no resize events),
  // keeping what was drawn.
  void FitPixmap() const;
  mutable QPixmap pixmap_;
};

}  // namespace vk
