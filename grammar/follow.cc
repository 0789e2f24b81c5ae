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

#include <vector>

#include "grammar/ordered_follow.h"
#include "grammar/symbol_text.h"

namespace {

// Codes of the reference characters; rule i is referred to by code i + 1.
constexpr int kFirstReference = 1;
constexpr int kLastReference = 30;

}  // namespace

// Every set grows as a standard string without repeats (the resolution
// keeps first occurrences anyway), so a non-terminal met many times costs
// no copies of its growing set.
Row Parsing::follow() const {
  FollowSets sets(static_cast<size_t>(rules.getCount()));
  if (!sets.empty()) sets[0].add("$");
  int i = 0;
  for (const HString& rule : rules) {
    for (int p = 3; p != 0; p = rule.find('|', p) + 1) followScan(i, p, sets);
    ++i;
  }
  Row resolved;
  for (FollowSet& set : sets) resolved.insertTail(HString(set.text.data(), static_cast<int>(set.text.size())));
  resolveFollow(resolved);
  return resolved;
}

// Walks one alternative of rule i from position j.  For a non-terminal the
// First set of what follows it is appended at once; its reference to rule i
// is appended after the later symbols of the alternative were handled, so
// the references come out right to left.
void Parsing::followScan(int i, int j, FollowSets& sets) const {
  std::string_view rule = rules[i].view();
  size_t end = rule.find('|', static_cast<size_t>(j));
  std::string_view alternative = rule.substr(0, end == std::string_view::npos ? rule.size() : end);
  std::vector<int> pendingReferences;
  for (size_t at = static_cast<size_t>(j); at < alternative.size(); ++at) {
    char c = alternative[at];
    if (isTerminal(c)) continue;
    size_t k = static_cast<size_t>(indexOfNonTerminal(c));
    bool last = at + 1 == alternative.size();
    bool vanishes = last;
    if (!last) {
      HString following = firstOfString(HString(alternative.data() + at + 1, static_cast<int>(alternative.size() - at - 1)));
      sets[k].add(following.view());
      vanishes = following.find('e') != -1;
    }
    if (vanishes) pendingReferences.push_back(static_cast<int>(k));
  }
  for (auto k = pendingReferences.rbegin(); k != pendingReferences.rend(); ++k)
    sets[static_cast<size_t>(*k)].add(static_cast<char>(kFirstReference + i));
}

void FollowSet::add(char c) {
  if (seen[static_cast<unsigned char>(c)]) return;
  seen[static_cast<unsigned char>(c)] = true;
  text += c;
}

void FollowSet::add(std::string_view characters) {
  for (char c : characters) add(c);
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

Row followListing(const Grammar& grammar) {
  std::vector<Symbols> sets = followSets(grammar);
  Row lines;
  for (Symbol x : grammar.nonTerminals())
    lines.insertTail(
        HString(("Follow(" + grammar.name(x) + "): " + symbolsText(grammar, sets[static_cast<size_t>(x)])).c_str()));
  return lines;
}
