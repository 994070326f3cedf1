// The trace of an evaluation, read back from "lumocalc-debug.txt" of a build
// with the log switched on: every line, every blank.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "diag/debug_log.h"
#include "eval/calculate.h"
#include "eval/oper.h"
#include "eval/solv.h"

namespace {

namespace fs = std::filesystem;

static_assert(kDebugLogEnabled, "these tests need the engine built with DEBUG_LOG on");

// The log is opened once per process, in a directory of its own.
class LogInTemporaryDirectory : public testing::Environment {
 public:
  void SetUp() override {
    const fs::path dir =
        fs::temp_directory_path() / ("lumocalc-trace-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    fs::current_path(dir);
    OpenDebugLog();
  }
};
testing::Environment* const kLogEnvironment =
    testing::AddGlobalTestEnvironment(new LogInTemporaryDirectory);

// Everything written to the log since the last call, split at CR LF.
std::vector<std::string> NewLines() {
  static std::size_t read_so_far = 0;
  std::ifstream file(kDebugLogFileName, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string fresh = all.substr(read_so_far);
  read_so_far = all.size();
  std::vector<std::string> lines;
  for (std::size_t end = fresh.find("\r\n"); end != std::string::npos; end = fresh.find("\r\n")) {
    lines.push_back(fresh.substr(0, end));
    fresh.erase(0, end + 2);
  }
  EXPECT_EQ(fresh, "") << "a message without its CR LF";
  return lines;
}

const std::string kRule(40, '_');

struct TraceCase {
  const char* name;
  std::string line;
  std::vector<std::string> trace;
};

class TraceTest : public testing::TestWithParam<TraceCase> {};

TEST_P(TraceTest, WritesEveryStep) {
#ifdef _WIN32
  GTEST_SKIP() << "the open log is not shareable, so it can't be read while the test runs";
#endif
  NewLines();
  Calculate(GetParam().line);
  EXPECT_EQ(NewLines(), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TraceTest,
    testing::Values(
        TraceCase{"precedence",
                  "2+3*4",
                  {kRule, "Eval> user typed 2+3*4", "Eval> ..which will be treated as 2+3*4",
                   "Eval>  treating 2 + 3 * 4", "Solv>  trying to solve 2 + 3 * 4",
                   "Oper>    treating first * operand in 2 + 3 * 4", "Oper>    solved 3 * 4 = 12",
                   "Oper>    treated one * operand - result is 2 + 12",
                   "Oper>    treating first + operand in 2 + 12", "Oper>    solved 2 + 12 = 14",
                   "Oper>    treated one + operand - result is 14", "Solv>  final result is 14"}},
        TraceCase{"blanks_removed_comma_kept",
                  " 1 , 5 * 2",
                  {kRule, "Eval> user typed 1,5*2", "Eval> ..which will be treated as 1.5*2",
                   "Eval>  treating 1.5 * 2", "Solv>  trying to solve 1.5 * 2",
                   "Oper>    treating first * operand in 1.5 * 2", "Oper>    solved 1.5 * 2 = 3",
                   "Oper>    treated one * operand - result is 3", "Solv>  final result is 3"}},
        TraceCase{"worked_example",
                  " -2,5*(3+-1)(4*",
                  {kRule,
                   "Eval> user typed -2,5*(3+-1)(4*",
                   "Eval> ..which will be treated as -2.5*(3+-1)*(4)",
                   "Eval>  treating -2.5 * ( 3 - 1 ) * ( 4 )",
                   "Eval>  treating sub-string  3 - 1 ",
                   "Solv>  trying to solve 3 - 1",
                   "Oper>    treating first - operand in 3 - 1",
                   "Oper>    solved 3 - 1 = 2",
                   "Oper>    treated one - operand - result is 2",
                   "Solv>  final result is 2",
                   "Eval>  treating -2.5 * 2 * ( 4 )",
                   "Eval>  treating sub-string  4 ",
                   "Solv>  trying to solve 4",
                   "Solv>  final result is 4",
                   "Eval>  treating -2.5 * 2 * 4",
                   "Solv>  trying to solve -2.5 * 2 * 4",
                   "Oper>    treating first * operand in -2.5 * 2 * 4",
                   "Oper>    solved -2.5 * 2 = -5",
                   "Oper>    treated one * operand - result is -5 * 4",
                   "Oper>    treating first * operand in -5 * 4",
                   "Oper>    solved -5 * 4 = -20",
                   "Oper>    treated one * operand - result is -20",
                   "Solv>  final result is -20"}},
        TraceCase{
            "identical_groups_solved_once",
            "(1+2)*(1+2)",
            {kRule, "Eval> user typed (1+2)*(1+2)", "Eval> ..which will be treated as (1+2)*(1+2)",
             "Eval>  treating ( 1 + 2 ) * ( 1 + 2 )", "Eval>  treating sub-string  1 + 2 ",
             "Solv>  trying to solve 1 + 2", "Oper>    treating first + operand in 1 + 2",
             "Oper>    solved 1 + 2 = 3", "Oper>    treated one + operand - result is 3",
             "Solv>  final result is 3", "Eval>  treating 3 * 3", "Solv>  trying to solve 3 * 3",
             "Oper>    treating first * operand in 3 * 3", "Oper>    solved 3 * 3 = 9",
             "Oper>    treated one * operand - result is 9", "Solv>  final result is 9"}},
        TraceCase{"empty_group",
                  "(",
                  {kRule, "Eval> user typed (", "Eval> ..which will be treated as ()",
                   "Eval>  treating ( )", "Eval>  treating sub-string  ", "Solv>  trying to solve ",
                   "Solv>  empty line", "Eval>  treating 0", "Solv>  trying to solve 0",
                   "Solv>  final result is 0"}},
        TraceCase{
            "group_fails",
            "(1+a)*2",
            {kRule, "Eval> user typed (1+a)*2", "Eval> ..which will be treated as (1+a)*2",
             "Eval>  treating ( 1 + a ) * 2", "Eval>  treating sub-string  1 + a ",
             "Solv>  trying to solve 1 + a", "Oper>    treating first + operand in 1 + a",
             "Oper>    syntax error in string 1 + a : non-numeral values", "Solv>  syntax error"}},
        TraceCase{"number_before_group",
                  "2(3)",
                  {kRule, "Eval> user typed 2(3)", "Eval> ..which will be treated as 2(3)",
                   "Eval>  treating 2 ( 3 )", "Eval>  treating sub-string  3 ",
                   "Solv>  trying to solve 3", "Solv>  final result is 3", "Eval>  treating 2 3",
                   "Solv>  trying to solve 2 3",
                   "Solv>  syntax error - non supported characters in string"}},
        TraceCase{"operator_left_dangling",
                  "(5--)",
                  {kRule, "Eval> user typed (5--)", "Eval> ..which will be treated as (5-)",
                   "Eval>  treating ( 5 - )", "Eval>  treating sub-string  5 - ",
                   "Solv>  trying to solve 5 -",
                   "Solv>  syntax error - single operand at beginning or end of line"}},
        TraceCase{"tab_kept",
                  "2\t+3",
                  {kRule, "Eval> user typed 2\t+3", "Eval> ..which will be treated as 2\t+3",
                   "Eval>  treating 2\t + 3", "Solv>  trying to solve 2\t + 3",
                   "Oper>    treating first + operand in 2\t + 3", "Oper>    solved 2\t + 3 = 5",
                   "Oper>    treated one + operand - result is 5", "Solv>  final result is 5"}},
        TraceCase{"closing_before_opening",
                  "2)+(3",
                  {kRule, "Eval> user typed 2)+(3", "Eval> ..which will be treated as 2)+(3",
                   "Eval>  treating 2 ) + ( 3"}},
        TraceCase{"equals",
                  "2+3 = 5",
                  {kRule, "Eval> user typed 2+3=5",
                   "Eval>  user wrote '=' symbol (probably a line pasted from history)"}},
        TraceCase{"starts_with_operator",
                  "*5",
                  {kRule, "Eval> user typed *5", "Eval>  user started line with operand * / ^"}},
        TraceCase{"no_number",
                  "--",
                  {kRule, "Eval> user typed --",
                   "Eval>  user typed several operands but without any number"}},
        TraceCase{"lone_sign", " - ", {kRule, "Eval> user typed -", "Eval>  returning 0"}},
        TraceCase{"blank_line_not_evaluated", "   ", {}}),
    [](const auto& test) { return std::string(test.param.name); });

// Reached only through Solv and Oper called directly.
TEST(TraceOfStages, SolvOfAnEmptyExpressionAndOperWithoutItsOperator) {
#ifdef _WIN32
  GTEST_SKIP() << "the open log is not shareable, so it can't be read while the test runs";
#endif
  NewLines();
  Solv("   ");
  Oper("5 *", "*");
  EXPECT_EQ(NewLines(), (std::vector<std::string>{"Solv>  trying to solve ", "Solv>  empty line",
                                                  "Oper>    treating first * operand in 5 *",
                                                  "Oper>    no (more) * operand in 5 *"}));
}

}  // namespace
