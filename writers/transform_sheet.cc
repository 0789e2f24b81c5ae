#include "writers/transform_sheet.h"

#include <nlohmann/json.hpp>

#include "grammar/grammar_text.h"

namespace {

Lines grammarLines(const Grammar& grammar) {
  Lines lines;
  std::string text = grammarText(grammar);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string changedText(const TransformStep& step) {
  if (step.changed.empty()) return "Nothing changed.";
  std::string text = step.changed.size() == 1 ? "Changed rule: " : "Changed rules: ";
  for (size_t k = 0; k < step.changed.size(); ++k) text += (k > 0 ? ", " : "") + step.changed[k];
  return text + ".";
}

std::string remainingText() {
  return "The result still has LL(1) conflicts: not every grammar has an LL(1) equivalent, and these steps "
         "do not remove ambiguity or conflicts that need a longer look ahead.";
}

// Markdown and LaTeX differ only in how they mark headings, prose and lists.
struct Handout {
  std::string (*heading)(int level, const std::string& text);
  std::string (*prose)(const std::string& text);
  std::string (*item)(const std::string& text);
  Format format;
};

std::string handoutBody(const Grammar& input, TransformKind kind, const TransformResult& result, const Handout& h) {
  std::string out = h.heading(1, std::string(transformTitle(kind)));
  out += h.prose("The grammar:");
  out += renderListing(grammarLines(input), h.format) + "\n";
  int k = 0;
  for (const TransformStep& step : result.steps) {
    out += h.heading(2, "Step " + std::to_string(++k) + ": " + step.title);
    out += h.prose(step.note);
    out += renderListing(grammarLines(step.grammar), h.format) + "\n";
    out += h.prose(changedText(step));
  }
  out += h.heading(2, "Result");
  out += renderListing(grammarLines(result.grammar), h.format) + "\n";
  if (!result.remainingConflicts.empty()) {
    out += h.prose(remainingText());
    for (const std::string& conflict : result.remainingConflicts) out += h.item(conflict);
    out += "\n";
  }
  return out;
}

const Handout kMarkdown{
    [](int level, const std::string& text) { return std::string(static_cast<size_t>(level), '#') + " " + markdownEscaped(text) + "\n\n"; },
    [](const std::string& text) { return markdownEscaped(text) + "\n\n"; },
    [](const std::string& text) { return "- " + markdownEscaped(text) + "\n"; },
    Format::kMarkdown};

const Handout kLatex{
    [](int level, const std::string& text) {
      return std::string(level == 1 ? "\\section*{" : "\\subsection*{") + latexEscaped(text) + "}\n";
    },
    [](const std::string& text) { return latexEscaped(text) + "\n\n"; },
    [](const std::string& text) { return "\\noindent\\textbullet\\ " + latexEscaped(text) + "\\\\\n"; },
    Format::kLatex};

std::string latexDocument(const std::string& body) {
  // ε is the empty string of the token notation; the default fonts have no glyph for it.
  return "\\documentclass{article}\n\\usepackage[T1]{fontenc}\n\\usepackage[utf8]{inputenc}\n\\usepackage{textcomp}\n"
         "\\usepackage{newunicodechar}\n\\newunicodechar{\xCE\xB5}{\\ensuremath{\\varepsilon}}\n"
         "\\begin{document}\n" + body + "\\end{document}\n";
}

std::string jsonSheet(const TransformResult& result) {
  nlohmann::ordered_json steps = nlohmann::ordered_json::array();
  for (const TransformStep& step : result.steps)
    steps.push_back({{"title", step.title}, {"note", step.note}, {"grammar", grammarText(step.grammar)},
                     {"changed", step.changed}});
  nlohmann::ordered_json out{{"steps", steps}, {"grammar", grammarText(result.grammar)}};
  if (!result.remainingConflicts.empty()) out["ll1Conflicts"] = result.remainingConflicts;
  return out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string transformFormatMisuse(Format format) {
  if (format == Format::kCsv) return "transform writes text, markdown, latex or json";
  return {};
}

std::string transformSheet(const Grammar& input, TransformKind kind, const TransformResult& result, Format format) {
  switch (format) {
    case Format::kMarkdown: return handoutBody(input, kind, result, kMarkdown);
    case Format::kLatex: return latexDocument(handoutBody(input, kind, result, kLatex));
    case Format::kJson: return jsonSheet(result);
    default: return grammarText(result.grammar);
  }
}
