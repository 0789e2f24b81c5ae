// The practice window: the student answers a question on the grammar of
// the main window (First or Follow sets, a parse table in an empty grid
// with its headers given, or the items of one state of the LR(0) or LR(1)
// collection) and asks for a check.  Each element is marked right, wrong
// or missing, a wrong or missing one with a sentence on why; "Reveal one"
// and "Reveal all" put elements right; the score counts what was revealed
// apart.  What the student typed is kept per question, table cell and
// state, so it survives a check, a change of question and a change of the
// grammar (a cell the new grammar's table has no place for comes back when
// the place does).  The transform question asks for the grammar rewritten
// by a transformation; Check grades it as a whole (its words, its goal, its
// augmenting first rule) and Reveal puts the program's own rewrite in place.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "exercises/grading.h"
#include "grammar/parsing.h"
#include "transform/transform.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;
class QTreeWidget;

class PracticeWindow : public QWidget {
  Q_OBJECT

 public:
  // The rule lines of the main window's grammar after its reading, or none
  // when the grammar has errors.  A grammar in the token notation comes as
  // its text's lines, the notation line ("#notation: tokens") first.
  using GrammarSource = std::function<std::optional<std::vector<std::string>>()>;

  enum class Question { kFirst, kFollow, kLL1, kSLR, kLR1, kLALR, kLR0Items, kLR1Items, kTransform };

  explicit PracticeWindow(GrammarSource source, QWidget* parent = nullptr);
  ~PracticeWindow() override;

  // The practice window of `owner`, made at the first call, shown and
  // raised, with the grammar taken anew and `question` chosen.
  static PracticeWindow* open(QWidget* owner, GrammarSource source, Question question = Question::kFirst);

  // Takes the grammar from the source; false (and the last grammar kept)
  // when it has errors.
  bool takeGrammar();
  void showQuestion(Question question);
  Question question() const;
  // The state whose items are asked (item questions).
  void selectState(int state);
  // The marks of the last check.
  const Grading& grading() const { return grading_; }
  // The transformation asked for (the transform question).
  void selectTransform(TransformKind kind);

  QComboBox* questionBox;
  QComboBox* stateBox;
  QPlainTextEdit* grammarPane;
  QLabel* notice;  // what the window has to say about the grammar
  QPlainTextEdit* setsEditor;
  QTableWidget* grid;
  QPlainTextEdit* itemsEditor;
  QAbstractButton* itemSetsToggle;  // shows the item sets beside an LR table
  QPlainTextEdit* itemSets;
  QAbstractButton* checkButton;
  QAbstractButton* revealOneButton;
  QAbstractButton* revealAllButton;
  QLabel* scoreLabel;
  QTreeWidget* marksList;
  QComboBox* transformBox;          // the kind of transformation asked for
  QPlainTextEdit* transformEditor;  // the student's transformed grammar

 public slots:
  void check();
  void revealOne();
  void revealAll();

 private:
  void createControls();
  void setGrammar(const std::vector<std::string>& lines);
  // Shows the answer kept for the current question and state.
  void loadAnswer();
  void fillGrid();
  void cellEdited(int row, int column);
  void showMarks();
  void clearMarks();
  bool isTable() const;
  bool isItems() const;
  bool isTransform() const;
  void createTransformControls();
  void loadTransformAnswer();
  TransformKind transformKind() const;
  void checkTransform();
  void revealTransform();
  // The first element not right put right; false when there is none.
  bool revealFirst();
  void updateItemSets();

  GrammarSource source_;
  std::vector<std::string> lines_;  // the grammar practised on
  Parsing model_;
  Grammar written_;  // as written, without the start rule the analyses may add
  Grading grading_;
  bool checked_ = false;
  bool filling_ = false;  // the window itself is writing the controls
  // What the student typed: the sets by question, the items by question
  // and state, the cells by question, row label and column header.
  std::map<int, QString> setTexts_;
  std::map<std::pair<int, int>, QString> itemTexts_;
  std::map<std::tuple<int, std::string, std::string>, QString> cells_;
  // The transformed grammars by kind.
  std::map<TransformKind, QString> transformTexts_;
  // The elements revealed since the last change of grammar, as row|column|entry.
  std::set<std::string> revealed_;
};
