// Moodle reads every question text as HTML inside the XML, so each text
// is written as HTML in a CDATA section.  Every character that HTML, the
// XML around it or the embedded-answer syntax could read as its own
// (& < > " ' and { } ~ # \ /) is written as a numeric character reference:
// Moodle decodes the references of an embedded answer before it compares,
// and a '#' or '~' preceded by '&' ends no answer, so a grammar's symbols
// reach the student and the key exactly as they are.  Moodle compares
// short answers as whole texts; the sets and the cells with several
// entries therefore list their orders as alternative right answers.
#include "exercises/moodle.h"

#include <algorithm>

#include "exercises/generator.h"
#include "graphs/automaton_dot.h"
#include "layout/dot_text.h"
#include "layout/graphviz.h"
#include "graphs/neighbourhood.h"

namespace {

// Sets and cells of at most this many symbols or entries are right in
// every order; larger ones in the key's order and in character order.
constexpr std::size_t kAnyOrderUpTo = 4;

std::string html(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (std::string_view("&<>\"'{}~#\\/").find(c) != std::string_view::npos)
      out += "&#" + std::to_string(static_cast<int>(c)) + ";";
    else if (c == '\r' || c == '\n')
      out += ' ';
    else
      out += c;
  }
  return out;
}

// A CDATA section holding the text; a "]]>" inside it is split across two.
std::string cdata(const std::string& text) {
  std::string out = "<![CDATA[";
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("]]>", from)) != std::string::npos; from = at + 2)
    out += text.substr(from, at + 2 - from) + "]]><![CDATA[";
  return out + text.substr(from) + "]]>";
}

