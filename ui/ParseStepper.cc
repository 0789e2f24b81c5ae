#include "ParseStepper.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "BackgroundJob.h"
#include "CellsView.h"
#include "DiagramScene.h"
#include "GraphView.h"
#include "Look.h"
#include "SceneExport.h"
#include "TreeScene.h"
#include "commands/registry.h"
#include "core/work.h"
#include "grammar/symbol_text.h"
#include "graphs/neighbourhood.h"
#include "tables/conflicts.h"
#include "trees/evaluation_tree.h"
#include "trees/tree_dot.h"
#include "trees/tree_tikz.h"

// What the parse job hands the window: plain texts, numbers and the typed
// grammar, table and steps, which hold no library strings.
struct StepperData {
  Grammar grammar;
  int conflicts = 0;
  std::vector<CellPlace> conflictCells;
  Cells table;
  Cells trace;
  std::shared_ptr<const ParseTable> parseTable;
  std::shared_ptr<const EvaluationSteps> steps;  // none when refused
  EvaluationTree tree;
  bool treeDrawn = false;
  std::string treeDot;
  GraphLayout treeLayout;
  std::shared_ptr<const AutomatonGraph> graph;  // LR only
  bool diagramWhole = false;
  GraphLayout diagram;
  std::shared_ptr<GraphLayout> neighbourhood;  // the last one laid out, for a large automaton
};

namespace {

QString qtext(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

GraphKind graphKindOf(TableKind kind) {
  return kind == TableKind::kSLR ? GraphKind::kLR0 : kind == TableKind::kLR1 ? GraphKind::kLR1 : GraphKind::kLALR;
}

QString named(std::string_view name) { return qtext(utf8ForDisplay(name)); }
QString quoted(const QString& name) { return QStringLiteral("'%1'").arg(name); }

// The token at a position of the word as written (it may be none of the
// grammar's), "$" after its end.
QString tokenAt(const Word& word, int position) {
  if (position >= word.length()) return QStringLiteral("$");
  size_t from = word.starts[static_cast<size_t>(position)], to = word.starts[static_cast<size_t>(position) + 1];
  if (position + 1 < word.length()) to -= std::char_traits<char>::length(word.separator);
  return named(std::string_view(word.joined).substr(from, to - from));
}

// The neighbourhood of the current state in a large automaton: small, so
// that it is laid out between two steps of a parse that plays.
constexpr int kNeighbourhoodDepth = 1, kNeighbourhoodStates = 30, kNeighbourhoodEdges = 60;

// The word as titles name it: a long one by its ends and its length.
QString wordName(const std::string& word) {
  QString text = qtext(word);
  if (text.size() <= 40) return text;
  return QStringLiteral("%1...%2 (%3 symbols)").arg(text.left(24), text.right(8)).arg(text.size());
}

// The automaton is never drawn smaller than this: below it the items cannot be read.
constexpr double kReadableZoom = 0.75;

// A sentence whose long runs without a blank (a long word, its rest of the
// input) may break anywhere in them, so that it wraps.
QString breakable(const QString& sentence) {
  constexpr int kRun = 30;
  QString text;
  int run = 0;
  for (QChar c : sentence) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > kRun) {
      text += QChar(0x200B);
      run = 1;
    }
    text += c;
  }
  return text;
}

}  // namespace

ParseStepper::ParseStepper(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, TableKind kind,
                           std::string word, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("ParseStepper");
  setWindowTitle(QStringLiteral("%1 parse of '%2' - Tablomat").arg(tableName(kind), wordName(word)));
  // As large as it was designed, where the screen has the room (1366 x 768 has not).
  QRect room = screen()->availableGeometry();
  resize(qMin(1200, room.width() - 40), qMin(800, room.height() - 60));
  job_ = new BackgroundJob(this);
  diagramJob_ = new BackgroundJob(this);
  timer_ = new QTimer(this);
  buildControls();
  startParsing(std::move(ruleLines), std::move(tokens), std::move(word));
}

ParseStepper::~ParseStepper() = default;

