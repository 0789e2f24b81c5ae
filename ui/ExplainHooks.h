// The ways from the main window to the explanations.  A highlighted
// conflict cell of the grid explains itself: its tooltip says so, and a
// double-click or the first entry of the grid's context menu opens the
// explanation.  The Warning dialog keeps its text and layout and offers the
// explanations of its table through a button beside Ok, its context menu
// and a key (its tooltip names them).  When
// an LR command runs on a grammar whose first rule does not augment it, or
// an evaluation on a word with symbols no parser reads, a hint shows under
// the grid and as the result title's tooltip.  The grammar report and the
// explanations of a whole table are one call away.
#pragma once

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "ExplainWindow.h"
#include "grammar/parsing.h"
#include "simulation/evaluations.h"

class QLabel;
class QMenu;
class QWidget;
class StringGrid;
class TForm3;
class ExplainWindow;

class ExplainHooks : public QObject {
  Q_OBJECT

 public:
  // The key that opens the explanations from the Warning dialog.
  static constexpr const char* kWarningKey = "F1";

  // The hint line goes right under `grid`, on the grid's form; `title` is
  // the result title.  The owner lays the hint out as the form grows.
  ExplainHooks(QWidget* window, StringGrid* grid, QLabel* title);

  // The grid now shows the table `kind` of the grammar.
  void tableShown(TableKind kind, const Parsing& model);
  // A command is about to run: the hint of the last one goes.
  void commandStarts();
  // An LR command ran on the model: the hint shows when its first rule does not augment it.
  void lrCommandRan(const Parsing& model);
  // An evaluation ran on the word: the hint names what in it no parser reads.
  void evaluationRan(const Parsing& model, const QString& word);
  // Gives a Warning dialog, about to show, the way to the explanations of its table.
  void offerIn(TForm3* warning, TableKind kind, const Parsing& model);

  // Nothing opens for a grammar without rules.
  ExplainWindow* openReport(const Parsing& model, const QString& word);
  ExplainWindow* openTable(TableKind kind, const Parsing& model);
  // The conflict of grid cell (col, row) of the table last shown; none when it holds none.
  ExplainWindow* openCell(int col, int row);
  // Adds "Explain this conflict" to a context menu of the grid, when the
  // point of the grid's viewport lies on a conflict cell; false otherwise.
  bool offerAt(QMenu* menu, const QPoint& point);

  // The hint under the grid (hidden when there is none).
  QLabel* hint() const { return hint_; }
  // The tooltip of a grid cell marked as a conflict.
  static QString conflictTip(const QString& cell);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ExplainWindow* open(struct ExplainJob job);
  // The grid cell under a point of the grid's viewport, when it is marked as a conflict.
  std::optional<std::pair<int, int>> conflictCellAt(const QPoint& point) const;
  // Adds a hint to those the line under the grid shows.
  void addHint(const std::string& text);
  // Fits the hints into the line's width.
  void elideHint();

  QWidget* window_;
  StringGrid* grid_;
  QWidget* viewport_;  // the grid's, kept: events reach the filter while the grid is torn down
  QLabel* title_;
  QLabel* hint_;
  std::optional<TableKind> shown_;   // the table the grid shows, if it shows one
  ExplainedGrammar shownGrammar_;    // the grammar that made it
  ExplainedGrammar lastGrammar_;     // the grammar of the last command with a hint
  QStringList hints_;                    // what the line under the grid says
};
