// The characters TeX reads as markup (# $ % & ~ _ ^ \ { }, and " ' ` which
// some languages' settings make active or turn into other quotes) are
// written as \char of their code: the typewriter fonts hold ASCII at its
// own code in every encoding, so < > | stay as they are.  The few non-ASCII signs the texts use become math
// symbols, which need no font package either.
#include "layout/tikz.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// TeX's dimensions end below 16384pt; a larger drawing is scaled down to this.
constexpr double kLargestExtent = 16000;

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  return out == "-0.00" ? "0.00" : out;
}

std::string at(Point p) { return "(" + number(p.x) + "," + number(p.y) + ")"; }

// "{rgb,255:red,255;green,207;blue,138}" for "#ffcf8a", as xcolor reads it.
std::string colourOf(const std::string& hex) {
  auto channel = [&](std::size_t at) { return std::to_string(std::stoi(hex.substr(at, 2), nullptr, 16)); };
  return "{rgb,255:red," + channel(1) + ";green," + channel(3) + ";blue," + channel(5) + "}";
}

bool plainAscii(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view(" ()[],.;:!?=+-*/@<>|").find(c) != std::string_view::npos;
}

std::string nodeText(const TikzNode& node) {
  if (node.lines.size() == 1 && node.ruleAfter < 0) return tikzText(node.lines[0]);
  std::string text = "\\begin{tabular}{@{}l@{}}";
  for (std::size_t k = 0; k < node.lines.size(); ++k) {
    if (k > 0) text += "\\\\";
    if (static_cast<int>(k) == node.ruleAfter + 1 && k > 0) text += "\\hline ";
    std::string line = tikzText(node.lines[k]);
    text += k == 0 ? "\\multicolumn{1}{@{}c@{}}{" + line + "}" : line;
  }
  return text + "\\end{tabular}";
}

std::string nodeLine(const TikzNode& node) {
  std::string options = node.state ? "box" : "plain";
  options += ", minimum width=" + number(node.width) + "pt, minimum height=" + number(node.height) + "pt";
  if (!node.fill.empty()) options += ", fill=" + colourOf(node.fill);
  if (!node.colour.empty())
    options += (node.state ? ", draw=" + colourOf(node.colour) : "") + ", text=" + colourOf(node.colour);
  if (node.heavy) options += ", line width=1.6pt";
  return "  \\node[" + options + "] (" + node.name + ") at " + at(node.centre) + " {" + nodeText(node) + "};\n";
}

std::string edgeLines(const TikzEdge& edge) {
  if (edge.spline.empty()) return "";
  std::string options = edge.arrow ? "->" : "-";
  if (!edge.colour.empty()) options += ", draw=" + colourOf(edge.colour);
  if (edge.dashed) options += ", dashed";
  if (edge.thick) options += ", line width=1.2pt";
  std::string path = "  \\draw[" + options + "] " + at(edge.spline[0]);
  for (std::size_t k = 1; k + 2 < edge.spline.size(); k += 3)
    path += " .. controls " + at(edge.spline[k]) + " and " + at(edge.spline[k + 1]) + " .. " + at(edge.spline[k + 2]);
  if (edge.arrow) path += " -- " + at(edge.tip);
  path += ";\n";
  if (!edge.label.empty()) {
    std::string colour = edge.colour.empty() ? "" : ", text=" + colourOf(edge.colour);
    path += "  \\node[plain" + colour + "] at " + at(edge.labelAt) + " {" + tikzText(edge.label) + "};\n";
  }
  return path;
}

// The scale that keeps every coordinate of the picture within TeX's reach.
double fittingScale(const TikzPicture& picture) {
  double extent = 0;
  auto reach = [&](Point p, double margin) { extent = std::max({extent, std::abs(p.x) + margin, std::abs(p.y) + margin}); };
  for (const TikzNode& node : picture.nodes) reach(node.centre, std::max(node.width, node.height));
  for (const TikzEdge& edge : picture.edges) {
    for (Point p : edge.spline) reach(p, 0);
    reach(edge.tip, 0);
    reach(edge.labelAt, 0);
  }
  return extent > kLargestExtent ? kLargestExtent / extent : 1;
}

// The picture with its coordinates multiplied by `scale`; the nodes keep
// their sizes, which the picture's node style scales alike.
TikzPicture scaled(TikzPicture picture, double scale) {
  auto times = [scale](Point& p) { p = Point{p.x * scale, p.y * scale}; };
  for (TikzNode& node : picture.nodes) times(node.centre);
  for (TikzEdge& edge : picture.edges) {
    for (Point& p : edge.spline) times(p);
    times(edge.tip);
    times(edge.labelAt);
  }
  return picture;
}

}  // namespace

std::string tikzText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    unsigned char byte = static_cast<unsigned char>(c);
    if (plainAscii(c)) {
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      out += ' ';
    } else if (byte < 0x80) {
      out += "{\\char" + std::to_string(byte) + "}";
    } else if (text.substr(i).starts_with("\xC2\xB0")) {  // the dot of an item
      out += "\\ensuremath{^\\circ}";
      ++i;
    } else if (text.substr(i).starts_with("\xC2\xB7")) {
      out += "\\ensuremath{\\cdot}";
      ++i;
    } else if (text.substr(i).starts_with("\xCE\xB5")) {
      out += "\\ensuremath{\\varepsilon}";
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string tikzPicture(const TikzPicture& drawn) {
  double scale = fittingScale(drawn);
  TikzPicture picture = scale < 1 ? scaled(drawn, scale) : drawn;
  std::string out =
      "% Needs \\usepackage{tikz} and \\usetikzlibrary{automata,positioning,arrows.meta}.\n"
      "\\begin{tikzpicture}[x=1pt, y=-1pt, >={Stealth[length=5pt]},\n"
      "  every node/.style={font=\\ttfamily" +
      picture.fontSize + ", inner sep=0pt, outer sep=0pt" + (scale < 1 ? ", scale=" + std::to_string(scale) : "") +
      "},\n"
      "  box/.style={state, rectangle, rounded corners=3pt, minimum size=0pt, fill=white},\n"
      "  plain/.style={minimum size=0pt}]\n";
  for (const TikzNode& node : picture.nodes) out += nodeLine(node);
  for (const TikzEdge& edge : picture.edges) out += edgeLines(edge);
  return out + "\\end{tikzpicture}\n";
}