QColor ParseStepper::rowColour() { return QColor(0xd6, 0xe6, 0xff); }
QColor ParseStepper::actionColour() { return QColor(0xff, 0xe0, 0x7a); }
QColor ParseStepper::gotoColour() { return QColor(0xbf, 0xe8, 0xb5); }

void ParseStepper::buildControls() {
  auto button = [this](const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, this);
    b->setToolTip(tip);
    return b;
  };
  firstButton_ = button(QStringLiteral("|< First"), QStringLiteral("Back to the start, before the first step (Home)"));
  backButton_ = button(QStringLiteral("< Back"), QStringLiteral("One step back (Left)"));
  nextButton_ = button(QStringLiteral("Next >"), QStringLiteral("One step on (Right)"));
  lastButton_ = button(QStringLiteral("Last >|"), QStringLiteral("To the last step (End)"));
  playButton_ = button(QStringLiteral("Play"), QStringLiteral("Step on by itself at the chosen speed (Space)"));
  playButton_->setCheckable(true);
  firstButton_->setShortcut(Qt::Key_Home);
  backButton_->setShortcut(Qt::Key_Left);
  nextButton_->setShortcut(Qt::Key_Right);
  lastButton_->setShortcut(Qt::Key_End);
  playButton_->setShortcut(Qt::Key_Space);
  speed_ = new QSlider(Qt::Horizontal, this);
  speed_->setRange(1, 20);
  speed_->setValue(2);
  speed_->setMaximumWidth(140);
  speed_->setToolTip(QStringLiteral("Steps per second while playing"));
  auto* speedLabel = new QLabel(QStringLiteral("2 steps/s"), this);
  stepLabel_ = new QLabel(this);
  exportButton_ = button(QStringLiteral("Export tree..."), QStringLiteral("Save the tree as SVG, PNG or DOT"));
  copyButton_ = button(QStringLiteral("Copy tree"),
                       QStringLiteral("Copy the tree to the clipboard, as a picture and as indented text: "
                                      "each program takes what it can paste"));

  auto* controls = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(firstButton_), static_cast<QWidget*>(backButton_),
                     static_cast<QWidget*>(nextButton_), static_cast<QWidget*>(lastButton_),
                     static_cast<QWidget*>(playButton_)})
    controls->addWidget(w);
  controls->addWidget(new QLabel(QStringLiteral("Speed:"), this));
  controls->addWidget(speed_);
  controls->addWidget(speedLabel);
  controls->addSpacing(12);
  controls->addWidget(stepLabel_);
  controls->addStretch(1);
  controls->addWidget(exportButton_);
  controls->addWidget(copyButton_);

  explanation_ = new QLabel(this);
  explanation_->setWordWrap(true);
  explanation_->setFont(timesNewRoman(17));
  explanation_->setMinimumHeight(44);
  // However long the word, the sentence wraps within the window instead of widening it.
  explanation_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  explanation_->setMinimumWidth(1);

  status_ = new JobStatus(job_, 0, this);

  trace_ = new CellsView(this);
  table_ = new CellsView(this);
  treeScene_ = new TreeScene(this);
  treeView_ = new GraphView(this);
  treeView_->setScene(treeScene_);
  treeText_ = new QPlainTextEdit(this);
  treeText_->setReadOnly(true);
  treeText_->setFont(courierNew(14));
  treePane_ = new QStackedWidget(this);
  treePane_->addWidget(treeView_);
  treePane_->addWidget(treeText_);
  diagramScene_ = new DiagramScene(this);
  diagramView_ = new GraphView(this);
  diagramView_->setScene(diagramScene_);
  diagramView_->setReadableZoom(kReadableZoom);
  diagramNote_ = new QLabel(this);
  diagramNote_->setWordWrap(true);
  diagramNote_->hide();
  auto* diagramPane = new QWidget(this);
  auto* diagramLayout = new QVBoxLayout(diagramPane);
  diagramLayout->setContentsMargins(0, 0, 0, 0);
  diagramLayout->addWidget(diagramNote_);
  diagramLayout->addWidget(diagramView_, 1);

  auto* upper = new QSplitter(Qt::Horizontal, this);
  upper->addWidget(trace_);
  upper->addWidget(table_);
  auto* lower = new QSplitter(Qt::Horizontal, this);
  lower->addWidget(treePane_);
  lower->addWidget(diagramPane);
  diagramPane->setVisible(kind_ != TableKind::kLL1);
  auto* body = new QSplitter(Qt::Vertical, this);
  body->addWidget(upper);
  body->addWidget(lower);
  body->setStretchFactor(0, 2);
  body->setStretchFactor(1, 3);
  upper->setSizes({460, 740});
  lower->setSizes({480, 720});
  body->setSizes({300, 480});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(explanation_);
  layout->addWidget(status_);
  layout->addWidget(body, 1);

  connect(firstButton_, &QPushButton::clicked, this, &ParseStepper::first);
  connect(backButton_, &QPushButton::clicked, this, &ParseStepper::back);
  connect(nextButton_, &QPushButton::clicked, this, &ParseStepper::next);
  connect(lastButton_, &QPushButton::clicked, this, &ParseStepper::last);
  connect(playButton_, &QPushButton::toggled, this, &ParseStepper::play);
  connect(speed_, &QSlider::valueChanged, this, [this, speedLabel](int value) {
    speedLabel->setText(QStringLiteral("%1 step%2/s").arg(value).arg(value == 1 ? "" : "s"));
    setSpeed(value);
  });
  connect(timer_, &QTimer::timeout, this, [this] {
    if (position_ >= steps())
      play(false);
    else
      setPosition(position_ + 1);
  });
  connect(exportButton_, &QPushButton::clicked, this, &ParseStepper::exportTree);
  connect(copyButton_, &QPushButton::clicked, this, &ParseStepper::copyTree);
  setSpeed(speed_->value());
}

