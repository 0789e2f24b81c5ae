// The grammar families of the benchmark, made by rule rather than kept in
// files: the explosive chains and the long grammar.  `tablomat-bench
// --print FAMILY N` writes one of them.
#pragma once

#include <string>

// The chain of n rules (1 <= n <= 24) of the form A->yBa|yB|zB,
// B->yCb|yC|zC, ..., after a first line I->A; each rule has its own
// terminal after the next non-terminal, and the last rule has x in place
// of a next non-terminal.  Its LR(0) and LALR automata have 5n + 2 states;
// the canonical LR(1) collection 5 * 2^n - 3, since every subset of the
// terminals above a rule can follow it.  With a closing rule the last
// non-terminal gets a rule of its own, ->x, instead: 5n + 3 LALR states
// and 6 * 2^n - 3 LR(1) states (393213 for n = 16).
std::string explosiveChain(int n, bool closingRule = false);

// A grammar of `lines` lines (at least 8): expressions over words, one
// word a line (W->word), the words drawn with a fixed seed.  Its LALR
// table has no conflict; the words make an LR(0) automaton of a few
// hundred thousand states.
std::string longGrammar(int lines);
