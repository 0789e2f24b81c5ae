// The built program, run as a user runs it: arguments, standard input,
// files; what it prints on each stream and the status it ends with.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include <string>
#include <vector>

#include "writers/format.h"
#include "writers/read_back_test_support.h"

namespace {

using Strings = std::vector<std::string>;

struct Outcome {
  std::string out, err;
  int status = -1;
  Strings lines() const { return read_back::linesOf(out); }
  Cells cells() const { return nlohmann::json::parse(out).get<Cells>(); }
};

Outcome run(const Strings& arguments, const std::string& input = "") {
  // A program that stops reading at a limit closes the pipe before all is written.
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) std::abort();
  pid_t child = fork();
  if (child == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    std::vector<char*> argv{const_cast<char*>(TABLOMAT_CLI_PATH)};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  // The program reads all its input (or stops reading) before it writes,
  // so this cannot block.
  for (std::size_t done = 0; done < input.size();) {
    ssize_t n = write(in[1], input.data() + done, input.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(in[1]);
  Outcome result;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  for (int open = 2; open > 0;) {
    poll(fds, 2, -1);
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      char buffer[4096];
      ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[k]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[k].fd);
        fds[k].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// A grammar file in a fresh temporary directory.
class GrammarFile {
 public:
  explicit GrammarFile(const std::string& bytes) {
    char pattern[] = "/tmp/tablomat-cli-test-XXXXXX";
    directory_ = mkdtemp(pattern);
    path_ = directory_ + "/grammar.txt";
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~GrammarFile() {
    unlink(path_.c_str());
    rmdir(directory_.c_str());
  }
  const std::string& path() const { return path_; }
  const std::string& directory() const { return directory_; }

 private:
  std::string directory_, path_;
};

bool contains(const Strings& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

const std::string kParentheses = "I->S\nS->(S)|x\n";

// What each command prints, in every format, is held by the reference
// outputs (golden_test.cc); here: what only the program itself decides.

// ---- evaluations

TEST(Evaluations, ARejectedWordIsStatusOne) {
  Outcome rejected = run({"slr-eval", "-w", "x)", "-f", "json"}, kParentheses);
  EXPECT_EQ(rejected.status, 1);
  EXPECT_EQ(rejected.cells().back(), (Strings{"3", "0 1 ", ")$", "Error"}));
  EXPECT_EQ(rejected.err, "");
}

TEST(Evaluations, TheWordIsTheExamplesUnlessOneIsGiven) {
  EXPECT_EQ(run({"lr1-eval", "-x", "10", "-f", "json"}).cells()[1][2], "aca$");
  EXPECT_EQ(run({"lr1-eval", "-x", "10", "-w", "bcb", "-f", "json"}).cells()[1][2], "bcb$");
  Outcome empty = run({"lr1-eval", "-x", "10", "--word", "", "-f", "json"});
  EXPECT_EQ(empty.cells()[1][2], "$");
  EXPECT_EQ(empty.status, 1);
  // Without an example and without --word, the word is empty.
  Outcome none = run({"ll1-eval", "-x", "1", "-f", "json"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.cells().size(), 4u);
}

// A trace of megabytes, each row with the rest of the input, comes out whole.
TEST(Evaluations, LongTracesAreWrittenWhole) {
  std::string word = std::string(800, '(') + "x" + std::string(800, ')');
  Outcome r = run({"slr-eval", "-w", word}, kParentheses);
  EXPECT_EQ(r.status, 0);
  Strings lines = r.lines();
  ASSERT_EQ(lines.size(), 2404u);  // the header, 801 shifts, 1 + 800 * 2 more steps, Accept
  EXPECT_TRUE(lines[1].starts_with("1     0    ")) << lines[1];
  EXPECT_TRUE(lines.back().starts_with("2403  0 1 ")) << lines.back();
  EXPECT_TRUE(lines.back().ends_with(" $" + std::string(1603, ' ') + "Accept"));  // the input column is 1602 wide
  EXPECT_GT(r.out.size(), size_t{1} << 20);
}

TEST(Evaluations, WordBytesPassUnchanged) {
  Outcome r = run({"lr1-eval", "-x", "6", "--word=i+é", "-f", "json"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.cells().back(), (Strings{"6", "0 2 7 ", "é$", "Error"}));
  Outcome dash = run({"ll1-eval", "-x", "2", "--word=-i", "-f", "json"});
  EXPECT_EQ(dash.cells()[1][2], "-i$");
}

// ---- exit statuses and their messages

TEST(ExitStatus, UsageErrorsAreOneLineAndStatusTwo) {
  const std::vector<Strings> usages = {
      {},
      {"frist", "-x", "2"},
      {"first", "-x", "13"},
      {"first", "-x", "0"},
      {"first", "-x", "two"},
      {"first", "-f", "xml", "-x", "2"},
      {"first", "grammar.txt", "-x", "2"},
      {"first", "a", "b"},
      {"first", "--colour"},
  };
  for (const auto& arguments : usages) {
    Outcome r = run(arguments);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("tablomat-cli: ")) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_EQ(run({"frist"}).err.substr(0, 40), "tablomat-cli: unknown command 'frist'; t");
  EXPECT_EQ(run({"first", "g", "-x", "1"}).err, "tablomat-cli: give either FILE or --example, not both\n");
}

TEST(ExitStatus, UnreadableFilesAreStatusTwo) {
  GrammarFile file(kParentheses);
  Outcome missing = run({"check", file.directory() + "/missing.txt"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "tablomat-cli: cannot open " + file.directory() + "/missing.txt: No such file or directory\n");
  Outcome directory = run({"check", file.directory()});
  EXPECT_EQ(directory.status, 2);
  EXPECT_EQ(directory.err, "tablomat-cli: cannot read " + file.directory() + ": Is a directory\n");
}

TEST(ExitStatus, GrammarErrorsAreListedWithStatusThree) {
  for (const std::string command : {"check", "first", "slr-table", "lalr-eval"}) {
    Outcome r = run({command}, "A->xB\nb->c\nA->x|\n");
    EXPECT_EQ(r.status, 3) << command;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "Error at line 2: Symbol 'b' must be non terminal.\n"
              "Error at line 1: Terminal 'B' not exist.\n"
              "Error at line 1: The last character '|' is bad'\n");
  }
  EXPECT_EQ(run({"check"}, " \n\n").err, "Error: Grammar Empty.\n");
  EXPECT_EQ(run({"check"}, "A->x\nBx\n").err, "Error at line 2\n");
}

TEST(ExitStatus, ConflictsRefuseAnEvaluationWithStatusFour) {
  Outcome slr = run({"slr-eval", "-x", "8"});
  EXPECT_EQ(slr.status, 4);
  EXPECT_EQ(slr.out, "");
  EXPECT_EQ(slr.err, "This Table Contain 1 Conflict\n");
  EXPECT_EQ(run({"lr1-eval", "-x", "8"}).status, 0);
  EXPECT_EQ(run({"lalr-eval", "-x", "8"}).status, 0);
  EXPECT_EQ(run({"lalr-eval", "-x", "10"}).err, "This Table Contain 2 Conflict\n");
  EXPECT_EQ(run({"ll1-eval", "-x", "4"}).status, 4);
}

// A command that outgrows a limit says which, with nothing on standard
// output; the LALR table of the same grammar needs no LR(1) collection.
TEST(ExitStatus, LimitsStopWithStatusFive) {
  const std::string chain = "I->A\nA->yBa|yB|zB\nB->yCb|yC|zC\nC->yDc|yD|zD\nD->yxd|yx|zx\n";
  Outcome lr1 = run({"lr1-table", "--max-states", "40"}, chain);
  EXPECT_EQ(lr1.status, 5);
  EXPECT_EQ(lr1.out, "");
  EXPECT_EQ(lr1.err, "tablomat-cli: The LR(1) collection has more than 40 states; that is the limit of one command.\n");
  EXPECT_EQ(run({"lalr-table", "--max-states", "40"}, chain).status, 0);
  Outcome lalr = run({"lalr-items", "--max-states", "40"}, chain);
  EXPECT_EQ(lalr.status, 5);
  EXPECT_EQ(lalr.err,
            "tablomat-cli: The LR(1) collection has more than 40 states; that is the limit of one command.\n"
            "tablomat-cli: note: lalr-items numbers the LALR states as the merged LR(1) collection orders them, so "
            "it needs that collection; lalr-table and lalr-eval build the LALR table from the LR(0) automaton "
            "instead.\n");
  Outcome trace = run({"slr-eval", "--max-rows", "5", "-w", "yyyyx"}, chain);
  EXPECT_EQ(trace.status, 5);
  EXPECT_EQ(trace.err, "tablomat-cli: The trace has more than 5 rows; that is the limit of one command.\n");
  EXPECT_EQ(run({"slr-eval", "--max-rows", "0"}, chain).status, 2);
}

TEST(ExitStatus, HelpAndVersion) {
  Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const auto& name : {"check", "first", "follow", "lr0-items", "lr1-items", "lalr-items", "ll1-table", "slr-table",
                           "lr1-table", "lalr-table", "ll1-eval", "slr-eval", "lr1-eval", "lalr-eval"})
    EXPECT_NE(help.out.find("\n  " + std::string(name) + " "), std::string::npos) << name;
  for (const auto& name : {"text", "csv", "markdown", "latex", "json", "--example", "--word", "--format"})
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  for (const auto& status : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  4 ", "\n  5 ", "\n  70 ", "--max-states",
                             "--max-items", "--max-rows", "--max-memory"})
    EXPECT_NE(help.out.find(status), std::string::npos) << status;
  Outcome version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tablomat-cli ") + TABLOMAT_VERSION + "\n");
}

// ---- where the grammar comes from

TEST(GrammarInput, StandardInputWithOrWithoutADash) {
  Strings expected = {"I->S", "S->(S)", "S->x"};
  EXPECT_EQ(run({"check"}, kParentheses).lines(), expected);
  EXPECT_EQ(run({"check", "-"}, kParentheses).lines(), expected);
}

TEST(GrammarInput, FilesWithCrLfReadAsWithLf) {
  GrammarFile lf(kParentheses);
  GrammarFile crlf("I -> S\r\n\r\nS -> ( S ) | x\r\n");
  Outcome a = run({"lalr-items", lf.path()});
  Outcome b = run({"lalr-items", crlf.path()});
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(run({"check", crlf.path()}).lines(), (Strings{"I->S", "S->(S)", "S->x"}));
}

TEST(GrammarInput, TheWindowsFilesCarryTheWord) {
  GrammarFile saved("I->S\nS->(S)|x\n#word: (x)\n");
  EXPECT_EQ(run({"slr-eval", saved.path(), "-f", "json"}).cells()[1][2], "(x)$");
  EXPECT_EQ(run({"slr-eval", saved.path(), "-w", "x", "-f", "json"}).cells()[1][2], "x$");
  EXPECT_EQ(run({"check", saved.path()}).lines(), (Strings{"I->S", "S->(S)", "S->x"}));
}

TEST(GrammarInput, AByteOrderMarkIsNoSymbol) {
  Outcome r = run({"check"}, "\xEF\xBB\xBFI->A\r\nA->x\r\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines(), (Strings{"I->A", "A->x"}));
}

TEST(GrammarInput, ForeignCharactersAreGrammarErrors) {
  Outcome r = run({"check"}, "I->A\nA->é\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Error at line 2: Symbol 'é' not supported.\n");
  Outcome nul = run({"check"}, std::string("I->A\nA->x\0y\n", 12));
  EXPECT_EQ(nul.status, 3);
  EXPECT_EQ(nul.err, "Error at line 2: Character code 0 not supported.\n");
}

// ---- the token notation

const std::string kTokenExpressions = "#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n";

TEST(TokenNotation, CheckListsTheProductionsOfADeclaredGrammar) {
  for (std::string bytes : {"#word: id + num * ( id )\n" + kTokenExpressions, kTokenExpressions + "#word: id\n"}) {
    GrammarFile file(bytes);
    Outcome r = run({"check", file.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), (Strings{"E' -> E", "E -> E + T", "E -> T", "T -> T * F", "T -> F", "F -> ( E )", "F -> id", "F -> num"}));
  }
}

TEST(TokenNotation, ForcedOnAGrammarThatDeclaresNone) {
  std::string undeclared = "S -> if x then S | '|' | \xCE\xB5\n";
  Outcome forced = run({"check", "--notation", "tokens"}, undeclared);
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(forced.lines(), (Strings{"S' -> S", "S -> if x then S", "S -> '|'", "S -> \xCE\xB5"}));
  EXPECT_EQ(run({"check"}, undeclared).status, 3);
  // The declaration is the grammar's own word on its notation.
  EXPECT_EQ(run({"check", "--notation", "classic"}, kTokenExpressions).status, 0);
  EXPECT_EQ(run({"check", "--notation", "fancy"}, undeclared).status, 2);
  Outcome example = run({"check", "--notation", "tokens", "-x", "1"});
  EXPECT_EQ(example.status, 2);
  EXPECT_EQ(example.err, "tablomat-cli: --notation applies to a grammar file; the examples are in the classic notation\n");
}

TEST(TokenNotation, FaultsAreGrammarErrorsNamingTheirLines) {
  Outcome r = run({"first"}, "#notation: tokens\nE -> E + $\nT\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Line 2: '$' is reserved for the end of input.\nLine 3: '->' is missing after the head T.\n");
}

TEST(TokenNotation, ExerciseWritesTheSameGrammarInTokens) {
  Outcome classic = run({"exercise", "-p", "lalr-not-slr", "-s", "6", "-f", "json"});
  Outcome tokens = run({"exercise", "-p", "lalr-not-slr", "-s", "6", "-f", "json", "--notation", "tokens"});
  ASSERT_EQ(tokens.status, 0) << tokens.err;
  nlohmann::json a = nlohmann::json::parse(classic.out), b = nlohmann::json::parse(tokens.out);
  EXPECT_EQ(b["notation"], "tokens");
  EXPECT_EQ(b["grammar"][0], "I -> S");
  EXPECT_EQ(b["grammar"].size(), a["grammar"].size());
  // The grammar as the sheet writes it reads back as a token grammar with the property.
  std::string grammar = "#notation: tokens\n";
  for (const auto& line : b["grammar"]) grammar += line.get<std::string>() + "\n";
  GrammarFile file(grammar);
  std::string word = b["word"].get<std::string>();
  EXPECT_EQ(run({"lalr-eval", file.path(), "-w", word}).status, 0);
  EXPECT_EQ(run({"slr-eval", file.path(), "-w", word}).status, 4);  // refused for the SLR conflict
  EXPECT_EQ(run({"exercise", "-p", "ll1", "-s", "1", "--notation", "fancy"}).status, 2);
}

TEST(TokenNotation, GraphsReadDeclaredAndForcedTokenGrammars) {
  GrammarFile file(kTokenExpressions);
  Outcome svg = run({"lalr-graph", file.path(), "--format", "svg"});
  EXPECT_EQ(svg.status, 0) << svg.err;
  EXPECT_NE(svg.out.find("E&#39; &#45;&gt; E °, $</text>"), std::string::npos);
  Outcome forced = run({"lr0-graph", "--notation", "tokens", "--kernel"}, "S -> if x then S | other\n");
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(forced.out.find("label=\"other\""), std::string::npos);
}

// The trees name whole tokens in every format; the evaluation, not the
// notation, decides whether there is one.
TEST(TokenNotation, TreesInEveryFormat) {
  const std::string ll1 = "#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> id\n";
  EXPECT_EQ(run({"ll1-eval", "--tree", "-w", "id"}, ll1).out, "E\n  T\n    id\n  E'\n    \xCE\xB5\n");
  Outcome tikz = run({"ll1-eval", "--tree", "-f", "tikz", "-w", "id + id"}, ll1);
  EXPECT_EQ(tikz.status, 0) << tikz.err;
  EXPECT_NE(tikz.out.find("{E{\\char39}}"), std::string::npos) << tikz.out;
  EXPECT_NE(tikz.out.find("{\\ensuremath{\\varepsilon}}"), std::string::npos) << tikz.out;
  Outcome partial = run({"ll1-eval", "--tree", "-f", "json", "-w", "id +"}, ll1);
  EXPECT_EQ(partial.status, 1);
  EXPECT_EQ(nlohmann::json::parse(partial.out)[0]["children"][1]["children"][0]["symbol"], "+");  // E' -> + T E
  Outcome refused = run({"ll1-eval", "--tree", "-w", "id"}, kTokenExpressions);  // left recursive
  EXPECT_EQ(refused.status, 4);
  EXPECT_EQ(refused.out, "");
}

TEST(TokenNotation, TransformWritesTheDeclarationAndKeepsTheWord) {
  GrammarFile file("E -> E + id | id\n#word: id + id\n");
  Outcome r = run({"transform", "left-recursion", file.path(), "--notation", "tokens"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 18), "#notation: tokens\n");
  EXPECT_TRUE(r.out.ends_with("\n#word: id + id\n")) << r.out;
  EXPECT_EQ(run({"check"}, r.out).status, 0);
}

// ---- exercises and grading

TEST(ExerciseCommand, JsonGivesTheGrammarAndTheWordTheSameForTheSameSeed) {
  Outcome a = run({"exercise", "--property", "lr1-not-lalr", "--seed", "4", "--format", "json"});
  ASSERT_EQ(a.status, 0) << a.err;
  nlohmann::json sheet = nlohmann::json::parse(a.out);
  Strings grammar = sheet["grammar"].get<Strings>();
  ASSERT_GE(grammar.size(), 4u);
  EXPECT_EQ(grammar[0], "I->S");
  EXPECT_TRUE(sheet["word"].is_string());
  EXPECT_EQ(run({"exercise", "--property", "lr1-not-lalr", "--seed", "4", "--format", "json"}).out, a.out);
  EXPECT_NE(run({"exercise", "--property", "lr1-not-lalr", "--seed", "5", "--format", "json"}).out, a.out);
}

TEST(ExerciseCommand, EveryFormatAndPart) {
  for (const char* format : {"text", "csv", "markdown", "latex", "json"}) {
    Outcome r = run({"exercise", "-p", "slr-not-ll1", "-s", "2", "-f", format, "--nullable"});
    EXPECT_EQ(r.status, 0) << format << r.err;
    EXPECT_FALSE(r.out.empty());
  }
  Outcome questions = run({"exercise", "-p", "ll1", "-s", "2", "--part", "questions"});
  EXPECT_EQ(questions.out.find("Answer key"), std::string::npos);
  EXPECT_NE(run({"exercise", "-p", "ll1", "-s", "2", "--part", "key"}).out.find("Answer key"), std::string::npos);
}

TEST(ExerciseCommand, BadRequestsAndFruitlessSearchesSaySo) {
  Outcome unknown = run({"exercise", "-p", "lr2", "-s", "1"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err,
            "tablomat-cli: unknown property 'lr2'; the properties are ll1, slr-not-ll1, lalr-not-slr, lr1-not-lalr, "
            "ambiguous\n");
  EXPECT_EQ(run({"exercise", "-p", "ll1"}).status, 2);
  Outcome size = run({"exercise", "-p", "ll1", "-s", "1", "--size", "3,6"});
  EXPECT_EQ(size.status, 2);
  EXPECT_NE(size.err.find("--size takes three numbers"), std::string::npos);
  Outcome left = run({"exercise", "-p", "ll1", "-s", "1", "--left-recursion"});
  EXPECT_EQ(left.err, "tablomat-cli: An LL(1) grammar cannot be left-recursive.\n");
  Outcome none = run({"exercise", "-p", "lr1-not-lalr", "-s", "1", "--size", "1,2,2", "--attempts", "50"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("was found in 50 attempts"), std::string::npos);
}

TEST(GradeCommand, TheToolsOwnKeysGradeAsAllRight) {
  GrammarFile grammar(kParentheses);
  for (const char* question : {"ll1-table", "slr-table", "lr1-table", "lalr-table"}) {
    std::string key = run({question, grammar.path(), "--format", "csv"}).out;
    Outcome graded = run({"grade", question, grammar.path(), "--answer", "-"}, key);
    EXPECT_EQ(graded.status, 0) << question << graded.out << graded.err;
  }
  for (const char* question : {"first", "follow"}) {
    std::string key = run({question, "--example", "2"}).out;
    EXPECT_EQ(run({"grade", question, "--example", "2", "--answer", "-"}, key).status, 0) << question;
  }
}

TEST(GradeCommand, MarksAndScoreInEveryFormat) {
  GrammarFile grammar(kParentheses);
  std::string key = run({"slr-table", grammar.path(), "--format", "csv"}).out;
  std::string wrong = key;
  wrong.replace(wrong.find("s2"), 2, "s4");
  Outcome text = run({"grade", "slr-table", grammar.path(), "--answer", "-"}, wrong);
  EXPECT_EQ(text.status, 1);
  EXPECT_TRUE(contains(text.lines(), "0      (       s4      wrong    The goto of state 0 on ( is state 2, not 4."));
  EXPECT_EQ(text.lines().back(), "Score: 11 of 13 right (84%); 1 wrong, 1 missing.");
  nlohmann::json report =
      nlohmann::json::parse(run({"grade", "slr-table", grammar.path(), "-a", "-", "-f", "json"}, wrong).out);
  EXPECT_EQ(report["wrong"], 1);
  EXPECT_EQ(report["marks"][0]["state"], "0");
  for (const char* format : {"csv", "markdown", "latex"})
    EXPECT_NE(run({"grade", "slr-table", grammar.path(), "-a", "-", "-f", format}, wrong).out.find("Score: 11 of 13"),
              std::string::npos);
}

TEST(GradeCommand, GradescopeResultsPerTableRow) {
  GrammarFile grammar(kParentheses);
  std::string key = run({"slr-table", grammar.path(), "--format", "csv"}).out;
  std::string wrong = key;
  wrong.replace(wrong.find("s2"), 2, "s4");
  Outcome graded = run({"grade", "slr-table", grammar.path(), "-a", "-", "-f", "gradescope"}, wrong);
  EXPECT_EQ(graded.status, 1);
  nlohmann::json results = nlohmann::json::parse(graded.out);
  EXPECT_EQ(results["score"], 11);
  EXPECT_EQ(results["max_score"], 13);
  EXPECT_EQ(results["tests"][0]["name"], "slr-table, state 0");
  EXPECT_EQ(results["tests"][0]["max_score"].get<int>() - results["tests"][0]["score"].get<int>(), 2);
  Outcome unreadable = run({"grade", "slr-table", grammar.path(), "-a", "-", "-f", "gradescope"}, "\"0,s2\n");
  EXPECT_EQ(unreadable.status, 2);
  nlohmann::json failed = nlohmann::json::parse(unreadable.out);
  EXPECT_EQ(failed["score"], 0);
  EXPECT_EQ(failed["output"].get<std::string>().rfind("cannot read the answer -: ", 0), 0u);
  Outcome right = run({"grade", "lr1-items", grammar.path(), "--state", "2", "-a", "-", "-f", "gradescope"},
                      "S->(.S), $\nS->.(S), )\nS->.x, )\n");
  EXPECT_EQ(right.status, 0);
  nlohmann::json items = nlohmann::json::parse(right.out);
  ASSERT_EQ(items["tests"].size(), 1u);
  EXPECT_EQ(items["tests"][0]["name"], "lr1-items, state 2");
  EXPECT_EQ(items["score"], items["max_score"]);
}

TEST(ExerciseCommand, MoodleQuizOfBothParts) {
  Outcome quiz = run({"exercise", "-p", "ll1", "-s", "2", "-f", "moodle"});
  EXPECT_EQ(quiz.status, 0);
  EXPECT_EQ(quiz.out.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n", 0), 0u);
  EXPECT_NE(quiz.out.find("{1:SHORTANSWER_C:"), std::string::npos);
  Outcome part = run({"exercise", "-p", "ll1", "-s", "2", "-f", "moodle", "--part", "key"});
  EXPECT_EQ(part.status, 2);
  EXPECT_EQ(part.err, "tablomat-cli: a Moodle quiz holds the questions and the key together; leave out --part\n");
}

TEST(GradeCommand, ItemsOfAState) {
  GrammarFile grammar(kParentheses);
  Outcome right = run({"grade", "lr1-items", grammar.path(), "--state", "2", "-a", "-"}, "S->(.S), $\nS->.(S), )\nS->.x, )\n");
  EXPECT_EQ(right.status, 0) << right.out;
  Outcome none = run({"grade", "lr0-items", grammar.path(), "--state", "9", "-a", "-"}, "");
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err, "tablomat-cli: there is no state 9; the states are 0 to 5\n");
}

TEST(GradeCommand, UnreadableAnswersAndBadGrammars) {
  GrammarFile grammar(kParentheses);
  Outcome quote = run({"grade", "slr-table", grammar.path(), "-a", "-"}, ",(\n0,\"s2\n");
  EXPECT_EQ(quote.status, 2);
  EXPECT_EQ(quote.err, "tablomat-cli: cannot read the answer -: the quoted field that starts on line 2 is not closed\n");
  GrammarFile broken("A->xB\n");
  EXPECT_EQ(run({"grade", "first", broken.path(), "-a", "-"}, "").status, 3);
  EXPECT_EQ(run({"grade", "first", "-a", "-"}, "").status, 2);
  EXPECT_EQ(run({"grade", "second", "-x", "1", "-a", "-"}, "").status, 2);
  EXPECT_EQ(run({"grade", "first", "-x", "1", "-a", "/no/such/file"}).status, 2);
}

TEST(GradeCommand, TransformedGrammars) {
  GrammarFile grammar("I->E\nE->E+T|T\nT->T*F|F\nF->(E)|i\n");
  for (const char* kind : {"left-recursion", "left-factor", "epsilon", "unit", "useless", "cnf", "ll1"}) {
    std::string key = run({"transform", kind, grammar.path()}).out;
    Outcome graded = run({"grade", std::string("transform-") + kind, grammar.path(), "--answer", "-"}, key);
    EXPECT_EQ(graded.status, 0) << kind << graded.out << graded.err;
  }
  Outcome wrong = run({"grade", "transform-ll1", grammar.path(), "-a", "-"}, "I->E\nE->TZ\nZ->+TZ|e\nT->FY\nY->*FY|e\nF->(E)\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.out.find("Your grammar does not derive \"i\", which the given grammar does."), std::string::npos) << wrong.out;
  nlohmann::json report =
      nlohmann::json::parse(run({"grade", "transform-ll1", grammar.path(), "-a", "-", "-f", "json"}, "I->E\nE->E+T|T\nT->i\n").out);
  EXPECT_EQ(report["marks"][1]["requirement"], "no LL(1) conflict");
  EXPECT_EQ(report["marks"][1]["mark"], "wrong");
  nlohmann::json results = nlohmann::json::parse(
      run({"grade", "transform-left-recursion", grammar.path(), "-a", "-", "-f", "gradescope"}, "I->E\nE->E+T|T\nT->i\n").out);
  EXPECT_EQ(results["tests"][0]["name"], "derives the same words");
  EXPECT_EQ(run({"grade", "transform-left-recursion", "-a", "-"}, "").status, 2);
  EXPECT_EQ(run({"grade", "transform-sideways", grammar.path(), "-a", "-"}, "").status, 2);
  Outcome unreadable = run({"grade", "transform-unit", grammar.path(), "-a", "-"}, "I->\n");
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_EQ(unreadable.err.rfind("tablomat-cli: cannot read the answer -: ", 0), 0u) << unreadable.err;
}

TEST(GradeCommand, ATransformedGrammarInTheTokenNotation) {
  GrammarFile grammar("#notation: tokens\nE -> E + T | T\nT -> id\n");
  std::string key = run({"transform", "left-recursion", grammar.path()}).out;
  EXPECT_EQ(run({"grade", "transform-left-recursion", grammar.path(), "-a", "-"}, key).status, 0) << key;
  Outcome lost = run({"grade", "transform-left-recursion", grammar.path(), "-a", "-"}, "E -> T E'\nE' -> + T E'\nT -> id\n");
  EXPECT_EQ(lost.status, 1);
  EXPECT_NE(lost.out.find("Your grammar does not derive \"id\", which the given grammar does."), std::string::npos) << lost.out;
}

// ---- explanations: report and conflicts

// A leaf has no "children"; an empty production has an empty list.
void expectTreeShape(const nlohmann::json& tree, int& emptyProductions) {
  ASSERT_TRUE(tree.contains("symbol"));
  if (!tree.contains("children")) return;
  if (tree["children"].empty()) ++emptyProductions;
  for (const auto& child : tree["children"]) expectTreeShape(child, emptyProductions);
}

TEST(Explanations, ConflictsAsJsonWithAUnifyingCounterexample) {
  Outcome r = run({"conflicts", "-x", "4", "--table", "ll1", "-f", "json"});
  EXPECT_EQ(r.status, 4);
  nlohmann::json conflicts = nlohmann::json::parse(r.out);
  ASSERT_EQ(conflicts.size(), 1u);
  const nlohmann::json& c = conflicts[0];
  EXPECT_EQ(c["table"], "LL1");
  EXPECT_EQ(c["row"], "Z");
  EXPECT_EQ(c["symbol"], "c");
  EXPECT_EQ(c["cell"], "Z->cS|e");
  EXPECT_EQ(c["kind"], "First/Follow");
  ASSERT_EQ(c["entries"].size(), 2u);
  EXPECT_EQ(c["entries"][1]["action"], "Z->e");
  EXPECT_TRUE(c["entries"][1]["reason"].get<std::string>().starts_with("Through Follow: "));
  EXPECT_TRUE(c.contains("prefix"));
  ASSERT_EQ(c["counterexample"]["unifying"], true);
  ASSERT_EQ(c["counterexample"]["trees"].size(), 2u);
  int emptyProductions = 0;
  for (const auto& tree : c["counterexample"]["trees"]) {
    EXPECT_EQ(tree["symbol"], "S");
    expectTreeShape(tree, emptyProductions);
  }
  EXPECT_EQ(emptyProductions, 2);  // Z->e, once in each tree
}

TEST(Explanations, ConflictsExitZeroWithoutAndFourWithConflicts) {
  Outcome none = run({"conflicts", "-x", "2"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.lines(), (Strings{"LL1 table: no conflicts.", "", "SLR table: no conflicts.", "",
                                   "LR1 table: no conflicts.", "", "LALR table: no conflicts."}));
  EXPECT_EQ(run({"conflicts", "-x", "8", "--table", "lalr"}).status, 0);
  EXPECT_EQ(run({"conflicts", "-x", "8", "--table", "slr"}).status, 4);
  EXPECT_EQ(run({"conflicts", "-x", "2", "-f", "json"}).out, "[]\n");
}

TEST(Explanations, EveryFormat) {
  Cells csv = read_back::csv(run({"conflicts", "-x", "10", "--table", "lalr", "-f", "csv"}).out);
  ASSERT_EQ(csv.size(), 3u);
  EXPECT_EQ(csv[0], (Strings{"table", "row", "symbol", "cell", "kind", "entries", "prefix", "notes", "counterexample"}));
  EXPECT_EQ(Strings(csv[1].begin(), csv[1].begin() + 5), (Strings{"LALR", "6", "a", "r5|r6", "reduce/reduce"}));
  Strings text = run({"conflicts", "-x", "10", "--table", "lalr"}).lines();
  EXPECT_EQ(read_back::enclosed(run({"conflicts", "-x", "10", "--table", "lalr", "-f", "markdown"}).out), text);
  EXPECT_EQ(read_back::enclosed(run({"conflicts", "-x", "10", "--table", "lalr", "-f", "latex"}).out), text);
  EXPECT_TRUE(contains(text, "  The conflict comes from merging LR(1) states 6 and 9: state 6 has r5 and state 9 has r6 "
                             "under a, without a conflict."));
}

TEST(Explanations, ReportOfAGrammarThatDoesNotAugment) {
  const std::string grammar = "E->E+T|T\nT->i\n";
  Outcome report = run({"report", "-w", "i x"}, grammar);
  EXPECT_EQ(report.status, 4);  // its LL(1) table has conflicts
  Strings lines = report.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines[0].starts_with("Start: The first rule E->E+T|T does not augment the grammar"));
  EXPECT_TRUE(contains(lines, "Left recursion: E => E+T (direct)"));
  EXPECT_TRUE(contains(lines, "Word: The word holds x, which no rule uses: every parser stops there."));
  EXPECT_EQ(nlohmann::json::parse(run({"report", "-f", "json"}, grammar).out)["augments"], false);
  // An LR command says so on standard error; its output stays as it was.
  Outcome table = run({"slr-table"}, grammar);
  EXPECT_EQ(table.status, 0);
  EXPECT_TRUE(table.err.starts_with("tablomat-cli: note: The first rule E->E+T|T does not augment the grammar"));
  EXPECT_EQ(run({"slr-table"}, "I->E\n" + grammar).err, "");
}

TEST(Explanations, HelpNamesTheCommandsAndTheirOptions) {
  std::string help = run({"--help"}).out;
  for (const auto& name : {"\n  report ", "\n  conflicts ", "--table", "--time-per-conflict", "--time-per-table", "--steps"})
    EXPECT_NE(help.find(name), std::string::npos) << name;
}

TEST(Explanations, BoundsAreOptionsOfTheExplanationsOnly) {
  Outcome bounded = run({"conflicts", "--table", "ll1", "--time-per-conflict", "60", "--steps", "50"}, "I->S\nS->aSa|a\n");
  EXPECT_EQ(bounded.status, 4);
  EXPECT_TRUE(contains(bounded.lines(), "  No unifying counterexample within 50 search steps."));
  for (const Strings& arguments : std::vector<Strings>{{"first", "-x", "2", "--table", "slr"},
                                                      {"conflicts", "-x", "2", "--table", "lr0"},
                                                      {"conflicts", "-x", "2", "--time-per-table", "0"},
                                                      {"conflicts", "-x", "2", "--steps", "x"}}) {
    Outcome r = run(arguments);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}


// ---- what is bounded: deep trees, the input, the output

// A parse as deep as a long word: every format gives the tree or, for
// indented text whose indentation grows with the square of the depth,
// stops at the limit of the output.
TEST(Bounds, DeepTreesInEveryFormat) {
  std::string word = std::string(130'000, 'a') + "b";
  Outcome dot = run({"ll1-eval", "--tree", "-f", "dot", "-w", word}, "S->aS|b\n");
  EXPECT_EQ(dot.status, 0) << dot.err;
  EXPECT_NE(dot.out.find("n260001 [id=\"n260001\", label=\"b\""), std::string::npos);
  Outcome json = run({"ll1-eval", "--tree", "-f", "json", "-w", word}, "S->aS|b\n");
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_TRUE(nlohmann::json::accept(json.out));
  Outcome text = run({"ll1-eval", "--tree", "--max-output", "1", "-w", word}, "S->aS|b\n");
  EXPECT_EQ(text.status, 5);
  EXPECT_EQ(text.err, "tablomat-cli: The output has more than 1 MiB; that is the limit of one command.\n");
  EXPECT_EQ(run({"ll1-eval", "--tree", "-w", "aab"}, "S->aS|b\n").out, "S\n  a\n  S\n    a\n    S\n      b\n");
}

// A first rule that does not augment joins only the top of the stack at
// the acceptance; the trees left are an array, as for a rejected word.
TEST(Bounds, JsonTreesAreAlwaysOneValue) {
  Outcome several = run({"slr-eval", "--tree", "-f", "json", "-w", "aaaaaa"}, "S->aS|a\n");
  EXPECT_EQ(several.status, 0);
  nlohmann::json trees = nlohmann::json::parse(several.out);
  ASSERT_TRUE(trees.is_array());
  EXPECT_EQ(trees.size(), 5u);
  EXPECT_EQ(trees[4]["symbol"], "S");
  nlohmann::json one = nlohmann::json::parse(run({"slr-eval", "--tree", "-f", "json", "-w", "(x)"}, kParentheses).out);
  EXPECT_TRUE(one.is_object());
  EXPECT_TRUE(nlohmann::json::parse(run({"slr-eval", "--tree", "-f", "json", "-w", "x)"}, kParentheses).out).is_array());
}

// Every row of a trace repeats the rest of the word: the text grows with
// the square of its length and stops at the limit of the output before it
// is written or held.
TEST(Bounds, TracesStopAtTheLimitOfTheOutput) {
  std::string word(2000, 'a');
  Outcome trace = run({"ll1-eval", "--max-output", "1", "-w", word + "b"}, "S->aS|b\n");
  EXPECT_EQ(trace.status, 5);
  EXPECT_EQ(trace.out, "");
  EXPECT_EQ(trace.err, "tablomat-cli: The trace's text has more than 1 MiB; that is the limit of one command.\n");
  EXPECT_EQ(run({"ll1-eval", "--max-output", "1", "-w", "aab"}, "S->aS|b\n").status, 0);
  // One long rule has as many items as symbols, each as long as the rule:
  // the listing stops as it is made, before it is held.
  Outcome items = run({"lr1-items", "--max-output", "1"}, "I->S\nS->" + std::string(2000, 'a') + "\n");
  EXPECT_EQ(items.status, 5);
  EXPECT_EQ(items.out, "");
  EXPECT_EQ(items.err, "tablomat-cli: The listing has more than 1 MiB; that is the limit of one command.\n");
  // A listing written as it is made stops the same way.
  std::string many = "S->b";
  for (int k = 0; k < 200'000; ++k) many += "|a" + std::to_string(k);
  Outcome listing = run({"check", "--max-output", "1"}, many + "\n");
  EXPECT_EQ(listing.status, 5);
  EXPECT_EQ(listing.err, "tablomat-cli: The output has more than 1 MiB; that is the limit of one command.\n");
}

TEST(Bounds, ReadingStopsAtTheLimitOfTheInput) {
  std::string big = kParentheses + std::string(3 << 20, '\n');
  Outcome grammar = run({"check", "--max-input", "2"}, big);
  EXPECT_EQ(grammar.status, 5);
  EXPECT_EQ(grammar.err, "tablomat-cli: The grammar has more than 2 MiB; that is the limit of one command.\n");
  Outcome device = run({"check", "/dev/zero", "--max-input", "1"});
  EXPECT_EQ(device.status, 5);
  GrammarFile file(kParentheses);
  Outcome answer = run({"grade", "first", file.path(), "-a", "-", "--max-input", "1"}, std::string(2 << 20, ' '));
  EXPECT_EQ(answer.status, 5);
  EXPECT_EQ(answer.err, "tablomat-cli: The answer has more than 1 MiB; that is the limit of one command.\n");
}

// ---- usage, output errors, unsafe texts

TEST(ExitStatus, BadNumbersAndMisplacedCommandsAreOneLine) {
  const std::vector<Strings> usages = {
      {"check", "-x", "1", "--max-states", "0"},
      {"check", "-x", "1", "--max-states", "-5"},
      {"check", "-x", "1", "--max-output", "1.5"},
      {"--format", "csv", "grade", "first", "-x", "1", "-a", "-"},
      {"-x", "1", "exercise", "-p", "ll1", "-s", "1"},
      {"exercise", "-p", "ll1", "-s", "-1"},
      {"exercise", "-p", "ll1", "-s", "18446744073709551616"},
      {"exercise", "-p", "ll1", "-s", "100000000000000000000000"},
      {"exercise", "-p", "ll1", "-s", "1e3"},
  };
  for (const auto& arguments : usages) {
    Outcome r = run(arguments);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(arguments) << r.out;
    EXPECT_TRUE(r.err.starts_with("tablomat-cli: ")) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_LT(r.err.size(), 160u) << r.err;
  }
  EXPECT_EQ(run({"--format", "csv", "grade", "first"}).err,
            "tablomat-cli: grade comes first, before its options: tablomat-cli grade --help\n");
  EXPECT_EQ(run({"exercise", "-p", "ll1", "-s", "18446744073709551615", "--part", "questions"}).status, 0);
}

// A full disk is not a fault of the program (70): it has a status of its own.
TEST(ExitStatus, AnOutputThatCannotBeWrittenIsStatus74) {
  for (const std::string arguments : {" check -x 1", " slr-table -x 6 -f csv", " exercise -p ll1 -s 1"}) {
    int status = std::system((std::string(TABLOMAT_CLI_PATH) + arguments + " > /dev/full 2> /dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 74) << arguments;
  }
}

TEST(UnsafeTexts, FormulaLikeCellsAreNeutralised) {
  Outcome trace = run({"ll1-eval", "-w", "=a", "-f", "csv"}, "S->a\n");
  EXPECT_EQ(trace.lines()[1], "1,$ S ,\"'=a$\",Error\r");
  EXPECT_EQ(read_back::csv(trace.out)[1][2], "=a$");
}

TEST(UnsafeTexts, ControlCharactersAreShownEscaped) {
  Outcome note = run({"slr-eval", "-w", "x\x1b[2J"}, kParentheses);
  EXPECT_EQ(note.err.find('\x1b'), std::string::npos) << note.err;
  EXPECT_NE(note.err.find("\\x1b"), std::string::npos) << note.err;
  Outcome grammar = run({"check"}, "A->x\x07\n");
  EXPECT_EQ(grammar.err.find('\x07'), std::string::npos) << grammar.err;
  GrammarFile file(kParentheses);
  Outcome graded = run({"grade", "first", file.path(), "-a", "-"}, "First(S) = {(, \x1b]0;x\x07}\n");
  EXPECT_EQ(graded.out.find('\x1b'), std::string::npos) << graded.out;
  EXPECT_EQ(graded.out.find('\x07'), std::string::npos) << graded.out;
}

TEST(GradeCommand, ReadsTheWindowsFiles) {
  GrammarFile saved("I->S\r\nS->(S)|x\r\n#word: (x)\r\n");
  std::string key = run({"slr-table", saved.path(), "-f", "csv"}).out;
  Outcome graded = run({"grade", "slr-table", saved.path(), "-a", "-"}, key);
  EXPECT_EQ(graded.status, 0) << graded.err;
}

// ---- transform

TEST(Transform, TheGrammarReadsBackWithItsWord) {
  Outcome r = run({"transform", "left-recursion"}, "#word: i+i\nI->E\nE->E+i|i\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "I->E\nE->iZ\nZ->+iZ|e\n#word: i+i\n");
  Outcome parsed = run({"ll1-eval", "-f", "json"}, r.out);
  EXPECT_EQ(parsed.status, 0) << parsed.err;
}

TEST(Transform, TheTokenNotationInAndOut) {
  Outcome r = run({"transform", "left-factor"}, "#notation: tokens\nS -> if E then S | if E then S else S | other\nE -> cond\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "#notation: tokens\nS -> if E then S S' | other\nS' -> \xCE\xB5 | else S\nE -> cond\n");
}

TEST(Transform, JsonListsEveryStepWithItsGrammar) {
  Outcome r = run({"transform", "ll1", "-x", "1", "-f", "json"});
  auto json = nlohmann::json::parse(r.out);
  ASSERT_TRUE(json["steps"].is_array());
  for (const auto& step : json["steps"])
    for (const char* key : {"title", "note", "grammar", "changed"}) EXPECT_TRUE(step.contains(key)) << key;
  EXPECT_TRUE(json["grammar"].is_string());
}

TEST(Transform, SaysPlainlyWhenTheResultIsStillNotLL1) {
  Outcome r = run({"transform", "ll1"}, "I->E\nE->E+E|i\n");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.err.find("still has"), std::string::npos) << r.err;
}

TEST(Transform, RefusalsAndMisuse) {
  std::string all;
  for (char c = 'A'; c <= 'Z'; ++c) all += std::string(1, c) + "->" + std::string(1, c) + "a|b" + (c < 'Z' ? std::string(1, static_cast<char>(c + 1)) : "") + "\n";
  Outcome full = run({"transform", "left-recursion"}, all);
  EXPECT_EQ(full.status, 3);
  EXPECT_NE(full.err.find("#notation: tokens"), std::string::npos) << full.err;
  EXPECT_EQ(run({"transform", "sideways"}, "S->a\n").status, 2);
  EXPECT_EQ(run({"transform", "cnf", "-f", "csv"}, "S->a\n").status, 2);
  EXPECT_EQ(run({"transform", "cnf"}, "S->a|\n").status, 3);
}

}  // namespace