std::string base64(std::string_view bytes) {
  static const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

struct Picture {
  std::string name;  // the file name the text refers to
  std::string svg;
};

// An element holding HTML, with the files its text shows.
std::string htmlElement(const std::string& tag, const std::string& text, const std::vector<Picture>& files = {}) {
  std::string out = "    <" + tag + " format=\"html\">\n      <text>" + cdata(text) + "</text>\n";
  for (const Picture& file : files)
    out += "      <file name=\"" + file.name + "\" path=\"/\" encoding=\"base64\">" + base64(file.svg) + "</file>\n";
  return out + "    </" + tag + ">\n";
}

std::string question(const std::string& type, const std::string& name, const std::string& body) {
  return "  <question type=\"" + type + "\">\n    <name>\n      <text>" + htmlText(name) + "</text>\n    </name>\n" +
         body + "  </question>\n";
}

std::string preformatted(const std::vector<std::string>& lines) {
  std::string out = "<pre>";
  for (const std::string& line : lines) out += html(line) + "\n";
  return out + "</pre>";
}

// ---- embedded short answers

// The orders a student may write a set of symbols or a cell's entries in.
std::vector<std::string> orders(std::vector<std::string> parts, const std::string& between) {
  auto joined = [&](const std::vector<std::string>& p) {
    std::string out;
    for (const std::string& part : p) out += (out.empty() ? "" : between) + part;
    return out;
  };
  std::vector<std::string> texts{joined(parts)};
  std::vector<std::string> sorted = parts;
  std::sort(sorted.begin(), sorted.end());
  if (parts.size() > kAnyOrderUpTo) {
    if (sorted != parts) texts.push_back(joined(sorted));
    return texts;
  }
  do {
    if (sorted != parts) texts.push_back(joined(sorted));
  } while (std::next_permutation(sorted.begin(), sorted.end()));
  return texts;
}

// A right answer as Moodle matches it: a * would match anything.
std::string literal(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '*' ? std::string("\\*") : std::string(1, c);
  return out;
}

// {1:SHORTANSWER_C:=a~=b~*#...}: every right text, and for anything else
// the key as the feedback.  Case counts: S and s are different symbols.
std::string shortAnswer(const std::vector<std::string>& right) {
  std::string out = "{1:SHORTANSWER_C:";
  for (std::size_t k = 0; k < right.size(); ++k) out += (k > 0 ? "~=" : "=") + html(literal(right[k])) + "#Right.";
  return out + "~*#The key: " + html(right[0]) + "}";
}

bool inTokens(const Exercise& exercise) { return exercise.request.notation == Notation::kTokens; }

// The parts of a text between separators: "s3|r2" holds two entries at "|".
std::vector<std::string> partsOf(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size())
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

// A set's symbols: characters run together, or tokens apart by blanks.
std::vector<std::string> symbolsOf(const std::string& set, bool tokens) {
  if (tokens) return partsOf(set, " ");
  std::vector<std::string> symbols;
  for (char c : set) symbols.emplace_back(1, c);
  return symbols;
}

constexpr const char* kEmptyMark = "-";

// The cell without the blanks around it, which a student does not type.
std::string trimmed(const std::string& cell) {
  std::size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
  return first == std::string::npos ? "" : cell.substr(first, last - first + 1);
}

// A token LL(1) cell writes its entries apart by " | " (a terminal | is
// quoted there), the LR cells and the classic ones by "|" alone.
std::string cellAnswer(const std::string& cell, bool tokens) {
  std::string text = trimmed(cell);
  std::string bar = tokens && text.find(" -> ") != std::string::npos ? " | " : "|";
  return shortAnswer(text.empty() ? std::vector<std::string>{kEmptyMark} : orders(partsOf(text, bar), bar));
}

// "First(E): (i" lines, each set a blank to fill.
std::string setsCloze(const Question& question, bool tokens) {
  std::string how = tokens ? "Write the symbols of each set with one blank between two of them, without commas, as "
                             "a b $ (\xCE\xB5 for the empty word); a set of more than four symbols in the order of "
                             "their character codes, and - for an empty set."
                           : "Write the symbols of each set one after the other, without blanks or commas, as "
                             "ab$ (e for the empty word); a set of more than four symbols in the order of their "
                             "character codes, and - for an empty set.";
  std::string text = "<p>" + html(question.text) + "</p>\n<p>" + html(how) + "</p>\n<table>\n";
  for (const std::string& line : question.answer.listing) {
    std::size_t colon = line.find(": ");
    std::string name = colon == std::string::npos ? line : line.substr(0, colon);
    std::string set = colon == std::string::npos ? "" : line.substr(colon + 2);
    std::vector<std::string> right =
        set.empty() ? std::vector<std::string>{kEmptyMark} : orders(symbolsOf(set, tokens), tokens ? " " : "");
    text += "<tr><td>" + html(name) + ":</td><td>" + shortAnswer(right) + "</td></tr>\n";
  }
  return text + "</table>";
}

// A table with its header row, its row labels and the first `givenCells`
// cells of its first row shown, every other cell a blank.
std::string tableCloze(const std::string& asked, const std::string& instruction, const Cells& table, bool tokens,
                       std::size_t givenCells = 0) {
  std::string text = "<p>" + html(asked) + "</p>\n<p>" + html(instruction) +
                     "</p>\n<table border=\"1\" cellpadding=\"3\">\n";
  for (std::size_t i = 0; i < table.size(); ++i) {
    text += "<tr>";
    for (std::size_t j = 0; j < table[i].size(); ++j) {
      if (i == 0 || j == 0)
        text += "<th>" + html(table[i][j]) + "</th>";
      else if (i == 1 && j <= givenCells)
        text += "<td>" + html(trimmed(table[i][j])) + "</td>";
      else
        text += "<td>" + cellAnswer(table[i][j], tokens) + "</td>";
    }
    text += "</tr>\n";
  }
  return text + "</table>";
}

std::string cloze(const std::string& name, const std::string& text) {
  return question("cloze", name,
                  htmlElement("questiontext", text) + htmlElement("generalfeedback", "") +
                      "    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n");
}

// ---- multiple choice: is the grammar of the class?

std::string classChoice(const std::string& name, const Question& question) {
  std::string asked = "Is the grammar " + question.grammarClass + "?";
  std::string why = question.answer.notes.empty() ? "" : question.answer.notes[0];
  auto answer = [&](const std::string& text, bool right) {
    return "    <answer fraction=\"" + std::string(right ? "100" : "0") + "\" format=\"html\">\n      <text>" +
           cdata(html(text)) + "</text>\n      <feedback format=\"html\">\n        <text>" +
           cdata(html((right ? "Right. " : "No. ") + why)) + "</text>\n      </feedback>\n    </answer>\n";
  };
  std::string body = htmlElement("questiontext", "<p>" + html(asked) + "</p>") +
                     htmlElement("generalfeedback", "<p>" + html(why) + "</p>") +
                     "    <defaultgrade>1</defaultgrade>\n    <penalty>1</penalty>\n    <hidden>0</hidden>\n"
                     "    <single>true</single>\n    <shuffleanswers>false</shuffleanswers>\n"
                     "    <answernumbering>none</answernumbering>\n" +
                     htmlElement("correctfeedback", "") + htmlElement("partiallycorrectfeedback", "") +
                     htmlElement("incorrectfeedback", "") +
                     answer("Yes, it is " + question.grammarClass + ".", question.inClass) +
                     answer("No, it is not " + question.grammarClass + ".", !question.inClass);
  return ::question("multichoice", name, body);
}

// ---- essays: item sets and derivations, marked by the teacher

// The drawing of the automaton whose states the question asks for, when
// it is small enough to read, in the exercise's notation.
std::vector<Picture> automatonPicture(const Exercise& exercise, GraphKind kind) {
  AutomatonGraph graph = automatonGraph(exerciseModel(exercise), kind);
  if (!drawable(graph)) return {};
  try {
    std::string name = std::string(kind == GraphKind::kLR0 ? "lr0" : kind == GraphKind::kLR1 ? "lr1" : "lalr") +
                       "-automaton.svg";
    return {Picture{name, svgOfDot(automatonDot(graph))}};
  } catch (const GraphvizError&) {
    return {};
  }
}

std::string essay(const std::string& name, const Question& question, const std::vector<Picture>& pictures) {
  std::string key = preformatted(question.answer.listing);
  for (const Picture& picture : pictures)
    key += "\n<p><img src=\"@@PLUGINFILE@@/" + picture.name + "\" alt=\"" + html("The automaton") + "\"></p>";
  std::string body = htmlElement("questiontext", "<p>" + html(question.text) + "</p>") +
                     htmlElement("generalfeedback", "<p>The key:</p>\n" + key, pictures) +
                     "    <defaultgrade>1</defaultgrade>\n    <penalty>0</penalty>\n    <hidden>0</hidden>\n"
                     "    <responseformat>monospaced</responseformat>\n    <responserequired>1</responserequired>\n"
                     "    <responsefieldlines>20</responsefieldlines>\n    <attachments>0</attachments>\n"
                     "    <attachmentsrequired>0</attachmentsrequired>\n" +
                     htmlElement("graderinfo", "<p>The key:</p>\n" + key, pictures) +
                     htmlElement("responsetemplate", "");
  return ::question("essay", name, body);
}

std::string description(const Exercise& exercise, const std::string& name) {
  std::string text = "<p>" +
                     html(std::string("A grammar that is ") + propertyTitle(exercise.request.property) +
                          (inTokens(exercise) ? ", in the token notation (its symbols stand apart by blanks)" : "")) +
                     "</p>\n" + preformatted(exercise.grammar) + "\n<p>" +
                     html("Word: " + wordText(exercise)) +
                     "</p>";
  return question("description", name,
                  htmlElement("questiontext", text) + htmlElement("generalfeedback", "") +
                      "    <defaultgrade>0</defaultgrade>\n    <penalty>0</penalty>\n    <hidden>0</hidden>\n");
}

}  // namespace

