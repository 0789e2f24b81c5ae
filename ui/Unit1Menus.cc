// Every command of the main window in one table: its menu, group, text,
// shortcut and tip.  The fifteen buttons take their tooltips from here.
// A new feature adds its entry to this table (see MainMenu.h).
//
// The keys follow the rows of buttons: F4 to F7 show the LL(1), SLR, LR(1)
// and LALR tables, Shift with the same key parses the word with that table,
// Ctrl with it lists the automaton's item sets.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "BackgroundJob.h"
#include "ExplainHooks.h"
#include "Export.h"
#include "GrammarDocument.h"
#include "MainMenu.h"
#include "StringGrid.h"
#include "Unit1.h"
#include "Zoom.h"
#include "grammar/examples.h"
#include "transform/transform.h"

namespace {

const char* const kFormatText =
    "One rule per line: X->a|b.  Upper-case letters are non-terminals, every other "
    "character is a terminal, e is the empty string.  Blanks are ignored; lines with "
    "the same left side are joined.\n\n"
    "For the SLR, LR and LALR commands, start the grammar with a rule such as I->A "
    "whose left side appears on no right side.\n\n"
    "Files hold the grammar as typed and the word on a last line \"#word: ...\".";

const char* const kTokenNotationText =
    "A grammar whose symbols are names or tokens rather than single characters.  Its first line is\n"
    "    #notation: tokens\n"
    "(a #word: line may stand before or after it).\n\n"
    "Rules are written Head -> \xCE\xB1 | \xCE\xB2, the symbols separated by white space; a line that begins "
    "with | continues the rule above.  The names that head a rule are the non-terminals; every other "
    "symbol is a terminal.  A name is letters, digits, _ and '; a terminal may also be a run of "
    "punctuation or a quoted string ('+', \"==\").  \xCE\xB5 or an empty alternative is the empty string; "
    "$ is kept for the end of the input.  The word is the tokens separated by blanks.\n\n"
    "Example, with the word  id + num * ( id ):\n"
    "    #notation: tokens\n"
    "    E -> E + T | T\n"
    "    T -> T * F | F\n"
    "    F -> ( E ) | id | num\n\n"
    "When the first rule does not augment the grammar, as E -> E + T | T does not, the analyses put a start "
    "rule E' -> E first, as textbooks do, and number the productions from it.\n\n"
    "File > New Token Grammar starts one.  Every window takes it as it takes a classic grammar: First, "
    "Follow, the item sets, the tables, the evaluations, the parse stepper, the automaton diagrams, the "
    "explanations and practice (the symbols of an answer apart by blanks); the Transform menu rewrites it "
    "in its notation.";

// The worked examples are the program's own results on these grammars.
const char* const kTransformsText =
    "The Transform menu rewrites the grammar step by step; Apply puts the result into the "
    "editor and Ctrl+Z takes it back.  Every result derives the same words (checked up to six "
    "terminals), and its first rule augments the grammar where the input's did (Chomsky normal "
    "form excepted).\n\n"
    "Remove Left Recursion:  E->E+T|T, T->T*F|F, F->(E)|i  becomes\n"
    "    E->TZ, Z->+TZ|e, T->FY, Y->*FY|e, F->(E)|i\n"
    "Left-Factor:  S->iEtS|iEtSlS|a, E->b  becomes  S->iEtSZ|a, Z->e|lS, E->b\n"
    "Toward LL(1):  useless symbols, left recursion, then left factoring; the expression "
    "grammar becomes LL(1) as above, the dangling else keeps a conflict (Z on l).\n"
    "Remove Empty Rules:  S->aSb|e  becomes  Z->S|e, S->aSb|ab\n"
    "Remove Unit Rules:  S->A|a, A->B|b, B->c  becomes  S->a|b|c, A->b|c, B->c\n"
    "Remove Useless Symbols:  S->AB|a, A->a, B->bB, C->c  becomes  S->a\n"
    "Chomsky Normal Form:  S->aSb|ab  becomes  Z->YW|YX, S->YW|YX, Y->a, X->b, W->SX\n\n"
    "New non-terminals take unused letters from Z down.  Practice > Transform the Grammar "
    "(Ctrl+9) asks you to do it yourself and checks your answer.";

}  // namespace

