#include "desktop/app_state.h"

#include <QFontDatabase>

namespace vk {

namespace {

// Families known to hold the Japanese captions, the first installed one wins.
constexpr const char* kJapaneseFallbacks[] = {
    "Noto Sans CJK JP", "Noto Sans JP", "Source Han Sans JP",  "IPAPGothic",          "IPAGothic",
    "TakaoPGothic",     "VL PGothic",   "Droid Sans Japanese", "Droid Sans Fallback",
};

}  // namespace

QString AppState::UiFont(int32_t language) const {
  const int index = language == 0 ? 0 : 1;
  if (!fontTable[index].isEmpty()) return fontTable[index];
  if (index == 0) return QStringLiteral("Arial");
  if (!japaneseFontName.isEmpty()) return japaneseFontName;
  const QStringList installed = platform.InstalledFonts();
  for (const char* name : kJapaneseFallbacks) {
    if (installed.contains(QString::fromUtf8(name))) return QString::fromUtf8(name);
  }
  for (const QString& family : installed) {
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) return family;
  }
  // Nothing Japanese-capable is known: let the toolkit's own fallback find the glyphs.
  return QString();
}

QUrl AppState::PageAddress(const QString& page) const {
  if (siteAddress.isLocalFile()) return QUrl::fromLocalFile(siteAddress.toLocalFile() + page);
  return siteAddress.resolved(QUrl(page));
}

}  // namespace vk
