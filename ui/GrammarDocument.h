// The grammar as a file: which file the editor and the word field hold,
// whether they still hold what was last read, saved or picked (so that
// leaving can ask before anything typed is lost), and the recent files.
// The file format is grammar/grammar_file.h.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "grammar/grammar_file.h"

class QLineEdit;
class QPlainTextEdit;

class GrammarDocument : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRecentCount = 8;
  // The editor takes seconds to lay out a text of millions of lines, during
  // which the window could not answer; larger files are refused with a word
  // on tablomat-cli, which reads them.  Read past this bound, a device such
  // as /dev/zero is refused too.
  static constexpr qint64 kLargestFile = 4 << 20;

  GrammarDocument(QPlainTextEdit* editor, QLineEdit* word);

  // The file the grammar came from or went to; empty for none.
  QString path() const { return path_; }
  // The editor or the word field differs from what was read, saved or picked.
  bool isModified() const;
  // What they hold now counts as kept; `path` is its file, or none.
  void markKept(const QString& path);

  // The contents of a file, or the reason it cannot be read.
  static std::optional<GrammarFile> read(const QString& path, QString* error);
  // Writes the editor and the word to `path`; false with the reason.
  bool write(const QString& path, QString* error);

  // Most recent first; files that vanished stay until opening them fails.
  QStringList recentFiles() const;
  void remember(const QString& path);
  void forget(const QString& path);
  void forgetAll();

 signals:
  // The file, the modified state or the recent files changed.
  void changed();

 private:
  void setRecent(const QStringList& files);

  QPlainTextEdit* editor_;
  QLineEdit* word_;
  QString path_;
  QString keptText_, keptWord_;
  bool wasModified_ = false;
};
