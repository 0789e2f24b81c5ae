// The commands' outputs against the reference outputs kept in cli/golden/,
// two ways.  A named case shows one behaviour of one command in the text
// format (or an evaluation's tree, with --tree, in one of the tree's
// formats); its expected text is cases/<name>.txt, and a difference prints as
// a unified diff.  digests.txt holds every command's output in every format
// for every kept input byte for byte, as its length and SHA-256, a line per
// (input, command, format); its lines were first made from the complete
// outputs the project kept before, so those bytes are what it checks.  Each
// format's own case is writers/format_golden_test.cc's.
//
// An input (inputs/*.txt) is a word on its first line and an editor text
// after it; an output is "### <command> exit <status>", what goes to
// standard output, then "! " and each line of standard error.  After a
// meant change of the outputs, write the files anew with
//   TABLOMAT_UPDATE_GOLDEN=1 ctest --test-dir build -R Golden
// and review `git diff cli/golden` before committing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/exercise_commands.h"
#include "cli/explain_commands.h"
#include "cli/graph_commands.h"
#include "cli/golden_sha256.h"
#include "grammar/reading.h"
#include "writers/format.h"
#include "writers/golden_test_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kRoot(TABLOMAT_GOLDEN);
constexpr const char* kUpdate = "TABLOMAT_UPDATE_GOLDEN=1 ctest --test-dir build -R Golden";

struct KeptInput {
  std::string word;
  HString text;
};

KeptInput keptInput(const std::string& name) {
  std::string input = golden::contents(kRoot / "inputs" / (name + ".txt"));
  size_t end = input.find('\n');
  return {input.substr(0, end), editorText(end == std::string::npos ? "" : input.substr(end + 1))};
}

// The exit status after the command line, what went to standard output,
// then standard error a line each.
std::string shown(const std::string& commandLine, const Outcome& outcome, const std::string& written) {
  std::string out = "### " + commandLine + " exit " + std::to_string(outcome.status) + "\n" + written;
  for (const std::string& line : outcome.diagnostics) out += "! " + line + "\n";
  return out;
}

// What one command writes for one kept input in the format; a graph
// command writes its default, the DOT text.
std::string outputOf(const std::string& inputName, std::string_view command, const std::string& format) {
  KeptInput input = keptInput(inputName);
  if (isGraphCommand(command)) {
    Outcome outcome = runDrawing(command, input.text, input.word, "", {});
    return shown(std::string(command), outcome, outcome.document.value_or(""));
  }
  Outcome outcome = runCommand(command, input.text, input.word);
  return shown(std::string(command), outcome, renderOutcome(outcome, *formatNamed(format)));
}

// What an evaluation writes with --tree in the tree's format.
std::string treeOf(const std::string& inputName, std::string_view command, const std::string& format) {
  KeptInput input = keptInput(inputName);
  DrawingOptions options;
  options.tree = true;
  Outcome outcome = runDrawing(command, input.text, input.word, format, options);
  return shown(std::string(command) + " --tree --format " + format, outcome, outcome.document.value_or(""));
}

// Every command's output in every format, each after its key
// "<input> <command> <format>", in the order of digests.txt.
std::vector<std::pair<std::string, std::string>> everyOutputOf(const std::string& input) {
  std::vector<std::pair<std::string, std::string>> outputs;
  for (const CommandInfo& command : commandInfos())
    for (const std::string& format : formatNames())
      outputs.emplace_back(input + " " + std::string(command.name) + " " + format,
                           outputOf(input, command.name, format));
  return outputs;
}

struct GoldenCase {
  const char* name;
  const char* input;
  const char* command;
  const char* tree = nullptr;  // with --tree, the tree's format instead of the trace
};

