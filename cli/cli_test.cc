// The built program, run as a user runs it: arguments, standard input,
// files; what it prints on each stream and the status it ends with.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "writers/read_back.h"

namespace {

using Strings = std::vector<std::string>;

struct Outcome {
  std::string out, err;
  int status = -1;
  Strings lines() const { return read_back::linesOf(out); }
  Cells cells() const { return nlohmann::json::parse(out).get<Cells>(); }
};

Outcome run(const Strings& arguments, const std::string& input = "") {
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
  // The program reads all its input before it writes, so this cannot block.
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

long countOf(const Strings& lines, const std::string& prefix) {
  return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(prefix); });
}

const std::string kParentheses = "I->S\nS->(S)|x\n";
// Its SLR table holds "|" in a cell, and its header ",", a quote and "&".
const std::string kAwkward = "I->S\nS->S,S|\"|&\n";

// ---- listings

TEST(ListingCommands, CheckListsTheProductions) {
  Outcome r = run({"check", "--example", "2"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines(), (Strings{"I->E", "E->TG", "G->+TG", "G->e", "T->FH", "H->*FH", "H->e", "F->(E)", "F->i"}));
  EXPECT_EQ(r.err, "");
}

TEST(ListingCommands, FirstAndFollowOfExampleThree) {
  EXPECT_EQ(run({"first", "-x", "3"}).lines()[2], "First(B): xye");
  Outcome follow = run({"follow", "-x", "3"});
  EXPECT_EQ(follow.status, 0);
  EXPECT_EQ(follow.lines()[2], "Follow(B): zhkmn");
}

TEST(ListingCommands, LR0ItemsWithArcsAndTheDotInUtf8) {
  Outcome r = run({"lr0-items", "-x", "4"});
  EXPECT_EQ(r.status, 0);
  Strings lines = r.lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[1], "   I->°S");
  EXPECT_TRUE(contains(lines, "  7 --> c --> 9|r4"));
  EXPECT_EQ(countOf(lines, "State"), 11);
}

TEST(ListingCommands, LR1ItemsCarryLookaheads) {
  Outcome r = run({"lr1-items", "-x", "4"});
  EXPECT_EQ(r.status, 0);
  Strings lines = r.lines();
  EXPECT_EQ(lines[0], "State0 - Clousure(I->°S, $):");
  EXPECT_EQ(countOf(lines, "State"), 19);
}

TEST(ListingCommands, LalrItemsThenTheSimilarStateTable) {
  Outcome r = run({"lalr-items"}, kParentheses);
  EXPECT_EQ(r.status, 0);
  Strings lines = r.lines();
  EXPECT_TRUE(contains(lines, "  S->(°S), )$"));
  EXPECT_EQ(Strings(lines.end() - 7, lines.end()),
            (Strings{"LR(1) Similar Table:", "  State0 = {0}", "  State1 = {1}", "  State2 = {2 ~ 5}",
                     "  State3 = {3 ~ 6}", "  State4 = {4 ~ 8}", "  State5 = {7 ~ 9}"}));
}

// ---- tables

TEST(TableCommands, LL1TableOfExampleTwo) {
  Outcome r = run({"ll1-table", "-x", "2", "-f", "json"});
  EXPECT_EQ(r.status, 0);
  Cells cells = r.cells();
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(cells[3], (Strings{"G", "", "G->e", "", "G->+TG", "", "G->e"}));
}

TEST(TableCommands, SlrTableOfExampleFourHoldsItsConflict) {
  Cells cells = run({"slr-table", "-x", "4", "-f", "json"}).cells();
  ASSERT_EQ(cells.size(), 12u);
  EXPECT_EQ(cells[0], (Strings{"", "a", "b", "c", "e", "i", "t", "$", "I", "S", "Z", "E"}));
  EXPECT_EQ(cells[8][0], "7");
  EXPECT_EQ(cells[8][3], "s9|r4");
}