void TForm1::createMenus() {
  menus_ = new MainMenu(this);
  MainMenu& m = *menus_;
  using enum MenuName;
  auto key = [](const char* text) { return QKeySequence(QString::fromLatin1(text)); };

  // ---- File
  m.add({kFile, "file", tr("&New Classic Grammar"), QKeySequence::New,
         tr("Starts an empty grammar in the classic notation: one character a symbol, X->a|b."), [this] { newGrammar(); }});
  m.add({kFile, "file", tr("New &Token Grammar"), key("Ctrl+Shift+N"),
         tr("Starts an empty grammar in the token notation: its first line is #notation: tokens."),
         [this] { newTokenGrammar(); }});
  m.add({kFile, "file", tr("&Open..."), QKeySequence::Open, tr("Reads a grammar file, with its word, into the editor."),
         [this] { openDialog(); }});
  QMenu* recent = m.submenu(kFile, "file", tr("Open &Recent"));
  connect(recent, &QMenu::aboutToShow, this, [this, recent] { fillRecentMenu(recent); });
  fillRecentMenu(recent);
  m.add({kFile, "file", tr("&Save"), QKeySequence::Save, tr("Saves the grammar and the word in their file."),
         [this] { save(); }});
  m.add({kFile, "file", tr("Save &As..."), key("Ctrl+Shift+S"), tr("Saves the grammar and the word in a new file."),
         [this] { saveAsDialog(); }});
  for (int k = 0; k < kExampleCount; ++k)
    m.add({kFile, "examples", QString::fromLatin1(examples()[static_cast<size_t>(k)].name), {},
           tr("Puts this example and its word into the editor; Ctrl+Z brings yours back."),
           [this, k] { pickExample(k); }, tr("E&xamples")});
  m.add({kFile, "export", tr("Export &Table..."), key("Ctrl+E"),
         tr("Saves the grid's table or trace as CSV, Markdown, LaTeX, JSON or text."),
         [this] { exportDialog(gridExport()); }});
  m.add({kFile, "export", tr("Export &Results..."), {}, tr("Saves the results pane's listing in a file."),
         [this] { exportDialog(resultsExport()); }});
  m.add({kFile, "export", tr("Export &Grammar Listing..."), {},
         tr("Saves the productions (or the LR(1) similar states) in a file."), [this] { exportDialog(listingExport()); }});
  QAction* exit = m.add({kFile, "quit", tr("E&xit"), key("Ctrl+Q"), tr("Closes Tablomat; a running command is cancelled."),
                         [this] { BitBtn14Click(); }});

  // ---- Edit: to the focused field, else to the grammar editor
  m.add({kEdit, "undo", tr("&Undo"), QKeySequence::Undo, tr("Takes back the last change of the grammar or the word."),
         [this] { editCommand("undo"); }});
  m.add({kEdit, "undo", tr("&Redo"), QKeySequence::Redo, tr("Makes the change taken back again."),
         [this] { editCommand("redo"); }});
  m.add({kEdit, "clipboard", tr("Cu&t"), QKeySequence::Cut, tr("Moves the selected text to the clipboard."),
         [this] { editCommand("cut"); }});
  m.add({kEdit, "clipboard", tr("&Copy"), QKeySequence::Copy,
         tr("Copies the selected text, or the selected cells of the grid as tab-separated text."),
         [this] { editCommand("copy"); }});
  m.add({kEdit, "clipboard", tr("&Paste"), QKeySequence::Paste, tr("Inserts the clipboard's text."),
         [this] { editCommand("paste"); }});
  m.add({kEdit, "clipboard", tr("Select &All"), QKeySequence::SelectAll, tr("Selects all of the focused field or grid."),
         [this] { editCommand("selectAll"); }});
  struct Copied {
    QString menu;
    std::function<Exportable()> what;
  };
  const Copied copied[] = {
      {tr("Copy Ta&ble As"), [this] { return gridExport(); }},
      {tr("Copy R&esults As"), [this] { return resultsExport(); }},
      {tr("Copy &Grammar Listing As"), [this] { return listingExport(); }},
  };
  for (const Copied& c : copied)
    for (size_t f = 0; f < formatChoices().size(); ++f)
      m.add({kEdit, "copy as", QString::fromLatin1(formatChoices()[f].name),
             // The whole table as CSV, the copy a spreadsheet wants most.
             &c == copied && f == 0 ? key("Ctrl+Shift+C") : QKeySequence(),
             tr("Copies it whole to the clipboard in this format."),
             [this, what = c.what, f] { copyAs(what(), static_cast<int>(f)); }, c.menu});

  // ---- View
  QAction* in = m.add({kView, "zoom", tr("Zoom &In"), QKeySequence::ZoomIn,
                       tr("Larger text in the panes and the grid (also Ctrl+wheel)."), [this] { zoom_->zoomIn(); }});
  m.addKey(in, key("Ctrl+="));
  m.add({kView, "zoom", tr("Zoom &Out"), QKeySequence::ZoomOut, tr("Smaller text in the panes and the grid."),
         [this] { zoom_->zoomOut(); }});
  m.add({kView, "zoom", tr("&Actual Size"), key("Ctrl+0"), tr("The text at its usual size."), [this] { zoom_->reset(); }});
  m.add({kView, "grid", tr("&Fit Columns"), {}, tr("Makes every column of the grid as wide as its longest text."),
         [this] { StringGrid1->fitColumns(); }});
  m.add({kView, "grid", tr("&Default Column Widths"), {}, tr("Gives every column of the grid its usual width again."),
         [this] { StringGrid1->setDefaultColWidth(StringGrid1->defaultColWidth()); }});

  // ---- Analyze: the thirteen analysis buttons
  struct Button {
    const char* group;
    QAbstractButton* button;
    const char* key;
    const char* tip;
    void (TForm1::*click)();
  };
  const Button buttons[] = {
      {"sets", BitBtn2, "F2", "Lists First(X) for every non-terminal in the results pane.", &TForm1::BitBtn2Click},
      {"sets", BitBtn7, "F3", "Lists Follow(X) for every non-terminal in the results pane.", &TForm1::BitBtn7Click},
      {"ll1", BitBtn4, "F4", "Shows the LL(1) table in the grid; conflicts are highlighted.", &TForm1::BitBtn4Click},
      {"ll1", BitBtn8, "Shift+F4", "Parses the word step by step with the LL(1) table.", &TForm1::BitBtn8Click},
      {"slr", BitBtn5, "F5", "Shows the SLR table in the grid; conflicts are highlighted.", &TForm1::BitBtn5Click},
      {"slr", BitBtn6, "Shift+F5", "Parses the word step by step with the SLR table.", &TForm1::BitBtn6Click},
      {"slr", BitBtn3, "Ctrl+F5", "Lists the LR(0) states with their items and arcs.", &TForm1::BitBtn3Click},
      {"lr1", BitBtn9, "F6", "Shows the canonical LR(1) table in the grid.", &TForm1::BitBtn9Click},
      {"lr1", BitBtn10, "Shift+F6", "Parses the word step by step with the LR(1) table.", &TForm1::BitBtn10Click},
      {"lr1", BitBtn11, "Ctrl+F6", "Lists the LR(1) states with items, lookaheads and arcs.", &TForm1::BitBtn11Click},
      {"lalr", BitBtn12, "F7", "Shows the LALR table in the grid.", &TForm1::BitBtn12Click},
      {"lalr", BitBtn13, "Shift+F7", "Parses the word step by step with the LALR table.", &TForm1::BitBtn13Click},
      {"lalr", BitBtn1, "Ctrl+F7", "Lists the LALR states and which LR(1) states were merged.", &TForm1::BitBtn1Click},
  };
  for (const Button& b : buttons) {
    QAction* action = m.add({kAnalyze, b.group, b.button->text(), key(b.key), tr(b.tip), [this, click = b.click] {
                               (this->*click)();
                             }});
    MainMenu::describe(b.button, action);
  }
  m.add({kAnalyze, "run", tr("&Run Last Evaluation"), key("Ctrl+R"),
         tr("Parses the word again with the evaluation used last (Enter in the word field does the same)."),
         [this] { runLastEvaluation(); }});
  QAction* cancel = m.add({kAnalyze, "run", tr("&Cancel Command"), key("Esc"),
                           tr("Stops the running command; the window keeps what it showed."), [this] { runner_->cancel(); }});
  cancel->setEnabled(false);
  connect(runner_, &BackgroundJob::started, cancel, [cancel] { cancel->setEnabled(true); });
  connect(runner_, &BackgroundJob::finished, cancel, [cancel] { cancel->setEnabled(false); });

  // ---- Explanations: the grammar report, and why a table's cells conflict
  m.add({kAnalyze, "explain", tr("Grammar &Report..."), key("Ctrl+G"),
         tr("Nullable, left-recursive, unreachable and non-productive non-terminals, the start rule, the word, "
            "and which tables are free of conflicts."),
         [this] { showGrammarReport(); }});
  // One command per table kind.
  struct PerTable {
    TableKind kind;
    const char* text;
    const char* key;
  };
  const PerTable explained[] = {{TableKind::kLL1, "&LL(1) Table", "F8"},
                                 {TableKind::kSLR, "&SLR Table", "Shift+F8"},
                                 {TableKind::kLR1, "LR(&1) Table", "Ctrl+F8"},
                                 {TableKind::kLALR, "L&ALR Table", "Ctrl+Shift+F8"}};
  for (const PerTable& e : explained)
    m.add({kAnalyze, "explain", tr(e.text), key(e.key),
           tr("Why each conflicting cell of this table holds more than one entry: the items or derivations behind "
              "them, a prefix that leads there, and a counterexample checked before it is shown."),
           [this, kind = e.kind] { explainTable(kind); }, tr("&Explain Conflicts")});

  // ---- Windows of their own: the automaton as a diagram, a parse to step through
  struct Diagram {
    GraphKind kind;
    const char* text;
    const char* key;
  };
  const Diagram diagrams[] = {{GraphKind::kLR0, "LR(&0) Automaton", "F9"},
                              {GraphKind::kLR1, "LR(&1) Automaton", "Shift+F9"},
                              {GraphKind::kLALR, "&LALR Automaton", "Ctrl+F9"}};
  for (const Diagram& d : diagrams)
    m.add({kView, "diagram", tr(d.text), key(d.key),
           tr("Draws the automaton in a window of its own: states, items and arcs as the listing and table number them."),
           [this, kind = d.kind] { openDiagram(kind); }, tr("Automaton &Diagram")});
  const PerTable steppers[] = {{TableKind::kLL1, "&LL(1)", "F11"},
                              {TableKind::kSLR, "&SLR", "Shift+F11"},
                              {TableKind::kLR1, "LR(&1)", "Ctrl+F11"},
                              {TableKind::kLALR, "L&ALR", "Ctrl+Shift+F11"}};
  for (const PerTable& st : steppers)
    m.add({kAnalyze, "step", tr(st.text), key(st.key),
           tr("Steps through the parse of the word with this table: the trace row, its table cell, the state "
              "and the tree, forward and back."),
           [this, kind = st.kind] { openStepper(kind); }, tr("&Step Through a Parse")});

  // ---- Transform: the grammar rewritten, step by step, before it is applied
  struct Rewrite {
    TransformKind kind;
    const char* group;
    const char* text;
    const char* tip;
  };
  const Rewrite rewrites[] = {
      {TransformKind::kLeftRecursion, "ll1", "Remove &Left Recursion...",
       "Rewrites direct and indirect left recursion away, step by step."},
      {TransformKind::kLeftFactor, "ll1", "Left-&Factor...", "Takes out the prefixes that alternatives share."},
      {TransformKind::kLL1, "ll1", "Toward LL(&1)...",
       "Removes useless symbols and left recursion, then left-factors, and says whether the result is LL(1)."},
      {TransformKind::kEpsilon, "clean", "Remove &Empty Rules...", "No rule X->e; the start symbol keeps the empty word."},
      {TransformKind::kUnit, "clean", "Remove &Unit Rules...", "No rule X->Y with Y a non-terminal."},
      {TransformKind::kUseless, "clean", "Remove Useless &Symbols...",
       "Drops the non-terminals that derive no word, then those not reached."},
      {TransformKind::kChomsky, "normal", "&Chomsky Normal Form...", "Every rule X->YZ or X->a."},
  };
  for (const Rewrite& r : rewrites)
    m.add({kTransform, r.group, tr(r.text), {},
           tr(r.tip) + tr(" The steps are shown first; Apply puts the result into the editor, Ctrl+Z takes it back."),
           [this, kind = r.kind] { openTransform(kind); }});

  // ---- Practice: the student answers, the program checks
  struct Practice {
    const char* group;
    const char* text;
    const char* key;
    const char* tip;
  };
  const Practice practice[] = {
      {"sets", "&First Sets...", "Ctrl+1", "Type First(X) for every non-terminal; Check marks each symbol."},
      {"sets", "F&ollow Sets...", "Ctrl+2", "Type Follow(X) for every non-terminal; Check marks each symbol."},
      {"tables", "&LL(1) Table...", "Ctrl+3", "Fill in the LL(1) table; Check marks each cell's entries."},
      {"tables", "&SLR Table...", "Ctrl+4", "Fill in the SLR table; Check marks each cell's actions."},
      {"tables", "LR(&1) Table...", "Ctrl+5", "Fill in the canonical LR(1) table; Check marks each cell's actions."},
      {"tables", "L&ALR Table...", "Ctrl+6", "Fill in the LALR table; Check marks each cell's actions."},
      {"items", "Items of an LR(&0) State...", "Ctrl+7", "Type the items of a state, given how it is reached."},
      {"items", "Items of an LR(1) S&tate...", "Ctrl+8", "Type the items of an LR(1) state with their lookaheads."},
      {"transform", "T&ransform the Grammar...", "Ctrl+9",
       "Rewrite the grammar by a transformation; Check compares its words and tests the goal."},
  };
  int question = 0;
  for (const Practice& p : practice)
    m.add({kPractice, p.group, tr(p.text), key(p.key), tr(p.tip), [this, n = question++] { openPractice(n); }});

  // ---- Help
  m.add({kHelp, "help", tr("&Grammar Format"), {}, tr("How to write a grammar and a grammar file."), [this] {
           QMessageBox::information(this, tr("Grammar Format"), tr(kFormatText));
         }});
  m.add({kHelp, "help", tr("&Transformations"), {}, tr("Each transformation with a worked example."), [this] {
           QMessageBox::information(this, tr("Transformations"), tr(kTransformsText));
         }});
  m.add({kHelp, "help", tr("Token &Notation"), {}, tr("How to write a grammar whose symbols are names and tokens."),
         [this] {
           QMessageBox box(QMessageBox::Information, tr("Token Notation"), tr(kTokenNotationText), QMessageBox::Ok, this);
           box.setObjectName("TokenNotationHelp");
           box.exec();
         }});
  QAction* info = m.add({kHelp, "help", tr("&Info"), key("F1"), tr("Shows the credits."), [this] { BitBtn15Click(); }});

  MainMenu::describe(BitBtn14, exit);
  MainMenu::describe(BitBtn15, info);
  Memo1->setToolTip(tr("The grammar, one rule a line: X->a|b, e for the empty string.\n"
                       "Drop a grammar file here to open it."));
  Edit1->setToolTip(tr("The word to parse; Enter parses it with the evaluation used last (Ctrl+R)."));
  ComboBox1->setToolTip(tr("Puts an example and its word into the editor; Ctrl+Z brings yours back."));
  ListBox3->setToolTip(tr("Click a message to select its line in the grammar."));
  StringGrid1->setToolTip(tr("Ctrl+C copies the selected cells; right-click to copy or export the whole table.\n"
                             "Drag a header edge to widen a column, double-click it to fit."));
}

