// A parse to step through, in a window of its own: the trace of an LL(1),
// SLR, LR(1) or LALR evaluation with the table it reads, the parse tree and,
// for the LR parsers, the automaton.  First, Back, Next, Last and Play move
// through the steps, and everything follows: the current row of the trace
// is highlighted, the table cell its action read (and a reduction's goto
// cell) marked, the state on top of the stack marked in the diagram, and
// the tree shown as it stands after the step (the LL(1) tree growing from
// the root down, the LR forest joining from the leaves up).  A sentence
// says what the step did.  Position 0 is the start, before the first step.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulation/evaluations.h"

class BackgroundJob;
class CellsView;
class DiagramScene;
class GraphView;
class JobStatus;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTimer;
class TreeScene;
struct StepperData;

class ParseStepper : public QWidget {
  Q_OBJECT

 public:
  // The grammar is the rule lines of a classic one or, in the token
  // notation, the typed grammar (`tokens`).
  ParseStepper(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, TableKind kind, std::string word,
               QWidget* parent = nullptr);
  ~ParseStepper() override;

  // Whether the parse or a drawing is being made.
  bool busy() const;
  // The steps of the trace (0 until it is made, or when it was refused).
  int steps() const;
  int position() const { return position_; }
  bool playing() const;
  // What the window shows, for the tests and the screenshots.
  QString explanation() const;
  QString status() const;
  CellsView* traceView() const { return trace_; }
  CellsView* tableView() const { return table_; }
  TreeScene* treeScene() const { return treeScene_; }
  DiagramScene* diagramScene() const { return diagramScene_; }
  // The tree as text, when it is too large to draw.
  QString treeText() const;

  // The colours of the current row, the cell its action read and a reduction's goto cell.
  static QColor rowColour();
  static QColor actionColour();
  static QColor gotoColour();

 public slots:
  void first();
  void back();
  void next();
  void last();
  void setPosition(int position);
  void play(bool on);
  // Steps per second while playing.
  void setSpeed(int stepsPerSecond);
  void cancel();
  void exportTree();
  void copyTree();

 private:
  void buildControls();
  // Parses and lays out on the worker; parsed() shows the result at the start.
  void startParsing(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, std::string word);
  void parsed();
  // Moves the trace, the table, the tree and the diagram to the position.
  void showPosition();
  // Marks the state in the diagram, laying out its neighbourhood first when
  // the automaton is too large to draw whole.
  void showDiagramState(int state);
  void laidOutNeighbourhood();
  // Disables the steps while work is under way.
  void setBusy(bool working);
  // What step k did, in a sentence; 0: the start.
  QString describe(int step) const;

  TableKind kind_;
  std::shared_ptr<StepperData> data_;  // once parsed
  int position_ = 0;
  int neighbourhoodOf_ = -1;  // the state whose neighbourhood is drawn, for a large automaton

  BackgroundJob* job_;
  BackgroundJob* diagramJob_;
  QTimer* timer_;
  CellsView* trace_;
  CellsView* table_;
  GraphView* treeView_;
  TreeScene* treeScene_;
  QPlainTextEdit* treeText_;
  QStackedWidget* treePane_;
  GraphView* diagramView_;
  DiagramScene* diagramScene_;
  QLabel* explanation_;
  QLabel* stepLabel_;
  JobStatus* status_;
  QLabel* diagramNote_;
  QPushButton* firstButton_;
  QPushButton* backButton_;
  QPushButton* nextButton_;
  QPushButton* lastButton_;
  QPushButton* playButton_;
  QSlider* speed_;
  QPushButton* exportButton_;
  QPushButton* copyButton_;
};

// Opens a parse of the word with the table of a kind in a window of its own,
// which deletes itself when closed.  `ruleLines` are the rule lines of a
// sound grammar, as the model holds them.
ParseStepper* openParseStepper(const std::vector<std::string>& ruleLines, TableKind kind, const std::string& word,
                               QWidget* parent = nullptr);
// The same for a grammar in the token notation, as the model holds it.
ParseStepper* openParseStepper(const Grammar& tokens, TableKind kind, const std::string& word, QWidget* parent = nullptr);
