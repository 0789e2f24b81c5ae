// The grammar as a file, where work can be lost: a save that fails half-way
// (a full disk, a size limit) must leave the old file whole and the work
// unsaved; opening asks first, takes the file's word or none, and names the
// file in the title; the program started on a file opens it.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QTextCursor>
#include <QWindow>
#include <csignal>
#include <sys/resource.h>

#include "Export.h"
#include "Forms.h"
#include "GrammarDocument.h"
#include "test_support.h"

namespace {

// While it lives, no file of this process may grow past `bytes`: writes past
// it fail with "File too large" as on a full disk, for root as well.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = nullptr;
};

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QString shownTitle(const QWidget& window) { return window.windowHandle()->title(); }

}  // namespace

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { isolateSettings(); }
  void cleanup() { releaseForms(); }

  void aFailedSaveLeavesTheOldFileWholeAndTheWorkUnsaved();
  void aFailedExportLeavesTheOldFileWhole();
  void theTitleNamesTheFileAndMarksChanges();
  void openingAsksFirstAndTakesTheFilesWordOrNone();
  void aLargeFileOpensWithItsWordAndUnchanged();
  void aFileTooLargeForTheEditorIsRefusedUnread();
  void startingOnAFileOpensIt();
  void startingOnANewNameGivesAnEmptyGrammarSavedThere();
};

void DocumentTest::aFailedSaveLeavesTheOldFileWholeAndTheWorkUnsaved() {
  QTemporaryDir folder;
  QString path = folder.filePath("kept.txt");
  const QByteArray old("A->x\n#word: x\n");
  writeBytes(path, old);
  auto form = openMainWindow();
  QVERIFY(form->openFile(path));
  // More than the limit, and more than one buffer of a buffered stream.
  QStringList rules;
  for (int i = 0; i < 2000; ++i) rules << QStringLiteral("A->x%1").arg(i);
  QTextCursor all(form->Memo1->document());
  all.select(QTextCursor::Document);
  all.insertText(rules.join('\n'));
  QVERIFY(form->document()->isModified());
  {
    FileSizeLimit limit(4096);
    ModalAnswerer answerer;
    QVERIFY(!form->save());
    QCOMPARE(answerer.seen.size(), 1);
    QString said = answerer.seen[0].texts.join(' ');
    QVERIFY2(said.contains(path) && said.contains("File too large"), qPrintable(said));
  }
  QCOMPARE(fileBytes(path), old);
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"kept.txt"}));
  QVERIFY(!form->statusBar()->currentMessage().startsWith("Saved"));
  QVERIFY(form->document()->isModified());
  QVERIFY(form->isWindowModified());
  {
    ModalAnswerer answerer(Qt::Key_unknown, answer(QMessageBox::Cancel));
    form->close();
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(answerer.seen[0].texts.contains("The grammar has changes that are not saved."));
  }
  QVERIFY(form->isVisible());
  // With room again, the same save goes through whole.
  QVERIFY(form->save());
  QCOMPARE(fileText(path), rules.join('\n') + "\n#word: x\n");
  QVERIFY(!form->isWindowModified());
}

void DocumentTest::aFailedExportLeavesTheOldFileWhole() {
  QTemporaryDir folder;
  QString path = folder.filePath("table.csv");
  const QByteArray old("old table\n");
  writeBytes(path, old);
  auto form = openMainWindow();
  click(form->BitBtn9);
  QString error;
  {
    FileSizeLimit limit(64);
    QVERIFY(!writeExport(path, form->gridExport(), &error));
  }
  QVERIFY2(error.contains(path) && error.contains("File too large"), qPrintable(error));
  QCOMPARE(fileBytes(path), old);
  QVERIFY(writeExport(path, form->gridExport(), &error));
  QCOMPARE(fileText(path), QString::fromStdString(form->gridExport().render(Format::kCsv)));
}

void DocumentTest::theTitleNamesTheFileAndMarksChanges() {
  QTemporaryDir folder;
  QString path = folder.filePath("parens.txt");
  writeBytes(path, "I->S\nS->(S)|x\n#word: (x)\n");
  auto form = openMainWindow();
  QCOMPARE(shownTitle(*form), QString("Tablomat"));
  QVERIFY(form->openFile(path));
  QCOMPARE(shownTitle(*form), QString("parens.txt - Tablomat"));
  form->Edit1->setText("((x))");
  QCOMPARE(shownTitle(*form), QString("parens.txt* - Tablomat"));
  form->Edit1->setText("(x)");
  QCOMPARE(shownTitle(*form), QString("parens.txt - Tablomat"));
}

