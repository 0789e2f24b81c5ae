// Copying and saving what the window shows in the library's formats
// (writers/format.h): a table or trace of the grid, a listing of a pane.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "writers/format.h"

class QWidget;

// A format as the menus offer it.
struct FormatChoice {
  Format format;
  const char* name;    // "CSV"
  const char* suffix;  // "csv"
};
const std::vector<FormatChoice>& formatChoices();

// What can be exported: its name for titles and file names, and its text
// in a format (empty when there is nothing yet).
struct Exportable {
  QString name;  // "LR Table", "Results", ...
  std::function<std::string(Format)> render;
};
Exportable tableExport(const QString& name, const Cells& cells);
Exportable listingExport(const QString& name, const Lines& lines);

// Puts the text of `what` in `format` on the clipboard; false when empty.
bool copyAs(const Exportable& what, Format format);
// Asks for a file (the format follows its suffix, else the chosen filter)
// and writes `what` there: the path written, or empty, with the reason in
// `error` when writing failed (none when the user cancelled).
QString saveAs(QWidget* parent, const Exportable& what, const QString& folder, QString* error);
// Writes `what` in the format its suffix names (text for others); false with the reason.
bool writeExport(const QString& path, const Exportable& what, QString* error);
