#include "exercises/generator.h"

#include <algorithm>

#include "automata/automaton.h"
#include "core/work.h"
#include "exercises/grammar_traits.h"
#include "exercises/random.h"
#include "grammar/reading.h"

namespace {

constexpr char kStartHead = 'I';
constexpr const char* kNonTerminalNames = "SABCDFGHJKLMNOPQRTUVWXYZ";
constexpr const char* kTerminalNames = "abcdfghijklmnopqrstuvwxyz";
constexpr int kLongestBody = 3;

// How ambiguity is looked for while drawing: short words suffice for the
// small grammars of exercises, and every attempt must stay quick.
constexpr AmbiguityBounds kDrawingBounds{7, 48, 300, 400'000};

// One alternative being drawn: its symbols, '\0' where none is chosen yet.
struct Draft {
  int head;            // index of the non-terminal
  bool base = false;   // the first of its head: only terminals and later non-terminals
  bool empty = false;  // the alternative "e"
  std::string symbols;
};

std::string plural(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

// "3 non-terminals, 6 productions, 3 terminals and left recursion".
std::string requestText(const GeneratorRequest& request) {
  std::vector<std::string> parts{plural(request.size.nonTerminals, "non-terminal", "non-terminals"),
                                 plural(request.size.productions, "production", "productions"),
                                 plural(request.size.terminals, "terminal", "terminals")};
  if (request.nullable) parts.push_back("nullable non-terminals");
  if (request.leftRecursion) parts.push_back("left recursion");
  std::string text;
  for (std::size_t k = 0; k < parts.size(); ++k)
    text += (k == 0 ? "" : k + 1 == parts.size() ? " and " : ", ") + parts[k];
  return text;
}

// The extra alternatives the flags need: an empty one and a left-recursive
// one, neither of which may be the first alternative of its head.
int flagAlternatives(const GeneratorRequest& request) {
  return (request.nullable ? 1 : 0) + (request.leftRecursion ? 1 : 0);
}

class Drawer {
 public:
  Drawer(const GeneratorRequest& request, SeededRandom& random) : request_(request), random_(random) {}

  // The rule lines of one drawn grammar, or none when the draw got stuck.
  std::optional<std::vector<std::string>> draw() {
    int n = request_.size.nonTerminals;
    std::vector<std::vector<std::string>> planted(static_cast<std::size_t>(n));
    if (request_.property == ExerciseProperty::kLR1NotLALR && canPlantMergeConflict(request_))
      plantMergeConflict(planted);
    // Heads that get an empty and a left-recursive alternative.
    int emptyHead = request_.nullable ? random_.below(n) : -1;
    int recursiveHead = request_.leftRecursion ? random_.below(n) : -1;
    std::optional<std::vector<int>> counts = alternativeCounts(planted, emptyHead, recursiveHead);
    if (!counts) return std::nullopt;
    makeDrafts(*counts, planted, emptyHead, recursiveHead);
    // Every non-terminal but S on a right side of an earlier one, so all
    // are reachable; every terminal somewhere.
    for (int x = 1; x < n; ++x) {
      char name = kNonTerminalNames[x];
      auto earlier = [&](const Draft& d) { return d.head < x; };
      if (!used(name, earlier) && !placeSomewhere(name, earlier)) return std::nullopt;
    }
    for (int t = 0; t < request_.size.terminals; ++t) {
      auto anywhere = [](const Draft&) { return true; };
      if (!used(kTerminalNames[t], anywhere) && !placeSomewhere(kTerminalNames[t], anywhere)) return std::nullopt;
    }
    if (request_.property == ExerciseProperty::kLL1) startApart();
    for (Draft& draft : drafts_)
      for (char& c : draft.symbols)
        if (c == '\0') c = fill(draft);
    return lines();
  }

 private:
  // How many alternatives each head gets: what is planted (at least one),
  // the flags' alternatives, and the rest of the productions at random.
  std::optional<std::vector<int>> alternativeCounts(const std::vector<std::vector<std::string>>& planted,
                                                    int emptyHead, int recursiveHead) {
    int n = request_.size.nonTerminals, extra = request_.size.productions;
    std::vector<int> counts(static_cast<std::size_t>(n));
    for (int x = 0; x < n; ++x) {
      int& count = counts[static_cast<std::size_t>(x)];
      count = std::max<int>(1, static_cast<int>(planted[static_cast<std::size_t>(x)].size())) + (x == emptyHead) +
              (x == recursiveHead);
      extra -= count;
    }
    if (extra < 0) return std::nullopt;
    for (; extra > 0; --extra) ++counts[static_cast<std::size_t>(random_.below(n))];
    return counts;
  }

  // Per head: the planted alternatives (the first of them, or else the
  // first drawn one, is the base), the empty one, the drawn ones with
  // their symbols still open, and the left-recursive one last.
  void makeDrafts(const std::vector<int>& counts, const std::vector<std::vector<std::string>>& planted, int emptyHead,
                  int recursiveHead) {
    drafts_.clear();
    for (int x = 0; x < request_.size.nonTerminals; ++x) {
      const std::vector<std::string>& fixed = planted[static_cast<std::size_t>(x)];
      int count = counts[static_cast<std::size_t>(x)];
      for (int k = 0; k < count; ++k) {
        Draft draft{x, k == 0, false, ""};
        bool recursive = x == recursiveHead && k == count - 1;
        if (k < static_cast<int>(fixed.size())) {
          draft.symbols = fixed[static_cast<std::size_t>(k)];
        } else if (x == emptyHead && k == std::max<int>(1, static_cast<int>(fixed.size()))) {
          draft.empty = true;
        } else {
          int length = recursive ? std::max(bodyLength(), 2) : bodyLength();
          draft.symbols.assign(static_cast<std::size_t>(length), '\0');
          if (recursive) draft.symbols[0] = kNonTerminalNames[x];
        }
        drafts_.push_back(draft);
      }
    }
  }

  // LL(1) grammars choose an alternative by its first terminal: where the
  // first symbol is still free, a terminal no other alternative of the head
  // starts with, while there is one.
  void startApart() {
    for (Draft& draft : drafts_) {
      if (draft.symbols.empty() || draft.symbols[0] != '\0') continue;
      std::vector<char> unused;
      for (int t = 0; t < request_.size.terminals; ++t) {
        bool taken = false;
        for (const Draft& other : drafts_)
          taken =
              taken || (other.head == draft.head && !other.symbols.empty() && other.symbols[0] == kTerminalNames[t]);
        if (!taken) unused.push_back(kTerminalNames[t]);
      }
      if (!unused.empty()) draft.symbols[0] = random_.pick(unused);
    }
  }

  // Whether the pattern below fits the size: S with four alternatives, A
  // and B with one, two distinct terminals at least.
  static bool canPlantMergeConflict(const GeneratorRequest& request) {
    const GrammarSize& size = request.size;
    return size.nonTerminals >= 3 && size.terminals >= 2 &&
           size.productions >= size.nonTerminals + 3 + flagAlternatives(request);
  }

  // LR(1) states that LALR merging turns into a reduce-reduce conflict
  // (the shape of the classic example, Aho, Lam, Sethi and Ullman,
  // "Compilers", 2nd ed., example 4.58): S->uAx|uBy|vAy|vBx with A->w,
  // B->w.  After uw the lookaheads are x for A and y for B, after vw the
  // other way round; the two states have one core and merge.  Random
  // alternatives around it often spoil it, and the check decides.
  void plantMergeConflict(std::vector<std::vector<std::string>>& planted) {
    int n = request_.size.nonTerminals, t = request_.size.terminals;
    int a = 1 + random_.below(n - 1), b = 1 + random_.below(n - 2);
    if (b >= a) ++b;
    auto twoTerminals = [&] {
      int first = random_.below(t), second = random_.below(t - 1);
      if (second >= first) ++second;
      return std::pair<char, char>(kTerminalNames[first], kTerminalNames[second]);
    };
    auto [u, v] = twoTerminals();
    auto [x, y] = twoTerminals();
    std::string w(1, kTerminalNames[random_.below(t)]);
    if (random_.percent(40)) w += kTerminalNames[random_.below(t)];
    char nameA = kNonTerminalNames[a], nameB = kNonTerminalNames[b];
    planted[0] = {std::string{u, nameA, x}, std::string{u, nameB, y}, std::string{v, nameA, y},
                  std::string{v, nameB, x}};
    random_.shuffle(planted[0]);
    planted[static_cast<std::size_t>(a)] = {w};
    planted[static_cast<std::size_t>(b)] = {w};
  }

  template <class Allowed>
  bool used(char symbol, Allowed allowed) const {
    for (const Draft& draft : drafts_)
      if (allowed(draft) && draft.symbols.find(symbol) != std::string::npos) return true;
    return false;
  }

  int bodyLength() {
    int roll = random_.below(100);
    return roll < 25 ? 1 : roll < 70 ? 2 : kLongestBody;
  }

  // A free position of a draft that `allowed` admits, drawn uniformly.
  template <class Allowed>
  bool placeSomewhere(char symbol, Allowed allowed) {
    std::vector<std::pair<std::size_t, std::size_t>> free;
    for (std::size_t d = 0; d < drafts_.size(); ++d)
      if (allowed(drafts_[d]))
        for (std::size_t i = 0; i < drafts_[d].symbols.size(); ++i)
          if (drafts_[d].symbols[i] == '\0') free.emplace_back(d, i);
    if (free.empty()) return false;
    auto [d, i] = random_.pick(free);
    drafts_[d].symbols[i] = symbol;
    return true;
  }

  // A symbol for a free position: a first alternative takes terminals and
  // later non-terminals only, so that every non-terminal derives a word.
  char fill(const Draft& draft) {
    int n = request_.size.nonTerminals;
    int later = n - 1 - draft.head;
    if (random_.percent(55) || (draft.base && later == 0))
      return kTerminalNames[random_.below(request_.size.terminals)];
    if (draft.base) return kNonTerminalNames[draft.head + 1 + random_.below(later)];
    return kNonTerminalNames[random_.below(n)];
  }

  // "I->S", then one line per non-terminal with its alternatives shuffled
  // and the empty one last.
  std::vector<std::string> lines() {
    std::vector<std::string> out{std::string(1, kStartHead) + "->S"};
    for (int x = 0; x < request_.size.nonTerminals; ++x) {
      std::vector<std::string> bodies;
      bool empty = false;
      for (const Draft& draft : drafts_) {
        if (draft.head != x) continue;
        if (draft.empty)
          empty = true;
        else
          bodies.push_back(draft.symbols);
      }
      random_.shuffle(bodies);
      if (empty) bodies.push_back("e");
      std::string line = std::string(1, kNonTerminalNames[x]) + "->";
      for (std::size_t k = 0; k < bodies.size(); ++k) line += (k > 0 ? "|" : "") + bodies[k];
      out.push_back(line);
    }
    return out;
  }

  const GeneratorRequest& request_;
  SeededRandom& random_;
  std::vector<Draft> drafts_;
};

bool hasRepeatedAlternative(const Parsing& model) {
  std::vector<Production> productions = model.typed.productions;
  std::sort(productions.begin(), productions.end(), [](const Production& a, const Production& b) {
    return a.head != b.head ? a.head < b.head : a.body < b.body;
  });
  return std::adjacent_find(productions.begin(), productions.end()) != productions.end();
}

// The item sets the exercise asks for stay small enough to build by hand.
bool collectionFits(const Parsing& model, const GeneratorRequest& request) {
  switch (request.property) {
    case ExerciseProperty::kSLRNotLL1:
      return static_cast<int>(buildLR0Automaton(model).states.size()) <= collectionBound(request);
    case ExerciseProperty::kLALRNotSLR:
    case ExerciseProperty::kLR1NotLALR:
      return static_cast<int>(buildLR1Automaton(model).states.size()) <= collectionBound(request);
    case ExerciseProperty::kLL1:
    case ExerciseProperty::kAmbiguous: return true;
  }
  return true;
}

bool readable(const Parsing& model, const GeneratorRequest& request) {
  GrammarTraits traits = traitsOf(model);
  // The head of the first rule, I, is never nullable or left-recursive by itself.
  return traits.unreachable.empty() && traits.unproductive.empty() && traits.cyclic.empty() &&
         traits.nullable.empty() != request.nullable && traits.leftRecursive.empty() != request.leftRecursion;
}

}  // namespace

Parsing modelOfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  GrammarReading reading = readGrammar(editorText(text));
  Parsing model;
  if (reading.isSound()) model.loadRules(reading.lines);
  return model;
}

int collectionBound(const GeneratorRequest& request) {
  return request.largestCollection > 0 ? request.largestCollection : 3 * request.size.productions + 3;
}

std::string requestProblem(const GeneratorRequest& request) {
  const GrammarSize& size = request.size;
  if (size.nonTerminals < 1 || size.nonTerminals > kLargestNonTerminals)
    return "The number of non-terminals must be between 1 and " + std::to_string(kLargestNonTerminals) + ".";
  if (size.terminals < 1 || size.terminals > kLargestTerminals)
    return "The number of terminals must be between 1 and " + std::to_string(kLargestTerminals) + ".";
  if (size.productions > kLargestProductions)
    return "The number of productions must be at most " + std::to_string(kLargestProductions) + ".";
  int fewest = size.nonTerminals + flagAlternatives(request);
  if (size.productions < fewest)
    return "A grammar with " + plural(size.nonTerminals, "non-terminal", "non-terminals") +
           (flagAlternatives(request) > 0 ? " and the features asked for" : "") + " needs at least " +
           plural(fewest, "production", "productions") + ".";
  int places = (size.productions - (request.nullable ? 1 : 0)) * kLongestBody;
  int needed = size.nonTerminals - 1 + size.terminals + (request.leftRecursion ? 1 : 0);
  if (places < needed)
    return plural(size.productions, "production", "productions") + " of at most " + std::to_string(kLongestBody) +
           " symbols cannot use " + plural(size.nonTerminals, "non-terminal", "non-terminals") + " and " +
           plural(size.terminals, "terminal", "terminals") + ".";
  if (request.property == ExerciseProperty::kLL1 && request.leftRecursion)
    return "An LL(1) grammar cannot be left-recursive.";
  if (request.attempts < 1) return "The number of attempts must be at least 1.";
  return "";
}

Generation generateGrammar(const GeneratorRequest& request) {
  Generation result;
  result.message = requestProblem(request);
  if (!result.message.empty()) return result;
  SeededRandom random(request.seed);
  Drawer drawer(request, random);
  for (long attempt = 1; attempt <= request.attempts; ++attempt) {
    noteWork();
    std::optional<std::vector<std::string>> lines = drawer.draw();
    if (!lines) continue;
    Parsing model = modelOfLines(*lines);
    if (model.rules.getCount() != static_cast<int>(lines->size()) || hasRepeatedAlternative(model) ||
        !readable(model, request) || !collectionFits(model, request))
      continue;
    PropertyCheck check = checkProperty(model, request.property, kDrawingBounds);
    if (!check.holds) continue;
    result.grammar = GeneratedGrammar{*lines, attempt, check.witness};
    return result;
  }
  result.message = std::string("No ") + propertyTitle(request.property) + " grammar with " + requestText(request) +
                   " was found in " + std::to_string(request.attempts) + " attempts; try another size or seed.";
  return result;
}
