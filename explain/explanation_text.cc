#include "explain/explanation_text.h"

#include <nlohmann/json.hpp>

#include "core/hstring.h"
#include "explain/reasons.h"
#include "grammar/symbol_text.h"

namespace {

const char kBullet[] = "\xE2\x80\xA2";  // U+2022, where the parser stands

std::string shown(const std::string& text) { return utf8ForDisplay(text); }

// A form as the notation writes it; the empty one is the empty string's mark.
std::string formOf(const Grammar& grammar, std::span<const Symbol> form) { return bodyText(grammar, form); }

std::string where(const Grammar& grammar, const Conflict& c) {
  std::string row = c.table == TableKind::kLL1 ? "row " + c.label : "state " + c.label;
  return std::string(tableName(c.table)) + " table, " + row + " under " + symbolText(grammar, c.symbol);
}

void append(Lines& lines, const std::vector<std::string>& more, const std::string& indent) {
  for (const std::string& line : more) lines.push_back(indent + line);
}

}  // namespace

std::string withBullet(const Grammar& grammar, const Symbols& form, size_t at) {
  std::span<const Symbol> all(form);
  std::string out = symbolsText(grammar, all.first(at));
  return out + (out.empty() ? "" : " ") + kBullet + (at < form.size() ? " " + symbolsText(grammar, all.subspan(at)) : "");
}

std::string counterexampleSummary(const Grammar& grammar, const Conflict& c) {
  const Counterexample& ce = c.counterexample;
  switch (ce.kind) {
    case Counterexample::Kind::kUnifying: return "unifying: " + shown(formOf(grammar, frontierSymbols(ce.trees[0])));
    case Counterexample::Kind::kNonUnifying:
      return "non-unifying: " + shown(withBullet(grammar, ce.prefix, ce.prefix.size())) + " " + symbolText(grammar, c.symbol);
    case Counterexample::Kind::kNone: break;
  }
  return "none";
}

Lines conflictLines(const Grammar& grammar, const Conflict& c) {
  Lines lines;
  std::string symbol = symbolText(grammar, c.symbol);
  lines.push_back(where(grammar, c) + ": " + shown(c.cell) + " (" + c.kind + ")");
  for (const ConflictEntry& entry : c.entries) lines.push_back("  " + shown(entry.action) + ": " + shown(entry.reason));
  std::string prefix = c.prefix.empty() ? "(empty)" : shown(symbolsText(grammar, c.prefix));
  lines.push_back(std::string("  ") + (c.table == TableKind::kLL1 ? "Shortest word before it: " : "Shortest prefix to the state: ") + prefix);
  for (const std::string& note : c.notes) lines.push_back("  " + shown(note));
  const Counterexample& ce = c.counterexample;
  if (ce.kind == Counterexample::Kind::kUnifying) {
    lines.push_back("  Counterexample (unifying, so the grammar is ambiguous): " + shown(formOf(grammar, frontierSymbols(ce.trees[0]))) +
                    " has two derivation trees:");
    Lines first{"With " + shown(ce.actions[0]) + ":"}, second{"With " + shown(ce.actions[1]) + ":"};
    for (const std::string& line : treeLines(grammar, ce.trees[0])) first.push_back("  " + shown(line));
    for (const std::string& line : treeLines(grammar, ce.trees[1])) second.push_back("  " + shown(line));
    append(lines, sideBySide(first, second, 6), "    ");
    lines.push_back("  A word on which the parser meets this conflict: " + shown(formOf(grammar, ce.word)));
  } else if (ce.kind == Counterexample::Kind::kNonUnifying) {
    std::string read = ce.prefix.empty() ? "nothing" : shown(symbolsText(grammar, ce.prefix));
    lines.push_back("  Counterexample (non-unifying): after " + read + ", with " + symbol + " next, each entry has a derivation of its own:");
    for (const Counterexample::Example& example : ce.examples) {
      Symbols form = frontierSymbols(example.tree);
      std::string line = "    " + shown(example.action) + ": " + shown(withBullet(grammar, form, example.prefix.size()));
      if (example.prefix != ce.prefix) line += " (after the prefix " + shown(formOf(grammar, example.prefix)) + ")";
      if (!example.symbolNext) line += " (here " + symbol + " cannot come next)";
      lines.push_back(line);
      lines.push_back("      " + shown(derivationText(leftmostDerivation(grammar, example.tree), symbolName(grammar, kEmpty))));
    }
  }
  if (!ce.note.empty()) lines.push_back("  " + shown(ce.note));
  return lines;
}

