#include "platform/drawing_surface.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace vk {

namespace {
// A point is 20 twips: text keeps its size relative to the window layouts on any screen, and
// the same on every paint device.
int PointsToPixels(double points) { return std::max(1, TwipsToPixels(points * 20)); }
}  // namespace

void Canvas::SetTarget(QPaintDevice* device, QPainter* painter, const QSizeF& size) {
  device_ = device;
  painter_ = painter;
  size_ = size;
  if (fontPoints_ == 0) SetFont(font_.family(), 12);
}

void Canvas::Scale(double x1, double y1, double x2, double y2) {
  pixelUnits_ = false;
  x1_ = x1;
  y1_ = y1;
  x2_ = x2 == x1 ? x1 + 1 : x2;
  y2_ = y2 == y1 ? y1 + 1 : y2;
}

double Canvas::PixelsPerUnitX() const { return pixelUnits_ ? 1.0 : PictureSize().width() / (x2_ - x1_); }
double Canvas::PixelsPerUnitY() const { return pixelUnits_ ? 1.0 : PictureSize().height() / (y2_ - y1_); }

QPointF Canvas::ToPixelF(double x, double y) const {
  return {(x - x1_) * PixelsPerUnitX(), (y - y1_) * PixelsPerUnitY()};
}

QPoint Canvas::ToPixel(double x, double y) const {
  const QPointF p = ToPixelF(x, y);
  return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

// Lines and box edges go through pixel centres for odd pen widths and along pixel edges for
// even ones, so that rules come out crisp while slanted lines are smoothed.
QPointF Canvas::Snapped(double x, double y) const {
  const QPoint p = ToPixel(x, y);
  const double shift = drawWidth_ % 2 == 1 ? 0.5 : 0.0;
  return {p.x() + shift, p.y() + shift};
}

void Canvas::SetFont(const QString& family, double pointSize) {
  fontPoints_ = pointSize;
  font_.setFamily(family);
  font_.setPixelSize(PointsToPixels(pointSize));
}

void Canvas::SetFontName(const QString& family) { font_.setFamily(family); }

void Canvas::Paint(const std::function<void(QPainter&)>& draw) {
  if (painter_ != nullptr) {
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing, true);
    draw(*painter_);
    painter_->restore();
  } else if (QPaintDevice* device = Device()) {
    QPainter painter(device);
    painter.setRenderHint(QPainter::Antialiasing, true);
    draw(painter);
  } else {
    return;
  }
  Changed();
}

void Canvas::Cls() {
  const QRectF all(QPointF(0, 0), PictureSize());
  const QColor back = back_;
  Paint([&](QPainter& painter) { painter.fillRect(all, back); });
  CurrentX = x1_;
  CurrentY = y1_;
}

void Canvas::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
  const QPointF a = Snapped(x1, y1);
  const QPointF b = Snapped(x2, y2);
  const int width = drawWidth_;
  Paint([&](QPainter& painter) {
    if (a == b) {
      // A line shorter than a pixel still leaves a dot.
      const QPointF corner(a.x() - width / 2.0, a.y() - width / 2.0);
      painter.fillRect(QRectF(corner, QSizeF(width, width)), colour);
      return;
    }
    // A square cap on a one-pixel rule lights both end pixels; wider lines are the curves,
    // whose segments join smoothly with round caps.
    painter.setPen(QPen(colour, width, Qt::SolidLine, width == 1 ? Qt::SquareCap : Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(a, b);
  });
  CurrentX = x2;
  CurrentY = y2;
}

void Canvas::LineTo(double x, double y, const QColor& colour) { Line(CurrentX, CurrentY, x, y, colour); }

void Canvas::Box(double x1, double y1, double x2, double y2, const QColor& colour, bool filled) {
  const QPoint a = ToPixel(x1, y1);
  const QPoint b = ToPixel(x2, y2);
  // Both corners included (QRect::normalized would move a swapped corner by a pixel).
  const QRect pixels(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                     QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
  const int width = drawWidth_;
  Paint([&](QPainter& painter) {
    if (filled) {
      painter.fillRect(pixels, colour);
      return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));  // an unsmoothed outline covers right and bottom too
  });
  CurrentX = x2;
  CurrentY = y2;
}

void Canvas::Circle(double x, double y, double radius, const QColor& colour) {
  // Centred like the one-pixel rules, on pixel centres.
  const QPointF centre = ToPixelF(x, y) + QPointF(0.5, 0.5);
  const double r = std::abs(radius * PixelsPerUnitX());
  const int width = drawWidth_;
  const QColor fill = fill_;
  const bool filled = fillStyle_ == FillStyle::Solid;
  Paint([&](QPainter& painter) {
    // Not smoothed: a circle drawn again over another in a new colour must replace every
    // pixel of the first, as the graphs' markers do.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, width));
    painter.setBrush(filled ? QBrush(fill) : QBrush(Qt::NoBrush));
    painter.drawEllipse(centre, r, r);
  });
  CurrentX = x;
  CurrentY = y;
}

void Canvas::PSet(double x, double y, const QColor& colour) {
  const QPoint p = ToPixel(x, y);
  const int width = drawWidth_;
  Paint([&](QPainter& painter) {
    const int half = (width - 1) / 2;
    painter.fillRect(QRect(p.x() - half, p.y() - half, width, width), colour);
  });
  CurrentX = x;
  CurrentY = y;
}

void Canvas::Print(const QString& text) {
  if (!text.isEmpty()) {
    const QPoint topLeft = ToPixel(CurrentX, CurrentY);
    const QFont font = font_;
    const QColor colour = fore_;
    Paint([&](QPainter& painter) {
      painter.setFont(font);
      painter.setPen(colour);
      const QFontMetricsF metrics(font, painter.device());
      painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    });
  }
  CurrentX += TextWidth(text);
}

void Canvas::PrintLine(const QString& text) {
  const double height = TextHeight(text.isEmpty() ? QStringLiteral("A") : text);
  Print(text);
  CurrentX = x1_;
  CurrentY += height;
}

double Canvas::TextWidth(const QString& text) const {
  return QFontMetricsF(font_).horizontalAdvance(text) / PixelsPerUnitX();
}

double Canvas::TextHeight(const QString& /*text*/) const { return QFontMetricsF(font_).height() / PixelsPerUnitY(); }

DrawingSurface::DrawingSurface(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetTarget(nullptr, nullptr, QSizeF());
}

void DrawingSurface::FitPixmap() const {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (!pixmap_.isNull() && pixmap_.size() == pixels && pixmap_.devicePixelRatio() == ratio) return;
  QPixmap next(pixels);
  next.setDevicePixelRatio(ratio);
  next.fill(BackColor());
  if (!pixmap_.isNull()) {
    QPainter painter(&next);
    painter.drawPixmap(0, 0, pixmap_);
  }
  pixmap_ = std::move(next);
}

const QPixmap& DrawingSurface::Picture() const {
  FitPixmap();
  return pixmap_;
}

QPaintDevice* DrawingSurface::Device() {
  FitPixmap();
  return &pixmap_;
}

void DrawingSurface::paintEvent(QPaintEvent* event) {
  FitPixmap();
  QPainter painter(this);
  const qreal ratio = pixmap_.devicePixelRatio();
  painter.drawPixmap(QRectF(event->rect()), pixmap_,
                     QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
}

}  // namespace vk
