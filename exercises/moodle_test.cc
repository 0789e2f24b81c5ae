// The quiz is well-formed XML of the shape Moodle imports, whatever
// characters the grammar uses, and each blank's right answers, read back
// as Moodle reads embedded answers, are the key.
#include "exercises/moodle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>

namespace {

// What a command prints, and its exit status.
std::pair<std::string, int> run(const std::string& command) {
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return {out, pclose(pipe)};
}

bool haveXmllint() { return run("command -v xmllint").second == 0; }

// One file a test: CTest runs the tests of this file side by side.
std::string saved(const std::string& text) {
  std::string path = testing::TempDir() + "moodle_test_" +
                     testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// The XPath expression's value over the quiz, as xmllint gives it.
std::string xpath(const std::string& path, const std::string& expression) {
  std::string value = run("xmllint --xpath \"" + expression + "\" " + path).first;
  if (!value.empty() && value.back() == '\n') value.pop_back();
  return value;
}

// The answers of each embedded short answer in an HTML text, decoded as
// Moodle decodes them: alternatives split at a ~ and the answer ended at
// a # that no & or \ precedes, character references resolved, \} and \#
// unescaped.  Per blank the right answers, in order.
std::vector<std::vector<std::string>> blanks(const std::string& html) {
  std::vector<std::vector<std::string>> found;
  std::regex blank(R"(\{1:SHORTANSWER_C:(.*?[^\\])\})");
  auto decode = [](std::string text) {
    std::regex reference(R"(&#([0-9]+);)");
    std::string out;
    std::size_t last = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), reference); it != std::sregex_iterator(); ++it) {
      out += text.substr(last, static_cast<std::size_t>(it->position()) - last);
      out += static_cast<char>(std::stoi((*it)[1]));
      last = static_cast<std::size_t>(it->position() + it->length());
    }
    out += text.substr(last);
    for (const char* escaped : {"\\}", "\\#"}) {
      for (std::size_t at; (at = out.find(escaped)) != std::string::npos;) out.erase(at, 1);
    }
    return out;
  };
  for (auto it = std::sregex_iterator(html.begin(), html.end(), blank); it != std::sregex_iterator(); ++it) {
    std::string body = (*it)[1];
    std::vector<std::string> right;
    std::size_t from = 0;
    for (std::size_t k = 0; k <= body.size(); ++k) {
      bool ends = k == body.size() || (body[k] == '~' && k > 0 && body[k - 1] != '\\' && body[k - 1] != '&');
      if (!ends) continue;
      std::string alternative = body.substr(from, k - from);
      from = k + 1;
      if (alternative.empty() || alternative[0] != '=') continue;
      std::size_t hash = 1;
      while (hash < alternative.size() &&
             !(alternative[hash] == '#' && alternative[hash - 1] != '&' && alternative[hash - 1] != '\\'))
        ++hash;
      right.push_back(decode(alternative.substr(1, hash - 1)));
    }
    found.push_back(right);
  }
  return found;
}

// An exercise whose texts hold everything XML, HTML, TeX and the
// embedded-answer syntax read as their own.
Exercise awkward() {
  Exercise exercise;
  exercise.request.property = ExerciseProperty::kSLRNotLL1;
  exercise.request.seed = 7;
  exercise.grammar = {"I->S", "S->]]>S|<&|{#}~*"};
  exercise.word = "<&";
  Question sets{"Compute First(X) for every non-terminal X."};
  sets.answer.listing = {"First(I): ]<{", "First(S): ]<{"};
  Question table{"Build the SLR table. Is the grammar SLR(1)? Why?"};
  table.kind = QuestionKind::kTable;
  table.grammarClass = "SLR(1)";
  table.answer.table = {{"", "]", "*", "$"}, {"0", "s2|r1", "s~/\\", ""}, {"1", "", "*", "acc"}};
  table.answer.notes = {"The grammar is not SLR(1): 1 cell holds more than one entry (state 0, ]: s2|r1)."};
  Question items{"Build the canonical collection of LR(0) item sets."};
  items.kind = QuestionKind::kItems;
  items.answer.listing = {"State0 - Clousure(I->°S):", "   S->°]]>S"};
  exercise.questions = {sets, table, items};
  return exercise;
}

TEST(MoodleQuizTest, AwkwardCharactersStayWellFormedAndExact) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
  std::string path = saved(moodleQuiz(awkward()));
  auto [problems, status] = run("xmllint --noout " + path);
  ASSERT_EQ(status, 0) << problems;
  EXPECT_EQ(xpath(path, "count(/quiz/question)"), "6");  // category, grammar, sets, table, class, items
  std::string grammar = xpath(path, "string(/quiz/question[@type='description']/questiontext/text)");
  EXPECT_NE(grammar.find("S-&#62;]]&#62;S|&#60;&#38;|&#123;&#35;&#125;&#126;*"), std::string::npos) << grammar;

  std::string sets = xpath(path, "string(/quiz/question[@type='cloze'][1]/questiontext/text)");
  auto setBlanks = blanks(sets);
  ASSERT_EQ(setBlanks.size(), 2u);
  EXPECT_EQ(setBlanks[0].size(), 6u);  // every order of three symbols
  EXPECT_EQ(setBlanks[0][0], "]<{");

  std::string table = xpath(path, "string(/quiz/question[@type='cloze'][2]/questiontext/text)");
  auto cells = blanks(table);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[0], (std::vector<std::string>{"s2|r1", "r1|s2"}));
  EXPECT_EQ(cells[1], (std::vector<std::string>{"s~/\\"}));
  EXPECT_EQ(cells[2], (std::vector<std::string>{"-"}));
  EXPECT_EQ(cells[4], (std::vector<std::string>{"\\*"}));  // a literal star, not Moodle's wildcard
}