std::string moodleQuiz(const Exercise& exercise) {
  std::string prefix = std::string(propertyName(exercise.request.property)) + " seed " +
                       std::to_string(exercise.request.seed);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
  out += "  <question type=\"category\">\n    <category>\n      <text>" +
         htmlText("$course$/top/Tablomat/" + prefix) + "</text>\n    </category>\n  </question>\n";
  out += description(exercise, prefix + ": the grammar");
  int k = 0;
  for (const Question& q : exercise.questions) {
    std::string name = prefix + ", question " + std::to_string(++k);
    switch (q.kind) {
      case QuestionKind::kSets: out += cloze(name, setsCloze(q, inTokens(exercise))); break;
      case QuestionKind::kTable:
        out += cloze(name + "a", tableCloze(q.text.substr(0, q.text.find(" Is the grammar")),
                                            "Write - in a cell that stays empty, and several entries of one "
                                            "cell separated by |, as s3|r2.",
                                            q.answer.table, inTokens(exercise)));
        out += classChoice(name + "b", q);
        break;
      case QuestionKind::kParse:
        // The first stack and input show how to write them.
        out += cloze(name, tableCloze(q.text,
                                      "Write a stack from the bottom up with a blank between its entries, as the "
                                      "first row shows, and - for an empty action.",
                                      q.answer.table, inTokens(exercise), 2));
        break;
      case QuestionKind::kItems: out += essay(name, q, automatonPicture(exercise, q.automaton)); break;
      case QuestionKind::kTwoTrees:
      case QuestionKind::kTransform: out += essay(name, q, {}); break;
    }
  }
  return out + "</quiz>\n";
}
