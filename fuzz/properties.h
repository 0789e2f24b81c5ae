// What must hold for every input, whatever a student types: the checks the
// fuzzer runs on every generated input and the corpus test on every kept one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Inputs longer than this are passed over, so that one run stays fast.
inline constexpr size_t kLargestInput = 4096;
// Above this many LR(1) states the literal operations, which compare every
// state with every other, take too long to ask.
inline constexpr size_t kLargestOracle = 300;

// An input's first line is the word, the rest the editor text.  Runs the
// reading and, for a sound grammar, every analysis, and asks the literal
// operations for collections of up to `largestOracle` LR(1) states; returns
// what was found wrong, empty when everything holds.
std::vector<std::string> checkEverything(std::string_view input, size_t largestOracle = kLargestOracle);

class Parsing;
class HString;
// The oracle and the evaluation checks alone, for a loaded model.
std::vector<std::string> checkModel(const Parsing& model, const HString& word);
// The LALR automaton on the LR(0) states against the merged LR(1)
// collection, and the command layer's LALR results against the latter's.
std::vector<std::string> checkLalrRoutes(const Parsing& model);