bool ParseStepper::busy() const { return job_->running() || diagramJob_->running(); }
int ParseStepper::steps() const { return data_ == nullptr ? 0 : data_->tree.steps(); }
bool ParseStepper::playing() const { return timer_->isActive(); }
QString ParseStepper::explanation() const { return explanation_->text(); }
QString ParseStepper::status() const { return status_->text(); }
QString ParseStepper::treeText() const { return treePane_->currentWidget() == treeText_ ? treeText_->toPlainText() : QString(); }

void ParseStepper::setBusy(bool working) {
  bool ready = !working && steps() > 0;
  for (QPushButton* b : {firstButton_, backButton_, nextButton_, lastButton_, playButton_}) b->setEnabled(ready);
  exportButton_->setEnabled(ready && data_->treeDrawn);
  copyButton_->setEnabled(ready && data_->treeDrawn);
}

void ParseStepper::startParsing(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, std::string word) {
  auto result = std::make_shared<StepperData>();
  TableKind kind = kind_;
  BoxMetrics metrics = DiagramScene::metrics();
  setBusy(true);
  QString what = QStringLiteral("Parsing '%1' with the %2 table").arg(wordName(word), tableName(kind));
  auto work = [=, lines = std::move(ruleLines), tokens = std::move(tokens)](const BackgroundJob::Progress& progress) {
    Parsing model;
    loadGrammarCopy(model, lines, tokens);
    Evaluation parsed = evaluation(model, kind, HString(word.data(), static_cast<int>(word.size())));
    result->grammar = model.typed;
    result->conflicts = parsed.conflicts;
    result->table = cellsOf(parsed.table);
    result->parseTable = parsed.typedTable;
    if (parsed.refused()) {
      if (parsed.typedTable) result->conflictCells = conflictPlaces(model.typed, *parsed.typedTable);
      return;
    }
    result->trace = cellsOf(parsed.trace);
    result->steps = parsed.steps;
    result->tree = EvaluationTree(model, parsed);
    if (result->tree.nodes().size() <= static_cast<size_t>(kDrawableTreeNodes)) {
      noteWork();
      progress(QStringLiteral("Graphviz is laying out the tree"));
      result->treeDot = forestDot(model.typed, result->tree.forest());
      result->treeLayout = layoutDot(result->treeDot);
      result->treeDrawn = true;
    }
    if (kind == TableKind::kLL1) return;
    noteWork();
    progress(QStringLiteral("Building the automaton"));
    auto graph = std::make_shared<AutomatonGraph>(automatonGraph(model, graphKindOf(kind)));
    result->graph = graph;
    if (!drawable(*graph)) return;
    noteWork();
    progress(QStringLiteral("Graphviz is laying out the automaton"));
    DotOptions options;
    options.closure = false;
    options.metrics = metrics;
    result->diagram = layoutDot(automatonDot(*graph, options));
    result->diagramWhole = true;
  };
  job_->start(what, std::move(work), [this, result] {
    if (job_->outcome() == BackgroundJob::Outcome::kDone) data_ = result;
    parsed();
  });
}

