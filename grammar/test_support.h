// Helpers shared by the tests: models from rule lines, texts as std types.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "grammar/examples.h"
#include "grammar/parsing.h"
#include "grammar/reading.h"
#include "grammar/text_reading.h"

inline Row rowOf(std::initializer_list<const char*> texts) {
  Row row;
  for (const char* text : texts) row.insertTail(text);
  return row;
}

inline std::vector<std::string> strings(const Row& row) {
  std::vector<std::string> out;
  for (const HString& text : row) out.emplace_back(text.view());
  return out;
}

inline std::vector<std::vector<std::string>> cells(const Table& table) {
  std::vector<std::vector<std::string>> out;
  for (const Row& row : table) out.push_back(strings(row));
  return out;
}

// A model loaded from sound rule lines (they are read as the editor's lines).
inline Parsing modelOf(std::initializer_list<const char*> lines) {
  HString text;
  for (const char* line : lines) text += HString(line) + "\r\n";
  GrammarReading reading = readGrammar(text);
  Parsing model;
  if (reading.isSound()) model.loadRules(reading.lines);
  return model;
}

inline Parsing exampleModel(int number) {
  GrammarReading reading = readGrammar(editorTextOf(examples()[number - 1]));
  Parsing model;
  model.loadRules(reading.lines);
  return model;
}

// The text with the dot marker written as "°" (UTF-8), for readable expectations.
inline std::string shown(const HString& text) { return utf8ForDisplay(text.view()); }

inline std::vector<std::string> shown(const Row& row) {
  std::vector<std::string> out;
  for (const HString& text : row) out.push_back(shown(text));
  return out;
}

// A model loaded from a grammar text in either notation ("#notation: tokens" first).
inline Parsing modelOfText(const std::string& text) {
  GrammarTextReading reading = readGrammarText(text);
  Parsing model;
  if (reading.isSound()) model.loadGrammar(reading.grammar);
  return model;
}

// The expression grammar in the token notation.
inline const char* kTokenExpressions =
    "#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n";

// A chain of `n` + 1 non-terminals N0 -> N1 x0 | y, ..., N<n> -> z.
inline std::string tokenChain(int n) {
  std::string text = "#notation: tokens\n";
  for (int i = 0; i < n; ++i)
    text += "N" + std::to_string(i) + " -> N" + std::to_string(i + 1) + " x" + std::to_string(i) + " | y\n";
  return text + "N" + std::to_string(n) + " -> z\n";
}
