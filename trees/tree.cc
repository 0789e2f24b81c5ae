#include "trees/tree.h"

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