void ParseStepper::parsed() {
  setBusy(false);
  if (data_ == nullptr) {
    status_->setText(job_->cancelled() ? QStringLiteral("Cancelled: the parse was not made.")
                                       : QStringLiteral("The parse could not be made: %1").arg(job_->failure()));
    return;
  }
  table_->setCells(data_->table);
  table_->fitColumns();
  if (data_->conflicts > 0) {
    for (const CellPlace& place : data_->conflictCells) table_->setColour(place.row, place.column, DiagramScene::conflictColour());
    explanation_->setText(qtext(utf8ForDisplay(conflictMessage(data_->conflicts).view())) +
                          QStringLiteral(": a parse with this table is refused, as in the main window. The "
                                         "conflicting cells are marked."));
    status_->setText({});
    setBusy(false);
    return;
  }
  trace_->setCells(data_->trace);
  for (auto [column, width] : {std::pair{0, 150}, std::pair{1, 110}, std::pair{2, 170}})
    trace_->horizontalHeader()->resizeSection(column, width);
  if (data_->treeDrawn) {
    treeScene_->draw(data_->grammar, data_->tree, data_->treeLayout);
    treePane_->setCurrentWidget(treeView_);
  } else {
    treePane_->setCurrentWidget(treeText_);
  }
  if (kind_ != TableKind::kLL1 && data_->graph == nullptr) {
    diagramNote_->setText(QStringLiteral("The automaton is drawn for grammars in the classic notation only, for now."));
    diagramNote_->show();
  }
  if (data_->graph != nullptr) {
    if (data_->diagramWhole) {
      diagramScene_->draw(*data_->graph, data_->diagram, false);
    } else {
      diagramNote_->setText(qtext(tooLargeToDraw(*data_->graph)) +
                            QStringLiteral("  Shown is the current state with its neighbours."));
      diagramNote_->show();
    }
  }
  status_->setText(data_->treeDrawn
                       ? QString()
                       : QStringLiteral("The tree has %1 nodes; a drawing of more than %2 is no help, so it is shown "
                                        "as indented text.")
                             .arg(data_->tree.nodes().size())
                             .arg(kDrawableTreeNodes));
  setBusy(false);
  setPosition(0);
  treeView_->fit();
  diagramView_->fit();
}

void ParseStepper::first() { setPosition(0); }
void ParseStepper::back() { setPosition(position_ - 1); }
void ParseStepper::next() { setPosition(position_ + 1); }
void ParseStepper::last() { setPosition(steps()); }

void ParseStepper::setPosition(int position) {
  if (steps() == 0) return;
  position_ = qBound(0, position, steps());
  showPosition();
}