void TForm1::createContextMenus() {
  auto extend = [this](QAbstractScrollArea* widget, const QList<QMenu*>& copies, std::function<Exportable()> what) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& at) {
      QMenu* menu = nullptr;
      if (auto* pane = qobject_cast<QPlainTextEdit*>(widget)) {
        menu = pane->createStandardContextMenu(at);
      } else {
        menu = new QMenu(widget);
        // Over a conflict cell, what the user most likely wants first.
        if (explainHooks_->offerAt(menu, at)) menu->addSeparator();
        menu->addAction(tr("&Copy"), QKeySequence::Copy, StringGrid1, &StringGrid::copySelection);
        menu->addAction(tr("Select &All"), QKeySequence::SelectAll, StringGrid1, &QAbstractItemView::selectAll);
        menu->addSeparator();
        menu->addAction(tr("&Fit Columns"), StringGrid1, &StringGrid::fitColumns);
      }
      menu->addSeparator();
      for (QMenu* copy : copies) menu->addMenu(copy);
      menu->addAction(tr("&Export..."), this, [this, what] { exportDialog(what()); });
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(qobject_cast<QAbstractScrollArea*>(widget)->viewport()->mapToGlobal(at));
    });
  };
  auto copyMenu = [&](const QString& title) { return menus_->submenu(MenuName::kEdit, "copy as", title); };
  extend(StringGrid1, {copyMenu(tr("Copy Ta&ble As"))}, [this] { return gridExport(); });
  extend(Memo3, {copyMenu(tr("Copy R&esults As"))}, [this] { return resultsExport(); });
  extend(Memo4, {copyMenu(tr("Copy &Grammar Listing As"))}, [this] { return listingExport(); });
}
