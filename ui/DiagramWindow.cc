#include "DiagramWindow.h"

#include <QCheckBox>
#include <QGraphicsItem>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QShortcut>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "BackgroundJob.h"
#include "DiagramScene.h"
#include "GraphView.h"
#include "Look.h"
#include "SceneExport.h"
#include "grammar/symbol_text.h"
#include "graphs/automaton_tikz.h"
#include "graphs/neighbourhood.h"

namespace {

QString qtext(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

const char* tableTitle(GraphKind kind) {
  switch (tableKindOf(kind)) {
    case TableKind::kSLR: return "SLR table";
    case TableKind::kLR1: return "LR(1) table";
    default: return "LALR table";
  }
}

QToolButton* toolButton(QWidget* parent, const QString& text, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setText(text);
  button->setToolTip(tip);
  return button;
}

}  // namespace

DiagramWindow::DiagramWindow(std::vector<std::string> ruleLines, std::optional<Grammar> tokens, GraphKind kind,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("DiagramWindow");
  setWindowTitle(QStringLiteral("%1 automaton - Tablomat").arg(graphKindName(kind)));
  resize(1100, 720);
  job_ = new BackgroundJob(this);
  buildControls();
  startBuilding(std::move(ruleLines), std::move(tokens));
}

DiagramWindow::~DiagramWindow() = default;

void DiagramWindow::buildControls() {
  auto* top = new QHBoxLayout;
  closureBox_ = new QCheckBox(QStringLiteral("Closure items"), this);
  closureBox_->setToolTip(QStringLiteral("Show the items the closure added below each state's kernel items"));
  connect(closureBox_, &QCheckBox::toggled, this, &DiagramWindow::setClosureShown);
  top->addWidget(closureBox_);
  auto* zoomIn = toolButton(this, QStringLiteral("+"), QStringLiteral("Zoom in (+, or the wheel)"));
  auto* zoomOut = toolButton(this, QStringLiteral("-"), QStringLiteral("Zoom out (-, or the wheel)"));
  auto* fit = toolButton(this, QStringLiteral("Fit"), QStringLiteral("The whole drawing in the window (0)"));
  top->addWidget(zoomIn);
  top->addWidget(zoomOut);
  top->addWidget(fit);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("State:"), this));
  stateBox_ = new QSpinBox(this);
  top->addWidget(stateBox_);
  top->addWidget(new QLabel(QStringLiteral("Depth:"), this));
  depthBox_ = new QSpinBox(this);
  depthBox_->setObjectName("Depth");
  depthBox_->setRange(0, 50);
  depthBox_->setValue(2);
  depthBox_->setToolTip(QStringLiteral("How many arcs away from the state its predecessors and successors may lie"));
  top->addWidget(depthBox_);
  nearButton_ = new QPushButton(QStringLiteral("Neighbourhood"), this);
  nearButton_->setToolTip(QStringLiteral("Draw the state with its predecessors and successors to the depth"));
  wholeButton_ = new QPushButton(QStringLiteral("Whole automaton"), this);
  top->addWidget(nearButton_);
  top->addWidget(wholeButton_);
  top->addStretch(1);
  exportButton_ = new QPushButton(QStringLiteral("Export..."), this);
  exportButton_->setToolTip(QStringLiteral("Save the drawing as SVG, PNG, DOT or a TikZ picture for LaTeX"));
  copyButton_ = new QPushButton(QStringLiteral("Copy image"), this);
  top->addWidget(exportButton_);
  top->addWidget(copyButton_);

  status_ = new JobStatus(job_, 0, this);

  notice_ = new QLabel(this);
  notice_->setWordWrap(true);
  notice_->setStyleSheet(QStringLiteral("QLabel { background: #fff4d6; padding: 4px; }"));
  notice_->hide();

  scene_ = new DiagramScene(this);
  view_ = new GraphView(this);
  view_->setScene(scene_);
  details_ = new QPlainTextEdit(this);
  details_->setReadOnly(true);
  details_->setLineWrapMode(QPlainTextEdit::NoWrap);
  details_->setFont(courierNew(14));
  details_->setPlaceholderText(QStringLiteral("Click a state for its items and table row, an arc for its table cell."));
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(view_);
  split->addWidget(details_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setSizes({780, 300});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(notice_);
  layout->addWidget(status_);
  layout->addWidget(split, 1);

  connect(zoomIn, &QToolButton::clicked, view_, [this] { view_->zoomBy(1.25); });
  connect(zoomOut, &QToolButton::clicked, view_, [this] { view_->zoomBy(0.8); });
  connect(fit, &QToolButton::clicked, view_, &GraphView::fit);
  connect(nearButton_, &QPushButton::clicked, this, [this] { showNeighbourhood(stateBox_->value(), depthBox_->value()); });
  connect(wholeButton_, &QPushButton::clicked, this, &DiagramWindow::showWhole);
  connect(exportButton_, &QPushButton::clicked, this, &DiagramWindow::exportDrawing);
  connect(copyButton_, &QPushButton::clicked, this, &DiagramWindow::copyImage);
  connect(view_, &GraphView::clicked, this, &DiagramWindow::showClicked);
  // A window of its own that is looked at and left: Esc leaves it.
  auto* leave = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(leave, &QShortcut::activated, this, &QWidget::close);
}

