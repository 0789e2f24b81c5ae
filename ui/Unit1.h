// TForm1: the main window.  The grammar editor, the word field, the example
// selector, the results pane, the grammar listing, the result grid with the
// error list over it, and the fifteen command buttons.
#pragma once

#include <QWidget>

#include "commands/commands.h"
#include "core/hstring.h"
#include "grammar/parsing.h"

class ExplainHooks;
class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class StringGrid;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The command pre-step: re-reads a modified editor; true when the grammar
  // is sound and a command may run.
  bool refreshGrammar();
  void readGrammar();
  void mergeRules();
  void validateGrammar();

  void showFirst();
  void showFollow();
  void showGridResult(HString mode);
  bool checkConflicts(HString name);
  void showLR0Items();
  void showLR1Items();
  void showLalrItems();

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QPlainTextEdit* Memo1;
  QPlainTextEdit* Memo2;
  QPlainTextEdit* Memo3;
  QPlainTextEdit* Memo4;
  QComboBox* ComboBox1;
  QLineEdit* Edit1;
  StringGrid* StringGrid1;
  QListWidget* ListBox3;
  QLabel* Image1;
  QLabel* Image2;
  QLabel* Image3;
  QLabel* Image4;
  QLabel* Image5;
  QLabel* Image6;
  QLabel* Image7;
  QAbstractButton* BitBtn1;
  QAbstractButton* BitBtn2;
  QAbstractButton* BitBtn3;
  QAbstractButton* BitBtn4;
  QAbstractButton* BitBtn5;
  QAbstractButton* BitBtn6;
  QAbstractButton* BitBtn7;
  QAbstractButton* BitBtn8;
  QAbstractButton* BitBtn9;
  QAbstractButton* BitBtn10;
  QAbstractButton* BitBtn11;
  QAbstractButton* BitBtn12;
  QAbstractButton* BitBtn13;
  QAbstractButton* BitBtn14;
  QAbstractButton* BitBtn15;

 public slots:
  void ComboBox1Change();
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  void BitBtn4Click();
  void BitBtn5Click();
  void BitBtn6Click();
  void BitBtn7Click();
  void BitBtn8Click();
  void BitBtn9Click();
  void BitBtn10Click();
  void BitBtn11Click();
  void BitBtn12Click();
  void BitBtn13Click();
  void BitBtn14Click();
  void BitBtn15Click();
  // Opens the practice window on the current grammar, at a question
  // (a PracticeWindow::Question as a number; First sets by default).
  void openPractice(int question = 0);
  // The grammar report of the text in the editor and the word field.
  void showGrammarReport();

 public:
  // The ways to the explanations: conflict cells, the Warning dialog, the start hint.
  ExplainHooks* explainHooks() const { return explainHooks_; }

 private:
  void createControls();
  // Runs an analysis command after the pre-step, inside the failure boundary.
  template <class Command>
  void analysis(Command&& command);
  // The Warning dialog for a table with conflicts; false when there are none.
  bool warnOfConflicts(int count, TableKind kind);
  void setTitle(const char* title);
  // An item listing in the results pane under its title, shown from its top.
  void showListing(const char* title, const Row& lines);
  void markResult(bool trace);

  ExplainHooks* explainHooks_ = nullptr;
};
