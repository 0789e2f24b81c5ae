// Why a terminal is in First(X) and why a symbol is in Follow(A): the
// production that puts it there, a short derivation that shows it, and the
// same said in one sentence, e.g. "d is in Follow(A) because of B->ACd and
// C can vanish."  The conflict explanations and exercise grading ask here.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/grammar.h"

class Parsing;

struct Reason {
  bool holds = false;      // the symbol is in the set
  std::string production;  // the production that puts it there, "B->ACd"; empty for '$' of the start symbol
  // Sentential forms from the production's head (or the start symbol), one
  // production a step, ending in a form that shows the fact; "" is the empty form.
  std::vector<std::string> derivation;
  std::string sentence;    // one English sentence, ending with a full stop
};

// The answers for one grammar; build once, ask many times.  Holds its own
// copy of what it needs: the model may change or go after construction.
class Reasons {
 public:
  explicit Reasons(const Parsing& grammar);
  ~Reasons();
  Reasons(const Reasons&) = delete;
  Reasons& operator=(const Reasons&) = delete;

  // Why `terminal` (or kEmpty, the empty word) is in First(x).
  Reason first(Symbol x, Symbol terminal) const;
  // Why `terminal` (or kEmpty) is in First of a string of symbols, such as a right side.
  Reason firstOfString(const Symbols& symbols, Symbol terminal) const;
  // Why `symbol` (a terminal or the end marker) is in Follow(a).
  Reason follow(Symbol a, Symbol symbol) const;
  const Grammar& grammar() const;

 private:
  struct Data;
  std::unique_ptr<Data> data_;
};

// The forms joined by " => ", the empty form written `empty`.
std::string derivationText(const std::vector<std::string>& forms, std::string_view empty = "e");
