// What the window tests share: answering modal dialogs from the test and
// opening the main window past its splash.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QAbstractItemView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BackgroundJob.h"
#include "StringGrid.h"
#include "Unit1.h"
#include "grammar/examples.h"

// One modal dialog as the test saw it.
struct SeenDialog {
  QPointer<QWidget> widget;
  QString className;
  QString title;
  QStringList texts;      // the non-empty label texts, in child order
  bool mainWindowShown;   // whether a main window was visible meanwhile
};

// While it lives, answers every modal dialog that opens: records it, lets
// `inspect` look at it, then presses its Ok button, or `key` when given.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(Qt::Key key = Qt::Key_unknown, std::function<void(QWidget*)> inspect = {})
      : key_(key), inspect_(std::move(inspect)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  QList<SeenDialog> seen;

 private:
  void poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible() || dialog->property("answered").toBool()) return;
    dialog->setProperty("answered", true);
    SeenDialog record{dialog, dialog->metaObject()->className(), dialog->windowTitle(), {}, false};
    for (QLabel* label : dialog->findChildren<QLabel*>())
      if (!label->text().isEmpty()) record.texts.append(label->text());
    for (QWidget* top : QApplication::topLevelWidgets())
      if (qobject_cast<TForm1*>(top) != nullptr && top->isVisible()) record.mainWindowShown = true;
    seen.append(record);
    if (inspect_) inspect_(dialog);
    if (key_ != Qt::Key_unknown) {
      QTest::keyClick(dialog, key_);
      return;
    }
    QAbstractButton* ok = nullptr;
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) ok = box->button(QMessageBox::Ok);
    if (ok == nullptr) ok = dialog->findChild<QAbstractButton*>("BitBtn1");
    if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
  }

  Qt::Key key_;
  std::function<void(QWidget*)> inspect_;
  QTimer timer_;
};

// The main window after its splash was answered, shown.
inline std::unique_ptr<TForm1> openMainWindow(QList<SeenDialog>* splash = nullptr) {
  ModalAnswerer answerer;
  auto form = std::make_unique<TForm1>();
  if (splash != nullptr) *splash = answerer.seen;
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) qWarning("the main window was not activated");
  return form;
}

// The recent files and other settings of the tests go to a folder of their
// own, not to the user's.
inline void isolateSettings() {
  static QTemporaryDir folder;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

// Runs the event loop as the program does, with `action` as its first
// event; the exit status, or 99 when the loop did not end by itself.
inline int runLoop(const std::function<void()>& action) {
  QTimer::singleShot(0, action);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  watchdog.start(5000);
  return QApplication::exec();
}

// Waits until the window's command has delivered its result.
inline void waitForRunner(QWidget* within) {
  if (auto* form = qobject_cast<TForm1*>(within->window())) QTRY_VERIFY_WITH_TIMEOUT(!form->runner()->running(), 60000);
}

// Clicks as a user does, then waits for the command to show its result.
inline void click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
  waitForRunner(button);
}

// Picks an example in the selector's list as a user does: open, move, Enter.
inline void pickExample(TForm1& form, int index) {
  QComboBox* combo = form.ComboBox1;
  combo->showPopup();
  QAbstractItemView* list = combo->view();
  list->setCurrentIndex(combo->model()->index(index, 0));
  QTest::keyClick(list, Qt::Key_Return);
}

// Types a text key by key; characters beyond ASCII come as key events that
// carry their text, as an input method delivers them.
inline void typeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128)
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// Replaces the editor's text by typing the lines.
inline void typeGrammar(TForm1& form, const QStringList& lines) {
  QPlainTextEdit* editor = form.Memo1;
  editor->setFocus();
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Delete);
  for (int i = 0; i < lines.size(); ++i) {
    if (i > 0) QTest::keyClick(editor, Qt::Key_Return);
    typeText(editor, lines[i]);
  }
}

inline QStringList linesOf(const QPlainTextEdit* pane) {
  QString text = pane->toPlainText();
  return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// Everything the grid shows: counts, column width, texts and marks.
struct GridSnapshot {
  int rows = 0, cols = 0, width = 0;
  QList<QStringList> cells;
  QList<QList<int>> marks;
  bool operator==(const GridSnapshot&) const = default;
};

inline GridSnapshot snapshot(const StringGrid* grid) {
  GridSnapshot s;
  s.rows = grid->rowCount();
  s.cols = grid->colCount();
  s.width = grid->defaultColWidth();
  for (int row = 0; row < s.rows; ++row) {
    QStringList texts;
    QList<int> marks;
    for (int col = 0; col < s.cols; ++col) {
      texts.append(grid->cells(col, row));
      marks.append(static_cast<int>(grid->mark(col, row)));
    }
    s.cells.append(texts);
    s.marks.append(marks);
  }
  return s;
}

// The rule lines of example `number` (from 1), as the views take them.
inline std::vector<std::string> exampleRuleLines(int number) {
  std::vector<std::string> lines;
  const Example& example = examples()[static_cast<size_t>(number - 1)];
  for (int i = 0; example.lines[i] != nullptr; ++i) lines.emplace_back(example.lines[i]);
  return lines;
}

// Answers the question about unsaved changes with `button`.
inline std::function<void(QWidget*)> answer(QMessageBox::StandardButton button) {
  return [button](QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog); box != nullptr && box->button(button) != nullptr)
      box->button(button)->click();
  };
}

inline QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString fileText(const QString& path) { return QString::fromUtf8(fileBytes(path)); }

// Saves a picture of the window as PNG and says so on standard error.
inline bool savePicture(QWidget* widget, const char* path) {
  bool ok = widget->grab().save(QString::fromLocal8Bit(path), "PNG");
  std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", path);
  return ok;
}
