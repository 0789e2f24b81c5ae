#include "GrammarDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>

#include "AtomicFile.h"
#include "core/hstring.h"

namespace {

constexpr const char* kRecentKey = "recentFiles";

QSettings settings() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Tablomat", "tablomat"); }

}  // namespace

GrammarDocument::GrammarDocument(QPlainTextEdit* editor, QLineEdit* word)
    : QObject(editor), editor_(editor), word_(word) {
  auto follow = [this] {
    bool now = isModified();
    if (now == wasModified_) return;
    wasModified_ = now;
    emit changed();
  };
  connect(editor, &QPlainTextEdit::textChanged, this, follow);
  connect(word, &QLineEdit::textChanged, this, follow);
}

bool GrammarDocument::isModified() const { return editor_->toPlainText() != keptText_ || word_->text() != keptWord_; }

void GrammarDocument::markKept(const QString& path) {
  path_ = path;
  keptText_ = editor_->toPlainText();
  keptWord_ = word_->text();
  wasModified_ = false;
  emit changed();
}

std::optional<GrammarFile> GrammarDocument::read(const QString& path, QString* error) {
  QFile file(path);
  if (QFileInfo(path).isDir()) {
    *error = tr("%1 is a folder, not a grammar file.").arg(path);
    return std::nullopt;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    *error = tr("Cannot open %1: %2.").arg(path, file.errorString());
    return std::nullopt;
  }
  // A device reports no size, so the bound is on what is read.
  QByteArray bytes = file.read(kLargestFile + 1);
  if (file.error() != QFileDevice::NoError) {
    *error = tr("Cannot read %1: %2.").arg(path, file.errorString());
    return std::nullopt;
  }
  if (bytes.size() > kLargestFile) {
    *error = tr("%1 is larger than %2 MiB, more than the editor can show at once. tablomat-cli reads it "
                "(tablomat-cli check %1).")
                 .arg(path)
                 .arg(kLargestFile >> 20);
    return std::nullopt;
  }
  if (bytes.contains('\0')) {
    *error = tr("%1 is not a text file (it holds zero bytes); a grammar file is text, one rule a line.").arg(path);
    return std::nullopt;
  }
  GrammarFile read = parseGrammarFile(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  // Bytes that are not UTF-8 are read as Windows-1252, as the window shows them.
  read.text = utf8ForDisplay(read.text);
  if (read.word) read.word = utf8ForDisplay(*read.word);
  return read;
}

bool GrammarDocument::write(const QString& path, QString* error) {
  QByteArray text = editor_->toPlainText().toUtf8(), word = word_->text().toUtf8();
  std::string bytes = grammarFileBytes(std::string_view(text.constData(), static_cast<size_t>(text.size())),
                                       std::string_view(word.constData(), static_cast<size_t>(word.size())));
  if (!saveAtomically(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), error)) return false;
  markKept(path);
  remember(path);
  return true;
}

QStringList GrammarDocument::recentFiles() const { return settings().value(kRecentKey).toStringList(); }

void GrammarDocument::remember(const QString& path) {
  QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = recentFiles();
  files.removeAll(full);
  files.prepend(full);
  setRecent(files.mid(0, kRecentCount));
}

void GrammarDocument::forget(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  setRecent(files);
}

void GrammarDocument::forgetAll() { setRecent({}); }

void GrammarDocument::setRecent(const QStringList& files) {
  QSettings store = settings();
  store.setValue(kRecentKey, files);
  emit changed();
}
