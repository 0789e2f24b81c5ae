#include "trees/tree.h"

#include <algorithm>

namespace {

void collectFrontier(const Tree& tree, std::string& out) {
  if (!tree.expanded) {
    out += tree.symbol;
    return;
  }
  for (const Tree& child : tree.children) collectFrontier(child, out);
}

void collectProductions(const Tree& tree, std::vector<std::string>& out) {
  if (!tree.expanded) return;
  std::string production = std::string(1, tree.symbol) + "->";
  for (const Tree& child : tree.children) production += child.symbol;
  if (tree.children.empty()) production += 'e';
  out.push_back(production);
  for (const Tree& child : tree.children) collectProductions(child, out);
}

// A symbol as a JSON string: the few characters JSON escapes, and control
// characters as \u escapes.
std::string jsonSymbol(char c) {
  static const char* const kHex = "0123456789abcdef";
  unsigned char code = static_cast<unsigned char>(c);
  if (c == '"' || c == '\\') return std::string("\"\\") + c + "\"";
  if (code < 0x20) return std::string("\"\\u00") + kHex[code >> 4] + kHex[code & 15] + "\"";
  return std::string("\"") + c + "\"";
}

void appendJson(const Tree& tree, std::string& out) {
  out += "{\"symbol\": " + jsonSymbol(tree.symbol);
  if (tree.expanded) {
    out += ", \"children\": [";
    for (size_t k = 0; k < tree.children.size(); ++k) {
      if (k > 0) out += ", ";
      appendJson(tree.children[k], out);
    }
    out += "]";
  }
  out += "}";
}

void appendLines(const Tree& tree, const std::string& indent, std::vector<std::string>& out) {
  out.push_back(indent + tree.symbol);
  if (tree.expanded && tree.children.empty()) out.push_back(indent + "  e");
  for (const Tree& child : tree.children) appendLines(child, indent + "  ", out);
}

}  // namespace

std::string frontier(const Tree& tree) {
  std::string out;
  collectFrontier(tree, out);
  return out;
}

std::vector<std::string> productionsOf(const Tree& tree) {
  std::vector<std::string> out;
  collectProductions(tree, out);
  return out;
}

std::string treeJson(const Tree& tree) {
  std::string out;
  appendJson(tree, out);
  return out;
}

std::vector<std::string> treeLines(const Tree& tree) {
  std::vector<std::string> out;
  appendLines(tree, "", out);
  return out;
}

bool Tree::operator==(const Tree& other) const {
  if (symbol != other.symbol || expanded != other.expanded || children.size() != other.children.size()) return false;
  if (production != -1 && other.production != -1 && production != other.production) return false;
  for (size_t k = 0; k < children.size(); ++k)
    if (!(children[k] == other.children[k])) return false;
  return true;
}

namespace {

// Appends the forms after `form` (whose leftmost non-terminal not yet
// expanded is this tree's root, standing at `at`) while expanding the tree.
void expandLeftmost(const Tree& tree, std::string& form, size_t& at, std::vector<std::string>& out) {
  if (!tree.expanded) {
    ++at;
    return;
  }
  std::string body;
  for (const Tree& child : tree.children) body += child.symbol;
  form.replace(at, 1, body);
  out.push_back(form);
  for (const Tree& child : tree.children) expandLeftmost(child, form, at, out);
}

size_t columns(const std::string& text) {
  size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

std::vector<std::string> leftmostDerivation(const Tree& tree) {
  std::string form(1, tree.symbol);
  std::vector<std::string> out{form};
  size_t at = 0;
  expandLeftmost(tree, form, at, out);
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