const GoldenCase kCases[] = {
    {"check_lists_productions", "example02", "check"},
    {"check_merges_lines_of_one_head", "merged-lines", "check"},
    {"check_reports_every_grammar_error", "errors", "check"},
    {"check_reads_arrow_characters_as_terminals", "arrow-terminal-not-nullable", "check"},
    {"empty_grammar_message", "empty-grammar", "check"},
    {"first_with_nullable_chain", "example03", "first"},
    {"first_arrow_terminal_not_nullable", "arrow-terminal-not-nullable", "first"},
    {"first_through_left_recursion_and_empty_rule", "left-recursion-vanishing", "first"},
    {"follow_through_nullable_tail", "example02", "follow"},
    {"follow_of_nullable_chain", "example03", "follow"},
    {"lr0_items_closure_and_arcs", "parentheses", "lr0-items"},
    {"lr0_items_of_empty_start", "empty-start", "lr0-items"},
    {"lr0_items_without_start_rule", "no-start-line", "lr0-items"},
    {"lr1_items_split_by_lookahead", "example09", "lr1-items"},
    {"lr1_items_lookahead_order", "lookahead-order", "lr1-items"},
    {"lalr_items_merge_states", "example09", "lalr-items"},
    {"lalr_items_lookahead_order", "lookahead-order-2", "lalr-items"},
    {"ll1_table_without_conflicts", "example02", "ll1-table"},
    {"ll1_table_conflict_from_left_recursion", "left-recursion-vanishing", "ll1-table"},
    {"ll1_table_dangling_else_conflict", "example04", "ll1-table"},
    {"slr_table_with_shift_reduce_conflict", "example08", "slr-table"},
    {"slr_table_conflict_in_accept_cell", "accept-conflict", "slr-table"},
    {"slr_table_expression_grammar", "example06", "slr-table"},
    {"lr1_table_without_the_slr_conflict", "example08", "lr1-table"},
    {"lr1_table_ambiguous_grammar_conflicts", "example12", "lr1-table"},
    {"lalr_table_reduce_reduce_from_merging", "example10", "lalr-table"},
    {"lalr_table_merged_states", "example09", "lalr-table"},
    {"ll1_eval_accepts", "example02", "ll1-eval"},
    {"ll1_eval_accepts_empty_word", "empty-start", "ll1-eval"},
    {"ll1_eval_refused_for_conflicts", "example06", "ll1-eval"},
    {"ll1_eval_rejects_mid_word", "merged-lines", "ll1-eval"},
    {"ll1_eval_rejects_at_end", "unbalanced-parentheses", "ll1-eval"},
    {"ll1_eval_word_with_control_bytes", "arrow-terminal-not-nullable", "ll1-eval"},
    {"slr_eval_accepts_right_recursion", "right-recursion", "slr-eval"},
    {"slr_eval_refused_for_conflicts", "example08", "slr-eval"},
    {"slr_eval_rejects_empty_word", "empty-word-rejected", "slr-eval"},
    {"lr1_eval_accepts_where_slr_conflicts", "example08", "lr1-eval"},
    {"lr1_eval_rejects_after_one_shift", "rejected-after-one-shift", "lr1-eval"},
    {"lalr_eval_nested_brackets", "three-contexts", "lalr-eval"},
    {"lalr_eval_refused_after_merging", "example10", "lalr-eval"},
    {"lalr_eval_rejects_at_end", "unbalanced-parentheses", "lalr-eval"},
    {"tokens_check_adds_a_start_rule", "tokens-expression", "check"},
    {"tokens_follow", "tokens-expression", "follow"},
    {"tokens_lr0_items", "tokens-dangling-else", "lr0-items"},
    {"tokens_ll1_table", "tokens-expression-ll1", "ll1-table"},
    {"tokens_lr1_table_columns_named_by_tokens", "tokens-expression", "lr1-table"},
    {"tokens_lr1_table_dangling_else_conflict", "tokens-dangling-else", "lr1-table"},
    {"tokens_ll1_eval_accepts", "tokens-expression-ll1", "ll1-eval"},
    {"tokens_slr_eval_accepts", "tokens-expression", "slr-eval"},
    {"tokens_lr1_eval_accepts", "tokens-expression", "lr1-eval"},
    {"tokens_lalr_eval_rejects_a_second_id", "tokens-expression-rejected", "lalr-eval"},
    {"tokens_lalr_eval_forty_non_terminals", "tokens-forty-nonterminals", "lalr-eval"},
    {"tokens_lr0_graph_states_and_arcs_named_by_tokens", "tokens-expression", "lr0-graph"},
    {"tokens_lr1_graph_lookaheads", "tokens-expression-ll1", "lr1-graph"},
    {"tokens_lalr_graph_dangling_else_conflict", "tokens-dangling-else", "lalr-graph"},
    {"tokens_lr1_eval_tree_text", "tokens-expression", "lr1-eval", "text"},
    {"tokens_lr1_eval_tree_json", "tokens-expression", "lr1-eval", "json"},
    {"tokens_slr_eval_tree_dot", "tokens-expression", "slr-eval", "dot"},
    {"tokens_ll1_eval_tree_with_empty_productions", "tokens-expression-ll1", "ll1-eval", "text"},
    {"tokens_lalr_eval_tree_of_a_rejected_word", "tokens-expression-rejected", "lalr-eval", "json"},
};

// A failure names the case, not the bytes of the struct.
void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, Case) {
  const GoldenCase& c = GetParam();
  ASSERT_TRUE(fs::exists(kRoot / "inputs" / (std::string(c.input) + ".txt"))) << c.input;
  SCOPED_TRACE(std::string(c.name) + ": " + c.command + " on inputs/" + c.input + ".txt");
  std::string output = c.tree ? treeOf(c.input, c.command, c.tree) : outputOf(c.input, c.command, "text");
  EXPECT_TRUE(golden::matchesFile(kRoot / "cases" / (std::string(c.name) + ".txt"), output, kUpdate));
}

