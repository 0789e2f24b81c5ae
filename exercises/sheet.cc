#include "exercises/sheet.h"

#include <nlohmann/json.hpp>

namespace {

std::string title(const Exercise& exercise) {
  return std::string("Exercise: a grammar that is ") + propertyTitle(exercise.request.property);
}

// "seed 7; 3 non-terminals, 6 productions, 3 terminals; nullable non-terminals".
std::string particulars(const Exercise& exercise) {
  const GeneratorRequest& request = exercise.request;
  std::string text = "seed " + std::to_string(request.seed) + "; " + std::to_string(request.size.nonTerminals) +
                     " non-terminals, " + std::to_string(request.size.productions) + " productions, " +
                     std::to_string(request.size.terminals) + " terminals";
  if (request.nullable) text += "; nullable non-terminals";
  if (request.leftRecursion) text += "; left recursion";
  if (request.notation == Notation::kTokens) text += "; token notation, symbols apart by blanks";
  return text;
}

bool showsQuestions(SheetPart part) { return part != SheetPart::kKey; }
bool showsKey(SheetPart part) { return part != SheetPart::kQuestions; }

// ---- text and Markdown: headings and the writers' listings and tables

std::string plainSheet(const Exercise& exercise, SheetPart part, Format format) {
  bool markdown = format == Format::kMarkdown;
  auto heading = [&](int level, const std::string& text) {
    return markdown ? std::string(static_cast<std::size_t>(level), '#') + " " + markdownEscaped(text) + "\n\n"
                    : text + "\n\n";
  };
  auto prose = [&](const std::string& text) { return (markdown ? markdownEscaped(text) : text) + "\n\n"; };
  std::string out = heading(1, title(exercise) + (part == SheetPart::kKey ? " (answer key)" : ""));
  out += prose("(" + particulars(exercise) + ")");
  out += heading(2, "Grammar:");
  Lines grammar(exercise.grammar.begin(), exercise.grammar.end());
  if (markdown) {
    out += renderListing(grammar, format) + "\n";
  } else {
    for (const std::string& line : grammar) out += "  " + line + "\n";
    out += "\n";
  }
  out += prose("Word: " + wordText(exercise));
  if (showsQuestions(part)) {
    out += heading(2, "Questions:");
    int k = 0;
    for (const Question& question : exercise.questions)
      out += (markdown ? std::to_string(++k) + ". " + markdownEscaped(question.text)
                       : "  " + std::to_string(++k) + ". " + question.text) +
             "\n";
    out += "\n";
  }
  if (showsKey(part)) {
    out += heading(2, "Answer key:");
    int k = 0;
    for (const Question& question : exercise.questions) {
      out += heading(3, std::to_string(++k) + ". " + question.text);
      const Answer& answer = question.answer;
      if (!answer.listing.empty()) out += renderListing(answer.listing, format) + "\n";
      if (!answer.table.empty()) out += renderTable(answer.table, format) + "\n";
      for (const std::string& note : answer.notes) out += prose(note);
    }
  }
  while (out.size() > 1 && out[out.size() - 2] == '\n') out.pop_back();
  return out;
}

// ---- LaTeX: a document per part, or one with the key on a page of its own

std::string latexHead(const Exercise& exercise, const std::string& heading) {
  std::string out = "\\section*{" + latexEscaped(heading) + "}\n";
  out += latexEscaped("(" + particulars(exercise) + ")") + "\n\n";
  out += "\\subsection*{Grammar}\n" +
         renderListing(Lines(exercise.grammar.begin(), exercise.grammar.end()), Format::kLatex);
  out += "\nWord: \\texttt{" + latexEscaped(wordText(exercise)) + "}\n\n";
  return out;
}

std::string latexSheet(const Exercise& exercise, SheetPart part) {
  // \fitted shrinks a table wider than the line to its width, and leaves
  // the others as they are.
  std::string out =
      "\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage[utf8]{inputenc}\n\\usepackage{textcomp}\n"
      "\\usepackage{graphicx}\n" +
      std::string(exercise.request.notation == Notation::kTokens
                      ? "\\DeclareUnicodeCharacter{03B5}{\\ensuremath{\\varepsilon}}\n"
                      : "") +
      "\\newsavebox{\\keybox}\n"
      "\\newcommand{\\fitted}[1]{\\sbox{\\keybox}{#1}\\ifdim\\wd\\keybox>\\linewidth"
      "\\resizebox{\\linewidth}{!}{\\usebox{\\keybox}}\\else\\usebox{\\keybox}\\fi}\n"
      "\\begin{document}\n";
  if (showsQuestions(part)) {
    out += latexHead(exercise, title(exercise));
    out += "\\subsection*{Questions}\n\\begin{enumerate}\n";
    for (const Question& question : exercise.questions) out += "\\item " + latexEscaped(question.text) + "\n";
    out += "\\end{enumerate}\n";
  }
  if (showsKey(part)) {
    if (part == SheetPart::kBoth) out += "\\newpage\n";
    out += latexHead(exercise, title(exercise) + " (answer key)");
    int k = 0;
    for (const Question& question : exercise.questions) {
      out += "\\subsection*{" + std::to_string(++k) + ". " + latexEscaped(question.text) + "}\n";
      const Answer& answer = question.answer;
      if (!answer.listing.empty()) out += renderListing(answer.listing, Format::kLatex);
      if (!answer.table.empty()) {
        out += "\\noindent\\fitted{%\n";
        out += renderTable(answer.table, Format::kLatex);
        out += "}\n";
      }
      for (const std::string& note : answer.notes) {
        out += '\n';
        out += latexEscaped(note);
        out += '\n';
      }
      out += "\n";
    }
  }
  return out + "\\end{document}\n";
}

// ---- CSV: one record a line, its first field saying what it holds

std::string csvSheet(const Exercise& exercise, SheetPart part) {
  Cells records;
  const GeneratorRequest& request = exercise.request;
  records.push_back({"property", propertyName(request.property)});
  records.push_back({"seed", std::to_string(request.seed)});
  if (request.notation == Notation::kTokens) records.push_back({"notation", "tokens"});
  records.push_back({"size", std::to_string(request.size.nonTerminals), std::to_string(request.size.productions),
                     std::to_string(request.size.terminals)});
  for (const std::string& line : exercise.grammar) records.push_back({"grammar", line});
  records.push_back({"word", exercise.word});
  int k = 0;
  for (const Question& question : exercise.questions) {
    std::string number = std::to_string(++k);
    if (showsQuestions(part)) records.push_back({"question", number, question.text});
    if (!showsKey(part)) continue;
    for (const std::string& line : question.answer.listing) records.push_back({"answer", number, line});
    for (const auto& row : question.answer.table) {
      std::vector<std::string> record{"answer-row", number};
      record.insert(record.end(), row.begin(), row.end());
      records.push_back(record);
    }
    for (const std::string& note : question.answer.notes) records.push_back({"note", number, note});
  }
  return renderTable(records, Format::kCsv);
}

// ---- JSON: one object

std::string jsonSheet(const Exercise& exercise, SheetPart part) {
  const GeneratorRequest& request = exercise.request;
  nlohmann::ordered_json sheet;
  sheet["property"] = propertyName(request.property);
  sheet["seed"] = request.seed;
  sheet["size"] = {{"nonTerminals", request.size.nonTerminals},
                   {"productions", request.size.productions},
                   {"terminals", request.size.terminals}};
  sheet["nullable"] = request.nullable;
  sheet["leftRecursion"] = request.leftRecursion;
  if (request.notation == Notation::kTokens) sheet["notation"] = "tokens";
  sheet["grammar"] = exercise.grammar;
  sheet["word"] = exercise.word;
  sheet["questions"] = nlohmann::ordered_json::array();
  int k = 0;
  for (const Question& question : exercise.questions) {
    nlohmann::ordered_json entry;
    entry["number"] = ++k;
    if (showsQuestions(part)) entry["question"] = question.text;
    if (showsKey(part)) {
      nlohmann::ordered_json answer = nlohmann::ordered_json::object();
      if (!question.answer.listing.empty()) answer["lines"] = question.answer.listing;
      if (!question.answer.table.empty()) answer["table"] = question.answer.table;
      if (!question.answer.notes.empty()) answer["notes"] = question.answer.notes;
      entry["answer"] = answer;
    }
    sheet["questions"].push_back(entry);
  }
  return sheet.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace

std::optional<SheetPart> sheetPartNamed(std::string_view name) {
  if (name == "questions") return SheetPart::kQuestions;
  if (name == "key") return SheetPart::kKey;
  if (name == "both") return SheetPart::kBoth;
  return std::nullopt;
}

std::string renderSheet(const Exercise& exercise, Format format, SheetPart part) {
  switch (format) {
    case Format::kText:
    case Format::kMarkdown: return plainSheet(exercise, part, format);
    case Format::kLatex: return latexSheet(exercise, part);
    case Format::kCsv: return csvSheet(exercise, part);
    case Format::kJson: return jsonSheet(exercise, part);
  }
  return "";
}
