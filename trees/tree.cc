#include "trees/tree.h"

#include <algorithm>

#include "core/work.h"
#include "grammar/symbol_text.h"

namespace {

// Recursion is quickest for the trees of everyday use; past this depth the
// operations below go on with a stack of their own, so that no depth can
// overflow the call stack.
constexpr int kRecursionDepth = 256;
thread_local int recursion = 0;

// One level deeper for as long as it lives.
struct Deeper {
  Deeper() { ++recursion; }
  ~Deeper() { --recursion; }
  Deeper(const Deeper&) = delete;
  Deeper& operator=(const Deeper&) = delete;
};

}  // namespace

Tree::Tree(const Tree& other)
    : symbol(other.symbol), expanded(other.expanded), production(other.production) {
  if (other.children.empty()) return;
  if (recursion < kRecursionDepth) {
    Deeper deeper;
    children = other.children;
    return;
  }
  // Each node copies its children's fields, then their children in turn.
  std::vector<std::pair<Tree*, const Tree*>> pending{{this, &other}};
  while (!pending.empty()) {
    auto [to, from] = pending.back();
    pending.pop_back();
    to->children.reserve(from->children.size());
    for (const Tree& child : from->children)
      to->children.emplace_back(child.symbol, child.expanded, std::vector<Tree>{}, child.production);
    for (size_t k = 0; k < from->children.size(); ++k) pending.emplace_back(&to->children[k], &from->children[k]);
  }
}

Tree& Tree::operator=(const Tree& other) {
  if (this != &other) *this = Tree(other);
  return *this;
}

Tree::~Tree() {
  if (children.empty()) return;
  if (recursion < kRecursionDepth) {
    Deeper deeper;
    children.clear();
    return;
  }
  // Children are taken apart before they are destroyed, so no destructor
  // finds anything below its node.
  std::vector<Tree> pending = std::move(children);
  while (!pending.empty()) {
    Tree last = std::move(pending.back());
    pending.pop_back();
    for (Tree& child : last.children) pending.push_back(std::move(child));
  }
}

namespace {

void leaveNothing(const Tree&, size_t) {}

// A name as a JSON string: the few characters JSON escapes, and control
// characters as \u escapes; UTF-8 passes as it is.
std::string jsonString(std::string_view text) {
  static const char* const kHex = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
    unsigned char code = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') out += std::string("\\") + c;
    else if (code < 0x20) out += std::string("\\u00") + kHex[code >> 4] + kHex[code & 15];
    else out += c;
  }
  return out + "\"";
}

Symbols childSymbols(const Tree& node) {
  Symbols body;
  for (const Tree& child : node.children) body.push_back(child.symbol);
  return body;
}

}  // namespace

Symbols frontierSymbols(const Tree& tree) {
  Symbols out;
  walkTree(
      tree, [&](const Tree& node, size_t, size_t) { if (!node.expanded) out.push_back(node.symbol); }, leaveNothing);
  return out;
}

std::string frontier(const Grammar& grammar, const Tree& tree) { return symbolsText(grammar, frontierSymbols(tree)); }

std::vector<std::string> productionsOf(const Grammar& grammar, const Tree& tree) {
  std::vector<std::string> out;
  walkTree(
      tree,
      [&](const Tree& node, size_t, size_t) {
        if (node.expanded) out.push_back(productionText(grammar, Production{node.symbol, childSymbols(node)}));
      },
      leaveNothing);
  return out;
}

std::string treeJson(const Grammar& grammar, const Tree& tree) {
  std::string out;
  walkTree(
      tree,
      [&](const Tree& node, size_t depth, size_t index) {
        if (depth > 0 && index > 0) out += ", ";
        out += "{\"symbol\": " + jsonString(symbolName(grammar, node.symbol));
        if (node.expanded) out += ", \"children\": [";
      },
      [&](const Tree& node, size_t) {
        if (node.expanded) out += "]";
        out += "}";
        noteOutput(static_cast<long>(out.size()));
      });
  return out;
}

std::vector<std::string> treeLines(const Grammar& grammar, const Tree& tree) {
  std::vector<std::string> out;
  long bytes = 0;
  auto line = [&](size_t depth, Symbol symbol) {
    out.push_back(std::string(2 * depth, ' ') + symbolText(grammar, symbol));
    bytes += static_cast<long>(out.back().size() + 1);
    noteOutput(bytes);
  };
  walkTree(
      tree,
      [&](const Tree& node, size_t depth, size_t) {
        line(depth, node.symbol);
        if (node.expanded && node.children.empty()) line(depth + 1, kEmpty);
      },
      leaveNothing);
  return out;
}

bool Tree::operator==(const Tree& other) const {
  if (symbol != other.symbol || expanded != other.expanded || children.size() != other.children.size()) return false;
  if (production != -1 && other.production != -1 && production != other.production) return false;
  if (recursion < kRecursionDepth) {
    Deeper deeper;
    for (size_t k = 0; k < children.size(); ++k)
      if (!(children[k] == other.children[k])) return false;
    return true;
  }
  std::vector<std::pair<const Tree*, const Tree*>> pending;
  for (size_t k = 0; k < children.size(); ++k) pending.emplace_back(&children[k], &other.children[k]);
  while (!pending.empty()) {
    auto [a, b] = pending.back();
    pending.pop_back();
    if (a->symbol != b->symbol || a->expanded != b->expanded || a->children.size() != b->children.size()) return false;
    if (a->production != -1 && b->production != -1 && a->production != b->production) return false;
    for (size_t k = 0; k < a->children.size(); ++k) pending.emplace_back(&a->children[k], &b->children[k]);
  }
  return true;
}

namespace {

size_t columns(const std::string& text) {
  size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

std::vector<std::string> leftmostDerivation(const Grammar& grammar, const Tree& tree) {
  Symbols form{tree.symbol};
  std::vector<std::string> out{symbolsText(grammar, form)};
  // In preorder each node not yet expanded is the leftmost one of the form
  // when it is met, standing at `at`.
  size_t at = 0;
  walkTree(
      tree,
      [&](const Tree& node, size_t, size_t) {
        if (!node.expanded) {
          ++at;
          return;
        }
        Symbols body = childSymbols(node);
        auto place = form.begin() + static_cast<long>(at);
        form.insert(form.erase(place), body.begin(), body.end());
        out.push_back(symbolsText(grammar, form));
      },
      leaveNothing);
  return out;
}

std::vector<std::string> sideBySide(const std::vector<std::string>& left, const std::vector<std::string>& right,
                                    size_t gap) {
  size_t width = 0;
  for (const std::string& line : left) width = std::max(width, columns(line));
  std::vector<std::string> out;
  for (size_t k = 0; k < std::max(left.size(), right.size()); ++k) {
    std::string line = k < left.size() ? left[k] : "";
    if (k < right.size()) line += std::string(width + gap - columns(line), ' ') + right[k];
    out.push_back(line);
  }
  return out;
}