void ParseStepper::play(bool on) {
  if (playButton_->isChecked() != on) playButton_->setChecked(on);  // comes back here
  if (on && steps() > 0) {
    if (position_ >= steps()) setPosition(0);
    timer_->start();
  } else {
    timer_->stop();
  }
  playButton_->setText(timer_->isActive() ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

void ParseStepper::setSpeed(int stepsPerSecond) { timer_->setInterval(1000 / qBound(1, stepsPerSecond, 1000)); }

void ParseStepper::cancel() {
  job_->cancel();
  diagramJob_->cancel();
}

void ParseStepper::showPosition() {
  const EvaluationTree& tree = data_->tree;
  int k = position_;
  stepLabel_->setText(k == 0 ? QStringLiteral("Start, %1 steps").arg(steps())
                             : QStringLiteral("Step %1 of %2").arg(k).arg(steps()));
  trace_->clearColours();
  table_->clearColours();
  if (k > 0) {
    for (int column = 1; column <= 3; ++column) trace_->setColour(k, column, rowColour());
    trace_->reveal(k, 0);
    CellRef action = tree.actionCell(k), go = tree.gotoCell(k);
    if (go.valid()) table_->setColour(go.row, go.column, gotoColour());
    if (action.valid()) {
      table_->setColour(action.row, action.column, actionColour());
      table_->reveal(action.row, action.column);
    }
  } else {
    trace_->reveal(1, 0);
  }
  if (data_->treeDrawn) {
    treeScene_->showAfter(k);
  } else {
    QString text;
    for (const Tree& root : tree.forestAfter(k))
      for (const std::string& line : treeLines(data_->grammar, root)) text += qtext(line) + QLatin1Char('\n');
    treeText_->setPlainText(text);
  }
  if (data_->graph != nullptr) showDiagramState(k > 0 ? tree.stateAt(k) : 0);
  explanation_->setText(breakable(describe(k)));
  backButton_->setEnabled(k > 0);
  firstButton_->setEnabled(k > 0);
  nextButton_->setEnabled(k < steps());
  lastButton_->setEnabled(k < steps());
}

void ParseStepper::showDiagramState(int state) {
  if (data_->diagramWhole || (state >= 0 && diagramScene_->stateItem(state) != nullptr)) {
    diagramScene_->markState(state);
    diagramView_->reveal(diagramScene_->stateItem(state));
    return;
  }
  if (state < 0 || state == neighbourhoodOf_) return;
  // A large automaton: the state's neighbourhood, laid out when the parse reaches it.
  neighbourhoodOf_ = state;
  auto graph = data_->graph;
  DotOptions options;
  options.closure = false;
  options.metrics = DiagramScene::metrics();
  options.states = neighbourhood(*graph, state, kNeighbourhoodDepth, kNeighbourhoodStates, kNeighbourhoodEdges).states;
  auto layout = std::make_shared<GraphLayout>();
  data_->neighbourhood = layout;
  // A layout still running is dropped quietly: this one replaces it.
  diagramJob_->start(
      QStringLiteral("Graphviz is laying out the neighbourhood of state %1").arg(state),
      [graph, options, layout](const BackgroundJob::Progress&) { *layout = layoutDot(automatonDot(*graph, options)); },
      [this] { laidOutNeighbourhood(); });
}

void ParseStepper::laidOutNeighbourhood() {
  if (diagramJob_->outcome() != BackgroundJob::Outcome::kDone) {
    neighbourhoodOf_ = -1;
    return;
  }
  diagramScene_->draw(*data_->graph, *data_->neighbourhood, false);
  diagramScene_->markState(neighbourhoodOf_);
  diagramView_->fit();
  showDiagramState(position_ > 0 ? data_->tree.stateAt(position_) : 0);
}

// One sentence on what a step did, read from its typed step and the cells it used.
QString ParseStepper::describe(int step) const {
  if (step == 0)
    return kind_ == TableKind::kLL1
               ? QStringLiteral("Start: the stack holds $ and the start symbol; the input is the word followed by $.")
               : QStringLiteral("Start: the stack holds state 0; the input is the word followed by $.");
  const Grammar& grammar = data_->grammar;
  auto cellText = [&](CellRef cell) {
    return cell.valid() ? qtext(data_->table[static_cast<size_t>(cell.row)][static_cast<size_t>(cell.column)])
                        : QString();
  };
  QString cell = cellText(data_->tree.actionCell(step));
  QString lead = QStringLiteral("Step %1: ").arg(step);
  if (kind_ == TableKind::kLL1) {
    const LL1Parse& parse = data_->steps->ll1;
    const LL1Step& s = parse.steps[static_cast<size_t>(step) - 1];
    QString next = quoted(tokenAt(parse.word, s.position));
    QString top = named(symbolName(grammar, s.top));
    bool nonTerminal = isNonTerminalSymbol(grammar, s.top);
    switch (s.move) {
      case LL1Move::kAccept: return lead + QStringLiteral("$ on top meets the end of the input: accept.");
      case LL1Move::kMatch: return lead + QStringLiteral("%1 on top matches the next input symbol.").arg(quoted(top));
      case LL1Move::kExpand:
        return lead + QStringLiteral("%1 on top, %2 next: the cell says %3, so %1 is replaced by its body.")
                          .arg(top, next, qtext(ll1CellText(grammar, data_->parseTable->ll1.cell(s.top, s.column))));
      case LL1Move::kError: break;
    }
    if (!nonTerminal)
      return lead + QStringLiteral("%1 on top does not match %2: the word is rejected.").arg(quoted(top), next);
    return lead + (cell.isEmpty() ? QStringLiteral("%1 on top, %2 next: their cell is empty, so the word is rejected.")
                                        .arg(top, next)
                                  : QStringLiteral("%1 on top, %2 next: the cell says %3, but its expansions would "
                                                   "repeat without end, so the word is rejected.")
                                        .arg(top, next, cell));
  }
  const LRParse& parse = data_->steps->lr;
  const LRStep& s = parse.steps[static_cast<size_t>(step) - 1];
  const LRTable& table = data_->parseTable->lr;
  int state = parse.stateOf(s);
  QString next = quoted(tokenAt(parse.word, s.position));
  lead += QStringLiteral("state %1 reads %2: ").arg(state).arg(next);
  switch (s.move) {
    case LRMove::kShift:
      return lead + QStringLiteral("the cell says %1, so %2 is shifted and state %3 pushed.")
                        .arg(cell, next, QString::number(table.cell(state, s.column).front().target));
    case LRMove::kReduce: {
      Symbol head = grammar.productions[static_cast<size_t>(s.production)].head;
      return lead + QStringLiteral("the cell says %1, so the body of %2 is popped and the goto cell of %3 gives state %4.")
                        .arg(cell, qtext(productionText(grammar, s.production)), named(symbolName(grammar, head)),
                             QString::number(table.cell(s.gotoState, table.column(head)).front().target));
    }
    case LRMove::kAccept: return lead + QStringLiteral("the cell says a: the word is accepted.");
    case LRMove::kError: break;
  }
  return lead + (cell.isEmpty() ? QStringLiteral("the cell is empty, so the word is rejected.")
                                : QStringLiteral("the cell says %1, which does not apply here: the word is rejected.").arg(cell));
}

void ParseStepper::exportTree() {
  if (data_ == nullptr || !data_->treeDrawn) return;
  std::vector<Tree> forest = data_->tree.forestAfter(position_);
  const Grammar& grammar = data_->grammar;
  exportScene(this, *treeScene_, forestDot(grammar, forest), QStringLiteral("parse tree"),
              [&] { return forestTikz(grammar, forest); });
}

void ParseStepper::copyTree() {
  if (data_ == nullptr) return;
  QStringList lines;
  for (const Tree& tree : data_->tree.forestAfter(position_))
    for (const std::string& line : treeLines(data_->grammar, tree)) lines.append(qtext(line));
  auto* both = new QMimeData;
  both->setText(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
  if (data_->treeDrawn) both->setImageData(sceneImage(*treeScene_));
  QApplication::clipboard()->setMimeData(both);
}

ParseStepper* openParseStepper(const std::vector<std::string>& ruleLines, TableKind kind, const std::string& word,
                               QWidget* parent) {
  auto* window = new ParseStepper(ruleLines, std::nullopt, kind, word, parent);
  window->show();
  return window;
}

ParseStepper* openParseStepper(const Grammar& tokens, TableKind kind, const std::string& word, QWidget* parent) {
  auto* window = new ParseStepper({}, tokens, kind, word, parent);
  window->show();
  return window;
}