TEST(TableCommands, LR1AndLalrTablesDifferWhereMergingMakesConflicts) {
  auto conflicts = [](const Cells& cells) {
    int n = 0;
    for (std::size_t i = 1; i < cells.size(); ++i)
      for (std::size_t j = 1; j < cells[i].size(); ++j) n += cells[i][j].find('|') != std::string::npos;
    return n;
  };
  Outcome lr1 = run({"lr1-table", "-x", "10", "-f", "json"});
  Outcome lalr = run({"lalr-table", "-x", "10", "-f", "json"});
  // A table with conflicts is shown all the same, and is no failure.
  EXPECT_EQ(lr1.status, 0);
  EXPECT_EQ(lalr.status, 0);
  EXPECT_EQ(conflicts(lr1.cells()), 0);
  EXPECT_EQ(conflicts(lalr.cells()), 2);
  EXPECT_LT(lalr.cells().size(), lr1.cells().size());
}

TEST(TableCommands, TextTableAlignsItsColumns) {
  Strings lines = run({"slr-table", "-x", "4"}).lines();
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "    a   b   c      e  i   t   $   I  S   Z  E");
  EXPECT_EQ(lines[8], "7           s9|r4             r4         8");
}

// ---- evaluations

TEST(Evaluations, LL1TraceOfExampleTwoAccepts) {
  Outcome r = run({"ll1-eval", "-x", "2", "-f", "json"});
  EXPECT_EQ(r.status, 0);
  Cells cells = r.cells();
  ASSERT_EQ(cells.size(), 30u);
  EXPECT_EQ(cells[29], (Strings{"29", "$ ", "$", "Accept"}));
}

TEST(Evaluations, SlrTraceOfAWordAndOfARejectedOne) {
  Outcome r = run({"slr-eval", "-w", "(x)", "-f", "json"}, kParentheses);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.cells().back(), (Strings{"6", "0 1 ", "$", "Accept"}));
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

// ---- formats: every one holds the cells of a table with separators in them

TEST(Formats, EveryFormatHoldsTheAwkwardTable) {
  Cells reference = run({"slr-table", "-f", "json"}, kAwkward).cells();
  ASSERT_EQ(reference[0], (Strings{"", "\"", "&", ",", "$", "I", "S"}));
  ASSERT_EQ(reference[6][3], "r1|s4");
  EXPECT_EQ(read_back::csv(run({"slr-table", "-f", "csv"}, kAwkward).out), reference);
  EXPECT_EQ(read_back::markdown(run({"slr-table", "-f", "markdown"}, kAwkward).out), reference);
  EXPECT_EQ(read_back::latex(run({"slr-table", "-f", "latex"}, kAwkward).out), reference);
}

TEST(Formats, EveryFormatHoldsAListing) {
  Outcome text = run({"lr0-items", "-x", "4"});
  Strings lines = text.lines();
  EXPECT_EQ(nlohmann::json::parse(run({"lr0-items", "-x", "4", "-f", "json"}).out).get<Strings>(), lines);
  Strings csv;
  for (const auto& record : read_back::csv(run({"lr0-items", "-x", "4", "-f", "csv"}).out)) {
    ASSERT_EQ(record.size(), 1u);
    csv.push_back(record[0]);
  }
  EXPECT_EQ(csv, lines);
  EXPECT_EQ(read_back::enclosed(run({"lr0-items", "-x", "4", "-f", "markdown"}).out), lines);
  EXPECT_EQ(read_back::enclosed(run({"lr0-items", "-x", "4", "-f", "latex"}).out), lines);
}

TEST(Formats, TracesInEveryFormat) {
  Cells reference = run({"ll1-eval", "-x", "2", "-f", "json"}).cells();
  EXPECT_EQ(read_back::csv(run({"ll1-eval", "-x", "2", "-f", "csv"}).out), reference);
  EXPECT_EQ(read_back::markdown(run({"ll1-eval", "-x", "2", "-f", "markdown"}).out), reference);
  EXPECT_EQ(read_back::latex(run({"ll1-eval", "-x", "2", "-f", "latex"}).out), reference);
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

}  // namespace
