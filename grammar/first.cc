// First sets: which terminals can begin a derivation of a symbol or a string,
// with 'e' for the empty string.  A depth-first walk that expands each
// non-terminal once per top-level call (the visited flags stop recursion and
// cycles); whether 'e' is passed on rests on the nullable flags alone.
#include "grammar/first.h"

#include <cstring>

HString Parsing::first(char x) const {
  std::memset(visited, 0, sizeof visited);
  return firstWalk(x);
}

HString Parsing::firstOfString(HString alpha) const {
  std::memset(visited, 0, sizeof visited);
  return firstOfStringWalk(alpha);
}

HString Parsing::firstWalk(char x) const {
  if (isTerminal(x)) return HString(x);
  unsigned char code = static_cast<unsigned char>(x);
  if (visited[code]) return HString();
  visited[code] = 1;
  HString found;
  for (const HString& production : productionsOf(x)) found += firstOfStringWalk(production.getSubString(3));
  return found.removeDuplicates();
}

HString Parsing::firstOfStringWalk(HString alpha) const {
  if (alpha.getLength() == 0) return HString("e");
  char x = alpha[0];
  HString head = firstWalk(x);
  if (!isNullable(x)) return head.removeDuplicates();
  return (head.withoutChar('e') + firstOfStringWalk(alpha.getSubString(1))).removeDuplicates();
}

Row firstListing(const Parsing& model) {
  Row lines;
  for (const HString& rule : model.rules)
    lines.insertTail(HString("First(") + rule[0] + "): " + model.first(rule[0]));
  return lines;
}
