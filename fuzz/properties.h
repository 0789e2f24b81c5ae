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

// The fuzzer's targets: the whole analysis (checkEverything), and parts
// fast enough for thousands of inputs a second, each with its properties and
// its own largest input.
enum class FuzzTarget { kReading, kSets, kLL1, kWriters, kTrees, kTransform, kAnalysis };
struct FuzzTargetInfo {
  FuzzTarget target;
  const char* name;  // as the fuzzer binary and the Makefile name it
  size_t largestInput;
};
const std::vector<FuzzTargetInfo>& fuzzTargets();
// The checks of one target on an input of the same form; longer inputs pass.
std::vector<std::string> checkTarget(FuzzTarget target, std::string_view input);

class Parsing;
class HString;
// The oracle, the evaluation and the tree checks alone (the trees in both
// notations), for a loaded model.
std::vector<std::string> checkModel(const Parsing& model, const HString& word);
// The LALR automaton on the LR(0) states against the merged LR(1)
// collection, and the command layer's LALR results against the latter's.
std::vector<std::string> checkLalrRoutes(const Parsing& model);
