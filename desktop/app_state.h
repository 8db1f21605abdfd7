#pragma once
// The program-wide state of the desktop program, owned by the main window and shared by every
// window (each window folder may include this one, none includes mainwindow/): the engine's scan
// context plus the language, fonts and the small integers through which the windows talk to
// one another.

#include <QColor>
#include <QString>
#include <QUrl>
#include <array>
#include <cstdint>

#include "deals/range_array.h"
#include "platform/platform.h"
#include "results/success_prob.h"
#include "scan/scan_context.h"

class QWidget;

namespace vk {

struct AppState {
  explicit AppState(Platform& p) : platform(p) {}

  Platform& platform;
  // Engine state: folder, library, cache, Theo, language flag (ctx.language), option set and
  // names (kept equal to the option buttons), tallies, stop flag, table-window state.
  ScanContext ctx;

  QString japaneseFontName;          // empty until start-up finds a Japanese font
  std::array<QString, 2> fontTable;  // "Arial" and the Japanese font; empty before the first language switch
  QColor background;                 // the main window's background colour

  int32_t helpTopic = 0;     // 1..7, the option whose rules the help window shows
  int32_t commentTopic = 0;  // 1 table, 2 success graph, 3 HCP graph
  int32_t graphAbort = 0;    // set by a graph window's Close button
  bool fastDraw = false;     // F1: 0.2 s pause per marker for the rest of the graph
  bool instantDraw = false;  // F11: no pauses for every later graph
  SuccessProbTable SuccessProb{};

  // Row captions of the frequency table window, rows 1..5 ("NT  8 tricks" up to "Suit 11 tricks"),
  // English in both languages; the main window fills them at start-up.
  RangeArray<QString, 1, 5> tableRowCaptions;

  // Where the web pages lie: a folder (a "file:" address) or a web site, ending in "/".
  QUrl siteAddress;
  QWidget* mainWindow = nullptr;

  // The font for text of the language: the font-table entry, or when that entry is empty
  // ("Arial" for English; for Japanese the Japanese font name, else an installed
  // Japanese-capable font) so that no caption renders as boxes.
  QString UiFont(int32_t language) const;
  // The address of one page of the site. A page in a folder gets the file address of its path,
  // whatever "#", "%", blanks or other characters the folder names hold.
  QUrl PageAddress(const QString& page) const;
};

}  // namespace vk
