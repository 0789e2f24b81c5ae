#include "exercises/table_grading.h"

#include <algorithm>
#include <map>

#include "exercises/answers.h"
#include "exercises/cell_reasons.h"
#include "grammar/symbol_text.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// "s04" is "s4"; "S4" is "s4"; "acc" and "accept" are "a".
std::string normalAction(std::string token) {
  std::string low = lowered(token);
  if (low == "a" || low == "acc" || low == "accept") return "a";
  std::size_t digits = low[0] == 's' || low[0] == 'r' ? 1 : 0;
  if (low.size() > digits && std::all_of(low.begin() + static_cast<long>(digits), low.end(), isDigit)) {
    std::string number = low.substr(digits);
    number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
    return low.substr(0, digits) + number;
  }
  return token;
}

void addOnce(std::vector<std::string>& entries, const std::string& entry) {
  if (!entry.empty() && std::find(entries.begin(), entries.end(), entry) == entries.end()) entries.push_back(entry);
}

// The alternatives of a token LL(1) cell: its text split at the bars that
// stand outside quotes, as a quoted '|' is a terminal.
std::vector<std::string> alternativesOf(const std::string& cell) {
  std::vector<std::string> alternatives{""};
  char quote = '\0';
  for (char c : cell) {
    if (quote == '\0' && c == '|') {
      alternatives.emplace_back();
      continue;
    }
    if (c == quote) quote = '\0';
    else if (quote == '\0' && (c == '\'' || c == '"') && (alternatives.back().empty() || alternatives.back().back() == ' '))
      quote = c;
    alternatives.back() += c;
  }
  return alternatives;
}

// One alternative of a token LL(1) cell as the production it names, in
// the grammar's own text when it is one of its productions.
std::string tokenProduction(const Grammar& grammar, const std::string& rowLabel, const std::string& alternative) {
  std::vector<std::string> tokens = answerTokens(grammar, alternative, "", {"->", "\xE2\x86\x92"});
  if (tokens.empty()) return "";
  auto arrow = std::find_if(tokens.begin(), tokens.end(), [](const std::string& t) { return t == "->" || t == "\xE2\x86\x92"; });
  std::string head;
  if (arrow == tokens.end()) {
    head = trimmed(rowLabel);
    arrow = tokens.begin();
  } else {
    for (auto t = tokens.begin(); t != arrow; ++t) head += *t;
    ++arrow;
  }
  std::vector<std::string> body(arrow, tokens.end());
  std::erase(body, std::string("\xCE\xB5"));
  Symbol x = grammar.symbolNamed(head);
  for (int p : x == kNoSymbol ? std::vector<int>() : grammar.productionsOf(x)) {
    const Symbols& symbols = grammar.productions[static_cast<std::size_t>(p)].body;
    bool same = symbols.size() == body.size();
    for (std::size_t k = 0; same && k < body.size(); ++k) same = grammar.name(symbols[k]) == body[k];
    if (same) return productionText(grammar, p);
  }
  std::string text = head + " ->";
  for (const std::string& symbol : body) text += " " + symbol;
  return body.empty() ? text + " \xCE\xB5" : text;
}

// A column header as compared: a token grammar's header may quote its terminal ('+').
std::string columnKey(const Grammar& grammar, const std::string& header) {
  std::string text = trimmed(header);
  if (grammar.notation == Notation::kClassic) return text;
  std::vector<std::string> tokens = answerTokens(grammar, text, "");
  return tokens.size() == 1 && grammar.symbolNamed(tokens[0]) != kNoSymbol ? tokens[0] : text;
}

// A student's row: its label as written and the cells by column header.
struct AnswerRow {
  std::string label;
  std::map<std::string, std::vector<std::string>> entries;
};

}  // namespace

std::string rowKey(TableKind kind, const std::string& label) {
  std::string text = withoutBlanks(trimmed(label));
  if (kind == TableKind::kLL1) return text;
  std::string low = lowered(text);
  for (const char* prefix : {"state", "i", "q"})
    if (low.starts_with(prefix) && low.size() > std::string_view(prefix).size() &&
        std::all_of(low.begin() + static_cast<long>(std::string_view(prefix).size()), low.end(), isDigit)) {
      low.erase(0, std::string_view(prefix).size());
      break;
    }
  if (!low.empty() && std::all_of(low.begin(), low.end(), isDigit)) {
    low.erase(0, std::min(low.find_first_not_of('0'), low.size() - 1));
    return low;
  }
  return text;
}

