// The trace of an evaluation, read back from "lumocalc-debug.txt" of the
// traced build: every line, every blank, from tests/cases/trace.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "diag/debug_log.h"
#include "eval/calculate.h"
#include "eval/steps/oper.h"
#include "eval/steps/solv.h"
#include "testkit/case_file.h"

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
  // The open log goes with the process; where it can't be removed while open,
  // the directory stays.
  void TearDown() override {
    const fs::path dir = fs::current_path();
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(dir, ignored);
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
  for (std::size_t end; (end = fresh.find("\r\n")) != std::string::npos; fresh.erase(0, end + 2)) {
    lines.push_back(fresh.substr(0, end));
  }
  EXPECT_EQ(fresh, "") << "a message without its CR LF";
  return lines;
}

struct TraceCase {
  Case call;  // «== calculate LINE», «== solv TEXT» or «== oper OP TEXT»
  std::vector<std::string> trace;
};

void PrintTo(const TraceCase& test_case, std::ostream* out) {
  *out << test_case.call.where;
}

std::vector<TraceCase> ReadTraceCases() {
  std::vector<TraceCase> cases;
  for (Case& row : ReadCases("trace.txt")) {
    if (row[0].rfind("== ", 0) == 0) {
      cases.push_back({std::move(row), {}});
    } else {
      cases.back().trace.push_back(row[0]);
    }
  }
  return cases;
}

class TraceTest : public testing::TestWithParam<TraceCase> {};

TEST_P(TraceTest, WritesEveryStep) {
#ifdef _WIN32
  GTEST_SKIP() << "the open log is not shareable, so it can't be read while the test runs";
#endif
  NewLines();
  const std::string& call = GetParam().call[0];
  const auto argument = [&](std::size_t from) {
    return call.size() > from ? call.substr(from) : "";
  };
  if (call.rfind("== calculate", 0) == 0) Calculate(argument(13));
  if (call.rfind("== solv", 0) == 0) steps::Solv(argument(8));
  if (call.rfind("== oper", 0) == 0) steps::Oper(argument(10), call.substr(8, 1));
  EXPECT_EQ(NewLines(), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(Table, TraceTest, testing::ValuesIn(ReadTraceCases()));

}  // namespace