bool DiagramWindow::busy() const { return job_->running(); }
QString DiagramWindow::details() const { return details_->toPlainText(); }
QString DiagramWindow::notice() const { return notice_->isVisible() ? notice_->text() : QString(); }
QString DiagramWindow::status() const { return status_->text(); }

void DiagramWindow::setBusy(bool working) {
  for (QWidget* control : {static_cast<QWidget*>(closureBox_), static_cast<QWidget*>(nearButton_),
                           static_cast<QWidget*>(exportButton_), static_cast<QWidget*>(copyButton_)})
    control->setEnabled(!working && graph_ != nullptr);
  wholeButton_->setEnabled(!working && graph_ != nullptr && drawable(*graph_));
}

void DiagramWindow::startBuilding(std::vector<std::string> ruleLines, std::optional<Grammar> tokens) {
  auto result = std::make_shared<AutomatonGraph>();
  GraphKind kind = kind_;
  setBusy(true);
  job_->start(
      QStringLiteral("Building the %1 automaton").arg(graphKindName(kind)),
      [result, kind, lines = std::move(ruleLines), tokens = std::move(tokens)](const BackgroundJob::Progress&) {
        Parsing model;
        loadGrammarCopy(model, lines, tokens);
        *result = automatonGraph(model, kind);
      },
      [this, result] { built(result); });
}

void DiagramWindow::built(std::shared_ptr<AutomatonGraph> result) {
  setBusy(false);
  if (job_->outcome() != BackgroundJob::Outcome::kDone) {
    status_->setText(job_->cancelled() ? QStringLiteral("Cancelled: the automaton was not built.")
                                       : QStringLiteral("The automaton could not be built: %1").arg(job_->failure()));
    return;
  }
  graph_ = std::move(result);
  stateBox_->setRange(0, static_cast<int>(graph_->states.size()) - 1);
  if (drawable(*graph_)) {
    showWhole();
    return;
  }
  notice_->setText(qtext(tooLargeToDraw(*graph_)) +
                   QStringLiteral("  Pick a state and a depth and press Neighbourhood; a click on a dashed stub "
                                  "or its \"more arcs\" moves to the state it hangs from."));
  notice_->show();
  showNeighbourhood(0, depthBox_->value());
}

void DiagramWindow::showWhole() {
  if (graph_ == nullptr || !drawable(*graph_)) return;
  states_.clear();
  startLayout();
}

void DiagramWindow::showNeighbourhood(int state, int depth) {
  if (graph_ == nullptr || state < 0 || static_cast<size_t>(state) >= graph_->states.size()) return;
  stateBox_->setValue(state);
  depthBox_->setValue(depth);
  Neighbourhood part = neighbourhood(*graph_, state, depth);
  states_ = part.states;
  if (states_.size() == graph_->states.size()) states_.clear();
  startLayout();
  if (!part.whole)
    layoutNote_ = QStringLiteral("  Its neighbourhood to depth %1 is too large to read: drawn are the states nearest to it.")
                      .arg(depth);
}

void DiagramWindow::setClosureShown(bool shown) {
  if (closureBox_->isChecked() != shown) closureBox_->setChecked(shown);  // comes back here
  if (closure_ == shown) return;
  closure_ = shown;
  if (graph_ != nullptr) startLayout();
}

DotOptions DiagramWindow::drawingOptions(bool measured) const {
  DotOptions options;
  options.closure = closure_;
  options.states = states_;
  if (measured) options.metrics = DiagramScene::metrics();
  return options;
}

