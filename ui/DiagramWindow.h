// The diagram of an LR(0), LR(1) or LALR automaton in a window of its own.
// The automaton is built and laid out on a worker thread, with its
// progress shown and a Cancel button; a click on a state shows its block of
// the item listing and its table row, a click on an arc its table cell.
// An automaton too large to draw whole is drawn as the neighbourhood of a
// state the user picks, and the window says why.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphs/automaton_dot.h"

class BackgroundJob;
class DiagramScene;
class GraphView;
class JobStatus;
class QCheckBox;
class QGraphicsItem;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

class DiagramWindow : public QWidget {
  Q_OBJECT

 public:
  // `tokens`: a grammar in the token notation, which has no rule lines.
  DiagramWindow(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, GraphKind kind,
                QWidget* parent = nullptr);
  ~DiagramWindow() override;

  // Whether the automaton or a layout is being made.
  bool busy() const;
  // The automaton once built, else nullptr.
  const AutomatonGraph* graph() const { return graph_.get(); }
  DiagramScene* scene() const { return scene_; }
  GraphView* view() const { return view_; }
  // The details pane, the notice above the drawing, the status line.
  QString details() const;
  QString notice() const;
  QString status() const;
  // The DOT text of what is drawn, as exported.
  std::string dot() const;
  // The same as a TikZ picture.  Throws GraphvizError.
  std::string tikz() const;

 public slots:
  void setClosureShown(bool shown);
  // Draws the state and its predecessors and successors to the depth.
  void showNeighbourhood(int state, int depth);
  // Draws every state, when the automaton is small enough.
  void showWhole();
  void cancel();
  void exportDrawing();
  void copyImage();

 private:
  void buildControls();
  // Builds the automaton on the worker; built() takes it over.
  void startBuilding(std::vector<std::string> ruleLines, std::optional<Grammar> tokens);
  void built(std::shared_ptr<AutomatonGraph> result);
  // Lays out what is to be drawn on the worker; laidOut() draws it.
  void startLayout();
  void laidOut(const GraphLayout& layout);
  // Disables what must wait for the work under way.
  void setBusy(bool working);
  // What a click on the drawing shows in the details pane.
  void showClicked(QGraphicsItem* item);
  void showState(int state);
  void showEdge(int edge);
  void showAccept(int state);
  // The table's header and the state's row, aligned; with a column, that cell.
  QString tableRow(int state, int column = -1) const;
  // The drawing asked for; `measured`: with the boxes sized for the window's font.
  DotOptions drawingOptions(bool measured) const;

  GraphKind kind_;
  std::shared_ptr<const AutomatonGraph> graph_;  // once built
  std::vector<int> states_;  // the states drawn; empty: all
  bool closure_ = false;
  QString layoutNote_;       // said with the status once the drawing is laid out

  BackgroundJob* job_;
  GraphView* view_;
  DiagramScene* scene_;
  QPlainTextEdit* details_;
  QLabel* notice_;
  JobStatus* status_;
  QCheckBox* closureBox_;
  QSpinBox* stateBox_;
  QSpinBox* depthBox_;
  QPushButton* nearButton_;
  QPushButton* wholeButton_;
  QPushButton* exportButton_;
  QPushButton* copyButton_;
};

// Opens the diagram of the grammar's automaton of a kind in a window of
// its own, which deletes itself when closed.  `ruleLines` are the rule
// lines of a sound grammar, as the model holds them; for a grammar in the
// token notation, `tokens` is a copy of its typed grammar.
DiagramWindow* openDiagramWindow(const std::vector<std::string>& ruleLines, GraphKind kind, QWidget* parent = nullptr,
                                 std::optional<Grammar> tokens = std::nullopt);