TEST(MoodleQuizTest, TheClassificationAndTheEssayCarryTheKey) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
  std::string path = saved(moodleQuiz(awkward()));
  EXPECT_EQ(xpath(path, "string(/quiz/question[@type='multichoice']/answer[@fraction='100']/text)"),
            "No, it is not SLR(1).");
  EXPECT_NE(xpath(path, "string(/quiz/question[@type='multichoice']/generalfeedback/text)").find("(state 0, ]: s2|r1)"),
            std::string::npos);
  std::string key = xpath(path, "string(/quiz/question[@type='essay']/graderinfo/text)");
  EXPECT_NE(key.find("S-&#62;°]]&#62;S"), std::string::npos)
      << key;
}

TEST(MoodleQuizTest, AGeneratedExerciseHasAQuestionPerPartAndItsAutomaton) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
  GeneratorRequest request;
  request.property = ExerciseProperty::kSLRNotLL1;
  request.seed = 3;
  ExerciseMaking making = makeExercise(request);
  ASSERT_TRUE(making.exercise) << making.message;
  std::string path = saved(moodleQuiz(*making.exercise));
  ASSERT_EQ(run("xmllint --noout " + path).second, 0);
  // First, Follow, LL(1) table and class, LR(0) items, SLR table and class, parse.
  EXPECT_EQ(xpath(path, "count(/quiz/question[@type='cloze'])"), "5");
  EXPECT_EQ(xpath(path, "count(/quiz/question[@type='multichoice'])"), "2");
  EXPECT_EQ(xpath(path, "count(/quiz/question[@type='essay'])"), "1");
  EXPECT_EQ(xpath(path, "count(/quiz/question[@type='description'])"), "1");
  EXPECT_EQ(xpath(path, "string(/quiz/question[@type='essay']/generalfeedback/file/@name)"), "lr0-automaton.svg");
  EXPECT_NE(xpath(path, "string(/quiz/question[@type='essay']/generalfeedback/text)")
                .find("@@PLUGINFILE@@/lr0-automaton.svg"),
            std::string::npos);
  // The parse: its first stack and input show how to write them, every other cell is a blank.
  std::string parse = xpath(path, "string(/quiz/question[@type='cloze'][5]/questiontext/text)");
  EXPECT_NE(parse.find("<tr><th>1</th><td>0</td><td>" + making.exercise->word + "$</td><td>{1:SHORTANSWER_C:"),
            std::string::npos)
      << parse;
  // The LL(1) table has a conflict, the SLR table none: the property itself.
  EXPECT_EQ(xpath(path, "string(/quiz/question[@type='multichoice'][1]/answer[@fraction='100']/text)"),
            "No, it is not LL(1).");
  EXPECT_EQ(xpath(path, "string(/quiz/question[@type='multichoice'][2]/answer[@fraction='100']/text)"),
            "Yes, it is SLR(1).");
}

TEST(MoodleQuizTest, ATokenExerciseAsksForTokensApartByBlanks) {
  if (!haveXmllint()) GTEST_SKIP() << "xmllint is not installed (Debian package libxml2-utils)";
  GeneratorRequest request;
  request.property = ExerciseProperty::kSLRNotLL1;
  request.seed = 3;
  request.notation = Notation::kTokens;
  ExerciseMaking making = makeExercise(request);
  ASSERT_TRUE(making.exercise) << making.message;
  std::string path = saved(moodleQuiz(*making.exercise));
  ASSERT_EQ(run("xmllint --noout " + path).second, 0);
  std::string grammar = xpath(path, "string(/quiz/question[@type='description']/questiontext/text)");
  EXPECT_NE(grammar.find("in the token notation"), std::string::npos) << grammar;
  EXPECT_NE(grammar.find("I -&#62; S"), std::string::npos) << grammar;
  // First(I): b c, right in either order, the symbols apart by a blank.
  auto sets = blanks(xpath(path, "string(/quiz/question[@type='cloze'][1]/questiontext/text)"));
  EXPECT_EQ(sets[0], (std::vector<std::string>{"b c", "c b"}));
  // The LL(1) conflict M[S, c]: S -> A b a | B A | c a, its entries in every order, apart by " | ".
  auto cells = blanks(xpath(path, "string(/quiz/question[@type='cloze'][3]/questiontext/text)"));
  bool found = false;
  for (const auto& cell : cells)
    if (cell[0] == "S -> A b a | B A | c a") {
      found = true;
      EXPECT_EQ(cell.size(), 6u);
      EXPECT_NE(std::find(cell.begin(), cell.end(), "c a | B A | S -> A b a"), cell.end());
    }
  EXPECT_TRUE(found);
  // The items' essay draws the automaton of the grammar as it is written, its items in tokens.
  EXPECT_EQ(xpath(path, "count(/quiz/question[@type='essay']/generalfeedback/file)"), "1");
  std::string drawing = run("xmllint --xpath \"string(/quiz/question[@type='essay']/generalfeedback/file)\" " + path +
                            " | base64 -d").first;
  EXPECT_NE(drawing.find("I &#45;&gt; S °"), std::string::npos) << drawing.substr(0, 400);
}

}  // namespace