INSTANTIATE_TEST_SUITE_P(Cli, Golden, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

// The teacher's commands, which read more than a grammar: their arguments
// after the program's name, where {grammar} is the grammar of a kept input
// (its editor text, in a file of its own) and {answers} the folder of the
// students' answers, golden/answers.  The output is that of a named case,
// the arguments as written after "###".
struct TeacherCase {
  const char* name;
  const char* input;  // "" when the command reads no grammar
  std::vector<std::string> arguments;
};

const TeacherCase kTeacherCases[] = {
    {"tokens_grade_first_sets_in_braces_start_rule_left_out", "tokens-expression",
     {"grade", "first", "{grammar}", "-a", "{answers}/tokens-expression-first.txt"}},
    {"tokens_grade_follow_start_rule_graded_where_written", "tokens-expression",
     {"grade", "follow", "{grammar}", "-a", "{answers}/tokens-expression-follow.txt"}},
    {"tokens_grade_ll1_table_bodies_and_bars", "tokens-expression-ll1",
     {"grade", "ll1-table", "{grammar}", "-a", "{answers}/tokens-expression-ll1-table.csv"}},
    {"tokens_grade_slr_table_from_a_spreadsheet", "tokens-expression",
     {"grade", "slr-table", "{grammar}", "-a", "{answers}/tokens-expression-slr-table.csv"}},
    {"tokens_grade_lr1_items_of_the_start_state", "tokens-expression",
     {"grade", "lr1-items", "{grammar}", "--state", "0", "-a", "{answers}/tokens-expression-lr1-items-0.txt"}},
    {"tokens_exercise_slr_not_ll1", "", {"exercise", "-p", "slr-not-ll1", "-s", "3", "--notation", "tokens"}},
};

void PrintTo(const TeacherCase& c, std::ostream* out) { *out << c.name; }

// Standard output and error while the command runs in this process.
struct Captured {
  std::ostringstream out, err;
  std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
  ~Captured() {
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
  }
};

std::string outputOf(const TeacherCase& c) {
  fs::path grammar = fs::temp_directory_path() / ("tablomat-golden-" + std::string(c.name) + ".txt");
  if (*c.input != '\0') {
    std::string input = golden::contents(kRoot / "inputs" / (std::string(c.input) + ".txt"));
    golden::write(grammar, input.substr(std::min(input.find('\n'), input.size() - 1) + 1));
  }
  std::vector<std::string> arguments{"tablomat-cli"};
  std::string written;
  for (std::string argument : c.arguments) {
    written += " " + argument;
    for (auto [mark, path] : {std::pair<std::string, std::string>{"{grammar}", grammar.string()},
                              {"{answers}", (kRoot / "answers").string()}})
      if (std::size_t at = argument.find(mark); at != std::string::npos) argument.replace(at, mark.size(), path);
    arguments.push_back(argument);
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  int status;
  std::string out, err;
  {
    Captured captured;
    status = runExerciseCommand(static_cast<int>(argv.size()), argv.data());
    out = captured.out.str();
    err = captured.err.str();
  }
  fs::remove(grammar);
  std::string text = "###" + written + " exit " + std::to_string(status) + "\n" + out;
  for (std::size_t from = 0; from < err.size();) {
    std::size_t end = std::min(err.find('\n', from), err.size());
    text += "! " + err.substr(from, end - from) + "\n";
    from = end + 1;
  }
  return text;
}

class TeacherGolden : public testing::TestWithParam<TeacherCase> {};

TEST_P(TeacherGolden, Case) {
  const TeacherCase& c = GetParam();
  EXPECT_TRUE(golden::matchesFile(kRoot / "cases" / (std::string(c.name) + ".txt"), outputOf(c), kUpdate));
}

INSTANTIATE_TEST_SUITE_P(Cli, TeacherGolden, testing::ValuesIn(kTeacherCases),
                         [](const testing::TestParamInfo<TeacherCase>& info) { return info.param.name; });

// The explanations (report, conflicts) in the text format, each a named case
// too.  Their inputs stand in inputs/ or, when no other command's digests
// are kept for them, in explanation_inputs/.
struct ExplanationCase {
  const char* name;
  const char* input;
  const char* command;
  const char* table;  // the --table option
};

const ExplanationCase kExplanationCases[] = {
    {"tokens_report_dangling_else", "tokens-dangling-else-conditions", "report", "all"},
    {"tokens_conflicts_dangling_else", "tokens-dangling-else-conditions", "conflicts", "all"},
    {"tokens_conflicts_dangling_else_lalr", "tokens-dangling-else-conditions", "conflicts", "lalr"},
    {"tokens_report_every_note", "tokens-report-notes", "report", "all"},
    {"tokens_conflicts_ll1_left_recursion", "tokens-expression", "conflicts", "ll1"},
    {"tokens_report_forty_non_terminals", "tokens-forty-nonterminals", "report", "all"},
    {"tokens_conflicts_forty_non_terminals", "tokens-forty-nonterminals", "conflicts", "all"},
};

void PrintTo(const ExplanationCase& c, std::ostream* out) { *out << c.name; }

std::string explanationOutputOf(const ExplanationCase& c) {
  fs::path file = kRoot / "inputs" / (std::string(c.input) + ".txt");
  if (!fs::exists(file)) file = kRoot / "explanation_inputs" / (std::string(c.input) + ".txt");
  std::string input = golden::contents(file);
  size_t end = input.find('\n');
  ExplainOptions options;
  options.table = c.table;
  ExplainOutcome outcome = runExplainCommand(c.command, editorText(end == std::string::npos ? "" : input.substr(end + 1)),
                                             input.substr(0, end), options, Format::kText);
  std::string out = "### " + std::string(c.command) + " --table " + c.table + " exit " + std::to_string(outcome.status) + "\n";
  out += outcome.output;
  for (const std::string& line : outcome.diagnostics) out += "! " + line + "\n";
  return out;
}

class GoldenExplanation : public testing::TestWithParam<ExplanationCase> {};

TEST_P(GoldenExplanation, Case) {
  const ExplanationCase& c = GetParam();
  SCOPED_TRACE(std::string(c.name) + ": " + c.command + " on " + c.input);
  EXPECT_TRUE(golden::matchesFile(kRoot / "cases" / (std::string(c.name) + ".txt"), explanationOutputOf(c), kUpdate));
}

INSTANTIATE_TEST_SUITE_P(Cli, GoldenExplanation, testing::ValuesIn(kExplanationCases),
                         [](const testing::TestParamInfo<ExplanationCase>& info) { return info.param.name; });

// "<input> <command> <format>" -> "<bytes> <sha256>", a line of digests.txt each.
using Digests = std::map<std::string, std::string>;

Digests readDigests(const fs::path& file) {
  Digests digests;
  std::istringstream lines(golden::contents(file));
  for (std::string input, command, format, bytes, sha; lines >> input >> command >> format >> bytes >> sha;)
    digests[input + " " + command + " " + format] = bytes + " " + sha;
  return digests;
}

std::vector<std::string> keptInputs() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kRoot / "inputs")) names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Where to read the difference: the named case of that input and command,
// or the command line that prints the output.
std::string whereToLook(const std::string& input, const std::string& command, const std::string& format) {
  for (const GoldenCase& c : kCases)
    if (input == c.input && command == c.command && c.tree == nullptr)
      return std::string("the named case ") + c.name + " shows the text format's diff";
  return "no named case shows it; tail -n +2 cli/golden/inputs/" + input + ".txt | tablomat-cli " + command +
         " - --format " + format + " --word \"$(head -n 1 cli/golden/inputs/" + input + ".txt)\" prints it";
}

