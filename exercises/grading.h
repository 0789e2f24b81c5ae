// Grading a student's answer against the key the program computes: each
// element of the answer and of the key (a symbol of a set, an action of a
// table cell, an item of a state) is marked right, wrong (in the answer,
// not in the key) or missing (in the key, not in the answer), a wrong or
// missing element with one sentence on why where the program can say it.
// Sets and cells are compared as sets, rows and items in any order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "writers/format.h"

enum class Mark { kRight, kWrong, kMissing };

// "right", "wrong", "missing".
const char* markName(Mark mark);

struct MarkedElement {
  std::string row;     // the set ("First(S)"), the row label of a table, or "" for items
  std::string column;  // the column symbol of a table, else ""
  std::string entry;   // the symbol, action, production or item
  Mark mark = Mark::kRight;
  std::string reason;  // for a wrong or missing element, when known
};

struct Grading {
  // What the row, column and entry of the elements are called ("Set",
  // "State", "Symbol", "Action", ...); an empty title means no such part.
  std::string rowTitle, columnTitle, entryTitle;
  std::vector<MarkedElement> elements;

  int count(Mark mark) const;
  bool allRight() const { return count(Mark::kWrong) == 0 && count(Mark::kMissing) == 0; }
};

// "Score: 7 of 9 right (77%); 1 wrong, 1 missing." The percentage is
// rounded down, so that 100% means all right.
std::string scoreText(const Grading& grading);

// The marks as a table (row, column, entry, mark, why), then the score:
// in JSON one object with "marks" and the counts.
std::string renderGrading(const Grading& grading, Format format);

// The results.json of a Gradescope autograder: the score (elements right)
// of the total (elements of the answer and the key), and one test per part
// of the answer that `testOf` names for an element (a set, a table row, a
// state), in the order the parts first occur; each test scores its right
// elements of its own and says why in the text format's table.
std::string renderGradescope(const Grading& grading,
                             const std::function<std::string(const MarkedElement&)>& testOf);

// The results.json of an answer that could not be graded: no score, and why.
std::string gradescopeFailure(const std::string& why);

// A grading or, when the answer cannot be read at all, why not.
struct GradeResult {
  Grading grading;
  std::string error;
  bool ok() const { return error.empty(); }
};
