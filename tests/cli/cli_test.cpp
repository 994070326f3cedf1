// lumocalc-eval as a script or another program sees it: arguments, standard
// input, escapes, options and exit codes (tests/cases/cli.txt), answers
// before the next line is read, and the debug log of the traced build; and
// the options of both programs (tests/cases/options.txt).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "testkit/case_file.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs a program in a fresh directory of its own, where it may leave its log;
// the directory stays for the test to look into and goes with the fixture.
class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumocalc-cli-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Run(const char* program, const std::vector<std::string>& args,
              const std::string& input = "") {
    WriteFile(dir_ / "in", input);
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(127);
      dup2(open("in", O_RDONLY), 0);
      dup2(open("out", O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
      dup2(open("err", O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
      std::vector<char*> argv{const_cast<char*>(program)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program, argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_ / "out"),
            ReadFile(dir_ / "err")};
  }
  fs::path Log() const { return dir_ / "lumocalc-debug.txt"; }

  fs::path dir_;
};

class CliTableTest : public CliTest, public testing::WithParamInterface<Case> {};

// «a | b | c» as the arguments a, b and c.
std::vector<std::string> Arguments(const std::string& field) {
  std::vector<std::string> args;
  for (std::size_t from = 0, at = 0; !field.empty() && at != std::string::npos; from = at + 3) {
    at = field.find(" | ", from);
    args.push_back(field.substr(from, at - from));
  }
  return args;
}

TEST_P(CliTableTest, Answers) {
  const Case& row = GetParam();
  const Outcome run = Run(LUMOCALC_EVAL, Arguments(row[0]), row[1]);
  EXPECT_EQ(run.out, row[2]);
  EXPECT_EQ(std::to_string(run.exit_code), row[3]);
}

INSTANTIATE_TEST_SUITE_P(Table, CliTableTest, testing::ValuesIn(ReadCases("cli.txt")));

class OptionsTest : public CliTest, public testing::WithParamInterface<Case> {};

// The expected text with the version put in; one that ends in "..." is the
// beginning of what is written.
void ExpectWritten(const std::string& written, std::string expected) {
  for (std::size_t at; (at = expected.find("@VERSION@")) != std::string::npos;) {
    expected.replace(at, 9, LUMOCALC_VERSION);
  }
  if (expected.size() >= 3 && expected.compare(expected.size() - 3, 3, "...") == 0) {
    expected.resize(expected.size() - 3);
    EXPECT_EQ(written.substr(0, expected.size()), expected);
  } else {
    EXPECT_EQ(written, expected);
  }
}

TEST_P(OptionsTest, Answer) {
  const Case& row = GetParam();
  std::vector<std::string> args = Arguments(row[0]);
  const std::string program = args.front() == "lumocalc" ? LUMOCALC_TERM : LUMOCALC_EVAL;
  args.erase(args.begin());
  const Outcome run = Run(program.c_str(), args);
  ExpectWritten(run.out, row[1]);
  ExpectWritten(run.err, row[2]);
  EXPECT_EQ(std::to_string(run.exit_code), row[3]);
}

INSTANTIATE_TEST_SUITE_P(Table, OptionsTest, testing::ValuesIn(ReadCases("options.txt")));

// A program on the other end of a pipe gets each answer before it sends the
// next line.
TEST_F(CliTest, AnswersEachLineBeforeReadingTheNext) {
  int to_child[2];
  int from_child[2];
  ASSERT_EQ(pipe(to_child), 0);
  ASSERT_EQ(pipe(from_child), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(to_child[0], 0);
    dup2(from_child[1], 1);
    close(to_child[1]);
    close(from_child[0]);
    execl(LUMOCALC_EVAL, LUMOCALC_EVAL, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  for (const std::string line : {"2+2", "3*3"}) {
    ASSERT_EQ(write(to_child[1], (line + "\n").data(), 4), 4);
    pollfd ready{from_child[0], POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 10000), 1) << "no answer to " << line;
    char buffer[64];
    EXPECT_GT(read(from_child[0], buffer, sizeof buffer), 0);
  }
  close(to_child[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  close(from_child[0]);
}

TEST_F(CliTest, DeliveredBuildTouchesNoLog) {
  if (LUMOCALC_EVAL_LOGS) GTEST_SKIP() << "this build has the debug log switched on";
  Run(LUMOCALC_EVAL, {"1+1"});
  EXPECT_FALSE(fs::exists(Log()));
  WriteFile(Log(), "left by an earlier run");
  Run(LUMOCALC_EVAL, {}, "2*3\n");
  EXPECT_EQ(ReadFile(Log()), "left by an earlier run");
}

TEST_F(CliTest, TracedBuildEmptiesTheLogAndWritesEveryStep) {
  WriteFile(Log(), std::string(5000, 'x'));
  EXPECT_EQ(Run(LUMOCALC_EVAL_TRACED, {"5", "-"}).out, "5 = 5\n- = 0\n");
  const std::string rule(40, '_');
  EXPECT_EQ(ReadFile(Log()), rule +
                                 "\r\nEval> user typed 5\r\n"
                                 "Eval> ..which will be treated as 5\r\n"
                                 "Eval>  treating 5\r\n"
                                 "Solv>  trying to solve 5\r\n"
                                 "Solv>  final result is 5\r\n" +
                                 rule + "\r\nEval> user typed -\r\nEval>  returning 0\r\n");
  Run(LUMOCALC_EVAL_TRACED, {}, "\n");  // a blank line is not evaluated: an empty log
  EXPECT_EQ(ReadFile(Log()), "");
}

// A log held by another program, one that is a directory, and one that is a
// pipe without a reader: the traced build answers as ever and leaves them be.
TEST_F(CliTest, LogThatCannotBeWrittenChangesNothing) {
  WriteFile(Log(), "held");
  const int holder = open(Log().c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  EXPECT_EQ(Run(LUMOCALC_EVAL_TRACED, {"2*3"}).out, "2*3 = 6\n");
  close(holder);
  EXPECT_EQ(ReadFile(Log()), "held");
  fs::remove(Log());
  fs::create_directory(Log());
  EXPECT_EQ(Run(LUMOCALC_EVAL_TRACED, {"2*3"}).out, "2*3 = 6\n");
  fs::remove(Log());
  ASSERT_EQ(mkfifo(Log().c_str(), 0600), 0);
  EXPECT_EQ(Run(LUMOCALC_EVAL_TRACED, {"2*3"}).out, "2*3 = 6\n");
}

}  // namespace
