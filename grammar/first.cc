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

// First(X rest) is First(X) when X cannot vanish, else First(X) without 'e'
// followed by First(rest); the walk goes along the string instead of
// recursing on ever shorter copies of it, so long right sides cost no stack.
HString Parsing::firstOfStringWalk(HString alpha) const {
  HString found;
  for (int i = 0; i < alpha.getLength(); ++i) {
    HString head = firstWalk(alpha[i]);
    if (!isNullable(alpha[i])) return (found + head).removeDuplicates();
    found += head.withoutChar('e');
  }
  return (found + "e").removeDuplicates();
}

Row firstListing(const Parsing& model) {
  Row lines;
  for (const HString& rule : model.rules)
    lines.insertTail(HString("First(") + rule[0] + "): " + model.first(rule[0]));
  return lines;
}
