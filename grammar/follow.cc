// Follow sets of every non-terminal at once, without iterating sets to a
// fixed point: each rule's string records a dependency on another rule's
// Follow set as a reference character (code k stands for rule k - 1), and
// resolveFollow substitutes the references textually, one pass per rule.
//
// Why references never meet terminals: the codes 1 to 30 are control
// characters, which the reading refuses in a grammar ("Character code N not
// supported."), and a sound grammar has at most 26 rules, one per letter.
//
// Why the passes suffice: within a pass, a string's scan goes on behind each
// substitution, so the references a substitution brings in are resolved in
// the same pass, except one that lands on the scan position itself (the
// scan resumes after it) and a string's reference to itself, which adds
// nothing new.  A reference left behind is resolved by the next pass, whose
// substitution may again leave one behind further along the same chain of
// references; a chain passes through distinct rules, so one pass per rule
// resolves every chain.  The fuzzer compares the result with the fixed point
// of the textbook definition on every input it makes.
#include "grammar/follow.h"

namespace {

// Codes of the reference characters; rule i is referred to by code i + 1.
constexpr int kFirstReference = 1;
constexpr int kLastReference = 30;

}  // namespace

Row Parsing::follow() const {
  Row sets;
  for (int i = 0; i < rules.getCount(); ++i) sets.insertTail(HString());
  if (sets.getCount() > 0) sets[0] = "$";
  int i = 0;
  for (const HString& rule : rules) {
    for (int p = 3; p != 0; p = rule.find('|', p) + 1) followScan(i, p, sets);
    ++i;
  }
  resolveFollow(sets);
  return sets;
}

// Walks one alternative of rule i from position j.  For a non-terminal the
// First set of what follows it is appended at once; its reference to rule i
// is appended after the later symbols of the alternative were handled, so
// the references come out right to left.
void Parsing::followScan(int i, int j, Row& sets) const {
  const HString& rule = rules[i];
  HList<int> pendingReferences;
  for (;; ++j) {
    char c = rule[j];
    if (!isTerminal(c)) {
      int k = indexOfNonTerminal(c);
      HString following;
      if (hasNextSymbol(i, j)) {
        following = firstOfString(rule.getToken("|", j + 1));
        sets[k] += following;
      }
      if (!hasNextSymbol(i, j) || following.find('e') != -1) pendingReferences.insertTail(k);
    }
    if (!hasNextSymbol(i, j)) break;
  }
  while (pendingReferences.getCount() > 0)
    sets[pendingReferences.removeHead()] += static_cast<char>(kFirstReference + i);
}

bool Parsing::hasNextSymbol(int i, int j) const {
  const HString& rule = rules[i];
  return j + 1 < rule.getLength() && rule[j + 1] != '|';
}

void Parsing::resolveFollow(Row& sets) const {
  for (HString& set : sets) {
    set = set.removeDuplicates();
    set.removeChar('e');
  }
  int n = sets.getCount();
  for (int pass = 0; pass < n; ++pass) {
    for (HString& set : sets) {
      for (int q = set.findInRange(kFirstReference, kLastReference); q != -1;
           q = set.findInRange(kFirstReference, kLastReference, q + 1)) {
        char reference = set[q];
        HString referred = sets[reference - kFirstReference];
        set = set.replace(HString(reference).getString(), referred.getString()).removeDuplicates();
      }
    }
  }
  for (HString& set : sets) set = set.withoutRange(kFirstReference, kLastReference);
}

Row followListing(const Parsing& model, const Row& followSets) {
  Row lines;
  int i = 0;
  for (const HString& set : followSets)
    lines.insertTail(HString("Follow(") + model.rules[i++][0] + "): " + set);
  return lines;
}
