#include "Export.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "AtomicFile.h"

const std::vector<FormatChoice>& formatChoices() {
  static const std::vector<FormatChoice> choices = {
      {Format::kCsv, "CSV", "csv"},       {Format::kMarkdown, "Markdown", "md"}, {Format::kLatex, "LaTeX", "tex"},
      {Format::kJson, "JSON", "json"},   {Format::kText, "Text", "txt"},
  };
  return choices;
}

Exportable tableExport(const QString& name, const Cells& cells) {
  return {name, [cells](Format format) { return cells.empty() ? std::string() : renderTable(cells, format); }};
}

Exportable listingExport(const QString& name, const Lines& lines) {
  return {name, [lines](Format format) { return lines.empty() ? std::string() : renderListing(lines, format); }};
}

bool copyAs(const Exportable& what, Format format) {
  std::string text = what.render(format);
  if (text.empty()) return false;
  QApplication::clipboard()->setText(QString::fromStdString(text));
  return true;
}

namespace {

const FormatChoice& choiceFor(const QString& path) {
  QString suffix = QFileInfo(path).suffix().toLower();
  for (const FormatChoice& choice : formatChoices())
    if (suffix == QLatin1String(choice.suffix)) return choice;
  return formatChoices().back();
}

}  // namespace

bool writeExport(const QString& path, const Exportable& what, QString* error) {
  std::string text = what.render(choiceFor(path).format);
  return saveAtomically(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())), error);
}

QString saveAs(QWidget* parent, const Exportable& what, const QString& folder, QString* error) {
  QStringList filters;
  for (const FormatChoice& choice : formatChoices())
    filters << QStringLiteral("%1 (*.%2)").arg(QLatin1String(choice.name), QLatin1String(choice.suffix));
  QString base = what.name.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
  QString filter = filters.front();
  QString path = QFileDialog::getSaveFileName(parent, QObject::tr("Export %1").arg(what.name),
                                              QDir(folder).filePath(base + QStringLiteral(".csv")),
                                              filters.join(QStringLiteral(";;")), &filter);
  if (path.isEmpty()) return {};
  // A name without a known suffix gets the one of the chosen filter.
  if (&choiceFor(path) == &formatChoices().back() && !path.endsWith(QStringLiteral(".txt"))) {
    int at = static_cast<int>(filters.indexOf(filter));
    if (at >= 0) path += QLatin1Char('.') + QLatin1String(formatChoices()[static_cast<size_t>(at)].suffix);
  }
  return writeExport(path, what, error) ? path : QString();
}
