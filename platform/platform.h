#pragma once
// The one place that touches the window system and the operating system on behalf of the
// windows: twips, fonts, system colours, event processing, finding windows by caption, the
// clock and the browser. Tests derive from Platform to fake the font list, the clock and the
// browser.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace vk {

// Layouts are designed in twips: 1/1440 inch, 15 twips to a pixel at 96 dpi.
int TwipsToPixels(double twips);
double PixelsToTwips(double pixels);
QRect TwipsRect(double left, double top, double width, double height);

// The sans-serif face the table and graph windows are laid out with ("Microsoft Sans Serif").
// Where it is missing "DejaVu Sans Condensed" (fonts-dejavu-extra) stands in: its "A" has about
// the designed width, where the toolkit's own substitute, "DejaVu Sans", is a sixth wider.
QFont DesignSansSerif(double points);

class Platform {
 public:
  virtual ~Platform() = default;

  // Names of the installed font families.
  virtual QStringList InstalledFonts() const;
  // True when a font of exactly this name (case-sensitive) is installed.
  bool FontInstalled(const QString& name) const;
  // The system colour for the light edge of three-dimensional elements.
  virtual QColor Color3DLight() const;
  // Lets pending window events run from inside a handler.
  virtual void ProcessEvents();
  // Seconds from a clock that never jumps.
  virtual double MonotonicSeconds() const;
  // Shows the page in the default browser and returns at once.
  virtual void OpenInBrowser(const QUrl& address);

  // A visible top-level window of this program whose caption is exactly `caption`, topmost
  // first; nullptr when there is none. Other programs' windows are not searched.
  QWidget* FindWindowByCaption(const QString& caption) const;
  // Un-minimises the window and brings it to the front without keeping it on top.
  static void RestoreAndRaise(QWidget* window);
};

}  // namespace vk
