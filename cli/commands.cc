#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <tuple>

#include "core/work.h"

#include "cli/explain_commands.h"
#include "cli/graph_commands.h"
#include "grammar/text_reading.h"
#include "tables/conflicts.h"
#include "grammar/grammar_text.h"
#include "grammar/symbol_text.h"

const std::vector<CommandInfo>& commandInfos() {
  static const std::vector<CommandInfo> kCommands =
      commandsOfKind({CommandKind::kCheck, CommandKind::kListing, CommandKind::kTable, CommandKind::kEvaluation});
  return kCommands;
}

bool listed(const std::vector<CommandInfo>& commands, std::string_view name) {
  return std::any_of(commands.begin(), commands.end(), [name](const CommandInfo& command) { return command.name == name; });
}

bool isCommand(std::string_view name) { return listed(commandInfos(), name); }

bool loadGrammar(const HString& grammarText, Parsing& model, Lines& diagnostics, int& status, Notation notation) {
  GrammarTextReading reading = readEditorGrammar(grammarText.view(), notation);
  if (!reading.isSound()) {
    diagnostics.clear();
    for (size_t start = 0, end; start <= reading.messages.size(); start = end + 1) {
      end = std::min(reading.messages.find('\n', start), reading.messages.size());
      diagnostics.push_back(utf8ForDisplay(std::string_view(reading.messages).substr(start, end - start)));
    }
    status = kExitGrammar;
    return false;
  }
  model.loadGrammar(reading.grammar);
  return true;
}

Outcome runCommand(std::string_view name, const HString& grammarText, const std::string& word, Notation notation) {
  Outcome outcome;
  Parsing model;
  if (!loadGrammar(grammarText, model, outcome.diagnostics, outcome.status, notation)) return outcome;
  const CommandInfo& command = *commandNamed(name);
  if (command.kind == CommandKind::kCheck) {
    if (model.typed.notation == Notation::kClassic) {
      outcome.listingTexts = model.productions;
    } else {
      Lines productions;
      for (size_t p = 0; p < model.typed.productions.size(); ++p)
        productions.push_back(productionText(model.typed, static_cast<int>(p)));
      outcome.listing = std::move(productions);
    }
    return outcome;
  }
  CommandResult result = computeCommand(command, model, HString(word.data(), static_cast<int>(word.size())));
  for (const HString& line : result.similarTable) result.listing.insertTail(line);
  if (result.conflicts > 0) {
    outcome.diagnostics.push_back(utf8ForDisplay(conflictMessage(result.conflicts).view()));
    outcome.status = kExitConflict;
  } else if (!result.isTable) {
    outcome.listingTexts = std::move(result.listing);
  } else {
    // Every trace ends with the step that accepted or gave up.
    const Table& rows = result.table;
    bool accepted = rows.getCount() > 1 && rows.getLast().getCount() > 0 && rows.getLast().getLast() == "Accept";
    if (command.kind == CommandKind::kEvaluation && !accepted) outcome.status = kExitRejected;
    outcome.tableTexts = std::move(result.table);
  }
  return outcome;
}

std::string renderOutcome(const Outcome& outcome, Format format) {
  std::string out;
  if (outcome.listing) out += renderListing(*outcome.listing, format);
  if (outcome.table) out += renderTable(*outcome.table, format);
  if (outcome.listingTexts) out += renderListing(*outcome.listingTexts, format);
  if (outcome.tableTexts) out += renderTable(*outcome.tableTexts, format);
  return out;
}

void writeOutcome(std::FILE* file, const Outcome& outcome, Format format) {
  auto write = [&](const std::string& text) { std::fwrite(text.data(), 1, text.size(), file); };
  if (outcome.listing) write(renderListing(*outcome.listing, format));
  if (outcome.table) write(renderTable(*outcome.table, format));
  if (outcome.listingTexts) writeListing(file, *outcome.listingTexts, format);
  if (outcome.tableTexts) writeTable(file, *outcome.tableTexts, format);
}

namespace {

// A positive whole number.  CLI11's own check would name its range in
// 309 digits.
CLI::Validator positiveWhole() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        long value = 0;
        const char* end = text.data() + text.size();
        auto [at, error] = std::from_chars(text.data(), end, value);
        if (error != std::errc() || at != end || value <= 0) return "takes a whole number above 0, not '" + text + "'";
        return "";
      },
      "", "positive whole number");
}

}  // namespace

void addLimitOptions(CLI::App& app, WorkLimits& limits) {
  for (auto [name, limit, what, unit] :
       {std::tuple{"--max-states", &limits.states, "states of one LR automaton", "N"},
        {"--max-items", &limits.items, "items of one LR automaton", "N"},
        {"--max-rows", &limits.rows, "rows of one evaluation trace", "N"},
        {"--max-output", &limits.outputMiB, "MiB written by one command (a trace's text too)", "MIB"},
        {"--max-input", &limits.inputMiB, "MiB of the grammar (and of grade's answer) read", "MIB"},
        {"--max-memory", &limits.memoryMiB, "resident memory in MiB", "MIB"}})
    app.add_option(name, *limit, what)->type_name(unit)->check(positiveWhole())->capture_default_str();
}

bool outputWritten() {
  bool written = std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout.flush();
  if (!written) {
    int error = errno;
    std::cerr << "tablomat-cli: cannot write the output" << (error != 0 ? std::string(": ") + std::strerror(error) : "")
              << "\n";
  }
  return written;
}
