#include "layout/tikz.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// The text TeX prints for a tikzText: each {\charN} is the character N.
std::string printed(const std::string& tex) {
  std::string out;
  std::regex glyph(R"(\{\\char([0-9]+)\})");
  std::size_t last = 0;
  for (auto it = std::sregex_iterator(tex.begin(), tex.end(), glyph); it != std::sregex_iterator(); ++it) {
    out += tex.substr(last, static_cast<std::size_t>(it->position()) - last);
    out += static_cast<char>(std::stoi((*it)[1]));
    last = static_cast<std::size_t>(it->position() + it->length());
  }
  return out + tex.substr(last);
}

TEST(TikzText, EveryCharacterTexReadsAsMarkupIsAGlyph) {
  const std::string awkward = "$_{#%\\&~^}\"'`";
  std::string tex = tikzText(awkward);
  // Nothing is left for TeX to read as markup but the \char commands themselves.
  EXPECT_EQ(tex.find_first_of("$_#%&~^\"'`"), std::string::npos) << tex;
  EXPECT_EQ(printed(tex), awkward);
  EXPECT_EQ(tikzText("\\"), "{\\char92}");
  EXPECT_EQ(tikzText("S->a(B)|<c>"), "S->a(B)|<c>");  // the typewriter font has them where ASCII does
}

TEST(TikzText, ItemDotsAndLineEnds) {
  EXPECT_EQ(tikzText("S->°a"), "S->\\ensuremath{^\\circ}a");
  EXPECT_EQ(tikzText("a\nb\r"), "a b ");
  EXPECT_EQ(tikzText("é"), "é");  // left to the document's input encoding
}

TEST(TikzPictureTest, StatesWithRulesFillsAndSplines) {
  TikzPicture picture;
  TikzNode state{"s1", {10, 20}, 50, 30, {"State1", "S->a°", "A->°b"}, 1, true, "#ffcf8a", "", false};
  picture.nodes.push_back(state);
  picture.nodes.push_back(TikzNode{"accept", {90, 20}, 30, 10, {"accept"}, -1, false, "", "#2e7d32", false});
  picture.edges.push_back(TikzEdge{{{0, 0}, {1, 1}, {2, 2}, {3, 3}}, true, {4, 4}, "#", {2, 1}, "", false, false});
  std::string tex = tikzPicture(picture);
  EXPECT_NE(tex.find("\\node[box, minimum width=50.00pt, minimum height=30.00pt, "
                     "fill={rgb,255:red,255;green,207;blue,138}] (s1) at (10.00,20.00) "
                     "{\\begin{tabular}{@{}l@{}}\\multicolumn{1}{@{}c@{}}{State1}\\\\S->a\\ensuremath{^\\circ}"
                     "\\\\\\hline A->\\ensuremath{^\\circ}b\\end{tabular}};"),
            std::string::npos)
      << tex;
  EXPECT_NE(tex.find("plain, minimum width=30.00pt, minimum height=10.00pt, text={rgb,255:red,46;green,125;blue,50}] (accept) at (90.00,20.00) {accept};"),
            std::string::npos);
  EXPECT_NE(tex.find("\\draw[->] (0.00,0.00) .. controls (1.00,1.00) and (2.00,2.00) .. (3.00,3.00) -- (4.00,4.00);"),
            std::string::npos);
  EXPECT_NE(tex.find("\\node[plain] at (2.00,1.00) {{\\char35}};"), std::string::npos);
  EXPECT_EQ(tex.rfind("\\end{tikzpicture}\n"), tex.size() - 18);
}

TEST(TikzPictureTest, ADrawingBeyondTexsDimensionsIsScaledDown) {
  TikzPicture picture;
  picture.nodes.push_back(TikzNode{"far", {32000, 100}, 40, 20, {"x"}, -1, false, "", "", false});
  std::string tex = tikzPicture(picture);
  EXPECT_NE(tex.find("(far) at (15980.02,49.94)"), std::string::npos) << tex;
  EXPECT_NE(tex.find("scale=0.49"), std::string::npos);
  EXPECT_EQ(tikzPicture(TikzPicture{}).find("scale="), std::string::npos);
}

}  // namespace
