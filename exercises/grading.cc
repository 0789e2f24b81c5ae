#include "exercises/grading.h"

#include <algorithm>
#include <nlohmann/json.hpp>

const char* markName(Mark mark) {
  switch (mark) {
    case Mark::kRight: return "right";
    case Mark::kWrong: return "wrong";
    case Mark::kMissing: return "missing";
  }
  return "";
}

int Grading::count(Mark mark) const {
  int n = 0;
  for (const MarkedElement& element : elements) n += element.mark == mark;
  return n;
}

std::string scoreText(const Grading& grading) {
  int right = grading.count(Mark::kRight), wrong = grading.count(Mark::kWrong);
  int missing = grading.count(Mark::kMissing), total = right + wrong + missing;
  int percent = total == 0 ? 100 : right * 100 / total;
  return "Score: " + std::to_string(right) + " of " + std::to_string(total) + " right (" + std::to_string(percent) +
         "%); " + std::to_string(wrong) + " wrong, " + std::to_string(missing) + " missing.";
}

namespace {

// The parts the elements have, in order: row, column, entry.
struct Part {
  std::string title;
  std::string MarkedElement::*field;
};

std::vector<Part> partsOf(const Grading& grading) {
  std::vector<Part> parts;
  if (!grading.rowTitle.empty()) parts.push_back({grading.rowTitle, &MarkedElement::row});
  if (!grading.columnTitle.empty()) parts.push_back({grading.columnTitle, &MarkedElement::column});
  parts.push_back({grading.entryTitle, &MarkedElement::entry});
  return parts;
}

std::string jsonKey(std::string title) {
  for (char& c : title) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c == ' ' ? '-' : c);
  return title;
}

}  // namespace

std::string renderGrading(const Grading& grading, Format format) {
  std::vector<Part> parts = partsOf(grading);
  if (format == Format::kJson) {
    nlohmann::ordered_json report;
    report["marks"] = nlohmann::ordered_json::array();
    for (const MarkedElement& element : grading.elements) {
      nlohmann::ordered_json mark;
      for (const Part& part : parts) mark[jsonKey(part.title)] = element.*part.field;
      mark["mark"] = markName(element.mark);
      mark["why"] = element.reason;
      report["marks"].push_back(mark);
    }
    report["right"] = grading.count(Mark::kRight);
    report["wrong"] = grading.count(Mark::kWrong);
    report["missing"] = grading.count(Mark::kMissing);
    report["allRight"] = grading.allRight();
    report["score"] = scoreText(grading);
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  }
  Cells rows;
  std::vector<std::string> header;
  for (const Part& part : parts) header.push_back(part.title);
  header.push_back("Mark");
  header.push_back("Why");
  rows.push_back(header);
  for (const MarkedElement& element : grading.elements) {
    std::vector<std::string> row;
    for (const Part& part : parts) row.push_back(element.*part.field);
    row.push_back(markName(element.mark));
    row.push_back(element.reason);
    rows.push_back(row);
  }
  std::string score = scoreText(grading);
  switch (format) {
    case Format::kText: return renderTable(rows, format) + "\n" + score + "\n";
    case Format::kCsv: return renderTable(rows, format) + renderTable({{score}}, format);
    case Format::kMarkdown: return renderTable(rows, format) + "\n" + markdownEscaped(score) + "\n";
    case Format::kLatex: return renderTable(rows, format) + "\n" + latexEscaped(score) + "\n";
    case Format::kJson: break;
  }
  return "";
}

std::string renderGradescope(const Grading& grading,
                             const std::function<std::string(const MarkedElement&)>& testOf) {
  std::vector<std::string> names;
  std::vector<Grading> parts;
  for (const MarkedElement& element : grading.elements) {
    std::string name = testOf(element);
    auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) {
      names.push_back(name);
      parts.push_back(Grading{grading.rowTitle, grading.columnTitle, grading.entryTitle, {}});
      at = names.end() - 1;
    }
    parts[static_cast<std::size_t>(at - names.begin())].elements.push_back(element);
  }
  auto total = [](const Grading& g) { return static_cast<int>(g.elements.size()); };
  nlohmann::ordered_json results;
  results["score"] = grading.count(Mark::kRight);
  results["max_score"] = total(grading);
  results["output"] = scoreText(grading);
  // The marks are a table in aligned columns: shown as preformatted text.
  results["output_format"] = "text";
  results["tests"] = nlohmann::ordered_json::array();
  for (std::size_t k = 0; k < parts.size(); ++k) {
    nlohmann::ordered_json test;
    test["name"] = names[k];
    test["score"] = parts[k].count(Mark::kRight);
    test["max_score"] = total(parts[k]);
    test["status"] = parts[k].allRight() ? "passed" : "failed";
    test["output"] = renderGrading(parts[k], Format::kText);
    results["tests"].push_back(test);
  }
  return results.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string gradescopeFailure(const std::string& why) {
  nlohmann::ordered_json results;
  results["score"] = 0;
  results["output"] = why;
  results["tests"] = nlohmann::ordered_json::array();
  return results.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
