// lumocalc-eval as a script or another program sees it: arguments, standard
// input, escaped lines, options and exit codes, and the debug log of a build
// with the trace switched on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "cli/escape.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs the program in a fresh directory, where it may leave its log.
class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumocalc-cli-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Start(const char* program, const std::vector<std::string>& args,
                const std::string& input) {
    WriteFile(dir_ / "in", input);
    const pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(127);
      const int in = open("in", O_RDONLY);
      const int out = open("out", O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int err = open("err", O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(in, 0);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<char*> argv{const_cast<char*>(program)};
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execv(program, argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    Outcome run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(dir_ / "out");
    run.err = ReadFile(dir_ / "err");
    fs::remove(dir_ / "in");
    fs::remove(dir_ / "out");
    fs::remove(dir_ / "err");
    return run;
  }
  Outcome Eval(const std::vector<std::string>& args, const std::string& input = "") {
    return Start(LUMOCALC_EVAL, args, input);
  }
  Outcome Traced(const std::vector<std::string>& args, const std::string& input = "") {
    return Start(LUMOCALC_EVAL_TRACED, args, input);
  }
  fs::path Log() const { return dir_ / "lumocalc-debug.txt"; }

  fs::path dir_;
};

TEST_F(CliTest, AnswersEachArgumentOnItsOwnLine) {
  const Outcome run = Eval({"2+3*4", "1/3", "", "-5+3", "--5", "2*a"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            "2+3*4 = 14\n1/3 = 0 , 333333\n\n-5+3 = -2\nErreur de syntaxe\nErreur de syntaxe\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, DoubleDashEndsTheOptions) {
  EXPECT_EQ(Eval({"--", "--help"}).out, "Erreur de syntaxe\n");
}

struct StdinCase {
  const char* name;
  std::string input;
  std::string output;
};

class CliStdinTest : public CliTest, public testing::WithParamInterface<StdinCase> {};

TEST_P(CliStdinTest, AnswersEveryLine) {
  const Outcome run = Eval({}, GetParam().input);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliStdinTest,
    testing::Values(StdinCase{"nothing", "", ""}, StdinCase{"one_line", "2+3\n", "2+3 = 5\n"},
                    StdinCase{"crlf", "2+3\r\n1/0\r\n", "2+3 = 5\n1/0 = 0\n"},
                    StdinCase{"blank_lines", "\n   \n", "\n\n"},
                    StdinCase{"last_line_unterminated", "1+1\n2+2", "1+1 = 2\n2+2 = 4\n"},
                    StdinCase{"only_the_last_cr_dropped", "1+1\r\r\n", "1+1\r = 2\n"},
                    StdinCase{"inner_cr_kept", "1\r+1\n", "1\r+1 = 2\n"},
                    StdinCase{"nul_byte",
                              std::string("1+\0"
                                          "2\n",
                                          5),
                              std::string("1+\0"
                                          "2 = 1\n",
                                          9)}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(CliTest, EscapedLinesAndAnswers) {
  const Outcome run = Eval({"--escaped"}, "1\\t+2\n\\x00\n\\\\\n1+1\\xff\n\\x31\\x2B1\n\\q1+1\n");
  EXPECT_EQ(run.out,
            "1\\t+2 = 3\nErreur de syntaxe\nErreur de syntaxe\n1+1\\xFF = 2\n1+1 = 2\n"
            "\\\\q1+1 = 1\n");
  EXPECT_EQ(Eval({"--escaped", "1\\x2B1", "\\r"}).out, "1+1 = 2\nErreur de syntaxe\n");
}

TEST(Escape, RoundTripsEveryByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string escaped = Escape(all);
  EXPECT_EQ(escaped.find_first_not_of(" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                      "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"),
            std::string::npos);
  EXPECT_EQ(Unescape(escaped), all);
  EXPECT_EQ(Unescape("\\x4"), "\\x4");  // incomplete escapes stand for themselves
  EXPECT_EQ(Unescape("a\\"), "a\\");
}

TEST_F(CliTest, HelpAndBadOptions) {
  const Outcome help = Eval({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("usage: lumocalc-eval"), std::string::npos);

  const Outcome bad = Eval({"--bogus", "1+1"});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("usage: lumocalc-eval"), std::string::npos);
}

TEST_F(CliTest, ManyLinesKeepTheirOrder) {
  std::string input;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    input += std::to_string(i) + "+1\n";
    expected += std::to_string(i) + "+1 = ";
    const std::string sum = std::to_string(i + 1);
    for (std::size_t d = 0; d < sum.size(); ++d) {
      if (d > 0 && (sum.size() - d) % 3 == 0) expected += ' ';
      expected += sum[d];
    }
    expected += '\n';
  }
  EXPECT_EQ(Eval({}, input).out, expected);
}

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
  for (const auto& [line, answer] :
       {std::pair<std::string, std::string>{"2+2\n", "2+2 = 4\n"}, {"3*3\n", "3*3 = 9\n"}}) {
    ASSERT_EQ(write(to_child[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
    std::string got;
    while (got.find('\n') == std::string::npos) {
      pollfd ready{from_child[0], POLLIN, 0};
      ASSERT_EQ(poll(&ready, 1, 10000), 1) << "no answer to " << line;
      char buffer[256];
      const ssize_t n = read(from_child[0], buffer, sizeof buffer);
      ASSERT_GT(n, 0);
      got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, answer);
  }
  close(to_child[1]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  close(from_child[0]);
}

TEST_F(CliTest, DeliveredBuildTouchesNoLog) {
  if (LUMOCALC_EVAL_LOGS) GTEST_SKIP() << "this build has the debug log switched on";
  Eval({"1+1"});
  EXPECT_FALSE(fs::exists(Log()));
  WriteFile(Log(), "left by an earlier run");
  Eval({}, "2*3\n");
  EXPECT_EQ(ReadFile(Log()), "left by an earlier run");
}

TEST_F(CliTest, TracedBuildStartsAnEmptyLogAndWritesEveryStep) {
  WriteFile(Log(), std::string(5000, 'x'));
  const Outcome run = Traced({"5", "-"});
  EXPECT_EQ(run.out, "5 = 5\n- = 0\n");
  EXPECT_EQ(ReadFile(Log()), std::string(40, '_') +
                                 "\r\nEval> user typed 5\r\n"
                                 "Eval> ..which will be treated as 5\r\n"
                                 "Eval>  treating 5\r\n"
                                 "Solv>  trying to solve 5\r\n"
                                 "Solv>  final result is 5\r\n" +
                                 std::string(40, '_') +
                                 "\r\nEval> user typed -\r\n"
                                 "Eval>  returning 0\r\n");
}

TEST_F(CliTest, TracedBuildCreatesTheLog) {
  Traced({}, "\n");  // a blank line is not evaluated: an empty log
  ASSERT_TRUE(fs::exists(Log()));
  EXPECT_EQ(fs::file_size(Log()), 0u);
}

TEST_F(CliTest, LogHeldByAnotherProgramIsLeftAlone) {
  WriteFile(Log(), "held");
  const int holder = open(Log().c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  EXPECT_EQ(Traced({"2*3"}).out, "2*3 = 6\n");
  close(holder);
  EXPECT_EQ(ReadFile(Log()), "held");
}

TEST_F(CliTest, LogThatCannotBeOpenedChangesNothing) {
  fs::create_directory(Log());  // a directory by that name can't be written
  EXPECT_EQ(Traced({"2*3"}).out, "2*3 = 6\n");
  ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  fs::remove(Log());
  fs::rename(dir_ / "fifo", Log());  // a pipe with no reader must not stall start-up
  EXPECT_EQ(Traced({"2*3"}).out, "2*3 = 6\n");
}

}  // namespace
