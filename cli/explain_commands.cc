#include "cli/explain_commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "explain/conflicts.h"
#include "explain/explanation_text.h"
#include "explain/grammar_report.h"

namespace {

const char* const kOptionNames[] = {"--table", "--time-per-conflict", "--time-per-table", "--steps"};

// The tables an option value names, in the order of the window's buttons.
std::vector<TableKind> tablesNamed(const std::string& name) {
  if (name == "ll1") return {TableKind::kLL1};
  if (name == "slr") return {TableKind::kSLR};
  if (name == "lr1") return {TableKind::kLR1};
  if (name == "lalr") return {TableKind::kLALR};
  return {kTableKinds, kTableKinds + 4};
}

std::string listingIn(const Lines& lines, Format format) { return renderListing(lines, format); }

}  // namespace

const std::vector<CommandInfo>& explainCommandInfos() {
  static const std::vector<CommandInfo> kCommands = commandsOfKind({CommandKind::kExplanation});
  return kCommands;
}

bool isExplainCommand(std::string_view name) { return listed(explainCommandInfos(), name); }

void addExplainOptions(CLI::App& app, ExplainOptions& options) {
  app.add_option("--table", options.table, "report, conflicts: ll1, slr, lr1, lalr or all (default all)")
      ->type_name("T")
      ->check(CLI::IsMember({"ll1", "slr", "lr1", "lalr", "all"}));
  app.add_option("--time-per-conflict", options.bounds.secondsPerConflict,
                 "seconds a counterexample search may take per conflict (default 2)")
      ->type_name("S")
      ->check(CLI::Range(0.001, 3600.0));
  app.add_option("--time-per-table", options.bounds.secondsPerTable,
                 "seconds the searches may take per table (default 10)")
      ->type_name("S")
      ->check(CLI::Range(0.001, 36000.0));
  app.add_option("--steps", options.bounds.stepsPerConflict,
                 "search steps per conflict, the same on every machine (default 100000)")
      ->type_name("N")
      ->check(CLI::Range(1L, 1'000'000'000L));
}

std::string explainOptionsGiven(const CLI::App& app) {
  std::string given;
  for (const char* name : kOptionNames)
    if (app.get_option(name)->count() > 0) given += (given.empty() ? "" : ", ") + std::string(name);
  return given;
}

ExplainOutcome runExplainCommand(std::string_view name, const HString& grammarText, const std::string& word,
                                 const ExplainOptions& options, Format format, Notation notation) {
  ExplainOutcome outcome;
  Parsing model;
  if (!loadGrammar(grammarText, model, outcome.diagnostics, outcome.status, notation)) return outcome;
  std::vector<TableKind> kinds = tablesNamed(options.table);
  if (name == "report") {
    GrammarReport report = grammarReport(model, word, options.bounds);
    outcome.output = format == Format::kJson ? reportJson(report) : listingIn(reportLines(report), format);
    for (const GrammarReport::TableClass& c : report.classes)
      if (c.conflicts > 0 && std::find(kinds.begin(), kinds.end(), c.kind) != kinds.end()) outcome.status = kExitConflict;
    return outcome;
  }
  TableSet tables(model);
  std::vector<Conflict> all;
  Lines lines;
  for (TableKind kind : kinds) {
    std::vector<Conflict> conflicts = explainConflicts(tables, kind, options.bounds);
    if (!lines.empty()) lines.push_back("");
    for (std::string& line : conflictsLines(model.typed, kind, conflicts)) lines.push_back(std::move(line));
    for (Conflict& c : conflicts) all.push_back(std::move(c));
  }
  switch (format) {
    case Format::kJson: outcome.output = conflictsJson(model.typed, all); break;
    case Format::kCsv: outcome.output = renderTable(conflictCells(model.typed, all), format); break;
    default: outcome.output = listingIn(lines, format);
  }
  if (!all.empty()) outcome.status = kExitConflict;
  return outcome;
}

Lines commandNotes(std::string_view name, const HString& grammarText, const std::string& word, Notation notation) {
  Lines notes;
  bool lr = name.starts_with("lr0-") || name.starts_with("lr1-") || name.starts_with("lalr-") || name.starts_with("slr-");
  bool evaluation = name.ends_with("-eval");
  if (!lr && !evaluation) return notes;
  Parsing model;
  Lines unused;
  int status = kExitOk;
  if (!loadGrammar(grammarText, model, unused, status, notation)) return notes;
  if (lr) {
    std::string hint = startHint(model);
    if (!hint.empty()) notes.push_back(hint);
  }
  if (evaluation)
    for (std::string& hint : wordHints(model, word)) notes.push_back(std::move(hint));
  return notes;
}