TEST(GoldenDigests, EveryCommandInEveryFormatForEveryKeptInput) {
  const fs::path file = kRoot / "digests.txt";
  std::vector<std::pair<std::string, std::string>> actual;  // in the order of the file
  for (const std::string& input : keptInputs())
    for (const auto& [key, output] : everyOutputOf(input))
      actual.emplace_back(key, std::to_string(output.size()) + " " + golden::sha256Hex(output));
  if (golden::updating()) {
    std::string lines;
    for (const auto& [key, digest] : actual) lines += key + " " + digest + "\n";
    golden::write(file, lines);
    return;
  }

  Digests expected = readDigests(file);
  int mismatches = 0;
  for (const auto& [key, digest] : actual) {
    auto found = expected.find(key);
    if ((found == expected.end() || found->second != digest) && ++mismatches <= 20) {
      std::istringstream words(key);
      std::string input, command, format;
      words >> input >> command >> format;
      ADD_FAILURE() << key << ": made " << digest << ", digests.txt holds "
                    << (found == expected.end() ? "no line" : found->second) << "; " << whereToLook(input, command, format);
    }
    if (found != expected.end()) expected.erase(found);
  }
  for (const auto& [key, digest] : expected) ADD_FAILURE() << key << ": in digests.txt but no longer made";
  if (mismatches > 20) ADD_FAILURE() << mismatches << " outputs differ in all";
  if (mismatches > 0 || !expected.empty())
    ADD_FAILURE() << "If the change is meant, write " << file.string() << " anew with " << kUpdate;
}

}  // namespace