std::vector<std::string> cellEntries(const Parsing& grammar, TableKind kind, const std::string& rowLabel,
                                     const std::string& cell) {
  std::vector<std::string> entries;
  if (kind == TableKind::kLL1 && grammar.typed.notation == Notation::kTokens) {
    for (const std::string& alternative : alternativesOf(cell))
      addOnce(entries, tokenProduction(grammar.typed, rowLabel, alternative));
    return entries;
  }
  if (kind == TableKind::kLL1) {
    std::string head = trimmed(rowLabel);
    std::string text = withoutBlanks(cell);
    for (std::size_t from = 0; from <= text.size();) {
      std::size_t bar = text.find('|', from);
      if (bar == std::string::npos) bar = text.size();
      std::string token = withEpsilonAsE(std::string_view(text).substr(from, bar - from));
      if (!token.empty()) {
        std::size_t arrow = token.find("->");
        if (arrow == std::string::npos) token = head + "->" + token;
        if (token.size() == token.find("->") + 2) token += "e";
        addOnce(entries, token);
      }
      from = bar + 1;
    }
    return entries;
  }
  std::string token;
  for (char c : cell + " ") {
    if (c == '|' || c == ',' || c == ';' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!token.empty()) addOnce(entries, normalAction(token));
      token.clear();
    } else {
      token += c;
    }
  }
  return entries;
}

GradeResult gradeTable(const Parsing& grammar, TableKind kind, std::string_view csv) {
  GradeResult result;
  std::optional<Cells> answer = readCsv(csv, result.error);
  if (!answer) return result;
  if (answer->empty()) {
    result.error = "the answer holds no table: its first line must be the header, as \",a,b,$\"";
    return result;
  }
  result.grading = gradeTableCells(grammar, kind, *answer);
  return result;
}

Grading gradeTableCells(const Parsing& grammar, TableKind kind, const Cells& answer) {
  bool ll1 = kind == TableKind::kLL1;
  Grading grading{ll1 ? "Non-terminal" : "State", "Symbol", ll1 ? "Production" : "Action", {}};
  Cells key = cellsOf(table(grammar, kind));
  const Grammar& g = grammar.typed;
  CellReasons reasons(grammar, kind);

  // The student's columns by header, and rows by key, in the order written.
  std::vector<std::string> columns;
  if (!answer.empty())
    for (std::size_t j = 1; j < answer[0].size(); ++j) columns.push_back(columnKey(g, answer[0][j]));
  std::vector<std::string> order;
  std::map<std::string, AnswerRow> rows;
  for (std::size_t i = 1; i < answer.size(); ++i) {
    const std::vector<std::string>& cells = answer[i];
    if (cells.empty()) continue;
    std::string label = trimmed(cells[0]);
    std::string at = rowKey(kind, label);
    bool blank = std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return trimmed(c).empty(); });
    if (blank) continue;
    if (!rows.count(at)) order.push_back(at);
    AnswerRow& row = rows[at];
    row.label = label;
    for (std::size_t j = 1; j < cells.size(); ++j) {
      std::string column = j - 1 < columns.size() ? columns[j - 1] : "";
      std::vector<std::string>& entries = row.entries[column];
      for (const std::string& entry : cellEntries(grammar, kind, label, cells[j])) addOnce(entries, entry);
    }
  }

  const std::vector<std::string>& header = key[0];
  auto isColumn = [&](const std::string& column) {
    return std::find(header.begin() + 1, header.end(), column) != header.end();
  };
  // The key, row by row, column by column.
  for (std::size_t i = 1; i < key.size(); ++i) {
    const std::string& label = key[i][0];
    auto written = rows.find(label);
    if (ll1 && written == rows.end() && mayBeLeftOut(grammar, g.symbolNamed(label))) continue;
    for (std::size_t j = 1; j < header.size(); ++j) {
      std::vector<std::string> wanted = cellEntries(grammar, kind, label, key[i][j]);
      std::vector<std::string> given;
      if (written != rows.end() && written->second.entries.count(header[j]))
        given = written->second.entries.at(header[j]);
      for (const std::string& entry : wanted) {
        bool found = std::find(given.begin(), given.end(), entry) != given.end();
        grading.elements.push_back({label, header[j], entry, found ? Mark::kRight : Mark::kMissing,
                                    found ? "" : reasons.whyPresent(label, header[j], entry)});
      }
      for (const std::string& entry : given)
        if (std::find(wanted.begin(), wanted.end(), entry) == wanted.end())
          grading.elements.push_back(
              {label, header[j], entry, Mark::kWrong, reasons.whyAbsent(label, header[j], entry)});
    }
    if (written == rows.end()) continue;
    // Entries under columns the table does not have.
    for (const auto& [column, entries] : written->second.entries) {
      if (isColumn(column)) continue;
      std::string why = column.empty() ? "This entry stands outside the columns of the header."
                                       : column + " is not a column of the table.";
      for (const std::string& entry : entries) grading.elements.push_back({label, column, entry, Mark::kWrong, why});
    }
  }
  // Rows the table does not have.
  for (const std::string& at : order) {
    bool known = false;
    for (std::size_t i = 1; i < key.size(); ++i) known = known || key[i][0] == at;
    if (known) continue;
    const AnswerRow& row = rows[at];
    std::string why = row.label.empty() ? "This row has no label, so it cannot be told which row it is."
                      : ll1             ? row.label + " is not a non-terminal of the grammar."
                                        : "There is no state " + row.label + ".";
    for (const auto& [column, entries] : row.entries)
      for (const std::string& entry : entries)
        grading.elements.push_back({row.label, column, entry, Mark::kWrong, why});
  }
  return grading;
}