void DiagramWindow::startLayout() {
  auto graph = graph_;
  DotOptions options = drawingOptions(true);
  auto result = std::make_shared<GraphLayout>();
  layoutNote_.clear();
  int drawn = options.states.empty() ? static_cast<int>(graph->states.size()) : static_cast<int>(options.states.size());
  setBusy(true);
  // A layout still running is dropped quietly: this one replaces it.
  job_->start(
      QStringLiteral("Graphviz is laying out %1 states").arg(drawn),
      [graph, options, result](const BackgroundJob::Progress&) { *result = layoutDot(automatonDot(*graph, options)); },
      [this, result] { laidOut(*result); });
}

void DiagramWindow::laidOut(const GraphLayout& layout) {
  setBusy(false);
  if (job_->cancelled()) {
    status_->setText(QStringLiteral("Cancelled: the drawing was not laid out."));
    return;
  }
  if (!job_->failure().isEmpty()) {
    status_->setText(QStringLiteral("Graphviz could not lay out the drawing: %1").arg(job_->failure()));
    return;
  }
  int marked = scene_->markedState();
  scene_->draw(*graph_, layout, closure_);
  scene_->markState(marked);
  view_->fit();
  int count = static_cast<int>(scene_->drawnStates().size());
  status_->setText((states_.empty() ? QStringLiteral("%1 states, %2 arcs.").arg(count).arg(graph_->edges.size())
                                     : QStringLiteral("%1 of %2 states: the neighbourhood of state %3.")
                                           .arg(count)
                                           .arg(graph_->states.size())
                                           .arg(stateBox_->value())) +
                   layoutNote_);
}

void DiagramWindow::cancel() { job_->cancel(); }

std::string DiagramWindow::dot() const { return graph_ == nullptr ? std::string() : automatonDot(*graph_, drawingOptions(false)); }

std::string DiagramWindow::tikz() const {
  return graph_ == nullptr ? std::string() : automatonTikz(*graph_, drawingOptions(false));
}

void DiagramWindow::exportDrawing() {
  if (graph_ == nullptr) return;
  exportScene(this, *scene_, dot(), QStringLiteral("%1 automaton").arg(graphKindName(kind_)).remove('(').remove(')'),
              [this] { return tikz(); });
}

void DiagramWindow::copyImage() { copySceneImage(*scene_); }

void DiagramWindow::showClicked(QGraphicsItem* item) {
  DiagramKey key = DiagramScene::keyOf(item);
  switch (key.kind) {
    case DiagramKey::kState: showState(key.index); break;
    case DiagramKey::kEdge: showEdge(key.index); break;
    case DiagramKey::kAccept: showAccept(key.index); break;
    case DiagramKey::kStub: showNeighbourhood(key.index, depthBox_->value()); return;
    case DiagramKey::kNone: break;
  }
  scene_->select(key);
}

QString DiagramWindow::tableRow(int state, int column) const {
  const Cells& table = graph_->table;
  std::string text = tableTitle(kind_) + std::string(", row ") + std::to_string(state);
  if (column > 0) return qtext(text + ", column " + table[0][static_cast<size_t>(column)] + ": " +
                               table[static_cast<size_t>(state) + 1][static_cast<size_t>(column)]);
  return qtext(text + ":\n" + renderTable(Cells{table[0], table[static_cast<size_t>(state) + 1]}, Format::kText));
}

void DiagramWindow::showState(int state) {
  stateBox_->setValue(state);
  QString text;
  for (const std::string& line : graph_->states[static_cast<size_t>(state)].listing) text += qtext(line) + "\n";
  details_->setPlainText(text + tableRow(state));
}

void DiagramWindow::showEdge(int edge) {
  const GraphEdge& arc = graph_->edges[static_cast<size_t>(edge)];
  const char* move = graph_->grammar.isTerminal(arc.symbol) ? "shifts to" : "goes to";
  // One pass over the pattern: a token such as '%2' is not read as a place.
  details_->setPlainText(QStringLiteral("State%1 on %2 %3 State%4.\n\n")
                             .arg(QString::number(arc.from), qtext(utf8ForDisplay(symbolText(graph_->grammar, arc.symbol))),
                                  QLatin1String(move), QString::number(arc.to)) +
                         tableRow(arc.from, graph_->columnOf(arc.symbol)));
}

void DiagramWindow::showAccept(int state) {
  details_->setPlainText(QStringLiteral("State%1 accepts when the input is at its end.\n\n").arg(state) +
                         tableRow(state, graph_->columnOf(graph_->grammar.endMarker())));
}

DiagramWindow* openDiagramWindow(const std::vector<std::string>& ruleLines, GraphKind kind, QWidget* parent,
                                 std::optional<Grammar> tokens) {
  auto* window = new DiagramWindow(ruleLines, std::move(tokens), kind, parent);
  window->show();
  return window;
}