Lines conflictsLines(const Grammar& grammar, TableKind kind, const std::vector<Conflict>& conflicts) {
  Lines lines;
  if (conflicts.empty()) {
    lines.push_back(std::string(tableName(kind)) + " table: no conflicts.");
    return lines;
  }
  lines.push_back(std::string(tableName(kind)) + " table: " + std::to_string(conflicts.size()) +
                  (conflicts.size() == 1 ? " conflicting cell." : " conflicting cells."));
  for (const Conflict& c : conflicts) {
    lines.push_back("");
    for (std::string& line : conflictLines(grammar, c)) lines.push_back(std::move(line));
  }
  return lines;
}

Cells conflictCells(const Grammar& grammar, const std::vector<Conflict>& conflicts) {
  Cells rows{{"table", "row", "symbol", "cell", "kind", "entries", "prefix", "notes", "counterexample"}};
  for (const Conflict& c : conflicts) {
    std::string entries, notes;
    for (const ConflictEntry& entry : c.entries) entries += (entries.empty() ? "" : "\n") + shown(entry.action + ": " + entry.reason);
    for (const std::string& note : c.notes) notes += (notes.empty() ? "" : "\n") + shown(note);
    rows.push_back({tableName(c.table), shown(c.label), symbolText(grammar, c.symbol), shown(c.cell), c.kind, entries,
                    shown(symbolsText(grammar, c.prefix)), notes, counterexampleSummary(grammar, c)});
  }
  return rows;
}

namespace {

nlohmann::json treeValue(const Grammar& grammar, const Tree& tree) { return nlohmann::json::parse(shown(treeJson(grammar, tree))); }

nlohmann::json counterexampleJson(const Grammar& grammar, const Conflict& c) {
  const Counterexample& ce = c.counterexample;
  nlohmann::json out;
  out["unifying"] = ce.kind == Counterexample::Kind::kUnifying;
  if (ce.kind == Counterexample::Kind::kUnifying) {
    out["trees"] = {treeValue(grammar, ce.trees[0]), treeValue(grammar, ce.trees[1])};
    out["actions"] = {shown(ce.actions[0]), shown(ce.actions[1])};
    out["form"] = shown(symbolsText(grammar, frontierSymbols(ce.trees[0])));
    out["word"] = shown(symbolsText(grammar, ce.word));
  } else {
    out["found"] = ce.kind == Counterexample::Kind::kNonUnifying;
    if (ce.kind == Counterexample::Kind::kNonUnifying) {
      out["prefix"] = shown(symbolsText(grammar, ce.prefix));
      nlohmann::json examples = nlohmann::json::array();
      for (const Counterexample::Example& example : ce.examples)
        examples.push_back({{"action", shown(example.action)},
                            {"prefix", shown(symbolsText(grammar, example.prefix))},
                            {"form", shown(symbolsText(grammar, frontierSymbols(example.tree)))},
                            {"symbolNext", example.symbolNext},
                            {"tree", treeValue(grammar, example.tree)}});
      out["examples"] = examples;
    }
  }
  if (!ce.note.empty()) out["note"] = shown(ce.note);
  return out;
}

}  // namespace

std::string conflictsJson(const Grammar& grammar, const std::vector<Conflict>& conflicts) {
  nlohmann::json out = nlohmann::json::array();
  for (const Conflict& c : conflicts) {
    nlohmann::json entries = nlohmann::json::array();
    for (const ConflictEntry& entry : c.entries) {
      nlohmann::json value{{"action", shown(entry.action)}, {"reason", shown(entry.reason)}};
      if (!entry.items.empty()) value["items"] = entry.items;
      entries.push_back(value);
    }
    out.push_back({{"table", tableName(c.table)},
                   {"row", shown(c.label)},
                   {"symbol", symbolText(grammar, c.symbol)},
                   {"cell", shown(c.cell)},
                   {"kind", c.kind},
                   {"entries", entries},
                   {"prefix", shown(symbolsText(grammar, c.prefix))},
                   {"notes", c.notes},
                   {"counterexample", counterexampleJson(grammar, c)}});
  }
  return out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
