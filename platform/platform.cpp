#include "platform/platform.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <chrono>
#include <cmath>

namespace vk {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;

// Logical dots per inch of the screen the windows open on; 96 before a GUI application exists.
double LogicalDpi() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return kDefaultDpi;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return kDefaultDpi;
  const double dpi = screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

int TwipsToPixels(double twips) {
  // Layout positions round to the nearest pixel, an exact half to the even neighbour.
  return static_cast<int>(std::nearbyint(twips * LogicalDpi() / kTwipsPerInch));
}

double PixelsToTwips(double pixels) { return pixels * kTwipsPerInch / LogicalDpi(); }

QRect TwipsRect(double left, double top, double width, double height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QFont DesignSansSerif(double points) {
  QFont font;
  font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans Condensed")});
  font.setPointSizeF(points);
  return font;
}

QStringList Platform::InstalledFonts() const { return QFontDatabase::families(); }

bool Platform::FontInstalled(const QString& name) const { return InstalledFonts().contains(name, Qt::CaseSensitive); }

QColor Platform::Color3DLight() const { return QGuiApplication::palette().color(QPalette::Active, QPalette::Midlight); }

void Platform::ProcessEvents() { QCoreApplication::processEvents(); }

double Platform::MonotonicSeconds() const {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double>(since).count();
}

void Platform::OpenInBrowser(const QUrl& address) {
  // The desktop's URL handler is started detached; nothing waits for the page.
  QDesktopServices::openUrl(address);
}

QWidget* Platform::FindWindowByCaption(const QString& caption) const {
  // Qt keeps no stacking order of top-level windows, so the active window counts as the
  // topmost one; among the others any match will do, since they share the caption.
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && active->isVisible() && active->windowTitle() == caption) return active;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isWindow() && w->isVisible() && w->windowTitle() == caption) return w;
  }
  return nullptr;
}

void Platform::RestoreAndRaise(QWidget* window) {
  if (window == nullptr) return;
  if (window->isMinimized()) {
    window->showNormal();
  } else {
    window->show();
  }
  window->raise();
  window->activateWindow();
}

}  // namespace vk