void DocumentTest::openingAsksFirstAndTakesTheFilesWordOrNone() {
  QTemporaryDir folder;
  QString path = folder.filePath("noword.txt");
  writeBytes(path, "I->S\nS->a\n");
  auto form = openMainWindow();
  form->Edit1->setText("changed");
  // The question comes first; Cancel there shows no file dialog at all.
  {
    ModalAnswerer answerer(Qt::Key_unknown, answer(QMessageBox::Cancel));
    form->openDialog();
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(answerer.seen[0].texts.contains("The grammar has changes that are not saved."));
  }
  QStringList classes;
  {
    ModalAnswerer answerer(Qt::Key_unknown, [&](QWidget* dialog) {
      classes << dialog->metaObject()->className();
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) box->button(QMessageBox::Discard)->click();
      if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
        files->selectFile(path);
        QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
      }
    });
    form->openDialog();
  }
  QCOMPARE(classes, QStringList({"QMessageBox", "QFileDialog"}));
  QCOMPARE(form->document()->path(), path);
  // The file has no word: the old one is not kept silently.
  QCOMPARE(form->Edit1->text(), QString());
  QVERIFY(form->statusBar()->currentMessage().contains("no #word: line"));
  QVERIFY(!form->document()->isModified());
}

void DocumentTest::aLargeFileOpensWithItsWordAndUnchanged() {
  // Past the size of an undoable replacement: put in place without an edit step.
  QTemporaryDir folder;
  QString path = folder.filePath("large.txt");
  QByteArray text("I->S\n");
  while (text.size() <= 2 << 20) text += "S->aSb|c\n";
  writeBytes(path, text + "#word: aacbb\n");
  auto form = openMainWindow();
  form->Edit1->setText("typed");
  {
    ModalAnswerer discard(Qt::Key_unknown, answer(QMessageBox::Discard));
    QVERIFY(form->openFile(path));
  }
  QCOMPARE(form->Edit1->text(), QString("aacbb"));
  QCOMPARE(form->Memo1->toPlainText().size(), text.size() - 1);
  QVERIFY(!form->document()->isModified());
  QVERIFY(!form->isWindowModified());
  QCOMPARE(linesOf(form->Memo4).mid(0, 3), QStringList({"I->S", "S->aSb", "S->c"}));
  // Nothing to undo in the editor, and no old word brought back with it.
  QVERIFY(!form->Memo1->document()->isUndoAvailable());
  form->Memo1->undo();
  QCOMPARE(form->Edit1->text(), QString("aacbb"));
  QVERIFY(!form->document()->isModified());
}

void DocumentTest::aFileTooLargeForTheEditorIsRefusedUnread() {
  QTemporaryDir folder;
  QString path = folder.filePath("huge.txt");
  writeBytes(path, "I->S\n" + QByteArray(GrammarDocument::kLargestFile, 'a'));
  for (const QString& refused : {path, QString("/dev/zero")}) {
    QString error;
    QVERIFY(!GrammarDocument::read(refused, &error));
    QVERIFY2(error.contains("tablomat-cli"), qPrintable(error));
  }
}

void DocumentTest::startingOnAFileOpensIt() {
  QTemporaryDir folder;
  QString first = folder.filePath("first.txt"), second = folder.filePath("second.txt");
  writeBytes(first, "I->S\nS->(S)|x\n#word: (x)\n");
  writeBytes(second, "A->b\n");
  auto form = openMainWindow();
  form->openFromCommandLine({first, second});
  QCOMPARE(linesOf(form->Memo1), QStringList({"I->S", "S->(S)|x"}));
  QCOMPARE(form->Edit1->text(), QString("(x)"));
  QCOMPARE(linesOf(form->Memo4), QStringList({"I->S", "S->(S)", "S->x"}));
  QCOMPARE(form->document()->path(), first);
  QVERIFY(!form->document()->isModified());
  QVERIFY(form->statusBar()->currentMessage().contains(second + " not opened"));

  // A file that is no grammar: why, and an empty editor that belongs to no file.
  QString binary = folder.filePath("binary");
  writeBytes(binary, QByteArray("A->x\0", 5));
  form = openMainWindow();
  ModalAnswerer answerer;
  form->openFromCommandLine({binary});
  QCOMPARE(answerer.seen.size(), 1);
  QVERIFY(answerer.seen[0].texts.join(' ').contains("not a text file"));
  QCOMPARE(form->Memo1->toPlainText(), QString());
  QCOMPARE(form->document()->path(), QString());
}

void DocumentTest::startingOnANewNameGivesAnEmptyGrammarSavedThere() {
  QTemporaryDir folder;
  QString path = folder.filePath("new.txt");
  auto form = openMainWindow();
  {
    ModalAnswerer answerer;
    form->openFromCommandLine({path});
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(answerer.seen[0].texts.join(' ').contains("does not exist yet"));
  }
  QCOMPARE(form->Memo1->toPlainText(), QString());
  QCOMPARE(form->Edit1->text(), QString());
  QCOMPARE(shownTitle(*form), QString("new.txt - Tablomat"));
  // The start-up example's listing is of no grammar of this file.
  QVERIFY(form->Memo4->property("former").toBool());
  QVERIFY(!QFile::exists(path));
  typeGrammar(*form, {"A->a"});
  QVERIFY(form->save());
  QCOMPARE(fileText(path), QString("A->a\n#word: \n"));
}

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
