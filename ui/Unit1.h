// TForm1: the main window.  Its client area is the classic form: the
// grammar editor, the word field, the example selector, the results pane,
// the grammar listing, the result grid with the error list over it, and the
// fifteen command buttons, each where the form places it at the window's
// design size.  Around it: the menu bar with every command (Unit1Menus.cc),
// and the status line with the file, the running command and its Cancel.
// The form grows with the window (ElasticLayout); analyses run on a worker
// thread (BackgroundJob), one at a time; the grammar can be read from and
// saved to files.
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulation/evaluations.h"
#include "commands/registry.h"
#include "core/hstring.h"
#include "grammar/parsing.h"
#include "writers/format.h"
#include "graphs/automaton_graph.h"

class BackgroundJob;
class ElasticLayout;
class ExplainHooks;
class GrammarDocument;
class GrammarHistory;
class GrammarSession;
class MainMenu;
class NumberedPane;
class QAbstractButton;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class StringGrid;
class Zoom;
struct Exportable;
enum class ListingKind;
enum class TableKind;
enum class TransformKind;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // The client area at the window's design size.
  static constexpr QSize kDesignSize{1024, 718};

  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The command pre-step: re-reads a modified editor; true when the grammar
  // is sound and a command may run.
  bool refreshGrammar();
  void readGrammar();
  // The grammar as last read, and the word.
  const GrammarSession& session() const { return *session_; }

  // Runs a listing, table or evaluation of the registry, as its button does.
  void runCommand(const CommandInfo& command);
  // The registry's command of one of the fifteen buttons, none for Exit and
  // Info; and the button of a command, none when it has no button.
  const CommandInfo* commandOf(const QAbstractButton* button) const;
  QAbstractButton* buttonOf(const CommandInfo& command) const;
  // The fifteen buttons of the form.
  std::vector<QAbstractButton*> buttons() const;

  // The classic form: every control below lies on it.
  QWidget* Client;
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

  // Where features add their commands (see MainMenu.h).
  MainMenu* menus() const { return menus_; }
  // Runs the analyses; running while one runs.
  BackgroundJob* runner() const { return runner_; }
  Zoom* zoom() const { return zoom_; }
  GrammarDocument* document() const { return document_; }

  // Opens a grammar file into the editor and the word field, after asking
  // about unsaved changes; false when it was not opened.
  bool openFile(const QString& path);
  // The files named when the program started: the first is opened (one
  // grammar at a time); a name that does not exist yet gives an empty
  // grammar that Save writes there.
  void openFromCommandLine(const QStringList& paths);
  // Saves to `path` and remembers it as the grammar's file.
  bool saveFile(const QString& path);
  // Selects, in the editor, the line that error message `row` points at.
  void showErrorPlace(int row);
  // What the grid and the two panes show, for copying and saving.
  Exportable gridExport() const;
  Exportable resultsExport() const;
  Exportable listingExport() const;

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
  // Windows of their own over the current grammar: the diagram of an
  // automaton, and a parse of the word to step through.
  void openDiagram(GraphKind kind);
  void openStepper(TableKind kind);
  // Opens the practice window on the current grammar, at a question
  // (a PracticeWindow::Question as a number; First sets by default).
  void openPractice(int question = 0);
  // The grammar report of the text in the editor and the word field.
  void showGrammarReport();
  // The grammar rewritten by a transformation, in a window that can apply it.
  void openTransform(TransformKind kind);
  // The explanations of every conflict of a table.
  void explainTable(TableKind kind);

  void newGrammar();
  // An empty grammar in the token notation: its first line declares it.
  void newTokenGrammar();
  void openDialog();
  bool save();
  bool saveAsDialog();
  // Runs the evaluation last asked for (LL1 Evaluation at first) on the word.
  void runLastEvaluation();
  void pickExample(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  // The ways to the explanations: conflict cells, the Warning dialog, the start hint.
  ExplainHooks* explainHooks() const { return explainHooks_; }

 private:
  void createControls();
  // The menu bar: the one table of every command (Unit1Menus.cc).
  void createMenus();
  void createStatusLine();
  void createContextMenus();
  void fillRecentMenu(QMenu* menu);
  void showDocumentState();

  // Runs an analysis command after the pre-step, inside the failure boundary;
  // refused, with a word in the status line, while another runs.
  template <class Command>
  void analysis(Command&& command);
  // A copy of the typed grammar for a worker, when it is in the token notation.
  std::optional<Grammar> tokenGrammar() const;
  // Empties the editor for a new grammar that begins with `text`.
  void startGrammar(const QString& text, const QString& note);
  // The notation the editor's text declares, in the status line.
  void showNotation();
  // Runs `compute` on the worker thread, on a model of its own of the sound
  // grammar, and `show` with its plain result on the window thread.
  template <class Compute, class Show>
  void inBackground(const QString& name, Compute compute, Show show);
  void showListing(const CommandInfo& command);
  void showGridResult(const CommandInfo& command);
  void runButton(const QAbstractButton* button);
  void fillGrid(const Cells& cells);

  // The Warning dialog for a table with conflicts; false when there are none.
  bool warnOfConflicts(int count, TableKind kind);
  void setTitle(const QString& title);
  // Results kept from the grammar before (as the classic form keeps them)
  // are dimmed until a command shows this grammar's; a word for the status
  // line when there were any.
  QString dimFormerResults();
  void dim(QWidget* pane, bool former);
  // Marks the outcome of a trace, or the conflicting cells of a table.
  void markResult(bool trace, const std::vector<CellPlace>& conflicts = {},
                  ParseOutcome outcome = ParseOutcome::kUnfinished);
  // Asks before unsaved changes are set aside; false when the user keeps them.
  bool mayDiscardChanges();
  bool mayDiscardSetAsideWork();
  bool loadFile(const QString& path);
  // A message in the status line for a while; a lasting one stays until the next.
  void say(const QString& message, bool lasting = false);
  // A key that a command of the menu bar has as its shortcut, other than the editing keys.
  bool isMenuShortcut(const QKeyEvent& key) const;
  // The Edit menu's commands go to the focused control, else the editor.
  void editCommand(const char* slot);
  void copyAs(const Exportable& what, int format);
  void exportDialog(const Exportable& what);

  MainMenu* menus_ = nullptr;
  BackgroundJob* runner_ = nullptr;
  ElasticLayout* elastic_ = nullptr;
  Zoom* zoom_ = nullptr;
  GrammarDocument* document_ = nullptr;
  GrammarHistory* history_ = nullptr;
  QLabel* fileLabel_ = nullptr;
  // Memo4, with its margin of production numbers.
  NumberedPane* listingPane_ = nullptr;
  QLabel* zoomLabel_ = nullptr;
  QLabel* notationLabel_ = nullptr;

  // The grammar the commands work on.
  std::unique_ptr<GrammarSession> session_;
  void showGrammarMessages();
  // What the grid and the panes show, as computed.
  Cells gridCells_;
  QString gridName_;
  Lines resultLines_;
  QString resultName_;
  Lines listingLines_;
  QString listingName_;
  const CommandInfo* lastEvaluation_ = &evaluationCommand(TableKind::kLL1);
  // Unsaved work that an example replaced: only Ctrl+Z brings it back, so leaving asks.
  bool setAsideWork_ = false;
  ExplainHooks* explainHooks_ = nullptr;
};
